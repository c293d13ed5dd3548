#include "ZORQelIInstance.h"

#include "ZORQelIAttr.h"
#include "ZORQelIInstanceIMP.h"
#include "ZORQelIType.h"
#include "ZORQelIWalker.h"

ZORQELI_DEFINE_LENIENT_DICTIONARY_HANDLE(ZORQelIInstance, ZORQelIWrapperObject, ZORQelIInstanceIMP)
ZORQELI_DEFINE_CAST_ANYWAY(ZORQelIInstance, ZORQelIInstanceIMP)

#define ZORQELI_FORWARD(...) ZORQELI_DEFINE_FORWARDER(ZORQelIInstance, __VA_ARGS__)
#include "ZORQelIInstance.def"

ZORQelI::integer ZORQelIInstance::GetInteger() const {
  ZORQELI_TRACE_LINE("ZORQelI::integer ZORQelIInstance::GetInteger() const", 32);
  return IMP()->GetInt();
}

// The writers return a new handle on this same object, so that writes chain.

ZORQelIInstance ZORQelIInstance::PutInt(ZORQelI::integer v) {
  ZORQELI_TRACE_LINE("ZORQelIInstance ZORQelIInstance::PutInt(ZORQelI::integer v)", 129);
  IMP()->PutInt(v);
  return *this;
}

ZORQelIInstance ZORQelIInstance::PutInteger(ZORQelI::integer v) {
  ZORQELI_TRACE_LINE("ZORQelIInstance ZORQelIInstance::PutInteger(ZORQelI::integer v)", 135);
  IMP()->PutInt(v);
  return *this;
}

ZORQelIInstance ZORQelIInstance::PutReal(ZORQelI::real v) {
  ZORQELI_TRACE_LINE("ZORQelIInstance ZORQelIInstance::PutReal(ZORQelI::real v)", 141);
  IMP()->PutReal(v);
  return *this;
}

ZORQelIInstance ZORQelIInstance::PutBoolean(ZORQelI::boolean bo) {
  ZORQELI_TRACE_LINE("ZORQelIInstance ZORQelIInstance::PutBoolean(ZORQelI::boolean bo)", 147);
  IMP()->PutBoolean(bo);
  return *this;
}

ZORQelIInstance ZORQelIInstance::PutString(ZORQelI::string s) {
  ZORQELI_TRACE_LINE("ZORQelIInstance ZORQelIInstance::PutString(ZORQelI::string s)", 153);
  IMP()->PutString(s);
  return *this;
}

ZORQelIInstance ZORQelIInstance::PutObject(ZORQelIObject obj) {
  ZORQELI_TRACE_LINE("ZORQelIInstance ZORQelIInstance::PutObject(ZORQelIObject obj)", 159);
  IMP()->PutObject(obj);
  return *this;
}

ZORQelIInstance ZORQelIInstance::PutObject(ZORQelIInstance obj) {
  ZORQELI_TRACE_LINE("ZORQelIInstance ZORQelIInstance::PutObject(ZORQelIInstance obj)", 165);
  IMP()->PutObject(obj);
  return *this;
}

ZORQelIInstance ZORQelIInstance::PutInstance(int key, ZORQelIInstance inst) {
  ZORQELI_TRACE_LINE("ZORQelIInstance ZORQelIInstance::PutInstance(int key, ZORQelIInstance inst)", 171);
  IMP()->PutInstance(key, inst);
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
