#include "ZORQelIModeler.h"

#include "ZORQelIEntity.h"
#include "ZORQelIInstance.h"
#include "ZORQelIInstances.h"
#include "ZORQelIModelerIMP.h"
#include "ZORQelIType.h"
#include "ZORQelIView.h"

ZORQELI_DEFINE_LENIENT_DICTIONARY_HANDLE(ZORQelIModeler, ZORQelIWrapperObject, ZORQelIModelerIMP)

ZORQelIType ZORQelIModeler::Parent() const {
  ZORQELI_TRACE("ZORQelIType ZORQelIModeler::Parent() const");
  return IMP()->Parent();
}

ZORQelIType ZORQelIModeler::Scope(ZORQelI::string s) const {
  ZORQELI_TRACE("ZORQelIType ZORQelIModeler::Scope(ZORQelI::string s) const");
  return IMP()->Scope(s);
}

ZORQelI::boolean ZORQelIModeler::Load(ZORQelI::string f) {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIModeler::Load(ZORQelI::string f)");
  return IMP()->Load(f);
}

ZORQelI::boolean ZORQelIModeler::Save(ZORQelI::string f) {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIModeler::Save(ZORQelI::string f)");
  return IMP()->Save(f);
}

ZORQelIType ZORQelIModeler::MakeType(ZORQelI::Types t) const {
  ZORQELI_TRACE("ZORQelIType ZORQelIModeler::MakeType(ZORQelI::Types t) const");
  return IMP()->MakeType(t);
}

ZORQelIType ZORQelIModeler::MakeField(ZORQelI::Types t, ZORQelI::Mint width, ZORQelI::boolean fixed_width) const {
  ZORQELI_TRACE("ZORQelIType ZORQelIModeler::MakeField(ZORQelI::Types t, ZORQelI::Mint width, ZORQelI::boolean fixed_width) const");
  return IMP()->MakeField(t, width, fixed_width);
}

ZORQelIType ZORQelIModeler::MakeList(ZORQelIType t, ZORQelI::Mint low, ZORQelI::Mint upper, ZORQelI::boolean unique) const {
  ZORQELI_TRACE("ZORQelIType ZORQelIModeler::MakeList(ZORQelIType t, ZORQelI::Mint low, ZORQelI::Mint upper, ZORQelI::boolean unique) const");
  return IMP()->MakeList(t, low, upper, unique);
}

ZORQelIType ZORQelIModeler::MakeBag(ZORQelIType t, ZORQelI::Mint low, ZORQelI::Mint upper) const {
  ZORQELI_TRACE("ZORQelIType ZORQelIModeler::MakeBag(ZORQelIType t, ZORQelI::Mint low, ZORQelI::Mint upper) const");
  return IMP()->MakeBag(t, low, upper);
}

ZORQelIType ZORQelIModeler::MakeSet(ZORQelIType t, ZORQelI::Mint low, ZORQelI::Mint upper) const {
  ZORQELI_TRACE("ZORQelIType ZORQelIModeler::MakeSet(ZORQelIType t, ZORQelI::Mint low, ZORQelI::Mint upper) const");
  return IMP()->MakeSet(t, low, upper);
}

ZORQelIType ZORQelIModeler::MakeArray(ZORQelIType t, ZORQelI::Mint low, ZORQelI::Mint upper, ZORQelI::boolean opt, ZORQelI::boolean unique) const {
  ZORQELI_TRACE("ZORQelIType ZORQelIModeler::MakeArray(ZORQelIType t, ZORQelI::Mint low, ZORQelI::Mint upper, ZORQelI::boolean opt, ZORQelI::boolean unique) const");
  return IMP()->MakeArray(t, low, upper, opt, unique);
}

ZORQelIEntity ZORQelIModeler::MakeEntity(ZORQelI::string name) {
  ZORQELI_TRACE("ZORQelIEntity ZORQelIModeler::MakeEntity(ZORQelI::string name)");
  return IMP()->MakeEntity(name);
}

ZORQelIEntity ZORQelIModeler::LookEntity(ZORQelI::string S) const {
  ZORQELI_TRACE("ZORQelIEntity ZORQelIModeler::LookEntity(ZORQelI::string S) const");
  return IMP()->LookEntity(S);
}

ZORQelIEntity ZORQelIModeler::GetEntity(int i) const {
  ZORQELI_TRACE("ZORQelIEntity ZORQelIModeler::GetEntity(int i) const");
  return IMP()->GetEntity(i);
}

int ZORQelIModeler::GetNumberOfEntities() const {
  ZORQELI_TRACE("int ZORQelIModeler::GetNumberOfEntities() const");
  return IMP()->GetNumberOfEntities();
}

ZORQelIInstances ZORQelIModeler::GetInstances() const {
  ZORQELI_TRACE("ZORQelIInstances ZORQelIModeler::GetInstances() const");
  return IMP()->GetInstances();
}

void ZORQelIModeler::AddView(ZORQelIView v) {
  ZORQELI_TRACE("void ZORQelIModeler::AddView(ZORQelIView v)");
  IMP()->AddView(v);
}

void ZORQelIModeler::RemoveView(ZORQelIView v) {
  ZORQELI_TRACE("void ZORQelIModeler::RemoveView(ZORQelIView v)");
  IMP()->RemoveView(v);
}

ZORQelIType ZORQelIModeler::MakeInteger() const {
  ZORQELI_TRACE("ZORQelIType ZORQelIModeler::MakeInteger() const");
  return MakeType(ZORQelI::Iinteger);
}

ZORQelIType ZORQelIModeler::MakeReal() const {
  ZORQELI_TRACE("ZORQelIType ZORQelIModeler::MakeReal() const");
  return MakeType(ZORQelI::Ireal);
}

ZORQelIType ZORQelIModeler::MakeString() const {
  ZORQELI_TRACE("ZORQelIType ZORQelIModeler::MakeString() const");
  return MakeType(ZORQelI::Istring);
}

ZORQelIType ZORQelIModeler::MakeBoolean() const {
  ZORQELI_TRACE("ZORQelIType ZORQelIModeler::MakeBoolean() const");
  return IMP()->MakeType(ZORQelI::Iboolean);
}

ZORQelIType ZORQelIModeler::MakeString(ZORQelI::Mint width, ZORQelI::boolean fixed_width) const {
  ZORQELI_TRACE("ZORQelIType ZORQelIModeler::MakeString(ZORQelI::Mint width, ZORQelI::boolean fixed_width) const");
  return MakeField(ZORQelI::Istring, width, fixed_width);
}

ZORQelIType ZORQelIModeler::MakeBinary(ZORQelI::Mint width, ZORQelI::boolean fixed_width) const {
  ZORQELI_TRACE("ZORQelIType ZORQelIModeler::MakeBinary(ZORQelI::Mint width, ZORQelI::boolean fixed_width) const");
  return MakeField(ZORQelI::Ibinary, width, fixed_width);
}

ZORQelIInstance ZORQelIModeler::InstanciateString() const {
  ZORQELI_TRACE("ZORQelIInstance ZORQelIModeler::InstanciateString() const");
  return GetInstances().InstanciateString();
}

ZORQelIInstance ZORQelIModeler::InstanciateBoolean() const {
  ZORQELI_TRACE("ZORQelIInstance ZORQelIModeler::InstanciateBoolean() const");
  return GetInstances().InstanciateBoolean();
}

ZORQelIInstance ZORQelIModeler::InstanciateReal() const {
  ZORQELI_TRACE("ZORQelIInstance ZORQelIModeler::InstanciateReal() const");
  return GetInstances().InstanciateReal();
}

ZORQelIInstance ZORQelIModeler::InstanciateInteger() const {
  ZORQELI_TRACE("ZORQelIInstance ZORQelIModeler::InstanciateInteger() const");
  return GetInstances().InstanciateInteger();
}

ZORQelIInstance ZORQelIModeler::Instanciate(ZORQelI::string t) const {
  ZORQELI_TRACE("ZORQelIInstance ZORQelIModeler::Instanciate(ZORQelI::string t) const");
  return GetInstances().Instanciate(t);
}

ZORQelIInstance ZORQelIModeler::Instanciate(ZORQelIType t) const {
  ZORQELI_TRACE("ZORQelIInstance ZORQelIModeler::Instanciate(ZORQelIType t) const");
  return GetInstances().Instanciate(t);
}
