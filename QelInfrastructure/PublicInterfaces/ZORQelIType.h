// ZORQelIType: handle of a type descriptor.
#ifndef ZORQelIType_h
#define ZORQelIType_h

#include "ZORQelI.h"
#include "ZORQelIWrapperObject.h"

class ZORQelIEntity;
class ZORQelIModeler;
class ZORQelITypeIMP;

// Handle of a type.  Operations forward to the implementation; the kind
// predicates reach the implementation's non-virtual predicates.  InRange and
// Range are computed here from the bound operations.
// DownCast is lenient; CastAnyway gives an empty handle on another class.
class QL0KRN_EXPORT ZORQelIType : public ZORQelIWrapperObject {
  ZORQELI_DECLARE_HANDLE(ZORQelIType, ZORQelITypeIMP)
  ZORQELI_DECLARE_CAST_ANYWAY(ZORQelIType)
 public:
  // Compares with x's implementation (this handle's object is fetched
  // first); an empty x raises ZORQelI::NullPtrAccess.
  ZORQelI::boolean IsA(ZORQelIType x) const;
  // The forwarding operations, one row each in ZORQelIType.def.
#define ZORQELI_FORWARD ZORQELI_DECLARE_FORWARDER
#include "ZORQelIType.def"


  // Empty handles when the implementation answers null.
  ZORQelIType TerminalType() const;
  ZORQelIType SubType() const;
  // LowerBound(l), then UpperBound(u): an implementation that checks one
  // bound against the other sees the new lower bound beside the old upper.
  void Range(ZORQelI::Mint l, ZORQelI::Mint u);
  // Whether i lies within the bounds, both inclusive; an UNSET bound does
  // not limit its side.  The upper bound is not read when i is below the
  // lower one.
  ZORQelI::boolean InRange(int i) const;
};

#include "ZORQelIEntity.h"
#include "ZORQelIModeler.h"
#include "ZORQelITypeIMP.h"

#endif
