// ZORQelIGarbageableObjectListIMP: the collector's list of every
// implementation object.
#ifndef ZORQelIGarbageableObjectListIMP_h
#define ZORQelIGarbageableObjectListIMP_h

#include <cstdint>

#include "ZORQelI.h"

class ZORQelIObjectIMP;

// A singly linked list threaded through the objects' own `next` fields
// (ZORQelIObjectIMP::Next).  head is the most recently added object, tail the
// first added one.  The one list of the process is ZORQelIObjectIMP::list_;
// it is constant-initialised (all fields zero), so it exists before any
// static constructor runs.
//
// Invariants (for list_, between collections):
//  1. Following next from head reaches tail, then null, after exactly size
//     objects.
//  2. Every implementation object in existence is on the list exactly once.
//
// Raises: only Cleaner, and only what a finalizer or destructor of a swept
// object raises (the sweep itself allocates nothing).  The exception passes
// through unchanged, and the list keeps every object not yet examined and
// every survivor, so nothing is lost or left dangling.
// The list never owns its objects' memory: the sweep deletes the unmarked
// ones, Truncate only forgets them.
class QL0KRN_EXPORT ZORQelIGarbageableObjectListIMP {
 public:
  static constexpr const char* __CLASSNAME__ = "ZORQelIGarbageableObjectListIMP";

  constexpr ZORQelIGarbageableObjectListIMP() : head(nullptr), tail(nullptr), size(0) {}

  // Puts x at the front.
  void Add(ZORQelIObjectIMP* x);
  // The sweep: finalizes every unmarked object of the list, keeps (and
  // unmarks) the marked ones.  Objects created by finalizers are added to the
  // list during the sweep and survive it.
  void Cleaner();
  // Appends x's chain after this list's tail; x is then empty.
  void Merge(ZORQelIGarbageableObjectListIMP& x);
  // Forgets every object (the objects are not touched).
  void Truncate();
  ZORQelI::integer Size() const;
  // The counter and the walked length, on standard error.
  void Status() const;

  ZORQelIObjectIMP* head;
  ZORQelIObjectIMP* tail;
  std::int32_t size;
};

#endif
