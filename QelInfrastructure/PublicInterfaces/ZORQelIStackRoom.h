// ZORQelIStackRoom: how much of the calling thread's stack is left, for the
// operations whose recursion depth the client's data decides.
#ifndef ZORQelIStackRoom_h
#define ZORQelIStackRoom_h

#include <cstddef>
#include <cstdint>

#include "internal/ZORQelIStackBounds.h"

// The library never overflows the stack on deep data: printing nested
// arrays, aggregate types and values, and notifying observers registered
// with observers each test the room left on entry, and raise the library's
// exception when the nesting goes deeper than the thread's stack can take.
// A provider whose own operations recurse as deep as its data (copying or
// comparing nested aggregate values, say) keeps the same promise with the
// same test:
//
//   if (ZORQelI::StackNearlyExhausted())
//     ZORQELI_RAISE(ZORQelI::Exception(ZORQelI::string("values nested too deeply")),
//                   __FILE__, __LINE__);
//
// Nothing here raises or allocates.
namespace ZORQelI {

// What a recursive operation leaves for itself and for the code it calls
// between two of its tests (an element's own Text, a view, raising the
// exception).  Sanitized builds use several times more stack per frame.
#if defined(__SANITIZE_ADDRESS__)
constexpr std::size_t kStackReserve = 256 * 1024;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr std::size_t kStackReserve = 256 * 1024;
#else
constexpr std::size_t kStackReserve = 64 * 1024;
#endif
#else
constexpr std::size_t kStackReserve = 64 * 1024;
#endif

// Whether fewer than kStackReserve bytes of the calling thread's stack are
// left below the caller's frame.  False when the bounds are unknown or the
// caller runs on another stack than the thread's own (a signal stack).
// The first call on a thread learns the thread's bounds; later calls are a
// few loads and compares.
inline bool StackNearlyExhausted() {
  char here = 0;
  const std::uintptr_t p = reinterpret_cast<std::uintptr_t>(&here);
  const ZORQelIInternal::StackBounds& s = ZORQelIInternal::threadStack;
  if (__builtin_expect(s.size == 0, 0)) ZORQelIInternal::OnStackSlow(&here);  // learns the bounds
  if (s.size == 0 || p - s.low >= s.size) return false;
  return p - s.low < kStackReserve;
}

}  // namespace ZORQelI

#endif
