#include "ZORQelIGarbageableObjectListIMP.h"

#include <cstdint>
#include <iostream>
#include <type_traits>
#include <typeinfo>

#include "ZORQelICheck.h"
#include "ZORQelIClassOps.h"
#include "ZORQelIGholder.h"
#include "ZORQelIMarker.h"
#include "ZORQelIObjectIMP.h"
#include "ZORQelITracer.h"

using ZORQelIInternal::Marking;
using ZORQelIInternal::marking;

void ZORQelIGarbageableObjectListIMP::Add(ZORQelIObjectIMP* x) {
  ZORQELI_TRACE("void ZORQelIGarbageableObjectListIMP::Add(ZORQelIObjectIMP* x)");
  ++size;
  if (tail == nullptr) tail = x;
  x->next = head;
  head = x;
}


namespace {
// The class of the last object the sweep finalized and whether it keeps the
// base Finalizer: objects of one class usually come in runs.
const std::type_info* lastClass = nullptr;
bool lastInPlace = false;
inline bool KeepsBaseFinalizer(const ZORQelIObjectIMP* o) {
  const std::type_info* type = &typeid(*o);
  if (__builtin_expect(type != lastClass, 0)) {
    lastClass = type;
    lastInPlace =
        (ZORQelIInternal::ZORQelIClassOps::Of(*type) & ZORQelIInternal::kFinalizerRoot) != 0;
  }
  return lastInPlace;
}
}  // namespace

void ZORQelIGarbageableObjectListIMP::Cleaner() {
  ZORQELI_TRACE("void ZORQelIGarbageableObjectListIMP::Cleaner()");
  ZORQelIObjectIMP* chain = head;
  const std::int64_t listed = size;
  ZORQelIGarbageableObjectListIMP survivors;
  Truncate();
  // The read-ahead (ZORQelIMarker::order_, kept only while list_ is found
  // scattered) describes list_ alone.  Entry `ahead` is the object kAhead
  // places after the one being examined: the walk fetches it, reading at
  // most kAhead entries past entry 0 (the null ones below it), as the walk
  // is `listed` objects long.  The survivors are recorded, in the order the
  // sweep leaves them, into the work list's array.  The objects the walk
  // holds off the list are counted in held_, so that the arrays keep room
  // for them and for the objects finalizers make, and stay where they are
  // until EndSweep.
  const bool own = this == &ZORQelIObjectIMP::list_;
  ZORQelIObjectIMP** const order = own ? ZORQelIMarker::order_ : nullptr;
  ZORQelIObjectIMP** const record = marking.stack;
  std::int64_t ahead = listed - 1;
  if (own) ZORQelIMarker::held_ = listed;
  if (order != nullptr) {
    for (std::int64_t i = 0; i < ZORQelIMarker::kAhead && ahead >= 0; ++i, --ahead)
      __builtin_prefetch(order[ahead], 1);
  }
  // The placeholder is kept whatever its mark: it stands for every empty
  // handle and must outlive them all.
  ZORQelIObjectIMP* const placeholder = ZORQelIGholder::null;
  const std::type_info* const placeholderClass =
      placeholder != nullptr ? &typeid(*placeholder) : nullptr;
  ZORQelIObjectIMP* o = chain;
  // The successor of the object being examined, read before that object is
  // finalized: a finalizer that raises may already have deleted it.
  ZORQelIObjectIMP* n = nullptr;
  // The silent walk's survivors and, of the steps from a survivor to its
  // successor, those that went up in memory: the list's verdict (Swept).
  std::int64_t kept = 0;
  std::int64_t rises = 0;
  bool silent = false;
  // A silent sweep that writes the order it leaves behind without a record
  // to read ahead from, so that the next sweep has one (Filling).
  bool filling = false;
  try {
    if (own && ZORQelITracer::Silent()) {
      silent = true;
      filling = order == nullptr && ZORQelIMarker::Filling();
      // Tracing is off for good: the frames of TestAndSetGarbageCollectorHit
      // and of the survivors' Add would enclose no code of the client's and
      // write no line, so they cannot be observed and the loop does their
      // work in place.  Finalizer keeps its frame (a destructor may take a
      // dump).  The survivors' chain is kept in locals and stored once, or
      // when a finalizer raises.
      ZORQelIObjectIMP* keptHead = nullptr;
      ZORQelIObjectIMP* keptTail = nullptr;
      // The base Finalizer's frame, held open across a run of in-place
      // finalizations: between two objects no code of the client's runs and
      // nothing can read the trace stack, so one frame at position `base`
      // looks to every destructor exactly as a frame of its own would.  It
      // is closed before a Finalizer of the client's runs (whose frame takes
      // that position), at the end of the walk and when a destructor raises.
      ZORQelITracerContext* const trace = ZORQelITracer::context_;
      const std::int32_t base = trace != nullptr ? trace->depth : 0;
      const bool canHold = trace != nullptr && base < trace->fastLimit;
      bool held = false;
      // The entry of order_ to fetch next, the next survivor's in the record.
      ZORQelIObjectIMP** fetch = order != nullptr ? order + ahead : nullptr;
      ZORQelIObjectIMP** keep = record;
      // The walk, compiled three times: with the record (kRecord: read ahead
      // from it, kKeep: write the order left behind), writing the order only
      // (the sweep that starts a record) and, for a list in address order, neither.
      auto walk = [&](auto withRecord, auto keepOrder) {
        constexpr bool kRecord = decltype(withRecord)::value;
        constexpr bool kKeep = decltype(keepOrder)::value;
        for (; o != nullptr; o = n) {
          if (o->garbageCollectorHit != 0) {
            // A run of marked objects, its state in locals (registers: no
            // call is made inside the run).  The first kept is the tail.
            if (keptTail == nullptr) keptTail = o;
            ZORQelIObjectIMP **k = keep, **f = fetch;
            std::int64_t c = kept, r = rises;
            // x kept in front of `prev`; returns x's successor.
            auto keepOne = [&](ZORQelIObjectIMP* x, ZORQelIObjectIMP* prev) {
              ZORQelIObjectIMP* const after = x->next;
              r += reinterpret_cast<std::uintptr_t>(after) > reinterpret_cast<std::uintptr_t>(x);
              if (kRecord) __builtin_prefetch(*f--, 1);
              if (kKeep) x->recordPlace = static_cast<std::int32_t>(k - record);
              if (kKeep) *k++ = x;
              ++c;
              x->garbageCollectorHit = 0;
              x->next = prev;
              return after;
            };
            ZORQelIObjectIMP* a = keptHead;
            if constexpr (!kRecord && !kKeep) ZORQelIMarker::KeepRun(o, a, c, r);  // by stride
            else for (ZORQelIObjectIMP* b = o;;) {  // three a turn: previous, current, next in turn
              ZORQelIObjectIMP* const x = keepOne(b, a);
              if (x == nullptr || x->garbageCollectorHit == 0) { a = b; o = x; break; }
              a = keepOne(x, b);
              if (a == nullptr || a->garbageCollectorHit == 0) { o = a; a = x; break; }
              ZORQelIObjectIMP* const y = keepOne(a, x);
              if (y == nullptr || y->garbageCollectorHit == 0) { o = y; break; }
              b = y;
            }
            keptHead = a, keep = k, fetch = f, kept = c, rises = r;
            if (o == nullptr) break;
          }
          n = o->next;
          if (kRecord)
            __builtin_prefetch(*fetch--, 1);
          else if (n != nullptr)
            __builtin_prefetch(n);
          if (o == placeholder) {
            if (kKeep) *keep++ = o;
            ++kept;
            if (keptTail == nullptr) keptTail = o;
            o->next = keptHead;
            keptHead = o;
            continue;
          }
          o->next = nullptr;
          // An object whose class keeps the base Finalizer has its body run
          // here, under the same frame: the same effect, one indirect call
          // fewer.  Its mark tells its destructor that nothing is left to
          // undo.  (A destructor that raises still frees the memory: the
          // object is gone either way.)
          if (KeepsBaseFinalizer(o)) {
            if (__builtin_expect(canHold, 1)) {
              if (!held) {
                trace->stack[base] = &ZORQelIMarker::finalizerTrace_;
                trace->depth = base + 1;
                held = true;
              }
              ZORQELI_DCHECK(trace->depth == base + 1 &&
                                 trace->stack[base] == &ZORQelIMarker::finalizerTrace_,
                             "the held Finalizer frame is the innermost one between objects");
              // The run of unmarked objects of o's class that starts here,
              // deleted under the held frame with the walk's state in
              // registers across the destructors' calls (n, which the
              // clean-up after a raise reads, is stored once per object).
              // A run never reaches the placeholder: a run of its class is
              // cut after its first object (no class is at a null address),
              // so the other runs test no object against it.  The objects
              // after the first keep their stale link: nothing reads it
              // once the object is marked for deletion in place.  A null
              // successor is prefetched too (a prefetch never faults).
              const std::type_info* const type =
                  &typeid(*o) != placeholderClass ? &typeid(*o) : nullptr;
              ZORQelIObjectIMP** f = fetch;
              ZORQelIObjectIMP* x = o;
              ZORQelIObjectIMP* y = n;
              for (;;) {
                x->garbageCollectorHit = Marking::inPlace;
                delete x;
                x = y;
                if (x == nullptr || x->garbageCollectorHit != 0 || &typeid(*x) != type) break;
                y = x->next;
                n = y;
                __builtin_prefetch(kRecord ? *f-- : y, 1);
              }
              fetch = f;
              o = n = x;  // the loop's step below leaves o at x
              continue;
            } else {
              o->garbageCollectorHit = Marking::inPlace;
              ZORQelITracer frame(ZORQelIMarker::finalizerTrace_);
              delete o;
            }
          } else {
            ZORQelIMarker::finalizing_ = o;
            if (held) {
              trace->depth = base;
              held = false;
            }
            o->Finalizer();
            if (__builtin_expect(ZORQelIMarker::finalizing_ != nullptr, 0)) {
              // A client's finalizer kept its object: it stays on the list.
              ZORQelIMarker::finalizing_ = nullptr;
              if (kKeep) *keep++ = o;
              ++kept;
              if (keptTail == nullptr) keptTail = o;
              o->next = keptHead;
              keptHead = o;
            }
          }
        }
      };
      try {
        if (order != nullptr)
          walk(std::true_type(), std::true_type());
        else if (filling)
          walk(std::false_type(), std::true_type());
        else
          walk(std::false_type(), std::false_type());
        if (held) trace->depth = base;
      } catch (...) {
        if (held) trace->depth = base;
        survivors.head = keptHead;
        survivors.tail = keptTail;
        survivors.size = static_cast<std::int32_t>(kept);
        throw;
      }
      survivors.head = keptHead;
      survivors.tail = keptTail;
      survivors.size = static_cast<std::int32_t>(kept);
    } else {
      for (; o != nullptr; o = n) {
        n = o->next;
        if (order != nullptr) __builtin_prefetch(order[ahead--], 1);
        if (o->TestAndSetGarbageCollectorHit() != 0 || o == placeholder) {
          if (order != nullptr) record[survivors.size] = o;
          survivors.Add(o);
        } else {
          o->next = nullptr;
          ZORQelIMarker::finalizing_ = o;
          o->Finalizer();
          if (__builtin_expect(ZORQelIMarker::finalizing_ != nullptr, 0)) {
            // A client's finalizer kept its object: it stays on the list.
            ZORQelIMarker::finalizing_ = nullptr;
            if (order != nullptr) record[survivors.size] = o;
            survivors.Add(o);
          }
        }
      }
    }
  } catch (...) {
    // A finalizer raised: keep every object not yet examined (o's successor
    // onward) and the survivors on the list, so nothing is lost or left
    // dangling.  The unexamined objects' marks are cleared with the
    // others.  The object whose finalizer raised stays too, unless its
    // destructor ran (which cleared finalizing_): its finalizer runs again
    // in a later cycle.
    if (ZORQelIObjectIMP* undeleted = ZORQelIMarker::finalizing_) {
      ZORQelIMarker::finalizing_ = nullptr;
      survivors.Add(undeleted);
    }
    ZORQelIObjectIMP* rest = n;
    while (rest != nullptr) {
      ZORQelIObjectIMP* after = rest->next;
      survivors.Add(rest);
      rest = after;
    }
    // order_ is left as it was: out of date, until the next sweep.
    if (own) ZORQelIMarker::EndSweep(0);
    Merge(survivors);
    ZORQelIMarker::ClearAllMarks();
    throw;
  }
  if (own && order == nullptr && !filling) ZORQelIMarker::EndSweep(0);
  if (order != nullptr || filling) {
    // The order left behind: the survivors (recorded above, the first kept
    // is the new tail), then the objects finalizers made meanwhile, which
    // are this list now and go before them.  Then the record becomes
    // order_, and order_'s array (or the spare one) the work list.
    ZORQelIMarker::EndSweep(survivors.size);
    std::int64_t at = static_cast<std::int64_t>(survivors.size) + size;
    for (ZORQelIObjectIMP* m = head; m != nullptr && at > survivors.size; m = m->next)
      marking.stack[--at] = m;
    if (order != nullptr) {
      ZORQelIObjectIMP** const recorded = marking.stack;
      marking.stack = ZORQelIMarker::order_;
      ZORQelIMarker::order_ = recorded;
    } else if (ZORQelIMarker::spare_ != nullptr) {
      // (A destructor that made objects may have left no spare array: the
      // memory could not be had.)
      ZORQelIMarker::Filled();
    }
  }
  // The verdict is the silent walk's (a traced walk counts no steps; the
  // record, if any, is then kept as it is).
  if (silent) ZORQelIMarker::Swept(kept, rises);
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
