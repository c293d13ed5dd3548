#include "ZORQelIStream.h"

#include <cstddef>

#include "ZORQelIStreamFormat.h"
#include "ZORQelITracer.h"

namespace {
// Numbers are formatted on the stack; the C library formats only what
// ZORQelIStreamFormat::Real leaves to it.
ZORQelI::string RealText(ZORQelI::real value) {
  char buffer[ZORQelIStreamFormat::kRoom];
  const std::size_t n = ZORQelIStreamFormat::Real(buffer, value);
  if (n == 0) return ZORQelI::string(ZORQelIStreamFormat::RealByTheCLibrary(value).c_str());
  buffer[n] = '\0';
  return ZORQelI::string(buffer);
}

ZORQelI::string IntegerText(ZORQelI::integer value) {
  char buffer[ZORQelIStreamFormat::kRoom];
  buffer[ZORQelIStreamFormat::Integer(buffer, value)] = '\0';
  return ZORQelI::string(buffer);
}
}  // namespace

ZORQelIStream& ZORQelIStream::Print(ZORQelI::real s) {
  ZORQELI_TRACE("ZORQelIStream& ZORQelIStream::Print(ZORQelI::real s)");
  return Print(RealText(s));
}

ZORQelIStream& ZORQelIStream::Print(ZORQelI::integer s) {
  ZORQELI_TRACE("ZORQelIStream& ZORQelIStream::Print(ZORQelI::integer s)");
  return Print(IntegerText(s));
}

ZORQelIStream& ZORQelIStream::Print(ZORQelI::boolean s) {
  ZORQELI_TRACE("ZORQelIStream& ZORQelIStream::Print(ZORQelI::boolean s)");
  return Print(ZORQelI::string(s == ZORQelI::Itrue ? "true" : "false"));
}
