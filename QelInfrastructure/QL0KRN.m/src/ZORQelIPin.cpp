#include "ZORQelIPin.h"

#include <cstdlib>
#include <new>

namespace ZORQelIInternal {

ZORQelIObjectIMP** Pin::pinned_ = nullptr;
std::int32_t Pin::top_ = 0;
std::int32_t Pin::capacity_ = 0;

void Pin::Grow() {
  const std::int32_t capacity = capacity_ == 0 ? 64 : capacity_ * 2;
  void* p = std::realloc(pinned_, static_cast<std::size_t>(capacity) * sizeof(*pinned_));
  if (p == nullptr) throw std::bad_alloc();
  pinned_ = static_cast<ZORQelIObjectIMP**>(p);
  capacity_ = capacity;
}

}  // namespace ZORQelIInternal
