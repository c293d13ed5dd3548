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
  // Itrue on success.
  ZORQelI::boolean Load(ZORQelI::string fileName);
  ZORQelI::boolean Save(ZORQelI::string fileName) const;
  ZORQelI::boolean Parse(ZORQelI::string fileName);
  int NumberOfErrors() const;
  ZORQelIErrorClass GetError(int pos) const;
  ZORQelI::boolean Check(ZORQelIInstances params);
  ZORQelIInstance Eval(ZORQelIInstances param);
};

#include "ZORQelIErrorClass.h"
#include "ZORQelIInstance.h"
#include "ZORQelIInstances.h"
#include "ZORQelIParsableIMP.h"

#endif
