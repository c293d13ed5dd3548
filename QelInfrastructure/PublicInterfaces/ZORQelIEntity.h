// ZORQelIEntity: handle of an entity.
#ifndef ZORQelIEntity_h
#define ZORQelIEntity_h

#include "ZORQelI.h"
#include "ZORQelIType.h"

class ZORQelIAttr;
class ZORQelIEntityIMP;

// Handle of an entity; the type operations are inherited.  DownCast is
// lenient; CastAnyway gives an empty handle on another class.
//
// Contract: that of every handle (ZORQelIObject.h) and of the dictionary
// implementations (ZORQelIWrapperObjectIMP.h).  What a position outside the
// attributes or an unknown name gives or raises is the provider's (the
// in-memory provider: ZORQelIMemEntityIMP.h).
class QL0KRN_EXPORT ZORQelIEntity : public ZORQelIType {
  ZORQELI_DECLARE_HANDLE(ZORQelIEntity, ZORQelIEntityIMP)
  ZORQELI_DECLARE_CAST_ANYWAY(ZORQelIEntity)
 public:
  // The forwarding operations, one row each in ZORQelIEntity.def.
#define ZORQELI_FORWARD ZORQELI_DECLARE_FORWARDER
#include "ZORQelIEntity.def"
};

#include "ZORQelIAttr.h"
#include "ZORQelIEntityIMP.h"

#endif
