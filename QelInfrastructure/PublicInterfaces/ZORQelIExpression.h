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
  // Creates a parameter descriptor and returns it.
  ZORQelIParamDesc CreateParam(ZORQelI::string name, ZORQelI::boolean in, ZORQelI::boolean out,
                               ZORQelIType t);
  void AddParam(ZORQelIParamDesc par);
  ZORQelIParamDesc GetParam(int pos);
  int GetNumberOfParam() const;
  ZORQelIExpression GetSubNode(int pos) const;
  int GetNumberOfSubNode() const;
  ZORQelIExpression Copy() const;
  void Extract();
  ZORQelIMethod GetMethod() const;
  ZORQelIInterface GetInterface() const;
  void SetInterface(ZORQelIInterface n);
};

#include "ZORQelIExpressionIMP.h"
#include "ZORQelIInterface.h"
#include "ZORQelIMethod.h"
#include "ZORQelIParamDesc.h"
#include "ZORQelIType.h"

#endif
