// ZORQelIInstances: handle of a population.
#ifndef ZORQelIInstances_h
#define ZORQelIInstances_h

#include "ZORQelI.h"
#include "ZORQelIWrapperObject.h"

class ZORQelIInstance;
class ZORQelIInstancesIMP;
class ZORQelIType;

// Handle of a population.  DownCast is lenient; CastAnyway gives an empty
// handle on another class.
class QL0KRN_EXPORT ZORQelIInstances : public ZORQelIWrapperObject {
  ZORQELI_DECLARE_HANDLE(ZORQelIInstances, ZORQelIInstancesIMP)
  ZORQELI_DECLARE_CAST_ANYWAY(ZORQelIInstances)
 public:
  // The forwarding operations, one row each in ZORQelIInstances.def.
#define ZORQELI_FORWARD ZORQELI_DECLARE_FORWARDER
#include "ZORQelIInstances.def"

  // Make and fill in one step.  When the write raises, the instance just
  // made stays in the population and the exception passes on.
  ZORQelIInstance InstanciateString(ZORQelI::string v) const;
  ZORQelIInstance InstanciateBoolean(ZORQelI::boolean v) const;
  ZORQelIInstance InstanciateReal(ZORQelI::real v) const;
  ZORQelIInstance InstanciateInteger(ZORQelI::integer v) const;
};

#include "ZORQelIInstance.h"
#include "ZORQelIInstancesIMP.h"
#include "ZORQelIType.h"

#endif
