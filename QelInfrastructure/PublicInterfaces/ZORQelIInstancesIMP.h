// ZORQelIInstancesIMP: the abstract implementation of populations.
#ifndef ZORQelIInstancesIMP_h
#define ZORQelIInstancesIMP_h

#include "ZORQelI.h"
#include "ZORQelIWrapperObjectIMP.h"

class ZORQelIInstance;
class ZORQelIType;

// The instances of one modeler at positions 0 .. Size() - 1, each findable
// by identity (Look) and by number (LookById); it makes new instances.
// Numbering, index checks and the result of failed look-ups belong to the
// concrete class.
//
// Contract: that of the dictionary implementations
// (ZORQelIWrapperObjectIMP.h): the library's part raises nothing; what a
// concrete class raises is its provider's to document.
class QL0KRN_EXPORT ZORQelIInstancesIMP : public ZORQelIWrapperObjectIMP {
  ZORQELI_DECLARE_ABSTRACT_IMP(ZORQelIInstancesIMP, ZORQelIWrapperObjectIMP)
 public:
  // --- Virtual operations, after those of ZORQelIWrapperObjectIMP -------------
  virtual ZORQelIInstance InstanciateString() const = 0;
  virtual ZORQelIInstance InstanciateBoolean() const = 0;
  virtual ZORQelIInstance InstanciateReal() const = 0;
  virtual ZORQelIInstance InstanciateInteger() const = 0;
  // A new instance of the type named S.
  virtual ZORQelIInstance Instanciate(ZORQelI::string S) const = 0;
  // A new instance of type T.
  virtual ZORQelIInstance Instanciate(ZORQelIType T) const = 0;
  virtual ZORQelIInstance Get(ZORQelI::integer nth) const = 0;
  virtual void Put(ZORQelI::integer nth, ZORQelIInstance inst) = 0;
  virtual void Append(ZORQelIInstance inst) = 0;
  // The position of inst.
  virtual ZORQelI::Mint Look(ZORQelIInstance inst) const = 0;
  // The instance numbered id.
  virtual ZORQelIInstance LookById(ZORQelI::integer id) const = 0;
  virtual void Remove(ZORQelI::integer nth) = 0;
  virtual ZORQelI::integer Size() const = 0;
};

#include "ZORQelIInstance.h"
#include "ZORQelIInstances.h"
#include "ZORQelIType.h"

#endif
