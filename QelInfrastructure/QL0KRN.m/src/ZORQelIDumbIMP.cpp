#include "ZORQelIDumbIMP.h"

#include "ZORQelIObject.h"
#include "ZORQelITracer.h"

ZORQELI_DEFINE_IMP(ZORQelIDumbIMP, ZORQelIObjectIMP)

ZORQelIDumbIMP::ZORQelIDumbIMP() { ZORQELI_TRACE(" ZORQelIDumbIMP::ZORQelIDumbIMP()"); }

ZORQelIDumbIMP::ZORQelIDumbIMP(const ZORQelIDumbIMP& o) : ZORQelIObjectIMP(o) {
  ZORQELI_TRACE(" ZORQelIDumbIMP::ZORQelIDumbIMP(const ZORQelIDumbIMP& o)");
}

ZORQelIDumbIMP::ZORQelIDumbIMP(ZORQelIObjectIMP::LoadTimeTag t) : ZORQelIObjectIMP(t) {}

ZORQelIObjectIMP* ZORQelIDumbIMP::Clone() const {
  ZORQELI_TRACE("ZORQelIObjectIMP* ZORQelIDumbIMP::Clone() const");
  return new ZORQelIDumbIMP(*this);
}

void ZORQelIDumbIMP::Text(ZORQelIPrint&) const {
  ZORQELI_TRACE("void ZORQelIDumbIMP::Text(ZORQelIPrint& ot) const");
}

ZORQelI::boolean ZORQelIDumbIMP::IsValid() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIDumbIMP::IsValid() const");
  return ZORQelI::Ifalse;
}
