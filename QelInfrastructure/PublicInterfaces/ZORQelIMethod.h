// ZORQelIMethod (and ZORQelIFunction): handle of a method or function.
#ifndef ZORQelIMethod_h
#define ZORQelIMethod_h

#include "ZORQelI.h"
#include "ZORQelIWrapperObject.h"

class ZORQelIEntity;
class ZORQelIExpression;
class ZORQelIMethodIMP;
class ZORQelIParamDesc;
class ZORQelIType;

// Handle of a method or a free function.  The visibility operations encode
// through the codes of ZORQelIMethodIMP.  DownCast is strict: an empty handle
// raises ZORQelI::NullPtrAccess; CastAnyway gives an empty handle on another
// class.
class QL0KRN_EXPORT ZORQelIMethod : public ZORQelIWrapperObject {
  ZORQELI_DECLARE_HANDLE(ZORQelIMethod, ZORQelIMethodIMP)
  ZORQELI_DECLARE_CAST_ANYWAY(ZORQelIMethod)
 public:
  // The forwarding operations, one row each in ZORQelIMethod.def.
#define ZORQELI_FORWARD ZORQELI_DECLARE_FORWARDER
#include "ZORQelIMethod.def"
  void SetPublic();
  void SetPrivate();
  void SetProtected();
  // GetVisibility() compared with the code; a code outside the three makes
  // all three Ifalse.
  ZORQelI::boolean IsPublic() const;
  ZORQelI::boolean IsPrivate() const;
  ZORQelI::boolean IsProtected() const;
};

// A function is a method descriptor whose IsMethod() is Ifalse.
typedef ZORQelIMethod ZORQelIFunction;

#include "ZORQelIEntity.h"
#include "ZORQelIExpression.h"
#include "ZORQelIMethodIMP.h"
#include "ZORQelIParamDesc.h"
#include "ZORQelIType.h"

#endif
