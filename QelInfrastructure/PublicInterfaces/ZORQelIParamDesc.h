// ZORQelIParamDesc: handle of a parameter descriptor.
#ifndef ZORQelIParamDesc_h
#define ZORQelIParamDesc_h

#include "ZORQelI.h"
#include "ZORQelIWrapperObject.h"

class ZORQelIParamDescIMP;
class ZORQelIType;

// Handle of a parameter descriptor (attributes included).  DownCast is
// lenient; CastAnyway gives an empty handle on another class.
class QL0KRN_EXPORT ZORQelIParamDesc : public ZORQelIWrapperObject {
  ZORQELI_DECLARE_HANDLE(ZORQelIParamDesc, ZORQelIParamDescIMP)
  ZORQELI_DECLARE_CAST_ANYWAY(ZORQelIParamDesc)
 public:
  ZORQelI::boolean IsIn() const;
  ZORQelI::boolean IsOut() const;
  ZORQelI::boolean IsOptional() const;
  ZORQelIType GetType() const;
  // Const on the handle: the handle itself does not change.
  void SetType(ZORQelIType t) const;
  void SetIn(ZORQelI::boolean v);
  void SetOut(ZORQelI::boolean v);
  void SetOptional(ZORQelI::boolean v);
};

#include "ZORQelIParamDescIMP.h"
#include "ZORQelIType.h"

#endif
