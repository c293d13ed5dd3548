// ZORQelIMarker: the mark phase of the collector.  Not a public header.
//
// The inline scans of ZORQelIObjectIMP.h (what a member check calls for
// every reference) read only the work list's top and base and the quiet
// flag; everything else about marking lives here: the work list's room,
// the deferred tests, whether a drain or a cycle is under way, and the
// clean-up after a member check that raised.
#ifndef ZORQelIMarker_h
#define ZORQelIMarker_h

#include <cstdint>

#include "ZORQelIAccessKey.h"
#include "ZORQelIObjectIMP.h"

class ZORQelIGholder;

class ZORQelIInternal::Access::Marker {
 public:
  // Room in the work list for `needed` objects (one per object of list_):
  // grown when an object is made, so that a cycle allocates nothing.
  // Raises std::bad_alloc, changing nothing, when the room cannot be had.
  static void Reserve(std::int64_t needed);
  // The root scans of one cycle: the static table, the automatic one, then
  // the objects pinned while their own operation runs (ZORQelIPin.h).
  // A member check that raises leaves no mark behind (see ClearAllMarks).
  static void MarkRoots(ZORQelIGholder& va, ZORQelIGholder& vs);
  // Whether marks made outside a cycle (by a scan a client called itself)
  // may still stand: the next cycle clears them first.
  static bool HasStrayMarks();
  // Every object's mark cleared, the work list emptied.
  static void ClearAllMarks();
  // The first visit of o (unmarked) by a framed scan: marks it and queues
  // its member check, draining the work list when no drain runs yet.
  static void Reach(ZORQelIObjectIMP* o);
  // A quiet scan's object whose mark is tested a few scans later, once its
  // line has been fetched.
  static void Defer(ZORQelIObjectIMP* m);

 private:
  static void Drain();
  // Marks and queues an object found unmarked (under frames when the work
  // list is full).
  static void Queue(ZORQelIObjectIMP* m);
  static void FlushDeferred();

  // The work list never has fewer places than this once an object exists.
  static constexpr std::int64_t kMinCapacity = 1024;
  static_assert(ZORQelIInternal::Marking::deferFrom <= kMinCapacity,
                "a short work list always has room");
  static std::int64_t capacity_;
};

// The marker, as the library's sources name it.
using ZORQelIMarker = ZORQelIInternal::Access::Marker;

#endif
