#include "ZORQelIListUniqueIMP.h"

#include "ZORQelIPin.h"
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
  // The set calls HashCode and Equal, maybe the client's, which may drop the
  // last handle on this list and collect.
  ZORQelIInternal::Pin pin(this);
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

// Every operation below that reaches the set may run the elements' HashCode
// and Equal, maybe the client's, which may drop the last handle on this list
// and collect: each pins the list until it returns, so that neither the list
// nor its set is freed under the table's own loop.

void ZORQelIListUniqueIMP::Rehash(integer new_size) {
  ZORQELI_TRACE("void ZORQelIListUniqueIMP::Rehash(integer new_size)");
  ZORQelIInternal::Pin pin(this);
  set.Rehash(new_size);
}

ZORQelIObject ZORQelIListUniqueIMP::Look(integer o) const {
  ZORQELI_TRACE("ZORQelIObject ZORQelIListUniqueIMP::Look(integer o) const");
  ZORQelIInternal::Pin pin(const_cast<ZORQelIListUniqueIMP*>(this));
  return set.Look(o);
}

ZORQelIObject ZORQelIListUniqueIMP::Look(ZORQelIObject o) const {
  ZORQELI_TRACE("ZORQelIObject ZORQelIListUniqueIMP::Look(ZORQelIObject o) const");
  ZORQelIInternal::Pin pin(const_cast<ZORQelIListUniqueIMP*>(this));
  return ZORQelIObject(set.Held(o.RefMe()));
}

ZORQelIObjectIMP* ZORQelIListUniqueIMP::Held(ZORQelIObjectIMP* x) const {
  ZORQELI_TRACE("ZORQelIObjectIMP* ZORQelIListUniqueIMP::Held(ZORQelIObjectIMP* x) const");
  ZORQelIInternal::Pin pin(const_cast<ZORQelIListUniqueIMP*>(this));
  return set.Held(x);
}

namespace {
// The list's own removal: the array part reports the element it gives up
// instead of taking it out of the set.
struct OwnRemoval {
  OwnRemoval(bool& flag, ZORQelIObjectIMP*& left) : flag(flag) {
    flag = true;
    left = nullptr;
  }
  ~OwnRemoval() { flag = false; }
  bool& flag;
};
}  // namespace

void ZORQelIListUniqueIMP::Forget(ZORQelIObjectIMP* e) {
  for (integer i = 0; i < size; ++i)
    if (elements[i] == e) return;
  set.Forget(e);
}

ZORQelI::boolean ZORQelIListUniqueIMP::Remove(integer i) {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIListUniqueIMP::Remove(integer i)");
  CheckBounds(static_cast<int>(i));  // raises before anything changes
  ZORQelIInternal::Pin pin(this);
  ZORQelIObjectIMP* element = elements[i];
  // Once out of the array part the element is held by the untraced set
  // alone, while the set's Erase asks its HashCode and Equal.
  ZORQelIInternal::Pin keepElement(element != nullptr ? element : this);
  {
    OwnRemoval own(ownRemoval_, left_);
    ZORQelIArrayIMP::Remove(static_cast<int>(i));
  }
  ZORQelIObjectIMP* taken = nullptr;
  const ZORQelI::boolean held = set.Erase(element, &taken);
  // Another object than the element (or none) left the set: the element's
  // hash code changed while it was held, or it was appended beside an Equal
  // one.  It must not stay in the set once the array has let it go.
  if (taken != element) Forget(element);
  return held;
}

ZORQelI::boolean ZORQelIListUniqueIMP::Remove(ZORQelIObject o) {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIListUniqueIMP::Remove(ZORQelIObject o)");
  // Both the set's Erase and the array's Look call Equal.
  ZORQelIInternal::Pin pin(this);
  ZORQelIObjectIMP* taken = nullptr;
  if (set.Erase(o.RefMe(), &taken) == ZORQelI::Ifalse) return ZORQelI::Ifalse;
  ZORQelIObjectIMP* left;
  {
    OwnRemoval own(ownRemoval_, left_);
    ZORQelIArrayIMP::Remove(o, 0);
    left = left_;
  }
  if (left != nullptr && left != taken) Forget(left);
  return ZORQelI::Itrue;
}
