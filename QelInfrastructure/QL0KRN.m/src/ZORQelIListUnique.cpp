#include "ZORQelIListUnique.h"

#include "ZORQelIQuiet.h"
#include "ZORQelITracer.h"

ZORQELI_DEFINE_HANDLE(ZORQelIListUnique, ZORQelIArray, ZORQelIListUniqueIMP)
ZORQELI_DEFINE_LENIENT_DOWNCAST(ZORQelIListUnique, ZORQelIListUniqueIMP)

ZORQelIListUnique::ZORQelIListUnique() : ZORQelIArray(new ZORQelIListUniqueIMP()) {
  ZORQELI_TRACE(" ZORQelIListUnique::ZORQelIListUnique()");
}

ZORQelIListUnique::ZORQelIListUnique(integer size)
    : ZORQelIArray(new ZORQelIListUniqueIMP(size)) {
  ZORQELI_TRACE(" ZORQelIListUnique::ZORQelIListUnique(integer size)");
}

#define ZORQELI_FORWARD(...) ZORQELI_DEFINE_FORWARDER(ZORQelIListUnique, __VA_ARGS__)
#include "ZORQelIListUnique.def"

namespace {
// Look as traced, apart so that the quiet path needs no frame setup.
__attribute__((noinline)) ZORQelIObject TracedLook(const ZORQelIListUnique& list,
                                                  const ZORQelIObject& o) {
  ZORQELI_TRACE_LINE("ZORQelIObject ZORQelIListUnique::Look(ZORQelIObject o) const", 32);
  // The implementation's Look would take a copy of o: its object is passed
  // instead.  An empty list raises before an empty o, as through that Look.
  return ZORQelIObject(list.IMP()->Held(const_cast<ZORQelIObjectIMP*>(o.RefMe())));
}

// Look past its commonest case (a settled key held, Quiet::HeldSelf):
// quiet when Quiet::Held can answer, traced otherwise.
__attribute__((noinline)) ZORQelIObject LookByMatch(const ZORQelIListUnique& list,
                                                   const ZORQelIObject& o) {
  const ZORQelIObjectIMP* l = ZORQelIInternal::Quiet::ObjectOf(list);
  const ZORQelIObjectIMP* x = ZORQelIInternal::Quiet::ObjectOf(o);
  ZORQelIObjectIMP* held;
  if (l != nullptr && x != nullptr && ZORQelITracer::Silent() &&
      ZORQelIInternal::Quiet::Held(
          ZORQelIInternal::Quiet::SetOf(static_cast<const ZORQelIListUniqueIMP*>(l)), x, &held))
    return ZORQelIInternal::Quiet::Handle(held);
  return TracedLook(list, o);
}
}  // namespace

ZORQelIObject ZORQelIListUnique::Look(ZORQelIObject o) const {
  // Quiet (ZORQelIQuiet.h): no frame of this lookup can be seen.  The hit
  // path calls nothing; every other case is LookByMatch's, which asks the
  // same questions again and so answers exactly as without this shortcut.
  const ZORQelIObjectIMP* x = ZORQelIInternal::Quiet::ObjectOf(o);
  if (objectIMP != nullptr && x != nullptr && ZORQelITracer::Silent()) {
    if (ZORQelIObjectIMP* held = ZORQelIInternal::Quiet::HeldSelf(
            ZORQelIInternal::Quiet::SetOf(static_cast<const ZORQelIListUniqueIMP*>(objectIMP)),
            x))
      return ZORQelIInternal::Quiet::Handle(held);
  }
  return LookByMatch(*this, o);
}
