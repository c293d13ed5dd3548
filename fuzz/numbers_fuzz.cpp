// The number formats: ZORQelIStringStream prints any double as "%f" and
// any integer as "%d" would, with no overflow for huge values.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "QL0KRN.h"
#include "ZORQelIStringStream.h"
#include "FuzzSupport.h"

namespace {

template <typename T>
std::string Rendered(const char* format, T v) {
  int n = std::snprintf(nullptr, 0, format, v);
  std::vector<char> buf(static_cast<std::size_t>(n) + 1);
  std::snprintf(buf.data(), buf.size(), format, v);
  return std::string(buf.data(), static_cast<std::size_t>(n));
}

std::string Text(const ZORQelIStringStream& s) { return static_cast<const char*>(s.Get()); }

// Reads one Raw from the input at i (fewer bytes at its end leave the rest
// zero), prints it as Printed alone and onto all, and checks the text.
template <typename Raw, typename Printed>
void PrintOne(const std::uint8_t* data, std::size_t size, std::size_t& i, const char* format,
              ZORQelIStringStream& all, std::string& expected) {
  Raw v = 0;
  std::size_t n = std::min(sizeof v, size - i);
  std::memcpy(&v, data + i, n);
  i += n;
  ZORQelIStringStream one;
  one.Print(static_cast<Printed>(v));
  std::string want = Rendered(format, v);
  CHECK(Text(one) == want);
  all.Print(static_cast<Printed>(v));
  expected += want;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ZORQelIStringStream all;
  std::string expected;
  std::size_t i = 0;
  while (i < size) {
    std::uint8_t kind = data[i++];
    if (kind & 1) {
      PrintOne<double, ZORQelI::real>(data, size, i, "%f", all, expected);
    } else {
      PrintOne<std::int32_t, ZORQelI::integer>(data, size, i, "%d", all, expected);
    }
  }
  CHECK(Text(all) == expected);
  return 0;
}
