#include "ZORQelIMethod.h"

#include "ZORQelIEntity.h"
#include "ZORQelIExpression.h"
#include "ZORQelIMethodIMP.h"
#include "ZORQelIParamDesc.h"
#include "ZORQelIType.h"

ZORQELI_DEFINE_STRICT_DICTIONARY_HANDLE(ZORQelIMethod, ZORQelIWrapperObject, ZORQelIMethodIMP)
ZORQELI_DEFINE_CAST_ANYWAY(ZORQelIMethod, ZORQelIMethodIMP)

#define ZORQELI_FORWARD(...) ZORQELI_DEFINE_FORWARDER(ZORQelIMethod, __VA_ARGS__)
#include "ZORQelIMethod.def"

void ZORQelIMethod::SetPublic() {
  ZORQELI_TRACE_LINE("void ZORQelIMethod::SetPublic()", 68);
  IMP()->SetVisibility(ZORQelIMethodIMP::Public);
}

void ZORQelIMethod::SetPrivate() {
  ZORQELI_TRACE_LINE("void ZORQelIMethod::SetPrivate()", 73);
  IMP()->SetVisibility(ZORQelIMethodIMP::Private);
}

void ZORQelIMethod::SetProtected() {
  ZORQELI_TRACE_LINE("void ZORQelIMethod::SetProtected()", 78);
  IMP()->SetVisibility(ZORQelIMethodIMP::Protected);
}

ZORQelI::boolean ZORQelIMethod::IsPublic() const {
  ZORQELI_TRACE_LINE("ZORQelI::boolean ZORQelIMethod::IsPublic() const", 83);
  return IMP()->GetVisibility() == ZORQelIMethodIMP::Public ? ZORQelI::Itrue : ZORQelI::Ifalse;
}

ZORQelI::boolean ZORQelIMethod::IsPrivate() const {
  ZORQELI_TRACE_LINE("ZORQelI::boolean ZORQelIMethod::IsPrivate() const", 88);
  return IMP()->GetVisibility() == ZORQelIMethodIMP::Private ? ZORQelI::Itrue : ZORQelI::Ifalse;
}

ZORQelI::boolean ZORQelIMethod::IsProtected() const {
  ZORQELI_TRACE_LINE("ZORQelI::boolean ZORQelIMethod::IsProtected() const", 93);
  return IMP()->GetVisibility() == ZORQelIMethodIMP::Protected ? ZORQelI::Itrue : ZORQelI::Ifalse;
}
