#include "ZORQelIModeler.h"

#include "ZORQelIEntity.h"
#include "ZORQelIInstance.h"
#include "ZORQelIInstances.h"
#include "ZORQelIModelerIMP.h"
#include "ZORQelIType.h"
#include "ZORQelIView.h"

ZORQELI_DEFINE_LENIENT_DICTIONARY_HANDLE(ZORQelIModeler, ZORQelIWrapperObject, ZORQelIModelerIMP)

#define ZORQELI_FORWARD(...) ZORQELI_DEFINE_FORWARDER(ZORQelIModeler, __VA_ARGS__)
#include "ZORQelIModeler.def"

ZORQelIType ZORQelIModeler::MakeInteger() const {
  ZORQELI_TRACE_LINE("ZORQelIType ZORQelIModeler::MakeInteger() const", 98);
  return MakeType(ZORQelI::Iinteger);
}

ZORQelIType ZORQelIModeler::MakeReal() const {
  ZORQELI_TRACE_LINE("ZORQelIType ZORQelIModeler::MakeReal() const", 103);
  return MakeType(ZORQelI::Ireal);
}

ZORQelIType ZORQelIModeler::MakeString() const {
  ZORQELI_TRACE_LINE("ZORQelIType ZORQelIModeler::MakeString() const", 108);
  return MakeType(ZORQelI::Istring);
}

ZORQelIType ZORQelIModeler::MakeBoolean() const {
  ZORQELI_TRACE_LINE("ZORQelIType ZORQelIModeler::MakeBoolean() const", 113);
  return IMP()->MakeType(ZORQelI::Iboolean);
}

ZORQelIType ZORQelIModeler::MakeString(ZORQelI::Mint width, ZORQelI::boolean fixed_width) const {
  ZORQELI_TRACE_LINE("ZORQelIType ZORQelIModeler::MakeString(ZORQelI::Mint width, ZORQelI::boolean fixed_width) const", 118);
  return MakeField(ZORQelI::Istring, width, fixed_width);
}

ZORQelIType ZORQelIModeler::MakeBinary(ZORQelI::Mint width, ZORQelI::boolean fixed_width) const {
  ZORQELI_TRACE_LINE("ZORQelIType ZORQelIModeler::MakeBinary(ZORQelI::Mint width, ZORQelI::boolean fixed_width) const", 123);
  return MakeField(ZORQelI::Ibinary, width, fixed_width);
}

ZORQelIInstance ZORQelIModeler::InstanciateString() const {
  ZORQELI_TRACE_LINE("ZORQelIInstance ZORQelIModeler::InstanciateString() const", 128);
  return GetInstances().InstanciateString();
}

ZORQelIInstance ZORQelIModeler::InstanciateBoolean() const {
  ZORQELI_TRACE_LINE("ZORQelIInstance ZORQelIModeler::InstanciateBoolean() const", 133);
  return GetInstances().InstanciateBoolean();
}

ZORQelIInstance ZORQelIModeler::InstanciateReal() const {
  ZORQELI_TRACE_LINE("ZORQelIInstance ZORQelIModeler::InstanciateReal() const", 138);
  return GetInstances().InstanciateReal();
}

ZORQelIInstance ZORQelIModeler::InstanciateInteger() const {
  ZORQELI_TRACE_LINE("ZORQelIInstance ZORQelIModeler::InstanciateInteger() const", 143);
  return GetInstances().InstanciateInteger();
}

ZORQelIInstance ZORQelIModeler::Instanciate(ZORQelI::string t) const {
  ZORQELI_TRACE_LINE("ZORQelIInstance ZORQelIModeler::Instanciate(ZORQelI::string t) const", 148);
  return GetInstances().Instanciate(t);
}

ZORQelIInstance ZORQelIModeler::Instanciate(ZORQelIType t) const {
  ZORQELI_TRACE_LINE("ZORQelIInstance ZORQelIModeler::Instanciate(ZORQelIType t) const", 153);
  return GetInstances().Instanciate(t);
}
