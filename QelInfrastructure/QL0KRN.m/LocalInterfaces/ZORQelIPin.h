// Private to the library: keeps an implementation object a root of the
// collector while one of its own operations runs.
//
// An operation that calls client code (a walker, a view, an element's Text
// or Equal) may find, once that code returns, that the client has dropped
// the last handle on the object the operation belongs to and collected: the
// operation would then go on reading freed memory.  A Pin declared at the
// top of such an operation makes the object a root until the operation
// returns or raises:
//
//   ZORQelI::boolean ZORQelIArrayIMP::ForEach(...) {
//     ZORQelIInternal::Pin pin(this);
//     ...
//   }
//
// Unlike a local handle, a pin opens no trace frame and takes no slot of the
// holder tables, so a traced operation writes the same lines with or
// without it.  Pins live on the stack: they are released in the reverse
// order of their creation.
#ifndef ZORQelIPin_h
#define ZORQelIPin_h

#include <cstdint>

#include "ZORQelICheck.h"

class ZORQelIObjectIMP;

namespace ZORQelIInternal {

class Pin {
 public:
  explicit Pin(ZORQelIObjectIMP* o) {
    if (__builtin_expect(top_ == capacity_, 0)) Grow();
    pinned_[top_++] = o;
  }
  ~Pin() {
    ZORQELI_DCHECK(top_ > 0, "a pin released twice");
    --top_;
  }
  Pin(const Pin&) = delete;
  Pin& operator=(const Pin&) = delete;

  // The pinned objects, for the collector's root scan (duplicates allowed).
  static std::int32_t Count() { return top_; }
  static ZORQelIObjectIMP* At(std::int32_t i) { return pinned_[i]; }

 private:
  // Doubles the room (raises std::bad_alloc, before the pin exists, when
  // no memory is left).
  static void Grow();
  static ZORQelIObjectIMP** pinned_;
  static std::int32_t top_;
  static std::int32_t capacity_;
};

}  // namespace ZORQelIInternal

#endif
