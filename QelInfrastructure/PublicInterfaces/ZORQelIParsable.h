// ZORQelIParsable: handle of a parsable unit.
#ifndef ZORQelIParsable_h
#define ZORQelIParsable_h

#include "ZORQelI.h"
#include "ZORQelIWrapperObject.h"

class ZORQelIErrorClass;
class ZORQelIInstance;
class ZORQelIInstances;
class ZORQelIParsableIMP;

// Handle of a parsable unit (interfaces and expressions are parsable).  The
// handle checks no argument.  DownCast is strict: an empty handle raises
// ZORQelI::NullPtrAccess; CastAnyway gives an empty handle on another class.
class QL0KRN_EXPORT ZORQelIParsable : public ZORQelIWrapperObject {
  ZORQELI_DECLARE_HANDLE(ZORQelIParsable, ZORQelIParsableIMP)
  ZORQELI_DECLARE_CAST_ANYWAY(ZORQelIParsable)
 public:
  // The forwarding operations, one row each in ZORQelIParsable.def.
#define ZORQELI_FORWARD ZORQELI_DECLARE_FORWARDER
#include "ZORQelIParsable.def"
};

#include "ZORQelIErrorClass.h"
#include "ZORQelIInstance.h"
#include "ZORQelIInstances.h"
#include "ZORQelIParsableIMP.h"

#endif
