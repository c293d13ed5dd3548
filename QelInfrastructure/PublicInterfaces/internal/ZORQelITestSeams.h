// Internal to the library: seams through which the library's own tests
// simulate conditions that cannot be produced on demand (memory
// exhaustion).  Installed with the other internal headers; not part of the
// contract, and may change in any release.  Clients never need it.
#ifndef ZORQelIInternal_TestSeams_h
#define ZORQelIInternal_TestSeams_h

#include <cstddef>

#include "ZORQelIExport.h"

namespace ZORQelIInternal {

// Every allocation and growth of an array's slot storage goes through this
// realloc-like function (old block or null, new size in bytes; a null result
// means failure, the old block then being left as it was).  It is
// std::realloc unless a test replaces it; a test restores it before it ends.
// Not synchronised: replace it only while no other thread grows an array.
extern QL0KRN_EXPORT void* (*arraySlotAllocator)(void* old, std::size_t bytes);

}  // namespace ZORQelIInternal

#endif
