#include "ZORQelIObject.h"

#include <ostream>

#include "ZORQelINullPtrAccess.h"
#include "ZORQelIQuiet.h"
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

namespace {
// IsValid as traced, apart so that the quiet test before it needs no frame
// of its own.
__attribute__((noinline)) ZORQelI::boolean TracedIsValid(const ZORQelIObjectIMP* objectIMP) {
  // A class not yet in the cache of resolved classes is resolved here, off
  // the quiet test, so that its next IsValid can be quiet.
  if (objectIMP != nullptr && ZORQelITracer::Silent())
    static_cast<void>(ZORQelIInternal::ZORQelIClassOps::Of(objectIMP));
  ZORQELI_TRACE_LINE("ZORQelI::boolean ZORQelIObject::IsValid() const", ZORQelIInternal::Fixed::kIsValidFrame.line);
  return objectIMP != nullptr ? objectIMP->IsValid() : ZORQelI::Ifalse;
}
}  // namespace

ZORQelI::boolean ZORQelIObject::IsValid() const {
  // The commonest test of all: an empty handle, or an object that keeps the
  // root class's IsValid, needs neither frame when no frame can be seen.
  // An empty handle calls nothing: Ifalse without a frame either.  (The
  // cache probe alone, without its fall-back: this test then needs no
  // registers saved.)
  if (ZORQelITracer::Silent()) {
    if (objectIMP == nullptr) return ZORQelI::Ifalse;
    unsigned ops;
    if (ZORQelIInternal::ZORQelIClassOps::TryCached(objectIMP, &ops) &&
        (ops & ZORQelIInternal::kIsValidRoot) != 0)
      return ZORQelI::Itrue;
  }
  return TracedIsValid(objectIMP);
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
