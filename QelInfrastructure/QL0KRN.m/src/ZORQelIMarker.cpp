#include "ZORQelIMarker.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

#include "ZORQelICheck.h"
#include "ZORQelIGholder.h"
#include "ZORQelIPin.h"
#include "ZORQelITracer.h"

using ZORQelIInternal::Marking;
using ZORQelIInternal::marking;

// The marking state.
//
// Marking uses an explicit work list instead of recursion, so that the
// depth of the object graph never reaches the call stack.  Each object is
// pushed at most once per cycle (it is marked when pushed), so a work list
// with room for every object in existence never overflows; it is grown as objects
// are created (Enlist), and a cycle allocates nothing.  Should an object be
// created during marking (a member check that allocates) and the list be
// full, that one object's members are scanned recursively instead.
//
// Invariants:
//  1. capacity_ >= list_.size + held_ (the objects a running sweep holds
//     off the list) once an object exists.
//  2. Outside a drain, marking.top == 0.
//  3. Between cycles every object's mark is 0, unless strayMarks is set (a
//     scan made outside a cycle, or a cycle interrupted by an exception);
//     the next cycle then clears every mark first.
//  4. marking.quiet implies draining and ZORQelITracer::Silent().
//  5. The deferred scans (a small ring of objects reached by quiet scans and
//     not yet tested) are empty outside a drain; deferredCount counts the
//     occupied places.
std::int64_t ZORQelIMarker::capacity_ = 0;
ZORQelIObjectIMP** ZORQelIMarker::order_ = nullptr;
ZORQelIObjectIMP** ZORQelIMarker::spare_ = nullptr;
std::int64_t ZORQelIMarker::held_ = 0;
ZORQelIObjectIMP** ZORQelIMarker::sweptStack_ = nullptr;
ZORQelIObjectIMP** ZORQelIMarker::sweptOrder_ = nullptr;
std::int32_t ZORQelIMarker::window_ = ZORQelIMarker::kWindow;
std::int32_t ZORQelIMarker::rises_ = 0;
bool ZORQelIMarker::scattered_ = false;

namespace {
constexpr unsigned kDeferred = 16;  // a power of two
// How far from an object of a chain the drain fetches: 32 lines, about the
// lines a chain made in sequence crosses during one memory latency.
constexpr std::uintptr_t kNear = 2048;
// How far along the record the drain fetches a chain's next links.
constexpr std::int64_t kRecordAhead = 16;
// From this many objects on, a heap is taken to be larger than the cache
// (2^18 objects of 72 bytes are 18 MiB): the quiet scans then defer every
// test but a chain's (Marking::deferAt).  Measured on a graph of 10^6
// objects marked through a short work list, deferring cut the collection
// by a fifth; on one of 10^5, in cache, it added a tenth.
constexpr std::int32_t kLargeHeap = std::int32_t{1} << 18;
ZORQelIObjectIMP* deferred[kDeferred];
unsigned deferredNext = 0;
unsigned deferredCount = 0;
bool draining = false;
bool inCycle = false;
bool strayMarks = false;

// The arrays hold their entries from -kAhead - 1 (null entries below 0:
// the sweep reads down to -kAhead, and its pointer ends one below).
constexpr std::int64_t kPad = ZORQelIMarker::kAhead + 1;

// The starts of the blocks the arrays live in (entry -kPad), kept where a
// leak checker finds them: the arrays themselves are held by pointers kPad
// entries into their blocks.  At most five blocks live at once (the work
// list, the record or the spare, and during a sweep that made objects the
// two arrays it started with).
void* blocks[8];

void Hold(void* block) {
  for (void*& b : blocks)
    if (b == nullptr) {
      b = block;
      return;
    }
  ZORQELI_DCHECK(false, "no more than eight arrays of the marker live at once");
}

void Drop(void* block) {
  for (void*& b : blocks)
    if (b == block) {
      b = nullptr;
      return;
    }
}

// The block of `capacity` entries from 0 at `p` (null when the memory could
// not be had), its entries below 0 null, as an array.
ZORQelIObjectIMP** Placed(void* p, bool nullBelow) {
  if (p == nullptr) return nullptr;
  Hold(p);
  ZORQelIObjectIMP** const base = static_cast<ZORQelIObjectIMP**>(p);
  if (nullBelow)
    for (std::int64_t i = 0; i < kPad; ++i) base[i] = nullptr;
  return base + kPad;
}

std::size_t Bytes(std::int64_t capacity) {
  return static_cast<std::size_t>(capacity + kPad) * sizeof(ZORQelIObjectIMP*);
}

// An array for `capacity` entries, all null; null when the memory cannot be
// had.
ZORQelIObjectIMP** Zeroed(std::int64_t capacity) {
  return Placed(std::calloc(Bytes(capacity), 1), false);
}

// An array for `capacity` entries from 0 whose entries from 0 are left
// unwritten (and so, in a large block, not yet backed by memory); null when
// the memory cannot be had.
ZORQelIObjectIMP** Fresh(std::int64_t capacity) {
  return Placed(std::malloc(Bytes(capacity)), true);
}

// Grows one of the arrays to `capacity` entries from 0, keeping its
// contents (possibly in place).
ZORQelIObjectIMP** Grown(ZORQelIObjectIMP** array, std::int64_t capacity) {
  void* const old = array != nullptr ? static_cast<void*>(array - kPad) : nullptr;
  if (old != nullptr) Drop(old);
  void* p = std::realloc(old, Bytes(capacity));
  if (p == nullptr) {
    if (old != nullptr) Hold(old);  // left where it was
    throw std::bad_alloc();
  }
  return Placed(p, old == nullptr);
}

// A copy of an array of `from` entries with room for `capacity`; the
// original is left alone.
ZORQelIObjectIMP** Copied(ZORQelIObjectIMP** array, std::int64_t from, std::int64_t capacity) {
  void* p = std::malloc(Bytes(capacity));
  if (p == nullptr) throw std::bad_alloc();
  std::memcpy(p, array - kPad, Bytes(from));
  return Placed(p, false);
}

void Release(ZORQelIObjectIMP** array) {
  if (array == nullptr) return;
  Drop(array - kPad);
  std::free(array - kPad);
}
}  // namespace

void ZORQelIMarker::ReserveOneMore() {
  const std::int64_t needed = ZORQelIObjectIMP::list_.size + held_ + 1;
  if (__builtin_expect(needed <= capacity_, 1)) return;
  // Grown by half, not doubled: the room is one pointer per object, held
  // for as long as the objects live, and at most a third of it is spare.
  std::int64_t capacity = capacity_ < kMinCapacity ? kMinCapacity : capacity_;
  while (capacity < needed) capacity += capacity / 2;
  if (held_ != 0) {
    // A sweep runs (a destructor is making objects): it keeps the arrays it
    // started with, and EndSweep frees them.
    ZORQelIObjectIMP** const stack = Copied(marking.stack, capacity_, capacity);
    ZORQelIObjectIMP** order = nullptr;
    if (order_ != nullptr) {
      try {
        order = Copied(order_, capacity_, capacity);
      } catch (...) {
        Release(stack);
        throw;
      }
    }
    if (sweptStack_ == nullptr) {
      sweptStack_ = marking.stack;
      sweptOrder_ = order_;
    } else {
      Release(marking.stack);
      Release(order_);
    }
    marking.stack = stack;
    order_ = order;
    capacity_ = capacity;
    Respare();
    return;
  }
  // capacity_ is raised only once the arrays have the room.
  marking.stack = Grown(marking.stack, capacity);
  if (order_ != nullptr) order_ = Grown(order_, capacity);
  capacity_ = capacity;
  Respare();
}

void ZORQelIMarker::Respare() {
  // Its contents do not matter: a new block, never a copy, so that the
  // memory of a large one is not touched until a record is written to it.
  Release(spare_);
  spare_ = order_ == nullptr ? Fresh(capacity_) : nullptr;
}

void ZORQelIMarker::EndWindow() {
  window_ = kWindow;
  const std::int32_t rises = rises_;
  rises_ = 0;
  const std::int32_t against = rises < kWindow - rises ? rises : kWindow - rises;
  if (!scattered_ && against * kScatter <= kWindow) return;
  // Not while a sweep holds the arrays (it is started by the next object
  // made after the sweep), nor before the work list exists.
  if (held_ != 0 || capacity_ == 0) return;
  // A new block, not the spare one, though this is no cycle: measured, the
  // large request is what makes the allocator hand out the next objects in
  // address order (glibc gathers its lists of small freed chunks for it), a
  // chain of 10^6 linked as made after a run found scattered collecting in
  // 8.5 ms instead of 14.6 with the spare array reused here.  The entries of
  // the objects already made are null until the next sweep writes them all.
  ZORQelIObjectIMP** const order = Zeroed(capacity_);
  if (order == nullptr) return;
  Release(spare_);
  spare_ = nullptr;
  order_ = order;
  scattered_ = false;
}

void ZORQelIMarker::Swept(std::int64_t steps, std::int64_t rises) {
  // Too few survivors to judge by (a heap of mostly garbage): the record,
  // if any, is kept, and so is the verdict of the objects' making; dropping
  // it here would have every cycle of such a heap start a new one.
  if (steps < kWindow) return;
  const std::int64_t against = rises < steps - rises ? rises : steps - rises;
  if (against * kScatter > steps) {
    // The record is started by the next sweep, which writes the order it
    // leaves into the work list's array and takes the spare one as the work
    // list (Filling), or by the next object made, whichever comes first.
    if (order_ == nullptr) {
      scattered_ = true;
      window_ = 1;
      rises_ = 0;
    }
  } else {
    scattered_ = false;
    if (order_ != nullptr) {
      // Kept as the spare array: a later sweep may start a record in it.
      if (spare_ == nullptr)
        spare_ = order_;
      else
        Release(order_);
      order_ = nullptr;
      window_ = kWindow;
      rises_ = 0;
    }
  }
}

void ZORQelIMarker::Filled() {
  ZORQelIObjectIMP** const recorded = marking.stack;
  marking.stack = spare_;
  spare_ = nullptr;
  order_ = recorded;
  scattered_ = false;
}

void ZORQelIMarker::EndSweep(std::int64_t kept) {
  held_ = 0;
  if (sweptStack_ == nullptr) return;
  if (kept != 0)
    std::memcpy(marking.stack, sweptStack_,
                static_cast<std::size_t>(kept) * sizeof(ZORQelIObjectIMP*));
  Release(sweptStack_);
  Release(sweptOrder_);
  sweptStack_ = sweptOrder_ = nullptr;
}

void ZORQelIMarker::ClearAllMarks() {
  for (ZORQelIObjectIMP* o = ZORQelIObjectIMP::list_.head; o != nullptr; o = o->next)
    o->garbageCollectorHit = 0;
  marking.top = 0;
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
  ZORQELI_DCHECK(marking.top == 0 && !marking.quiet,
                 "the work list is empty and the quiet scans are off between drains");
}

void ZORQelIMarker::Drain() {
  draining = true;
  marking.quiet = ZORQelITracer::Silent();
  marking.deferAt =
      ZORQelIObjectIMP::list_.size >= kLargeHeap ? std::int64_t{1} : Marking::deferFrom;
  struct Reset {
    // Also on an exception from a member check: what is left on the work
    // list and among the deferred scans is dropped (the queued objects stay
    // marked, the deferred ones unmarked; a cycle clears the marks).
    ~Reset() {
      draining = false;
      marking.quiet = false;
      marking.top = 0;
      for (ZORQelIObjectIMP*& d : deferred) d = nullptr;
      deferredCount = 0;
    }
  } reset;
  // The chain prefetch below is taken only while the sweep keeps a record
  // (the list, so likely the chains made with it, found scattered): a heap
  // in address order is fetched as fast by the processor, and its chains
  // walk one check with two prefetches fewer.
  const bool scattered = order_ != nullptr;
  // The record's place of the chain's last object: the chain follows the
  // record up or down from there.
  std::int64_t lastPlace = 0;
  for (;;) {
    if (!scattered) {
      while (marking.top > 0)
        marking.stack[--marking.top]->GarbageCollectorMemberCheck();
    }
    while (marking.top > 0) {
      ZORQelIObjectIMP* o = marking.stack[--marking.top];
      if (marking.top == 0) {
        // The work list is empty but for what o's check will queue: a
        // chain, followed one dependent load at a time.  Objects made one
        // after another lie near each other, though the allocator may hand
        // out neighbouring chunks in a shuffled order that defeats the
        // processor's own stride detection; fetching the lines kNear bytes
        // on either side has most of a chain made in sequence in cache by
        // the time the walk gets there.  Elsewhere the two prefetches are
        // wasted, and wide graphs (a long work list) do not take them.
        const std::uintptr_t at = reinterpret_cast<std::uintptr_t>(o);
        __builtin_prefetch(reinterpret_cast<const void*>(at + kNear), 1);
        __builtin_prefetch(reinterpret_cast<const void*>(at - kNear), 1);
        // A chain made one link after another lies in the record in its
        // own order, wherever in memory its links are: the object the
        // record holds kRecordAhead places on, in the direction the chain
        // has been going, is fetched now.  A hint out of date, or a chain
        // that does not follow the record, costs a useless prefetch.
        const std::int64_t place = o->recordPlace;
        if (place >= kRecordAhead && place + kRecordAhead < capacity_) {
          __builtin_prefetch(
              order_[place >= lastPlace ? place + kRecordAhead : place - kRecordAhead], 1);
          lastPlace = place;
        }
      }
      o->GarbageCollectorMemberCheck();
    }
    if (deferredCount == 0) break;
    FlushDeferred();
  }
}

void ZORQelIMarker::Queue(ZORQelIObjectIMP* m) {
  if (__builtin_expect(marking.top < capacity_, 1)) {
    m->garbageCollectorHit = 1;
    marking.stack[marking.top++] = m;
  } else {
    m->ScanUnderFrame();
  }
}

void ZORQelIMarker::Defer(ZORQelIObjectIMP* m) {
  // The object's first line holds its mark; the next one often holds the
  // members its member check reads: an object with members has 40 bytes or
  // more and, 16-byte aligned, lies across two lines at half the
  // alignments or more (a 72-byte one at all).  Fetched together, the
  // member check of an object queued from here waits on no second miss.
  __builtin_prefetch(m, 1);
  __builtin_prefetch(reinterpret_cast<const char*>(m) + 64, 1);
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
    if (__builtin_expect(marking.top < capacity_, 1))
      marking.stack[marking.top++] = o;
    else
      o->GarbageCollectorMemberCheck();
    return;
  }
  if (!inCycle) strayMarks = true;
  if (marking.top < capacity_) {
    marking.stack[marking.top++] = o;
    Drain();
  } else {
    o->GarbageCollectorMemberCheck();
  }
}
