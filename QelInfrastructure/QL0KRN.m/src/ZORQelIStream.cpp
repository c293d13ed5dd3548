#include "ZORQelIStream.h"

#include <cstdio>
#include <string>

#include "ZORQelITracer.h"

namespace {
// Formats with the C library into a 32-byte buffer; a text that does not fit
// (a real with more than 24 integer digits) is formatted again into a buffer
// of the size the first attempt reported, so it is printed whole.
template <class T>
ZORQelI::string Format(const char* format, T value) {
  char buffer[32];
  int n = std::snprintf(buffer, sizeof buffer, format, value);
  if (n >= 0 && static_cast<std::size_t>(n) < sizeof buffer) return ZORQelI::string(buffer);
  std::string big(static_cast<std::size_t>(n) + 1, '\0');
  std::snprintf(&big[0], big.size(), format, value);
  return ZORQelI::string(big.c_str());
}
}  // namespace

ZORQelIStream& ZORQelIStream::Print(ZORQelI::real s) {
  ZORQELI_TRACE("ZORQelIStream& ZORQelIStream::Print(ZORQelI::real s)");
  return Print(Format("%f", s));
}

ZORQelIStream& ZORQelIStream::Print(ZORQelI::integer s) {
  ZORQELI_TRACE("ZORQelIStream& ZORQelIStream::Print(ZORQelI::integer s)");
  return Print(Format("%d", s));
}

ZORQelIStream& ZORQelIStream::Print(ZORQelI::boolean s) {
  ZORQELI_TRACE("ZORQelIStream& ZORQelIStream::Print(ZORQelI::boolean s)");
  return Print(ZORQelI::string(s == ZORQelI::Itrue ? "true" : "false"));
}
