// ZORQelIArrayWalker: the callback of ZORQelIArray::ForEach.
#ifndef ZORQelIArrayWalker_h
#define ZORQelIArrayWalker_h

#include "ZORQelI.h"

class ZORQelIObject;

// Derive from it and implement Walk; ForEach calls Walk with each element of
// the walked range (a temporary handle, valid for the call) and its position,
// in increasing order.  Returning Ifalse stops the walk at once and makes
// ForEach return Ifalse.
//
// Walk may change the array it walks.  The range is checked once, before the
// walk; a walk whose array shrinks below the current position ends there
// (ForEach then returns Itrue), so nothing beyond the array's elements is
// ever handed to Walk.
//
// Contract: the walker belongs to the caller of ForEach and must outlive the
// walk; the library keeps no reference to it afterwards.  A bad range raises
// ZORQelI::BoundError before the first Walk; an exception raised by Walk
// leaves ForEach and reaches its caller.
class QL0KRN_EXPORT ZORQelIArrayWalker {
 public:
  static constexpr const char* __CLASSNAME__ = "ZORQelIArrayWalker";

  virtual ZORQelI::boolean Walk(ZORQelIObject o, integer pos) = 0;
  // Declared after Walk so that Walk keeps the first slot.
  virtual ~ZORQelIArrayWalker();

 protected:
  ZORQelIArrayWalker() = default;
  ZORQelIArrayWalker(const ZORQelIArrayWalker&) = default;
  ZORQelIArrayWalker& operator=(const ZORQelIArrayWalker&) = default;
};

#endif
