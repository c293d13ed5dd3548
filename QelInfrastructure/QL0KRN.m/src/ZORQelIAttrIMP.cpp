#include "ZORQelIAttrIMP.h"

ZORQELI_DEFINE_ABSTRACT_IMP(ZORQelIAttrIMP, ZORQelIParamDescIMP)

ZORQelI::boolean ZORQelIAttrIMP::IsInverse() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIAttrIMP::IsInverse() const");
  return ZORQelI::Ifalse;
}
