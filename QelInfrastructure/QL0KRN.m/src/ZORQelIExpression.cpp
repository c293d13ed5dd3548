#include "ZORQelIExpression.h"

#include "ZORQelIExpressionIMP.h"
#include "ZORQelIInterface.h"
#include "ZORQelIMethod.h"
#include "ZORQelIParamDesc.h"
#include "ZORQelIType.h"

ZORQELI_DEFINE_STRICT_DICTIONARY_HANDLE(ZORQelIExpression, ZORQelIParsable, ZORQelIExpressionIMP)
ZORQELI_DEFINE_CAST_ANYWAY(ZORQelIExpression, ZORQelIExpressionIMP)

ZORQelIParamDesc ZORQelIExpression::CreateParam(ZORQelI::string name, ZORQelI::boolean in, ZORQelI::boolean out, ZORQelIType t) {
  ZORQELI_TRACE("ZORQelIParamDesc ZORQelIExpression::CreateParam(ZORQelI::string name, ZORQelI::boolean in, ZORQelI::boolean out, ZORQelIType t)");
  return IMP()->CreateParam(name, in, out, t);
}

void ZORQelIExpression::AddParam(ZORQelIParamDesc par) {
  ZORQELI_TRACE("void ZORQelIExpression::AddParam(ZORQelIParamDesc par)");
  IMP()->AddParam(par);
}

ZORQelIParamDesc ZORQelIExpression::GetParam(int pos) {
  ZORQELI_TRACE("ZORQelIParamDesc ZORQelIExpression::GetParam(int pos)");
  return IMP()->GetParam(pos);
}

int ZORQelIExpression::GetNumberOfParam() const {
  ZORQELI_TRACE("int ZORQelIExpression::GetNumberOfParam() const");
  return IMP()->GetNumberOfParam();
}

ZORQelIExpression ZORQelIExpression::GetSubNode(int pos) const {
  ZORQELI_TRACE("ZORQelIExpression ZORQelIExpression::GetSubNode(int pos) const");
  return IMP()->GetSubNode(pos);
}

int ZORQelIExpression::GetNumberOfSubNode() const {
  ZORQELI_TRACE("int ZORQelIExpression::GetNumberOfSubNode() const");
  return IMP()->GetNumberOfSubNode();
}

ZORQelIExpression ZORQelIExpression::Copy() const {
  ZORQELI_TRACE("ZORQelIExpression ZORQelIExpression::Copy() const");
  return IMP()->Copy();
}

void ZORQelIExpression::Extract() {
  ZORQELI_TRACE("void ZORQelIExpression::Extract()");
  IMP()->Extract();
}

ZORQelIMethod ZORQelIExpression::GetMethod() const {
  ZORQELI_TRACE("ZORQelIMethod ZORQelIExpression::GetMethod() const");
  return IMP()->GetMethod();
}

ZORQelIInterface ZORQelIExpression::GetInterface() const {
  ZORQELI_TRACE("ZORQelIInterface ZORQelIExpression::GetInterface() const");
  return IMP()->GetInterface();
}

void ZORQelIExpression::SetInterface(ZORQelIInterface n) {
  ZORQELI_TRACE("void ZORQelIExpression::SetInterface(ZORQelIInterface n)");
  IMP()->SetInterface(n);
}
