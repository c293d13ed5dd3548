// ZORQelIParamDesc: handle of a parameter descriptor.
#ifndef ZORQelIParamDesc_h
#define ZORQelIParamDesc_h

#include "ZORQelI.h"
#include "ZORQelIWrapperObject.h"

class ZORQelIParamDescIMP;
class ZORQelIType;

// Handle of a parameter descriptor (attributes included).  DownCast is
// lenient; CastAnyway gives an empty handle on another class.
//
// Contract: that of every handle (ZORQelIObject.h: an empty handle raises
// ZORQelI::NullPtrAccess) and of the dictionary implementations
// (ZORQelIWrapperObjectIMP.h: the provider documents what its classes raise).
class QL0KRN_EXPORT ZORQelIParamDesc : public ZORQelIWrapperObject {
  ZORQELI_DECLARE_HANDLE(ZORQelIParamDesc, ZORQelIParamDescIMP)
  ZORQELI_DECLARE_CAST_ANYWAY(ZORQelIParamDesc)
 public:
  // The forwarding operations, one row each in ZORQelIParamDesc.def.
#define ZORQELI_FORWARD ZORQELI_DECLARE_FORWARDER
#include "ZORQelIParamDesc.def"
};

#include "ZORQelIParamDescIMP.h"
#include "ZORQelIType.h"

#endif
