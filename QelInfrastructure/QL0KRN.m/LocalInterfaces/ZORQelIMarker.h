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
  // Room in the work list (and in order_, when kept) for every object in
  // existence and one more (an object about to be made): grown by half when
  // an object is made, so that a cycle allocates nothing.  Raises std::bad_alloc, changing nothing
  // but the arrays' places, when the room cannot be had.
  static void ReserveOneMore();
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

  // The sweep's read-ahead: where list_'s objects lie, so that the sweep can
  // fetch the objects it will examine next while it examines one, instead
  // of learning each address from the link of the one before (a cache miss
  // per object once the list's order has drifted from the order of the
  // addresses).  It exists only while the list is found scattered (see
  // Listed and Swept): a list in address order is walked as fast by the
  // processor's own prefetching, and the record would cost it 8 bytes per
  // object and two passes over them per sweep.  Entry i is the object at
  // position size-1-i from list_'s head (the tail first, the head last), so
  // that a new object is a store at the end.  It is a hint only: the links
  // are the list, the sweep follows them and uses an entry only as the
  // address of a prefetch, so an entry that is out of date (an object made
  // while a sweep runs or whose construction failed, a sweep cut short by
  // a finalizer that raised, a record started while objects existed) costs
  // a useless prefetch and nothing else, and the next sweep writes them all
  // afresh.  It has the work list's capacity, and the sweep writes the
  // order it leaves behind into the work list's array (unused while it
  // runs), then swaps the two.  Below entry 0 of either array lie more than
  // kAhead null entries, so that the sweep may read kAhead past its end.
  static constexpr std::int64_t kAhead = 16;
  static ZORQelIObjectIMP** order_;
  // Records o, about to be put at the head of list_, which has `size`
  // objects.  Without a record, notes whether o lies above the head: objects
  // made in sequence lie in one direction from each other, and a run of
  // kWindow objects made in both directions by turns starts a record.
  static void Listed(ZORQelIObjectIMP* o, std::int64_t size) {
    if (order_ != nullptr) {
      order_[size] = o;
      o->recordPlace = static_cast<std::int32_t>(size);
      return;
    }
    rises_ += reinterpret_cast<std::uintptr_t>(o) >
              reinterpret_cast<std::uintptr_t>(ZORQelIObjectIMP::list_.head);
    if (--window_ == 0) EndWindow();
  }
  // The verdict of a silent sweep on the list it walked: of `steps` steps
  // from a survivor to its successor, `rises` went up in memory.  A list
  // walked in both directions by turns (the sweep reverses the survivors,
  // so either direction may be the list's own) is scattered: a record is
  // started at the next object made, if none is kept.  A list in order
  // drops the record.  Fewer than kWindow steps give no verdict.
  static void Swept(std::int64_t steps, std::int64_t rises);
  // An array of the work list's capacity, unwritten, held while no record
  // is kept so that a sweep, inside a cycle where nothing may be allocated,
  // can start a record (see Filling); one started by an object made is a
  // new block (see EndWindow).  Null while a record is kept, or when its
  // memory could not be had (no sweep starts a record then).  Unwritten and
  // large, its memory is reserved, not used, until a record is written to
  // it.
  static ZORQelIObjectIMP** spare_;
  // Whether the sweep about to run should write the order it leaves behind
  // into the work list's array, so that the record is had without
  // allocating (Filled then makes it order_): the last silent sweep found
  // the list scattered and no record is kept.
  static bool Filling() { return order_ == nullptr && scattered_ && spare_ != nullptr; }
  // The end of a sweep that filled the work list's array: that array
  // becomes order_, the spare one the work list.
  static void Filled();
  static std::int64_t held_;
  // The end of a sweep that recorded `kept` survivors into the work list's
  // array it started with: the records are copied into the new one if the
  // arrays were replaced meanwhile, and the old ones freed; held_ is 0 again.
  static void EndSweep(std::int64_t kept);

  // The object whose Finalizer of the client's (or, with tracing on, any
  // Finalizer) the sweep is running: its destruction (Unlink) clears it, so
  // that the sweep can tell a finalizer that returned or raised without
  // deleting its object, which then goes back on the list.  The sweep's own
  // deletions in place mark the object Marking::inPlace instead.
  static ZORQelIObjectIMP* finalizing_;
  // The trace element of the base Finalizer, whose frame the sweep holds
  // open across a run of deletions in place.
  static ZORQelITracerElement finalizerTrace_;

  // A run of marked objects met by a silent sweep that keeps no record (a
  // list in address order), from o on: each is kept in front of a (its mark
  // cleared, its link reversed), counted in `kept`, and the steps from each
  // to its successor that go up in memory counted in `rises`.  On return a
  // is the last object kept and o its successor, unmarked or null.
  static inline void KeepRun(ZORQelIObjectIMP*& o, ZORQelIObjectIMP*& a, std::int64_t& kept,
                             std::int64_t& rises);

 private:
  static void Drain();
  // Marks and queues an object found unmarked (under frames when the work
  // list is full).
  static void Queue(ZORQelIObjectIMP* m);
  static void FlushDeferred();
  // Ends a run of kWindow objects made without a record: starts one if the
  // run, or the last sweep, found the list scattered.
  static void EndWindow();
  // A new spare array for capacity_ entries when no record is kept; none
  // while one is.
  static void Respare();

  // A list is scattered when more than 1 step in kScatter goes against the
  // direction most steps take.
  static constexpr std::int64_t kScatter = 16;
  static constexpr std::int32_t kWindow = 1024;
  static std::int32_t window_;  // objects left in the current run
  static std::int32_t rises_;   // of its objects, those above the head
  static bool scattered_;       // the last silent sweep found it so

  // The work list never has fewer places than this once an object exists;
  // once one does, list_.size + held_ <= capacity_.
  static constexpr std::int64_t kMinCapacity = 1024;
  static_assert(ZORQelIInternal::Marking::deferFrom <= kMinCapacity,
                "a short work list always has room");
  static std::int64_t capacity_;
  // The arrays the running sweep started with, once replaced (null otherwise;
  // sweptOrder_ also when no record was kept).
  static ZORQelIObjectIMP** sweptStack_;
  static ZORQelIObjectIMP** sweptOrder_;
};

// Objects of one size made one after another follow each other at one
// stride.  Within a stretch of one stride the next object is taken to be at
// that stride and examined at once; its link, read meanwhile, only confirms
// the guess (a predicted branch), so the walk does not wait on one load after
// another.  The link is compared with the guess by an opaque jump, so that
// the compiler cannot take the loaded link for the guess.  No stride of a
// page or more is guessed, so a guess is never null (no object lies in the
// first page); a guess that fails at once (objects of several sizes) has the
// next kChased objects followed link by link.  The rises of a stretch are its
// steps when its stride is positive.
#if defined(__x86_64__) || defined(__i386__)
#define ZORQELI_UNLESS_SAME(x, t, label) \
  __asm__ goto("cmp %0, %1\n\tjne %l[" #label "]" : : "r"(x), "r"(t) : "cc" : label)
#elif defined(__GNUC__)
// Elsewhere through a difference the compiler cannot see through.
#define ZORQELI_UNLESS_SAME(x, t, label)                                             \
  do {                                                                            \
    std::uintptr_t off = reinterpret_cast<std::uintptr_t>(x) - reinterpret_cast<std::uintptr_t>(t); \
    __asm__("" : "+r"(off));                                                      \
    if (__builtin_expect(off != 0, 0)) goto label;                                \
  } while (false)
#else
// Without inline assembly the plain compare is kept: the walk is as correct,
// though the compiler may then wait on the loaded link again.
#define ZORQELI_UNLESS_SAME(x, t, label) \
  do {                                  \
    if ((x) != (t)) goto label;         \
  } while (false)
#endif
inline void ZORQelIInternal::Access::Marker::KeepRun(ZORQelIObjectIMP*& o, ZORQelIObjectIMP*& a,
                                                     std::int64_t& kept, std::int64_t& rises) {
  constexpr std::intptr_t kGuessed = 4096;
  constexpr int kChased = 16;
  std::int64_t c = kept, r = rises, from;
  ZORQelIObjectIMP *b = o, *x, *p, *q, *t;
  std::intptr_t d;
  // b (marked) kept in front of a; returns b's successor.
  auto keepOne = [&]() {
    ZORQelIObjectIMP* const after = b->next;
    r += reinterpret_cast<std::uintptr_t>(after) > reinterpret_cast<std::uintptr_t>(b);
    ++c;
    b->garbageCollectorHit = 0;
    b->next = a;
    a = b;
    return after;
  };
chased:  // b is marked, its successor not yet known
  x = keepOne();
  if (x == nullptr || x->garbageCollectorHit == 0) goto ended;
  d = reinterpret_cast<std::intptr_t>(x) - reinterpret_cast<std::intptr_t>(b);
  b = x;
  if (d <= -kGuessed || d >= kGuessed) goto chased;
  // Three a turn: p the object kept before q, q the one kept now, t the guess
  // of q's successor, and so on in turn.
  from = c;
  p = a, q = b;
  for (;;) {
    t = reinterpret_cast<ZORQelIObjectIMP*>(reinterpret_cast<std::intptr_t>(q) + d);
    x = q->next, ++c, q->garbageCollectorHit = 0, q->next = p;
    ZORQELI_UNLESS_SAME(x, t, leftQ);
    if (__builtin_expect(t->garbageCollectorHit == 0, 0)) { a = q, x = t; goto unmarked; }
    p = reinterpret_cast<ZORQelIObjectIMP*>(reinterpret_cast<std::intptr_t>(t) + d);
    x = t->next, ++c, t->garbageCollectorHit = 0, t->next = q;
    ZORQELI_UNLESS_SAME(x, p, leftT);
    if (__builtin_expect(p->garbageCollectorHit == 0, 0)) { a = t, x = p; goto unmarked; }
    q = reinterpret_cast<ZORQelIObjectIMP*>(reinterpret_cast<std::intptr_t>(p) + d);
    x = p->next, ++c, p->garbageCollectorHit = 0, p->next = t;
    ZORQELI_UNLESS_SAME(x, q, leftP);
    if (__builtin_expect(q->garbageCollectorHit == 0, 0)) { a = p, x = q; goto unmarked; }
  }
leftQ:
  a = q;
  goto left;
leftT:
  a = t;
  goto left;
leftP:
  a = p;
left:  // a's successor x is not at stride d; every earlier step of the stretch was
  r += (d > 0 ? c - from - 1 : 0) +
       (reinterpret_cast<std::uintptr_t>(x) > reinterpret_cast<std::uintptr_t>(a));
  if (x == nullptr || x->garbageCollectorHit == 0) goto ended;
  b = x;
  if (c - from > 1) goto chased;
  for (int i = 0; i < kChased; ++i) {
    x = keepOne();
    if (x == nullptr || x->garbageCollectorHit == 0) goto ended;
    b = x;
  }
  goto chased;
unmarked:  // every step of the stretch went at stride d, the last to x
  r += d > 0 ? c - from : 0;
ended:
  o = x;
  kept = c;
  rises = r;
}
#undef ZORQELI_UNLESS_SAME

// The marker, as the library's sources name it.
using ZORQelIMarker = ZORQelIInternal::Access::Marker;

#endif
