#include "ZORQelIIdentifier.h"

#include "ZORQelITracer.h"

ZORQELI_DEFINE_POINTER_CONSTRUCTOR(ZORQelIIdentifier, ZORQelIObject, ZORQelIIdentifierIMP)
ZORQELI_DEFINE_IMP_ACCESSOR(ZORQelIIdentifier, ZORQelIIdentifierIMP)
ZORQELI_DEFINE_LENIENT_DOWNCAST(ZORQelIIdentifier, ZORQelIIdentifierIMP)

namespace {
// The object a copy of x refers to: a clone of x's object (an empty x gives
// an empty copy, nothing raised).
ZORQelIObjectIMP* CloneOf(const ZORQelIIdentifier& x) {
  return x.IsValid() == ZORQelI::Itrue ? x.IMP()->Clone() : nullptr;
}
}  // namespace

ZORQelIIdentifier::ZORQelIIdentifier()
    : ZORQelIObject(new ZORQelIIdentifierIMP(ZORQelI::string())) {
  ZORQELI_TRACE(" ZORQelIIdentifier::ZORQelIIdentifier()");
}

ZORQelIIdentifier::ZORQelIIdentifier(ZORQelI::string name)
    : ZORQelIObject(new ZORQelIIdentifierIMP(name)) {
  ZORQELI_TRACE(" ZORQelIIdentifier::ZORQelIIdentifier(ZORQelI::string name)");
}

ZORQelIIdentifier::ZORQelIIdentifier(const ZORQelIIdentifier& x) : ZORQelIObject(CloneOf(x)) {
  ZORQELI_TRACE(" ZORQelIIdentifier::ZORQelIIdentifier(const ZORQelIIdentifier& x)");
}

#define ZORQELI_FORWARD(...) ZORQELI_DEFINE_FORWARDER(ZORQelIIdentifier, __VA_ARGS__)
#include "ZORQelIIdentifier.def"
