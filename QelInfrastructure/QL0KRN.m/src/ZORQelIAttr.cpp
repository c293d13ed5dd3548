#include "ZORQelIAttr.h"

#include "ZORQelIAttrIMP.h"
#include "ZORQelIEntity.h"

ZORQELI_DEFINE_LENIENT_DICTIONARY_HANDLE(ZORQelIAttr, ZORQelIParamDesc, ZORQelIAttrIMP)
ZORQELI_DEFINE_CAST_ANYWAY(ZORQelIAttr, ZORQelIAttrIMP)

const ZORQelIEntity ZORQelIAttr::Parent() {
  ZORQELI_TRACE("const ZORQelIEntity ZORQelIAttr::Parent()");
  return IMP()->Parent();
}

ZORQelI::boolean ZORQelIAttr::IsInverse() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIAttr::IsInverse() const");
  return IMP()->IsInverse();
}
