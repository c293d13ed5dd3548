// ZORQelIExpressionIMP: the abstract implementation of expression nodes.
#ifndef ZORQelIExpressionIMP_h
#define ZORQelIExpressionIMP_h

#include "ZORQelI.h"
#include "ZORQelIParsableIMP.h"

class ZORQelIExpression;
class ZORQelIInterface;
class ZORQelIMethod;
class ZORQelIParamDesc;
class ZORQelIType;

// A node of an expression tree: parameters, sub-nodes, the method it calls
// and the interface that defines that method.  Everything is supplied by the
// concrete class; one that keeps handles scans them in its
// GarbageCollectorMemberCheck.
//
// Contract: that of the dictionary implementations
// (ZORQelIWrapperObjectIMP.h): the library's part raises nothing; what a
// concrete class raises is its provider's to document.
class QL0KRN_EXPORT ZORQelIExpressionIMP : public ZORQelIParsableIMP {
  ZORQELI_DECLARE_ABSTRACT_IMP(ZORQelIExpressionIMP, ZORQelIParsableIMP)
 public:
  // --- Virtual operations, after those of ZORQelIParsableIMP ------------------
  virtual ZORQelIParamDesc CreateParam(ZORQelI::string name, ZORQelI::boolean in,
                                       ZORQelI::boolean out, ZORQelIType t) = 0;
  virtual void AddParam(ZORQelIParamDesc par) = 0;
  virtual ZORQelIParamDesc GetParam(int pos) = 0;
  virtual int GetNumberOfParam() const = 0;
  virtual ZORQelIExpression GetSubNode(int pos) const = 0;
  virtual int GetNumberOfSubNode() const = 0;
  virtual ZORQelIExpression Copy() const = 0;
  virtual void Extract() = 0;
  virtual ZORQelIMethod GetMethod() const = 0;
  virtual ZORQelIInterface GetInterface() const = 0;
  virtual void SetInterface(ZORQelIInterface n) = 0;
};

#include "ZORQelIExpression.h"
#include "ZORQelIInterface.h"
#include "ZORQelIMethod.h"
#include "ZORQelIParamDesc.h"
#include "ZORQelIType.h"

#endif
