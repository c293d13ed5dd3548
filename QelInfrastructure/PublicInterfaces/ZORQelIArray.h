// ZORQelIArray: the handle of a growable, collector-scanned sequence of
// objects.
#ifndef ZORQelIArray_h
#define ZORQelIArray_h

#include "ZORQelI.h"
#include "ZORQelIArrayIMP.h"
#include "ZORQelIArrayWalker.h"
#include "ZORQelIObject.h"

class ZORQelIPrint;

// Positions are 0-based; ranges (start, stop) are half-open.  Copying the
// handle shares the array; Clone (through SpecializeMe) copies it.  Unlike
// most handles, a default-constructed array is never empty: it makes a new
// array of capacity 10.  Every operation on an empty handle raises
// ZORQelI::NullPtrAccess.
class QL0KRN_EXPORT ZORQelIArray : public ZORQelIObject {
  ZORQELI_DECLARE_HANDLE(ZORQelIArray, ZORQelIArrayIMP)
 public:
  // A new, empty array of capacity top.  Explicit: an integer never turns
  // into an array by accident.
  explicit ZORQelIArray(integer top);

  // The forwarding operations, one row each in ZORQelIArray.def.
#define ZORQELI_FORWARD ZORQELI_DECLARE_FORWARDER
#include "ZORQelIArray.def"
  ZORQelI::boolean Add(ZORQelIObject x);
  void AppendArray(ZORQelIArray x);
  // Walk positions 0 .. Size()-1.
  ZORQelI::boolean ForEach(ZORQelIArrayWalker& ctx);
  ZORQelI::boolean ForEach(ZORQelIArrayWalker& ctx) const;
  void Remove(integer pos);

  // ZORQelIObject's Text() (the object's text form as a string) stays visible.
  using ZORQelIObject::Text;
};

#endif
