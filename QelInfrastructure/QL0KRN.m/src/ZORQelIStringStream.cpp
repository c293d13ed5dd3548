#include "ZORQelIStringStream.h"

#include "ZORQelITracer.h"

ZORQelIStringStream::ZORQelIStringStream() {
  ZORQELI_TRACE(" ZORQelIStringStream::ZORQelIStringStream()");
}

ZORQelIStringStream::~ZORQelIStringStream() = default;

void ZORQelIStringStream::Start() {
  ZORQELI_TRACE("void ZORQelIStringStream::Start()");
  buffer = ZORQelI::string();
}

ZORQelI::string ZORQelIStringStream::Get() const {
  ZORQELI_TRACE("ZORQelI::string ZORQelIStringStream::Get() const");
  return buffer;
}

ZORQelIStream& ZORQelIStringStream::Nl() {
  ZORQELI_TRACE("ZORQelIStream& ZORQelIStringStream::Nl()");
  return Print(ZORQelI::string("\n"));
}

ZORQelIStream& ZORQelIStringStream::Print(ZORQelI::string s) {
  ZORQELI_TRACE("ZORQelIStream& ZORQelIStringStream::Print(ZORQelI::string s)");
  buffer += s;
  return *this;
}

ZORQelIStream& ZORQelIStringStream::Print(ZORQelI::character s) {
  ZORQELI_TRACE("ZORQelIStream& ZORQelIStringStream::Print(ZORQelI::character s)");
  buffer += s;
  return *this;
}
