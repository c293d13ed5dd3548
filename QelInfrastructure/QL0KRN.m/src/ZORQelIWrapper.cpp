#include "ZORQelIWrapper.h"

#include "ZORQelIExpression.h"
#include "ZORQelIIdentifier.h"
#include "ZORQelIInvalidType.h"
#include "ZORQelIModeler.h"
#include "ZORQelIPrint.h"
#include "ZORQelIRaise.h"
#include "ZORQelITracer.h"

const ZORQelI::string ZORQelIWrapper::Instances("Instances");
const ZORQelI::string ZORQelIWrapper::PersistantInstances("PersistantInstances");
const ZORQelI::string ZORQelIWrapper::EditableDictionnary("EditableDictionnary");
const ZORQelI::string ZORQelIWrapper::PersistantDictionnary("PersistantDictionnary");
const ZORQelI::string ZORQelIWrapper::Expression("Expression");

ZORQelIWrapper::ZORQelIWrapper() : capabilities() {
  ZORQELI_TRACE(" ZORQelIWrapper::ZORQelIWrapper()");
}

ZORQelIWrapper::~ZORQelIWrapper() = default;

ZORQelIModeler ZORQelIWrapper::NewModeler(ZORQelI::string) {
  ZORQELI_TRACE("ZORQelIModeler ZORQelIWrapper::NewModeler(ZORQelI::string f)");
  return ZORQelIModeler();
}

ZORQelIExpression ZORQelIWrapper::NewExpression() const {
  ZORQELI_TRACE("ZORQelIExpression ZORQelIWrapper::NewExpression() const");
  return ZORQelIExpression();
}

void ZORQelIWrapper::AddCapability(ZORQelI::string cap) {
  ZORQELI_TRACE("void ZORQelIWrapper::AddCapability(ZORQelI::string cap)");
  // The list refuses an identifier equal (same name) to one it holds.
  capabilities.Add(ZORQelIIdentifier(cap));
}

ZORQelI::boolean ZORQelIWrapper::Has(ZORQelI::string cap) const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIWrapper::Has(ZORQelI::string cap) const");
  return capabilities.Look(ZORQelIIdentifier(cap)).IsValid();
}

ZORQelI::boolean ZORQelIWrapper::HasInstances() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIWrapper::HasInstances() const");
  return Has(Instances);
}

ZORQelI::boolean ZORQelIWrapper::HasPersistantInstances() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIWrapper::HasPersistantInstances() const");
  return Has(PersistantInstances);
}

ZORQelI::boolean ZORQelIWrapper::HasEditableDictionnary() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIWrapper::HasEditableDictionnary() const");
  return Has(EditableDictionnary);
}

ZORQelI::boolean ZORQelIWrapper::HasPersistantDictionnary() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIWrapper::HasPersistantDictionnary() const");
  return Has(PersistantDictionnary);
}

ZORQelI::boolean ZORQelIWrapper::HasExpression() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIWrapper::HasExpression() const");
  return Has(Expression);
}

void ZORQelIWrapper::Text(ZORQelIPrint& ot) {
  ZORQELI_TRACE("void ZORQelIWrapper::Text(ZORQelIPrint& ot)");
  ot.Print(*this);
}

void ZORQelIWrapper::CheckWrapper(const ZORQelIWrapperObjectIMP* e) const {
  ZORQELI_TRACE("void ZORQelIWrapper::CheckWrapper(const ZORQelIWrapperObjectIMP* e) const");
  if (Owns(e) != ZORQelI::Itrue) {
    ZORQELI_RAISE_AT(kWrapperOwns, ZORQelI::InvalidType());
  }
}
