#include "ZORQelIInstances.h"

#include "ZORQelIInstance.h"
#include "ZORQelIInstancesIMP.h"
#include "ZORQelIType.h"

ZORQELI_DEFINE_LENIENT_DICTIONARY_HANDLE(ZORQelIInstances, ZORQelIWrapperObject, ZORQelIInstancesIMP)
ZORQELI_DEFINE_CAST_ANYWAY(ZORQelIInstances, ZORQelIInstancesIMP)

ZORQelIInstance ZORQelIInstances::InstanciateString() const {
  ZORQELI_TRACE("ZORQelIInstance ZORQelIInstances::InstanciateString() const");
  return IMP()->InstanciateString();
}

ZORQelIInstance ZORQelIInstances::InstanciateBoolean() const {
  ZORQELI_TRACE("ZORQelIInstance ZORQelIInstances::InstanciateBoolean() const");
  return IMP()->InstanciateBoolean();
}

ZORQelIInstance ZORQelIInstances::InstanciateReal() const {
  ZORQELI_TRACE("ZORQelIInstance ZORQelIInstances::InstanciateReal() const");
  return IMP()->InstanciateReal();
}

ZORQelIInstance ZORQelIInstances::InstanciateInteger() const {
  ZORQELI_TRACE("ZORQelIInstance ZORQelIInstances::InstanciateInteger() const");
  return IMP()->InstanciateInteger();
}

ZORQelIInstance ZORQelIInstances::Instanciate(ZORQelI::string S) const {
  ZORQELI_TRACE("ZORQelIInstance ZORQelIInstances::Instanciate(ZORQelI::string S) const");
  return IMP()->Instanciate(S);
}

ZORQelIInstance ZORQelIInstances::Instanciate(ZORQelIType T) const {
  ZORQELI_TRACE("ZORQelIInstance ZORQelIInstances::Instanciate(ZORQelIType T) const");
  return IMP()->Instanciate(T);
}

ZORQelIInstance ZORQelIInstances::Get(ZORQelI::integer nth) const {
  ZORQELI_TRACE("ZORQelIInstance ZORQelIInstances::Get(ZORQelI::integer nth) const");
  return IMP()->Get(nth);
}

void ZORQelIInstances::Put(ZORQelI::integer nth, ZORQelIInstance inst) {
  ZORQELI_TRACE("void ZORQelIInstances::Put(ZORQelI::integer nth, ZORQelIInstance inst)");
  IMP()->Put(nth, inst);
}

void ZORQelIInstances::Append(ZORQelIInstance inst) {
  ZORQELI_TRACE("void ZORQelIInstances::Append(ZORQelIInstance inst)");
  IMP()->Append(inst);
}

ZORQelI::Mint ZORQelIInstances::Look(ZORQelIInstance inst) const {
  ZORQELI_TRACE("ZORQelI::Mint ZORQelIInstances::Look(ZORQelIInstance inst) const");
  return IMP()->Look(inst);
}

ZORQelIInstance ZORQelIInstances::LookById(ZORQelI::integer id) const {
  ZORQELI_TRACE("ZORQelIInstance ZORQelIInstances::LookById(ZORQelI::integer id) const");
  return IMP()->LookById(id);
}

void ZORQelIInstances::Remove(ZORQelI::integer nth) {
  ZORQELI_TRACE("void ZORQelIInstances::Remove(ZORQelI::integer nth)");
  IMP()->Remove(nth);
}

ZORQelI::integer ZORQelIInstances::Size() const {
  ZORQELI_TRACE("ZORQelI::integer ZORQelIInstances::Size() const");
  return IMP()->Size();
}

ZORQelIInstance ZORQelIInstances::InstanciateString(ZORQelI::string v) const {
  ZORQELI_TRACE("ZORQelIInstance ZORQelIInstances::InstanciateString(ZORQelI::string v) const");
  ZORQelIInstance made = InstanciateString();
  made.PutString(v);
  return made;
}

ZORQelIInstance ZORQelIInstances::InstanciateBoolean(ZORQelI::boolean v) const {
  ZORQELI_TRACE("ZORQelIInstance ZORQelIInstances::InstanciateBoolean(ZORQelI::boolean v) const");
  ZORQelIInstance made = InstanciateBoolean();
  made.PutBoolean(v);
  return made;
}

ZORQelIInstance ZORQelIInstances::InstanciateReal(ZORQelI::real v) const {
  ZORQELI_TRACE("ZORQelIInstance ZORQelIInstances::InstanciateReal(ZORQelI::real v) const");
  ZORQelIInstance made = InstanciateReal();
  made.PutReal(v);
  return made;
}

ZORQelIInstance ZORQelIInstances::InstanciateInteger(ZORQelI::integer v) const {
  ZORQELI_TRACE("ZORQelIInstance ZORQelIInstances::InstanciateInteger(ZORQelI::integer v) const");
  ZORQelIInstance made = InstanciateInteger();
  made.PutInteger(v);
  return made;
}
