#include "ZORQelIInstance.h"

#include "ZORQelIAttr.h"
#include "ZORQelIInstanceIMP.h"
#include "ZORQelIType.h"
#include "ZORQelIWalker.h"

ZORQELI_DEFINE_LENIENT_DICTIONARY_HANDLE(ZORQelIInstance, ZORQelIWrapperObject, ZORQelIInstanceIMP)
ZORQELI_DEFINE_CAST_ANYWAY(ZORQelIInstance, ZORQelIInstanceIMP)

ZORQelIType ZORQelIInstance::GetType() const {
  ZORQELI_TRACE("ZORQelIType ZORQelIInstance::GetType() const");
  return IMP()->GetType();
}

void ZORQelIInstance::Unset() {
  ZORQELI_TRACE("void ZORQelIInstance::Unset()");
  IMP()->Unset();
}

void ZORQelIInstance::Delete() {
  ZORQELI_TRACE("void ZORQelIInstance::Delete()");
  IMP()->Delete();
}

ZORQelI::integer ZORQelIInstance::GetInt() const {
  ZORQELI_TRACE("ZORQelI::integer ZORQelIInstance::GetInt() const");
  return IMP()->GetInt();
}

ZORQelI::integer ZORQelIInstance::GetInteger() const {
  ZORQELI_TRACE("ZORQelI::integer ZORQelIInstance::GetInteger() const");
  return IMP()->GetInt();
}

ZORQelI::real ZORQelIInstance::GetReal() const {
  ZORQELI_TRACE("ZORQelI::real ZORQelIInstance::GetReal() const");
  return IMP()->GetReal();
}

ZORQelI::boolean ZORQelIInstance::GetBoolean() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIInstance::GetBoolean() const");
  return IMP()->GetBoolean();
}

ZORQelI::string ZORQelIInstance::GetString() const {
  ZORQELI_TRACE("ZORQelI::string ZORQelIInstance::GetString() const");
  return IMP()->GetString();
}

ZORQelIObject ZORQelIInstance::GetObject() const {
  ZORQELI_TRACE("ZORQelIObject ZORQelIInstance::GetObject() const");
  return IMP()->GetObject();
}

ZORQelI::Mint ZORQelIInstance::GetInstanceId() const {
  ZORQELI_TRACE("ZORQelI::Mint ZORQelIInstance::GetInstanceId() const");
  return IMP()->GetInstanceId();
}

ZORQelI::string ZORQelIInstance::GetSymbolicName() const {
  ZORQELI_TRACE("ZORQelI::string ZORQelIInstance::GetSymbolicName() const");
  return IMP()->GetSymbolicName();
}

ZORQelIInstance ZORQelIInstance::GetAttr(ZORQelIAttr key) const {
  ZORQELI_TRACE("ZORQelIInstance ZORQelIInstance::GetAttr(ZORQelIAttr key) const");
  return IMP()->GetAttr(key);
}

ZORQelIInstance ZORQelIInstance::GetAttr(ZORQelI::string key) const {
  ZORQELI_TRACE("ZORQelIInstance ZORQelIInstance::GetAttr(ZORQelI::string key) const");
  return IMP()->GetAttr(key);
}

int ZORQelIInstance::Size() const {
  ZORQELI_TRACE("int ZORQelIInstance::Size() const");
  return IMP()->Size();
}

ZORQelIInstance ZORQelIInstance::GetInstance(int key) const {
  ZORQELI_TRACE("ZORQelIInstance ZORQelIInstance::GetInstance(int key) const");
  return IMP()->GetInstance(key);
}

ZORQelI::boolean ZORQelIInstance::IsEmpty() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIInstance::IsEmpty() const");
  return IMP()->IsEmpty();
}

ZORQelI::Mint ZORQelIInstance::Look(ZORQelIInstance inst) const {
  ZORQELI_TRACE("ZORQelI::Mint ZORQelIInstance::Look(ZORQelIInstance inst) const");
  return IMP()->Look(inst);
}

void ZORQelIInstance::Remove() {
  ZORQELI_TRACE("void ZORQelIInstance::Remove()");
  IMP()->Remove();
}

ZORQelI::boolean ZORQelIInstance::ForEach(ZORQelIWalker& x, int start, int stop) {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIInstance::ForEach(ZORQelIWalker& x, int start, int stop)");
  return IMP()->ForEach(x, start, stop);
}

ZORQelI::boolean ZORQelIInstance::ForEach(ZORQelIWalker& x) {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIInstance::ForEach(ZORQelIWalker& x)");
  return IMP()->ForEach(x);
}

ZORQelI::integer ZORQelIInstance::GetMnum() const {
  ZORQELI_TRACE("ZORQelI::integer ZORQelIInstance::GetMnum() const");
  return IMP()->GetMnum();
}

ZORQelI::integer ZORQelIInstance::GetJele() const {
  ZORQELI_TRACE("ZORQelI::integer ZORQelIInstance::GetJele() const");
  return IMP()->GetJele();
}

ZORQelI::boolean ZORQelIInstance::CreateProxy(int mnum, int jele) {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIInstance::CreateProxy(int mnum, int jele)");
  return IMP()->CreateProxy(mnum, jele);
}

// The writers return a new handle on this same object, so that writes chain.

ZORQelIInstance ZORQelIInstance::PutInt(ZORQelI::integer v) {
  ZORQELI_TRACE("ZORQelIInstance ZORQelIInstance::PutInt(ZORQelI::integer v)");
  IMP()->PutInt(v);
  return *this;
}

ZORQelIInstance ZORQelIInstance::PutInteger(ZORQelI::integer v) {
  ZORQELI_TRACE("ZORQelIInstance ZORQelIInstance::PutInteger(ZORQelI::integer v)");
  IMP()->PutInt(v);
  return *this;
}

ZORQelIInstance ZORQelIInstance::PutReal(ZORQelI::real v) {
  ZORQELI_TRACE("ZORQelIInstance ZORQelIInstance::PutReal(ZORQelI::real v)");
  IMP()->PutReal(v);
  return *this;
}

ZORQelIInstance ZORQelIInstance::PutBoolean(ZORQelI::boolean bo) {
  ZORQELI_TRACE("ZORQelIInstance ZORQelIInstance::PutBoolean(ZORQelI::boolean bo)");
  IMP()->PutBoolean(bo);
  return *this;
}

ZORQelIInstance ZORQelIInstance::PutString(ZORQelI::string s) {
  ZORQELI_TRACE("ZORQelIInstance ZORQelIInstance::PutString(ZORQelI::string s)");
  IMP()->PutString(s);
  return *this;
}

ZORQelIInstance ZORQelIInstance::PutObject(ZORQelIObject obj) {
  ZORQELI_TRACE("ZORQelIInstance ZORQelIInstance::PutObject(ZORQelIObject obj)");
  IMP()->PutObject(obj);
  return *this;
}

ZORQelIInstance ZORQelIInstance::PutObject(ZORQelIInstance obj) {
  ZORQELI_TRACE("ZORQelIInstance ZORQelIInstance::PutObject(ZORQelIInstance obj)");
  IMP()->PutObject(obj);
  return *this;
}

ZORQelIInstance ZORQelIInstance::PutInstance(int key, ZORQelIInstance inst) {
  ZORQELI_TRACE("ZORQelIInstance ZORQelIInstance::PutInstance(int key, ZORQelIInstance inst)");
  IMP()->PutInstance(key, inst);
  return *this;
}

ZORQelIInstance ZORQelIInstance::PutAttr(ZORQelIAttr key, ZORQelIInstance inst) {
  ZORQELI_TRACE("ZORQelIInstance ZORQelIInstance::PutAttr(ZORQelIAttr key, ZORQelIInstance inst)");
  // The attribute's holder takes the value; the result is the owner.
  GetAttr(key).PutObject(inst);
  return *this;
}

ZORQelI::boolean ZORQelIInstance::Append(ZORQelIInstance inst) {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIInstance::Append(ZORQelIInstance inst)");
  return IMP()->Insert(inst, ZORQelI::Itrue);
}

void ZORQelIInstance::Prepend(ZORQelIInstance inst) {
  ZORQELI_TRACE("void ZORQelIInstance::Prepend(ZORQelIInstance inst)");
  IMP()->Insert(inst, ZORQelI::Ifalse);
}
