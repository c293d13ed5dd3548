// ZORQelIInterface: handle of an interface.
#ifndef ZORQelIInterface_h
#define ZORQelIInterface_h

#include "ZORQelI.h"
#include "ZORQelIParsable.h"

class ZORQelIEntity;
class ZORQelIMethod;
class ZORQelIInterfaceIMP;
class ZORQelIModeler;
class ZORQelIType;
class ZORQelIWrapper;
// Repeats the declaration of ZORQelIMethod.h, so that only base headers are
// included before the class.
typedef ZORQelIMethod ZORQelIFunction;

// Handle of an interface; the parsable operations are inherited.  DownCast
// is strict: an empty handle raises ZORQelI::NullPtrAccess; CastAnyway gives
// an empty handle on another class.
class QL0KRN_EXPORT ZORQelIInterface : public ZORQelIParsable {
  ZORQELI_DECLARE_HANDLE(ZORQelIInterface, ZORQelIInterfaceIMP)
  ZORQELI_DECLARE_CAST_ANYWAY(ZORQelIInterface)
 public:
  // The forwarding operations, one row each in ZORQelIInterface.def.
#define ZORQELI_FORWARD ZORQELI_DECLARE_FORWARDER
#include "ZORQelIInterface.def"
};

#include "ZORQelIEntity.h"
#include "ZORQelIInterfaceIMP.h"
#include "ZORQelIMethod.h"
#include "ZORQelIModeler.h"
#include "ZORQelIType.h"
#include "ZORQelIWrapper.h"

#endif
