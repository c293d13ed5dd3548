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

#define CHECK(c)                                                       \
  do {                                                                 \
    if (!(c)) {                                                        \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #c); \
      std::abort();                                                    \
    }                                                                  \
  } while (0)

namespace {

template <typename T>
std::string Rendered(const char* format, T v) {
  int n = std::snprintf(nullptr, 0, format, v);
  std::vector<char> buf(static_cast<std::size_t>(n) + 1);
  std::snprintf(buf.data(), buf.size(), format, v);
  return std::string(buf.data(), static_cast<std::size_t>(n));
}

std::string Text(const ZORQelIStringStream& s) { return static_cast<const char*>(s.Get()); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ZORQelIStringStream all;
  std::string expected;
  std::size_t i = 0;
  while (i < size) {
    std::uint8_t kind = data[i++];
    if (kind & 1) {
      double d = 0;
      std::size_t n = std::min(sizeof d, size - i);
      std::memcpy(&d, data + i, n);
      i += n;
      ZORQelIStringStream one;
      one.Print(static_cast<ZORQelI::real>(d));
      std::string want = Rendered("%f", d);
      CHECK(Text(one) == want);
      all.Print(static_cast<ZORQelI::real>(d));
      expected += want;
    } else {
      std::int32_t v = 0;
      std::size_t n = std::min(sizeof v, size - i);
      std::memcpy(&v, data + i, n);
      i += n;
      ZORQelIStringStream one;
      one.Print(static_cast<ZORQelI::integer>(v));
      std::string want = Rendered("%d", v);
      CHECK(Text(one) == want);
      all.Print(static_cast<ZORQelI::integer>(v));
      expected += want;
    }
  }
  CHECK(Text(all) == expected);
  return 0;
}
