#include "ZORQelIParamDesc.h"

#include "ZORQelIParamDescIMP.h"
#include "ZORQelIType.h"

ZORQELI_DEFINE_LENIENT_DICTIONARY_HANDLE(ZORQelIParamDesc, ZORQelIWrapperObject, ZORQelIParamDescIMP)
ZORQELI_DEFINE_CAST_ANYWAY(ZORQelIParamDesc, ZORQelIParamDescIMP)

ZORQelI::boolean ZORQelIParamDesc::IsIn() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIParamDesc::IsIn() const");
  return IMP()->IsIn();
}

ZORQelI::boolean ZORQelIParamDesc::IsOut() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIParamDesc::IsOut() const");
  return IMP()->IsOut();
}

ZORQelI::boolean ZORQelIParamDesc::IsOptional() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIParamDesc::IsOptional() const");
  return IMP()->IsOptional();
}

ZORQelIType ZORQelIParamDesc::GetType() const {
  ZORQELI_TRACE("ZORQelIType ZORQelIParamDesc::GetType() const");
  return IMP()->GetType();
}

void ZORQelIParamDesc::SetType(ZORQelIType t) const {
  ZORQELI_TRACE("void ZORQelIParamDesc::SetType(ZORQelIType t) const");
  IMP()->SetType(t);
}

void ZORQelIParamDesc::SetIn(ZORQelI::boolean v) {
  ZORQELI_TRACE("void ZORQelIParamDesc::SetIn(ZORQelI::boolean v)");
  IMP()->SetIn(v);
}

void ZORQelIParamDesc::SetOut(ZORQelI::boolean v) {
  ZORQELI_TRACE("void ZORQelIParamDesc::SetOut(ZORQelI::boolean v)");
  IMP()->SetOut(v);
}

void ZORQelIParamDesc::SetOptional(ZORQelI::boolean v) {
  ZORQELI_TRACE("void ZORQelIParamDesc::SetOptional(ZORQelI::boolean v)");
  IMP()->SetOptional(v);
}
