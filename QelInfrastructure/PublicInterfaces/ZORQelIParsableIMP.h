// ZORQelIParsableIMP: the abstract implementation of parsable units.
#ifndef ZORQelIParsableIMP_h
#define ZORQelIParsableIMP_h

#include "ZORQelI.h"
#include "ZORQelIWrapperObjectIMP.h"

class ZORQelIErrorClass;
class ZORQelIInstance;
class ZORQelIInstances;

// A dictionary object with a text form: loaded, saved, parsed, checked
// against a population and evaluated on one.  The errors of the last load or
// parse belong to the concrete class.  Failures of Load, Save and Parse are
// reported by an Ifalse result and the recorded errors.
//
// Contract: that of the dictionary implementations
// (ZORQelIWrapperObjectIMP.h): the library's part raises nothing; what a
// concrete class raises is its provider's to document; GetError returns a copy.
class QL0KRN_EXPORT ZORQelIParsableIMP : public ZORQelIWrapperObjectIMP {
  ZORQELI_DECLARE_ABSTRACT_IMP(ZORQelIParsableIMP, ZORQelIWrapperObjectIMP)
 public:
  // --- Virtual operations, after those of ZORQelIWrapperObjectIMP -------------
  virtual ZORQelI::boolean Load(ZORQelI::string fileName) = 0;
  virtual ZORQelI::boolean Save(ZORQelI::string fileName) const = 0;
  virtual ZORQelI::boolean Parse(ZORQelI::string fileName) = 0;
  virtual int NumberOfErrors() const = 0;
  virtual ZORQelIErrorClass GetError(int pos) const = 0;
  virtual ZORQelI::boolean Check(ZORQelIInstances params) = 0;
  virtual ZORQelIInstance Eval(ZORQelIInstances param) = 0;
};

#include "ZORQelIErrorClass.h"
#include "ZORQelIInstance.h"
#include "ZORQelIInstances.h"
#include "ZORQelIParsable.h"

#endif
