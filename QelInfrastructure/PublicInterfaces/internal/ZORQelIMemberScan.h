// Internal to the library, installed only because ZORQelIObject.h includes
// it: not part of the contract, and may change in any release.
//
// The scan of a handle member, inline in the member check that holds the
// member, as the scan of a raw reference is (ZORQelIMarking.h).  Here, after
// ZORQelIObject, because the scan reads the handle's fields.
#ifndef ZORQelIInternal_MemberScan_h
#define ZORQelIInternal_MemberScan_h

#include "ZORQelIGholder.h"
#include "ZORQelIObject.h"  // which includes this header after its class
#include "ZORQelIObjectIMP.h"

// A handle member is a root of its table until its owner is first scanned;
// that first scan takes it out of the table and marks it MEMBER.  From then
// on a quiet scan of it is a quiet scan of its referent, with no call: a
// long-lived heap's member checks take only this path.  The first scan, and
// every scan with tracing on (the handle's three frames), go out of line.
inline void ZORQelIObjectIMP::GarbageCollectorScan(ZORQelIObject& m) {
  if (__builtin_expect(ZORQelIInternal::marking.quiet, 1) &&
      __builtin_expect(m.key == ZORQelIGholder::MEMBER, 1)) {
    GarbageCollectorScan(m.objectIMP);
    return;
  }
  ScanHandle(m);
}

#endif
