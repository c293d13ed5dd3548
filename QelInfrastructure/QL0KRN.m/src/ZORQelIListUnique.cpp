#include "ZORQelIListUnique.h"

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

void ZORQelIListUnique::Rehash(integer new_size) {
  ZORQELI_TRACE("void ZORQelIListUnique::Rehash(integer new_size)");
  IMP()->Rehash(new_size);
}

ZORQelIObject ZORQelIListUnique::Look(integer o) const {
  ZORQELI_TRACE("ZORQelIObject ZORQelIListUnique::Look(integer o) const");
  return IMP()->Look(o);
}

ZORQelIObject ZORQelIListUnique::Look(ZORQelIObject o) const {
  ZORQELI_TRACE("ZORQelIObject ZORQelIListUnique::Look(ZORQelIObject o) const");
  // The implementation's Look would take a copy of o: its object is passed
  // instead.  An empty list raises before an empty o, as through that Look.
  const ZORQelIListUniqueIMP* list = IMP();
  return ZORQelIObject(list->Held(o.RefMe()));
}

ZORQelI::boolean ZORQelIListUnique::Remove(integer i) {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIListUnique::Remove(integer i)");
  return IMP()->Remove(i);
}

ZORQelI::boolean ZORQelIListUnique::Remove(ZORQelIObject o) {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIListUnique::Remove(ZORQelIObject o)");
  return IMP()->Remove(o);
}
