#include "ZORQelIListUniqueIMP.h"

#include "ZORQelITracer.h"

ZORQELI_DEFINE_IMP(ZORQelIListUniqueIMP, ZORQelIArrayIMP)

ZORQelIListUniqueIMP::ZORQelIListUniqueIMP() : ZORQelIArrayIMP(), set() {
  ZORQELI_TRACE(" ZORQelIListUniqueIMP::ZORQelIListUniqueIMP()");
}

ZORQelIListUniqueIMP::ZORQelIListUniqueIMP(integer size) : ZORQelIArrayIMP(size), set(size) {
  ZORQELI_TRACE(" ZORQelIListUniqueIMP::ZORQelIListUniqueIMP(integer size)");
}

ZORQelIListUniqueIMP::ZORQelIListUniqueIMP(const ZORQelIListUniqueIMP& o)
    : ZORQelIArrayIMP(o), set(o.set) {
  ZORQELI_TRACE(" ZORQelIListUniqueIMP::ZORQelIListUniqueIMP(const ZORQelIListUniqueIMP& o)");
}

ZORQelIListUniqueIMP::~ZORQelIListUniqueIMP() = default;

ZORQelIObjectIMP* ZORQelIListUniqueIMP::Clone() const {
  ZORQELI_TRACE("ZORQelIObjectIMP* ZORQelIListUniqueIMP::Clone() const");
  return new ZORQelIListUniqueIMP(*this);
}

ZORQelI::boolean ZORQelIListUniqueIMP::Add(ZORQelIObject x) {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIListUniqueIMP::Add(ZORQelIObject x)");
  // Raw objects from here on: x is the one handle of this call.
  ZORQelIObjectIMP* element = set.Insert(x);
  if (element == nullptr) return ZORQelI::Ifalse;
  try {
    Append(element);
  } catch (...) {
    set.Erase(element);  // the array could not grow: keep both parts alike
    throw;
  }
  return ZORQelI::Itrue;
}

void ZORQelIListUniqueIMP::RemoveAll() {
  ZORQELI_TRACE("void ZORQelIListUniqueIMP::RemoveAll()");
  ZORQelIArrayIMP::RemoveAll();
  set.RemoveAll();
}

void ZORQelIListUniqueIMP::Rehash(integer new_size) {
  ZORQELI_TRACE("void ZORQelIListUniqueIMP::Rehash(integer new_size)");
  set.Rehash(new_size);
}

ZORQelIObject ZORQelIListUniqueIMP::Look(integer o) const {
  ZORQELI_TRACE("ZORQelIObject ZORQelIListUniqueIMP::Look(integer o) const");
  return set.Look(o);
}

ZORQelIObject ZORQelIListUniqueIMP::Look(ZORQelIObject o) const {
  ZORQELI_TRACE("ZORQelIObject ZORQelIListUniqueIMP::Look(ZORQelIObject o) const");
  return ZORQelIObject(set.Held(o.RefMe()));
}

ZORQelI::boolean ZORQelIListUniqueIMP::Remove(integer i) {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIListUniqueIMP::Remove(integer i)");
  CheckBounds(static_cast<int>(i));  // raises before anything changes
  ZORQelIObjectIMP* element = elements[i];
  ZORQelIArrayIMP::Remove(static_cast<int>(i));
  return set.Erase(element);
}

ZORQelI::boolean ZORQelIListUniqueIMP::Remove(ZORQelIObject o) {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIListUniqueIMP::Remove(ZORQelIObject o)");
  if (set.Erase(o.RefMe()) == ZORQelI::Ifalse) return ZORQelI::Ifalse;
  ZORQelIArrayIMP::Remove(o, 0);
  return ZORQelI::Itrue;
}
