// Internal to the library, installed only because inline code of the public
// headers reads it (a handle's registration, ZORQelI::StackNearlyExhausted):
// not part of the contract, and may change in any release.  Clients use
// ZORQelIVariable and ZORQelIStackRoom.h instead.
//
// The bounds of the calling thread's stack.
#ifndef ZORQelIInternal_StackBounds_h
#define ZORQelIInternal_StackBounds_h

#include <cstdint>

#include "ZORQelIExport.h"

namespace ZORQelIInternal {

// The bounds of the calling thread's stack, found on the thread's first
// handle (size 0: not yet known).  Initial-exec TLS with a constant
// initialiser (__thread): one %fs-relative load, no per-thread init call.
struct StackBounds {
  std::uintptr_t low;
  std::uintptr_t size;
};
extern QL0KRN_EXPORT __thread StackBounds threadStack
    __attribute__((tls_model("initial-exec")));

// Finds the calling thread's stack bounds; returns whether p lies in them.
QL0KRN_EXPORT bool OnStackSlow(const void* p);

}  // namespace ZORQelIInternal

#endif
