// Internal to the library, installed only because the inline scans of
// ZORQelIObjectIMP.h, which every member check runs, read it: not part of the
// contract, and may change in any release.
//
// What the inline scans read of the collector's marking state, and the
// scans themselves.  Everything else about marking is the library's own.
#ifndef ZORQelIInternal_Marking_h
#define ZORQelIInternal_Marking_h

#include <cstdint>

#include "ZORQelI.h"
#include "ZORQelIExport.h"

class ZORQelIObjectIMP;

namespace ZORQelIInternal {

// The work list (never shorter than deferFrom once an object exists), the
// depth of it from which the quiet scans defer their tests (deferAt, at
// most deferFrom), and whether a drain runs with tracing off for good, when
// the scans only mark and queue, without their frames; the mark the sweep's
// deletions carry.
// One object, not three static members: code that reaches the library's
// data through a table of addresses (clang's position-independent code
// does, where g++'s uses the data's copy in the program) then loads one
// address for the four fields, and keeps it across a member check's scans.
struct Marking {
  static constexpr std::int64_t deferFrom = 64;
  // The mark of an object that the sweep deletes itself (its class keeps
  // the base Finalizer): its destructor then has nothing to undo.
  static constexpr ZORQelI::integer inPlace = -1;
  ZORQelIObjectIMP** stack;
  std::int64_t top;
  // Set by each drain: deferFrom while the heap is small enough for its
  // objects to be found in cache (a long work list is then the only sign
  // that deferring pays), 1 once it is not: a graph marked through one
  // short work list after another then waits on memory at every test, and
  // only a chain (a work list that each pop empties) tests at once.
  std::int64_t deferAt;
  bool quiet;
};
QL0KRN_EXPORT extern Marking marking;

}  // namespace ZORQelIInternal

// Declared above before the class, whose inline destructor reads Marking,
// whichever of the two headers a client includes first.
#include "ZORQelIObjectIMP.h"

// The two scans every member check calls once per reference it holds
// (ZORQelIObjectIMP::GarbageCollectorScan), inline in the member check.
//
// The quiet path: while the work list is drained with tracing off for good
// (marking.quiet), a scan only tests the mark and, on a first visit, sets
// it and queues the object.  No code of the client's runs inside the scan
// then and no trace line can be written, so its frames could not be observed
// (see ZORQelITracer::Silent) and are left out.  Every other scan (the one
// that starts a drain, such as a root's, and any scan with tracing on) opens
// its frames and goes through the marker, which may run member checks under
// them; so does a deferred object that finds the work list full.
//
// On the quiet path a short work list (a chain, a tree's spine) has room
// (marking.top < marking.deferAt <= Marking::deferFrom <= the work list's
// least room), so the object is marked and queued at once.  A long one means
// a wide graph whose objects are scattered, and so does any but an empty one
// in a heap too large for the cache: the test is deferred (Defer) so that
// the object's cache line is fetched while other scans go on.
inline void ZORQelIObjectIMP::GarbageCollectorScan() {
  using ZORQelIInternal::Marking;
using ZORQelIInternal::marking;
  if (__builtin_expect(marking.quiet, 1)) {
    if (__builtin_expect(marking.top >= marking.deferAt, 0)) {
      Defer(this);
    } else if (garbageCollectorHit == 0) {
      garbageCollectorHit = 1;
      marking.stack[marking.top++] = this;
    }
    return;
  }
  ScanUnderFrame();
}

inline void ZORQelIObjectIMP::GarbageCollectorScan(ZORQelIObjectIMP* m) {
  using ZORQelIInternal::Marking;
using ZORQelIInternal::marking;
  if (__builtin_expect(marking.quiet, 1)) {
    if (m == nullptr) return;
    if (__builtin_expect(marking.top >= marking.deferAt, 0)) {
      Defer(m);
    } else if (m->garbageCollectorHit == 0) {
      m->garbageCollectorHit = 1;
      marking.stack[marking.top++] = m;
    }
    return;
  }
  ScanUnderFrame(m);
}

#endif
