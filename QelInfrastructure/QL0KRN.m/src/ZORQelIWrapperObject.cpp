#include "ZORQelIWrapperObject.h"

#include "ZORQelIWrapperObjectIMP.h"

ZORQELI_DEFINE_LENIENT_DICTIONARY_HANDLE(ZORQelIWrapperObject, ZORQelIObject, ZORQelIWrapperObjectIMP)
ZORQELI_DEFINE_CAST_ANYWAY(ZORQelIWrapperObject, ZORQelIWrapperObjectIMP)

ZORQelIWrapper& ZORQelIWrapperObject::Wrapper() const {
  ZORQELI_TRACE("ZORQelIWrapper& ZORQelIWrapperObject::Wrapper() const");
  return IMP()->Wrapper();
}

ZORQelI::string ZORQelIWrapperObject::Name() const {
  ZORQELI_TRACE("ZORQelI::string ZORQelIWrapperObject::Name() const");
  return IMP()->Name();
}

void ZORQelIWrapperObject::Rename(ZORQelI::string x) {
  ZORQELI_TRACE("void ZORQelIWrapperObject::Rename(ZORQelI::string x)");
  IMP()->Rename(x);
}
