// Private to the library: how much of the calling thread's stack is left,
// for the operations whose recursion depth the client's data decides
// (printing nested arrays, aggregate types and values, notifying observers
// registered with observers).  Each such operation checks the room left on
// entry and raises the library's exception, rather than overflowing the
// stack, when the nesting goes deeper than the thread's stack can take.
#ifndef ZORQelIStackRoom_h
#define ZORQelIStackRoom_h

#include <cstddef>
#include <cstdint>

#include "ZORQelIVariable.h"

namespace ZORQelIInternal {

// What a recursive operation leaves for itself and for the code it calls
// between two of its checks (an element's own Text, a view, raising the
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
inline bool StackNearlyExhausted() {
  char here = 0;
  const std::uintptr_t p = reinterpret_cast<std::uintptr_t>(&here);
  const StackBounds& s = threadStack;
  if (__builtin_expect(s.size == 0, 0)) OnStackSlow(&here);  // learns the bounds
  if (s.size == 0 || p - s.low >= s.size) return false;
  return p - s.low < kStackReserve;
}

}  // namespace ZORQelIInternal

#endif
