// ZORQelIAccessKey: the definition of the one key to the private members of
// the public classes (internal/ZORQelIAccess.h).  Not a public header.
//
// Each internal helper that needs those members is a member of the key, and
// is listed here; a public class names only the key in its friend line, so
// adding a helper changes no public header.
#ifndef ZORQelIAccessKey_h
#define ZORQelIAccessKey_h

#include "internal/ZORQelIAccess.h"

namespace ZORQelIInternal {

struct Access {
  // The hottest container and handle paths without unobservable frames
  // (ZORQelIQuiet.h).
  struct Quiet;
  // The mark phase of the collector (ZORQelIMarker.h).
  class Marker;
};

}  // namespace ZORQelIInternal

#endif
