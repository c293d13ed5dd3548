#include "ZORQelIPrint.h"

#include "ZORQelITracer.h"

ZORQelIStream& ZORQelIPrint::Print(ZORQelI::real s) {
  ZORQELI_TRACE("ZORQelIStream& ZORQelIPrint::Print(ZORQelI::real s)");
  return ZORQelIStream::Print(s);
}

ZORQelIStream& ZORQelIPrint::Print(ZORQelI::integer s) {
  ZORQELI_TRACE("ZORQelIStream& ZORQelIPrint::Print(ZORQelI::integer s)");
  return ZORQelIStream::Print(s);
}

ZORQelIStream& ZORQelIPrint::Print(ZORQelI::boolean s) {
  ZORQELI_TRACE("ZORQelIStream& ZORQelIPrint::Print(ZORQelI::boolean s)");
  return ZORQelIStream::Print(s);
}
