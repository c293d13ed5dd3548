#include "ZORQelIGarbageableObjectListIMP.h"

#include <iostream>

#include "ZORQelIGholder.h"
#include "ZORQelIObjectIMP.h"
#include "ZORQelITracer.h"

void ZORQelIGarbageableObjectListIMP::Add(ZORQelIObjectIMP* x) {
  ZORQELI_TRACE("void ZORQelIGarbageableObjectListIMP::Add(ZORQelIObjectIMP* x)");
  ++size;
  if (tail == nullptr) tail = x;
  x->next = head;
  head = x;
}

void ZORQelIGarbageableObjectListIMP::Cleaner() {
  ZORQELI_TRACE("void ZORQelIGarbageableObjectListIMP::Cleaner()");
  ZORQelIObjectIMP* chain = head;
  ZORQelIGarbageableObjectListIMP survivors;
  Truncate();
  ZORQelIObjectIMP* o = chain;
  // The successor of the object being examined, read before that object is
  // finalized: a finalizer that raises may already have deleted it.
  ZORQelIObjectIMP* n = nullptr;
  try {
    while (o != nullptr) {
      n = o->next;
      // The next object is read on the following step; start loading it
      // while this one is finalized.
      if (n != nullptr) __builtin_prefetch(n);
      // The placeholder is kept whatever its mark: it stands for every empty
      // handle and must outlive them all.
      if (o->TestAndSetGarbageCollectorHit() != 0 || o == ZORQelIGholder::null) {
        survivors.Add(o);
      } else {
        o->next = nullptr;
        ZORQelIObjectIMP::finalizing_ = o;
        o->Finalizer();
        ZORQelIObjectIMP::finalizing_ = nullptr;
      }
      o = n;
    }
  } catch (...) {
    // A finalizer raised: keep every object not yet examined (o's successor
    // onward) and the survivors on the list, so nothing is lost or left
    // dangling.  The unexamined objects' marks are cleared with the
    // others.
    ZORQelIObjectIMP::finalizing_ = nullptr;
    ZORQelIObjectIMP* rest = n;
    while (rest != nullptr) {
      ZORQelIObjectIMP* after = rest->next;
      survivors.Add(rest);
      rest = after;
    }
    Merge(survivors);
    ZORQelIObjectIMP::ClearAllMarks();
    throw;
  }
  Merge(survivors);
}

void ZORQelIGarbageableObjectListIMP::Merge(ZORQelIGarbageableObjectListIMP& x) {
  ZORQELI_TRACE("void ZORQelIGarbageableObjectListIMP::Merge(ZORQelIGarbageableObjectListIMP& x)");
  if (x.size == 0 && x.head == nullptr) return;
  if (Size() != 0) {
    tail->next = x.head;
    tail = x.tail;
    size += x.size;
  } else {
    head = x.head;
    tail = x.tail;
    size = x.size;
  }
  x.Truncate();
}

void ZORQelIGarbageableObjectListIMP::Truncate() {
  ZORQELI_TRACE("void ZORQelIGarbageableObjectListIMP::Truncate()");
  head = nullptr;
  tail = nullptr;
  size = 0;
}

ZORQelI::integer ZORQelIGarbageableObjectListIMP::Size() const {
  ZORQELI_TRACE("ZORQelI::integer ZORQelIGarbageableObjectListIMP::Size() const");
  return size;
}

void ZORQelIGarbageableObjectListIMP::Status() const {
  ZORQELI_TRACE("void ZORQelIGarbageableObjectListIMP::Status() const");
  ZORQelI::integer walked = 0;
  for (ZORQelIObjectIMP* o = head; o != nullptr; o = o->next) ++walked;
  std::cerr << "instances := \t" << size << std::endl;
  std::cerr << "instances (real size) := \t" << walked << std::endl;
}
