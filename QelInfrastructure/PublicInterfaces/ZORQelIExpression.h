// ZORQelIExpression: handle of an expression node.
#ifndef ZORQelIExpression_h
#define ZORQelIExpression_h

#include "ZORQelI.h"
#include "ZORQelIParsable.h"

class ZORQelIExpressionIMP;
class ZORQelIInterface;
class ZORQelIMethod;
class ZORQelIParamDesc;
class ZORQelIType;

// Handle of an expression node; the parsable operations are inherited.
// DownCast is strict: an empty handle raises ZORQelI::NullPtrAccess;
// CastAnyway gives an empty handle on another class.
class QL0KRN_EXPORT ZORQelIExpression : public ZORQelIParsable {
  ZORQELI_DECLARE_HANDLE(ZORQelIExpression, ZORQelIExpressionIMP)
  ZORQELI_DECLARE_CAST_ANYWAY(ZORQelIExpression)
 public:
  // The forwarding operations, one row each in ZORQelIExpression.def.
#define ZORQELI_FORWARD ZORQELI_DECLARE_FORWARDER
#include "ZORQelIExpression.def"
};

#include "ZORQelIExpressionIMP.h"
#include "ZORQelIInterface.h"
#include "ZORQelIMethod.h"
#include "ZORQelIParamDesc.h"
#include "ZORQelIType.h"

#endif
