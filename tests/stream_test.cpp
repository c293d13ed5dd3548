// Text sinks: the string stream, and the number and boolean formats every stream inherits.
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "QL0KRN.h"

namespace streamtest {

std::string S(const ZORQelI::string& s) { return std::string(static_cast<const char*>(s)); }

// What the C library's "%f" gives, whatever the length.
std::string Reference(double v) {
  int n = std::snprintf(nullptr, 0, "%f", v);
  std::string out(static_cast<std::size_t>(n) + 1, '\0');
  std::snprintf(&out[0], out.size(), "%f", v);
  out.resize(static_cast<std::size_t>(n));
  return out;
}

std::string Real(double v) {
  ZORQelIStringStream s;
  s.Print(static_cast<ZORQelI::real>(v));
  return S(s.Get());
}

std::string Int(ZORQelI::integer v) {
  ZORQelIStringStream s;
  s.Print(v);
  return S(s.Get());
}

// Only the string and character operations write: values must reach the virtual Print(string).
class RecordingStream : public ZORQelIStream {
 public:
  using ZORQelIStream::Print;
  void Start() override { pieces.clear(); }
  ZORQelI::string Get() const override { return ZORQelI::string(""); }
  ZORQelIStream& Nl() override { return Print(ZORQelI::string("<nl>")); }
  ZORQelIStream& Print(ZORQelI::string s) override {
    pieces.push_back(S(s));
    return *this;
  }
  ZORQelIStream& Print(ZORQelI::character c) override {
    pieces.push_back(std::string(1, static_cast<char>(c)));
    return *this;
  }
  std::vector<std::string> pieces;
};

// The smallest concrete printer: the basic operations and the eight dictionary overloads.
class MinimalPrinter : public ZORQelIPrint {
 public:
  using ZORQelIPrint::Print;
  void Start() override { text.Start(); }
  ZORQelI::string Get() const override { return text.Get(); }
  ZORQelIStream& Nl() override { return text.Nl(), *this; }
  ZORQelIStream& Print(ZORQelI::string s) override { return text.Print(s), *this; }
  ZORQelIStream& Print(ZORQelI::character s) override { return text.Print(s), *this; }
  ZORQelIStream& Print(const ZORQelI::Mint&) override { return *this; }
  ZORQelIStream& Print(const ZORQelIType&) override { return *this; }
  ZORQelIStream& Print(const ZORQelIModeler&) override { return *this; }
  ZORQelIStream& Print(const ZORQelIParamDesc&) override { return *this; }
  ZORQelIStream& Print(const ZORQelIAttr&) override { return *this; }
  ZORQelIStream& Print(const ZORQelIInstance&) override { return *this; }
  ZORQelIStream& Print(const ZORQelIInstances&) override { return *this; }
  ZORQelIStream& Print(const ZORQelIWrapper&) override { return *this; }

  ZORQelIStringStream text;
};

TEST(StringStream, AccumulatesTextKeepsNonAsciiAsIsAndGetReturnsACopy) {
  ZORQelIStringStream s;
  EXPECT_EQ(S(s.Get()), "");
  s.Print(ZORQelI::string("ab")).Print(ZORQelI::character('c')).Nl().Print(ZORQelI::integer{7});
  const ZORQelI::string earlier = s.Get();
  s.Print(ZORQelI::string(" caf\xC3\xA9 "));
  s.Print(ZORQelI::character::FromCodePoint(0x20AC));
  EXPECT_EQ(S(earlier), "abc\n7");
  EXPECT_EQ(S(s.Get()), "abc\n7 caf\xC3\xA9 \xE2\x82\xAC");
  s.Start();
  EXPECT_EQ(S(s.Get()), "");
  s.Print(ZORQelI::string("x"));
  EXPECT_EQ(S(s.Get()), "x");
}

TEST(NumberFormat, RealsAreFixedPointWithSixDecimals) {
  EXPECT_EQ(Real(-0.25), "-0.250000");
  EXPECT_EQ(Real(1e20), "100000000000000000000.000000");
  // The seventh decimal is rounded as the C library rounds it.
  for (double v : {0.0, 1.5, -2.0, 0.1, 0.0000005, 0.0000015, 2.5e-7, 1.0000005, -0.0000004, 123456.7890125, -0.0})
    EXPECT_EQ(Real(v), Reference(v)) << v;
}

TEST(NumberFormat, RealsAtAndBeyondThe31CharacterLimitArePrintedWhole) {
  // 24 digits before the point fill 31 characters, 23 when negative: the doubles nearest to 1e24
  // (999999999999999983222784) and -1e23 (-99999999999999991611392) lie just inside.
  EXPECT_EQ(Reference(1e24).size(), 31u);
  EXPECT_EQ(Reference(-1e23).size(), 31u);
  EXPECT_EQ(Reference(2e24).size(), 32u);
  for (double v : {1e24, -1e23, 2e24, -2e23, 1e100, -1e200, DBL_MAX, -DBL_MAX, HUGE_VAL, -HUGE_VAL, std::nan("")})
    EXPECT_EQ(Real(v), Reference(v)) << v;
  EXPECT_EQ(Real(DBL_MAX).size(), 309u + 7u);
}

TEST(NumberFormat, IntegersArePlainDecimalAndOnlyTheTrueByteIsTrue) {
  EXPECT_EQ(Int(0), "0");
  EXPECT_EQ(Int(-1), "-1");
  EXPECT_EQ(Int(INT_MIN), "-2147483648");
  EXPECT_EQ(Int(INT_MAX), "2147483647");
  for (int byte = 0; byte < 256; ++byte) {
    ZORQelIStringStream s;
    s.Print(static_cast<ZORQelI::boolean>(byte));
    EXPECT_EQ(S(s.Get()), byte == ZORQelI::Itrue ? "true" : "false") << byte;
  }
}

TEST(NumberFormat, ValuesReachTheVirtualStringOperationOfAnySinkOrPrinter) {
  RecordingStream r;
  r.Print(ZORQelI::integer{-12}).Print(ZORQelI::real{2.0}).Print(ZORQelI::Ifalse).Nl();
  EXPECT_EQ(r.pieces, (std::vector<std::string>{"-12", "2.000000", "false", "<nl>"}));
  MinimalPrinter p;
  ZORQelIPrint& asPrinter = p;
  asPrinter.Print(ZORQelI::real{-0.25});
  asPrinter.Print(ZORQelI::character(' '));
  asPrinter.Print(ZORQelI::integer{INT_MIN});
  asPrinter.Print(ZORQelI::character(' '));
  asPrinter.Print(static_cast<ZORQelI::boolean>(2));
  EXPECT_EQ(S(p.Get()), "-0.250000 -2147483648 false");
  ZORQelIArray a;  // an object's text, through any printer
  a.Add(ZORQelIIdentifier(ZORQelI::string("x")));
  a.Add(ZORQelIIdentifier(ZORQelI::string("y")));
  p.Start();
  a.Text(p);
  EXPECT_EQ(S(p.Get()), "(x,y)");
}

}  // namespace streamtest
