#include "ZORQelIMethod.h"

#include "ZORQelIEntity.h"
#include "ZORQelIExpression.h"
#include "ZORQelIMethodIMP.h"
#include "ZORQelIParamDesc.h"
#include "ZORQelIType.h"

ZORQELI_DEFINE_STRICT_DICTIONARY_HANDLE(ZORQelIMethod, ZORQelIWrapperObject, ZORQelIMethodIMP)
ZORQELI_DEFINE_CAST_ANYWAY(ZORQelIMethod, ZORQelIMethodIMP)

void ZORQelIMethod::MakeParam(ZORQelI::string v, ZORQelI::boolean in, ZORQelI::boolean out, ZORQelIType t) {
  ZORQELI_TRACE("void ZORQelIMethod::MakeParam(ZORQelI::string v, ZORQelI::boolean in, ZORQelI::boolean out, ZORQelIType t)");
  IMP()->MakeParam(v, in, out, t);
}

void ZORQelIMethod::SetType(ZORQelIType t) {
  ZORQELI_TRACE("void ZORQelIMethod::SetType(ZORQelIType t)");
  IMP()->SetType(t);
}

ZORQelIType ZORQelIMethod::GetType() const {
  ZORQELI_TRACE("ZORQelIType ZORQelIMethod::GetType() const");
  return IMP()->GetType();
}

ZORQelI::boolean ZORQelIMethod::Match(const ZORQelIExpression R) const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIMethod::Match(const ZORQelIExpression R) const");
  return IMP()->Match(R);
}

void ZORQelIMethod::AddParam(ZORQelIParamDesc pr) {
  ZORQELI_TRACE("void ZORQelIMethod::AddParam(ZORQelIParamDesc pr)");
  IMP()->AddParam(pr);
}

void ZORQelIMethod::RemoveParam(ZORQelIParamDesc pr) {
  ZORQELI_TRACE("void ZORQelIMethod::RemoveParam(ZORQelIParamDesc pr)");
  IMP()->RemoveParam(pr);
}

void ZORQelIMethod::RemoveParam(ZORQelI::integer pos) {
  ZORQELI_TRACE("void ZORQelIMethod::RemoveParam(ZORQelI::integer pos)");
  IMP()->RemoveParam(pos);
}

ZORQelIParamDesc ZORQelIMethod::GetParam(ZORQelI::integer pos) {
  ZORQELI_TRACE("ZORQelIParamDesc ZORQelIMethod::GetParam(ZORQelI::integer pos)");
  return IMP()->GetParam(pos);
}

ZORQelI::integer ZORQelIMethod::NumberOfParams() const {
  ZORQELI_TRACE("ZORQelI::integer ZORQelIMethod::NumberOfParams() const");
  return IMP()->NumberOfParams();
}

ZORQelI::boolean ZORQelIMethod::IsMethod() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIMethod::IsMethod() const");
  return IMP()->IsMethod();
}

ZORQelIEntity ZORQelIMethod::ImplementsEntity() const {
  ZORQELI_TRACE("ZORQelIEntity ZORQelIMethod::ImplementsEntity() const");
  return IMP()->ImplementsEntity();
}

void ZORQelIMethod::SetPublic() {
  ZORQELI_TRACE("void ZORQelIMethod::SetPublic()");
  IMP()->SetVisibility(ZORQelIMethodIMP::Public);
}

void ZORQelIMethod::SetPrivate() {
  ZORQELI_TRACE("void ZORQelIMethod::SetPrivate()");
  IMP()->SetVisibility(ZORQelIMethodIMP::Private);
}

void ZORQelIMethod::SetProtected() {
  ZORQELI_TRACE("void ZORQelIMethod::SetProtected()");
  IMP()->SetVisibility(ZORQelIMethodIMP::Protected);
}

ZORQelI::boolean ZORQelIMethod::IsPublic() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIMethod::IsPublic() const");
  return IMP()->GetVisibility() == ZORQelIMethodIMP::Public ? ZORQelI::Itrue : ZORQelI::Ifalse;
}

ZORQelI::boolean ZORQelIMethod::IsPrivate() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIMethod::IsPrivate() const");
  return IMP()->GetVisibility() == ZORQelIMethodIMP::Private ? ZORQelI::Itrue : ZORQelI::Ifalse;
}

ZORQelI::boolean ZORQelIMethod::IsProtected() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIMethod::IsProtected() const");
  return IMP()->GetVisibility() == ZORQelIMethodIMP::Protected ? ZORQelI::Itrue : ZORQelI::Ifalse;
}
