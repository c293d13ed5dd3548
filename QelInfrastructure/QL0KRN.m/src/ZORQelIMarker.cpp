#include "ZORQelIMarker.h"

#include <cstdint>
#include <cstdlib>
#include <new>

#include "ZORQelICheck.h"
#include "ZORQelIGholder.h"
#include "ZORQelIPin.h"
#include "ZORQelITracer.h"

using ZORQelIInternal::Marking;

// The marking state.
//
// Marking uses an explicit work list instead of recursion, so that the
// depth of the object graph never reaches the call stack.  Each object is
// pushed at most once per cycle (it is marked when pushed), so a work list
// with room for every object in list_ never overflows; it is grown as objects
// are created (Enlist), and a cycle allocates nothing.  Should an object be
// created during marking (a member check that allocates) and the list be
// full, that one object's members are scanned recursively instead.
//
// Invariants:
//  1. capacity_ >= list_.size at the start of every cycle.
//  2. Outside a drain, Marking::top == 0.
//  3. Between cycles every object's mark is 0, unless strayMarks is set (a
//     scan made outside a cycle, or a cycle interrupted by an exception);
//     the next cycle then clears every mark first.
//  4. Marking::quiet implies draining and ZORQelITracer::Silent().
//  5. The deferred scans (a small ring of objects reached by quiet scans and
//     not yet tested) are empty outside a drain; deferredCount counts the
//     occupied places.
std::int64_t ZORQelIMarker::capacity_ = 0;

namespace {
constexpr unsigned kDeferred = 16;  // a power of two
ZORQelIObjectIMP* deferred[kDeferred];
unsigned deferredNext = 0;
unsigned deferredCount = 0;
bool draining = false;
bool inCycle = false;
bool strayMarks = false;
}  // namespace

void ZORQelIMarker::Reserve(std::int64_t needed) {
  if (needed <= capacity_) return;
  std::int64_t capacity = capacity_ < kMinCapacity ? kMinCapacity : capacity_;
  while (capacity < needed) capacity *= 2;
  void* p = std::realloc(Marking::stack,
                         static_cast<std::size_t>(capacity) * sizeof(ZORQelIObjectIMP*));
  if (p == nullptr) throw std::bad_alloc();
  Marking::stack = static_cast<ZORQelIObjectIMP**>(p);
  capacity_ = capacity;
}

void ZORQelIMarker::ClearAllMarks() {
  for (ZORQelIObjectIMP* o = ZORQelIObjectIMP::list_.head; o != nullptr; o = o->next)
    o->garbageCollectorHit = 0;
  Marking::top = 0;
  strayMarks = false;
}

bool ZORQelIMarker::HasStrayMarks() { return strayMarks; }

void ZORQelIMarker::MarkRoots(ZORQelIGholder& va, ZORQelIGholder& vs) {
  if (strayMarks) ClearAllMarks();
  inCycle = true;
  try {
    vs.Scanner();
    va.Scanner();
    // The objects whose own operations are running (ZORQelIPin.h).
    for (std::int32_t i = 0; i < ZORQelIInternal::Pin::Count(); ++i) {
      ZORQelIObjectIMP* o = ZORQelIInternal::Pin::At(i);
      if (o->garbageCollectorHit == 0) o->GarbageCollectorScan();
    }
  } catch (...) {
    // A member check raised: forget this cycle's marks so that the next
    // cycle scans every reachable object again.
    inCycle = false;
    draining = false;
    ClearAllMarks();
    throw;
  }
  inCycle = false;
  ZORQELI_DCHECK(Marking::top == 0 && !Marking::quiet,
                 "the work list is empty and the quiet scans are off between drains");
}

void ZORQelIMarker::Drain() {
  draining = true;
  Marking::quiet = ZORQelITracer::Silent();
  struct Reset {
    // Also on an exception from a member check: what is left on the work
    // list and among the deferred scans is dropped (the queued objects stay
    // marked, the deferred ones unmarked; a cycle clears the marks).
    ~Reset() {
      draining = false;
      Marking::quiet = false;
      Marking::top = 0;
      for (ZORQelIObjectIMP*& d : deferred) d = nullptr;
      deferredCount = 0;
    }
  } reset;
  for (;;) {
    while (Marking::top > 0) {
      ZORQelIObjectIMP* o = Marking::stack[--Marking::top];
      o->GarbageCollectorMemberCheck();
    }
    if (deferredCount == 0) break;
    FlushDeferred();
  }
}

void ZORQelIMarker::Queue(ZORQelIObjectIMP* m) {
  if (__builtin_expect(Marking::top < capacity_, 1)) {
    m->garbageCollectorHit = 1;
    Marking::stack[Marking::top++] = m;
  } else {
    m->ScanUnderFrame();
  }
}

void ZORQelIMarker::Defer(ZORQelIObjectIMP* m) {
  __builtin_prefetch(m, 1);
  ZORQelIObjectIMP*& place = deferred[deferredNext++ & (kDeferred - 1)];
  ZORQelIObjectIMP* oldest = place;
  place = m;
  if (oldest == nullptr)
    ++deferredCount;
  else if (oldest->garbageCollectorHit == 0)
    Queue(oldest);
}

void ZORQelIMarker::FlushDeferred() {
  // Queue may run a member check (a full work list), which may defer more.
  while (deferredCount > 0) {
    for (ZORQelIObjectIMP*& place : deferred) {
      ZORQelIObjectIMP* m = place;
      if (m == nullptr) continue;
      place = nullptr;
      --deferredCount;
      if (m->garbageCollectorHit == 0) Queue(m);
    }
  }
}

// Called by the inline GarbageCollectorScan() under its frame, for an
// unmarked object.  Inside a drain (every scan a member check makes) the
// object is only queued; the outermost scan drains the work list.
void ZORQelIMarker::Reach(ZORQelIObjectIMP* o) {
  o->garbageCollectorHit = 1;
  if (__builtin_expect(draining, 1)) {
    // The drain's first scan has already noted a scan outside a cycle.
    if (__builtin_expect(Marking::top < capacity_, 1))
      Marking::stack[Marking::top++] = o;
    else
      o->GarbageCollectorMemberCheck();
    return;
  }
  if (!inCycle) strayMarks = true;
  if (Marking::top < capacity_) {
    Marking::stack[Marking::top++] = o;
    Drain();
  } else {
    o->GarbageCollectorMemberCheck();
  }
}
