// ZORQelIMethodIMP: the abstract implementation of methods and functions.
#ifndef ZORQelIMethodIMP_h
#define ZORQelIMethodIMP_h

#include "ZORQelI.h"
#include "ZORQelIWrapperObjectIMP.h"

class ZORQelIEntity;
class ZORQelIExpression;
class ZORQelIParamDesc;
class ZORQelIType;

// A method of an entity, or a free function (IsMethod() false): a result
// type, parameters and a visibility code.  Everything is supplied by the
// concrete class; one that keeps handles (parameters, result type, entity)
// scans them in its GarbageCollectorMemberCheck.
//
// Contract: that of the dictionary implementations
// (ZORQelIWrapperObjectIMP.h): the library's part raises nothing; what a
// concrete class raises is its provider's to document.
class QL0KRN_EXPORT ZORQelIMethodIMP : public ZORQelIWrapperObjectIMP {
  ZORQELI_DECLARE_ABSTRACT_IMP(ZORQelIMethodIMP, ZORQelIWrapperObjectIMP)
 public:
  // Visibility codes.
  static constexpr int Private = 0;
  static constexpr int Protected = 1;
  static constexpr int Public = 2;

  // The class test of ZORQelIObjectIMP stays reachable beside the virtual
  // Match below.
  using ZORQelIObjectIMP::Match;

  // --- Virtual operations, after those of ZORQelIWrapperObjectIMP -------------
  // Stores one of Private, Protected, Public.
  virtual void SetVisibility(int v) = 0;
  virtual int GetVisibility() const = 0;
  // The result type.
  virtual ZORQelIType GetType() const = 0;
  virtual void SetType(ZORQelIType t) = 0;
  virtual void AddParam(ZORQelIParamDesc pr) = 0;
  virtual void RemoveParam(ZORQelIParamDesc pr) = 0;
  virtual void RemoveParam(ZORQelI::integer pos) = 0;
  virtual ZORQelI::integer NumberOfParams() const = 0;
  // Whether the expression R fits this method.
  virtual ZORQelI::boolean Match(const ZORQelIExpression R) const = 0;
  virtual ZORQelIParamDesc GetParam(ZORQelI::integer pos) = 0;
  // The entity the method belongs to.
  virtual ZORQelIEntity ImplementsEntity() const = 0;
  virtual void MakeParam(ZORQelI::string v, ZORQelI::boolean in, ZORQelI::boolean out,
                         ZORQelIType t) = 0;
  // Itrue for a method of an entity, Ifalse for a free function.
  virtual ZORQelI::boolean IsMethod() const = 0;
};

#include "ZORQelIEntity.h"
#include "ZORQelIExpression.h"
#include "ZORQelIMethod.h"
#include "ZORQelIParamDesc.h"
#include "ZORQelIType.h"

#endif
