// ZORQelIParamDescIMP: the abstract implementation of parameter descriptors.
#ifndef ZORQelIParamDescIMP_h
#define ZORQelIParamDescIMP_h

#include "ZORQelI.h"
#include "ZORQelIWrapperObjectIMP.h"

class ZORQelIType;

// A parameter: its type and whether it is input, output and optional.  An
// entity's attribute is a parameter descriptor too (ZORQelIAttrIMP).
// Everything is supplied by the concrete class.
//
// Contract: that of the dictionary implementations
// (ZORQelIWrapperObjectIMP.h): the library's part raises nothing; what a
// concrete class raises is its provider's to document.
class QL0KRN_EXPORT ZORQelIParamDescIMP : public ZORQelIWrapperObjectIMP {
  ZORQELI_DECLARE_ABSTRACT_IMP(ZORQelIParamDescIMP, ZORQelIWrapperObjectIMP)
 public:
  // --- Virtual operations, after those of ZORQelIWrapperObjectIMP -------------
  virtual ZORQelI::boolean IsIn() const = 0;
  virtual ZORQelI::boolean IsOut() const = 0;
  virtual ZORQelI::boolean IsOptional() const = 0;
  virtual ZORQelIType GetType() const = 0;
  virtual void SetType(ZORQelIType t) = 0;
  virtual void SetIn(ZORQelI::boolean v) = 0;
  virtual void SetOut(ZORQelI::boolean v) = 0;
  virtual void SetOptional(ZORQelI::boolean v) = 0;
};

#include "ZORQelIParamDesc.h"
#include "ZORQelIType.h"

#endif
