// ZORQelIWalker: the callback of an instance walk (ZORQelIInstance::ForEach).
#ifndef ZORQelIWalker_h
#define ZORQelIWalker_h

#include "ZORQelI.h"

class ZORQelIInstance;

// The same form as the array walker, with instances as elements: Walk is
// called with each element and its position, and returning Ifalse ends the
// walk.  The library only passes the walker on to the instance
// implementation, which calls it; order, range and result of the walk are
// the implementation's.
//
// Contract: the walker belongs to the caller of ForEach and must outlive the
// walk; the library keeps no reference to it, and an implementation should
// keep none after the walk either.  An exception raised
// by Walk leaves ForEach and reaches its caller.
class QL0KRN_EXPORT ZORQelIWalker {
 public:
  static constexpr const char* __CLASSNAME__ = "ZORQelIWalker";

  virtual ZORQelI::boolean Walk(ZORQelIInstance o, integer pos) = 0;
  // Declared after Walk so that Walk keeps the first slot.
  virtual ~ZORQelIWalker();

 protected:
  ZORQelIWalker() = default;
  ZORQelIWalker(const ZORQelIWalker&) = default;
  ZORQelIWalker& operator=(const ZORQelIWalker&) = default;
};

#include "ZORQelIInstance.h"

#endif
