// ZORQelIAttr: handle of an attribute.
#ifndef ZORQelIAttr_h
#define ZORQelIAttr_h

#include "ZORQelI.h"
#include "ZORQelIParamDesc.h"

class ZORQelIAttrIMP;
class ZORQelIEntity;

// Handle of an attribute; the parameter-descriptor operations are inherited.
// DownCast is lenient; CastAnyway gives an empty handle on another class.
//
// Contract: that of every handle (ZORQelIObject.h: an empty handle raises
// ZORQelI::NullPtrAccess) and of the dictionary implementations
// (ZORQelIWrapperObjectIMP.h: the provider documents what its classes
// raise); DownCast and CastAnyway as said above.
class QL0KRN_EXPORT ZORQelIAttr : public ZORQelIParamDesc {
  ZORQELI_DECLARE_HANDLE(ZORQelIAttr, ZORQelIAttrIMP)
  ZORQELI_DECLARE_CAST_ANYWAY(ZORQelIAttr)
 public:
  // The forwarding operations, one row each in ZORQelIAttr.def.
#define ZORQELI_FORWARD ZORQELI_DECLARE_FORWARDER
#include "ZORQelIAttr.def"
};

#include "ZORQelIAttrIMP.h"
#include "ZORQelIEntity.h"

#endif
