#include "ZORQelIWrapperObjectIMP.h"

ZORQELI_DEFINE_ABSTRACT_IMP(ZORQelIWrapperObjectIMP, ZORQelIObjectIMP)

ZORQelI::boolean ZORQelIWrapperObjectIMP::SameWrapper(ZORQelIWrapperObjectIMP* e) const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIWrapperObjectIMP::SameWrapper(ZORQelIWrapperObjectIMP* e) const");
  return Wrapper().Owns(e);
}

ZORQelI::boolean ZORQelIWrapperObjectIMP::SameWrapper(ZORQelIWrapperObject& e) const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIWrapperObjectIMP::SameWrapper(ZORQelIWrapperObject& e) const");
  return SameWrapper(e.IMP());
}
