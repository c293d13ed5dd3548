// Private to the in-memory provider: the guard of its operations whose
// recursion depth the client's data decides (copying, comparing and storing
// aggregate values nested in aggregate values).  Each checks the room left
// on the calling thread's stack before it goes one level down, and raises
// the library's exception instead of overflowing the stack.
#ifndef ZORQelIMemNesting_h
#define ZORQelIMemNesting_h

#include "QL0KRN.h"
#include "ZORQelIStackRoom.h"

namespace ZORQelIMemInternal {

// Raises when the stack left is too short for one more level of `what`
// (a verb phrase: "copied", "compared").
inline void RequireStackRoom(const char* what, const char* source, int line) {
  if (__builtin_expect(ZORQelI::StackNearlyExhausted(), 0)) {
    ZORQELI_RAISE(ZORQelI::Exception(ZORQelI::string("aggregate values nested too deeply to "
                                                          "be ") +
                                          what + " on this thread's stack"),
                   source, line);
  }
}

}  // namespace ZORQelIMemInternal

#endif
