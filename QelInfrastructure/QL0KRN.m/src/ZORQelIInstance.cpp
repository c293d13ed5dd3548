#include "ZORQelIInstance.h"

#include "ZORQelIAttr.h"
#include "ZORQelIInstanceIMP.h"
#include "ZORQelIType.h"
#include "ZORQelIWalker.h"

ZORQELI_DEFINE_LENIENT_DICTIONARY_HANDLE(ZORQelIInstance, ZORQelIWrapperObject, ZORQelIInstanceIMP)
ZORQELI_DEFINE_CAST_ANYWAY(ZORQelIInstance, ZORQelIInstanceIMP)

#define ZORQELI_FORWARD(...) ZORQELI_DEFINE_FORWARDER(ZORQelIInstance, __VA_ARGS__)
#define ZORQELI_FORWARD_CHAIN(...) ZORQELI_DEFINE_CHAINING_FORWARDER(ZORQelIInstance, __VA_ARGS__)
#include "ZORQelIInstance.def"

ZORQelI::integer ZORQelIInstance::GetInteger() const {
  ZORQELI_TRACE_LINE("ZORQelI::integer ZORQelIInstance::GetInteger() const", 32);
  return IMP()->GetInt();
}

// The writers return a new handle on this same object, so that writes chain;
// those that only forward are rows of ZORQelIInstance.def.

ZORQelIInstance ZORQelIInstance::PutInteger(ZORQelI::integer v) {
  ZORQELI_TRACE_LINE("ZORQelIInstance ZORQelIInstance::PutInteger(ZORQelI::integer v)", 135);
  IMP()->PutInt(v);
  return *this;
}

ZORQelIInstance ZORQelIInstance::PutAttr(ZORQelIAttr key, ZORQelIInstance inst) {
  ZORQELI_TRACE_LINE("ZORQelIInstance ZORQelIInstance::PutAttr(ZORQelIAttr key, ZORQelIInstance inst)", 177);
  // The attribute's holder takes the value; the result is the owner.
  GetAttr(key).PutObject(inst);
  return *this;
}

ZORQelI::boolean ZORQelIInstance::Append(ZORQelIInstance inst) {
  ZORQELI_TRACE_LINE("ZORQelI::boolean ZORQelIInstance::Append(ZORQelIInstance inst)", 184);
  return IMP()->Insert(inst, ZORQelI::Itrue);
}

void ZORQelIInstance::Prepend(ZORQelIInstance inst) {
  ZORQELI_TRACE_LINE("void ZORQelIInstance::Prepend(ZORQelIInstance inst)", 189);
  IMP()->Insert(inst, ZORQelI::Ifalse);
}
