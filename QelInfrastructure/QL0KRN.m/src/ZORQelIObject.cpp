#include "ZORQelIObject.h"

#include <ostream>

#include "ZORQelINullPtrAccess.h"
#include "ZORQelIRaise.h"

void ZORQelIObject::RaiseEmpty(int line) {
  ZORQELI_RAISE(ZORQelI::NullPtrAccess(), ZORQELI_SOURCE(ZORQelIObject), line);
}

const ZORQelIObject& ZORQelIObject::operator=(const ZORQelIObject& o) {
  ZORQELI_TRACE("const ZORQelIObject& ZORQelIObject::operator=(const ZORQelIObject& o)");
  SetObjectIMP(o.objectIMP);
  return *this;
}

const ZORQelIObject& ZORQelIObject::operator=(const ZORQelIObjectIMP* o) {
  ZORQELI_TRACE("const ZORQelIObject& ZORQelIObject::operator=(const ZORQelIObjectIMP* o)");
  SetObjectIMP(const_cast<ZORQelIObjectIMP*>(o));
  return *this;
}

ZORQelI::boolean ZORQelIObject::IsValid() const {
  ZORQELI_TRACE_LINE("ZORQelI::boolean ZORQelIObject::IsValid() const", 39);
  return objectIMP != nullptr ? objectIMP->IsValid() : ZORQelI::Ifalse;
}

ZORQelIObjectIMP* ZORQelIObject::SpecializeMe() {
  ZORQELI_TRACE("ZORQelIObjectIMP* ZORQelIObject::SpecializeMe()");
  if (objectIMP != nullptr) SetObjectIMP(objectIMP->Clone());
  return RefMe();
}

ZORQelI::string ZORQelIObject::ToString() const {
  ZORQELI_TRACE("ZORQelI::string ZORQelIObject::ToString() const");
  return RefMe()->ToString();
}

ZORQelI::string ZORQelIObject::Text() const {
  ZORQELI_TRACE("ZORQelI::string ZORQelIObject::Text() const");
  return RefMe()->ToString();
}

void ZORQelIObject::ToStream(std::ostream& ot) const {
  ZORQELI_TRACE("void ZORQelIObject::ToStream(ostream& ot) const");
  RefMe()->ToStream(ot);
}

void ZORQelIObject::Text(ZORQelIPrint& ot) const {
  ZORQELI_TRACE("void ZORQelIObject::Text(ZORQelIPrint& ot) const");
  RefMe()->Text(ot);
}

ZORQelI::boolean ZORQelIObject::Equal(ZORQelIObject o) const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIObject::Equal(ZORQelIObject o) const");
  if (objectIMP == o.objectIMP) return ZORQelI::Itrue;
  return RefMe()->Equal(o.objectIMP);
}

ZORQelI::integer ZORQelIObject::HashCode() const {
  ZORQELI_TRACE("ZORQelI::integer ZORQelIObject::HashCode() const");
  return RefMe()->HashCode();
}
