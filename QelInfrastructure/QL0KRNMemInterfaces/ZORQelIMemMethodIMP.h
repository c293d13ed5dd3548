// ZORQelIMemMethodIMP: a function or method of an interface of the in-memory
// provider.
#ifndef ZORQelIMemMethodIMP_h
#define ZORQelIMemMethodIMP_h

#include <vector>

#include "QL0KRN.h"
#include "ZORQelIMethodIMP.h"
#include "ZORQelIMemExport.h"
#include "ZORQelIMemObjectMembers.h"

class ZORQelIMemEntityIMP;
class ZORQelIMemWrapper;

// A named operation with a result type, parameters in order and a
// visibility; a method belongs to an entity, a function to none.
//
// Decisions of this provider:
//  - A new method or function is public.  SetVisibility accepts Private,
//    Protected and Public only (else ZORQelI::Exception).
//  - Parameters are any parameter descriptors of this wrapper (attributes
//    included; another wrapper's raise ZORQelI::InvalidType, an empty one
//    ZORQelI::NullPtrAccess); the same descriptor may appear once only
//    (ZORQelI::Exception).  MakeParam makes a ZORQelIMemParamDescIMP and
//    appends it.  Parameter names are not checked for uniqueness.
//  - GetParam and RemoveParam(pos) check positions (ZORQelI::BoundError);
//    RemoveParam(pr) of an absent parameter changes nothing.
//  - SetType accepts an empty type (no result) or one of this wrapper.
//  - Match(R): this provider has no expressions, so an expression matches
//    when it names this method (same name, exact) and has as many
//    parameters, each of a type IsA the parameter's (untyped ones match
//    anything).
//  - Text is "Function name(params) : type" or "Method Entity.name(...)".
//  - Name is exact; Rename refuses an empty name (ZORQelI::Exception).
//  - Clone copies name, visibility, result, entity and the list of
//    parameters (the same parameter objects).
//
// Collector: the result type, the entity and the parameters are raw
// pointers scanned by the member check.
class QL0KRNMEM_EXPORT ZORQelIMemMethodIMP : public ZORQelIMethodIMP {
  ZORQELI_DECLARE_IMP(ZORQelIMemMethodIMP, ZORQelIMethodIMP)
 public:
  using ZORQelIObjectIMP::Match;

  // entity null: a function.
  ZORQelIMemMethodIMP(ZORQelIMemWrapper& wrapper, ZORQelIMemEntityIMP* entity,
                      ZORQelI::string name, ZORQelITypeIMP* result);
  ZORQelIMemMethodIMP(const ZORQelIMemMethodIMP& o);
  ZORQELIMEM_OBJECT_MEMBERS(ZORQelIMemMethodIMP);
  ZORQELIMEM_WRAPPER_OBJECT_MEMBERS;

  void SetVisibility(int v) override;
  int GetVisibility() const override;
  ZORQelIType GetType() const override;
  void SetType(ZORQelIType t) override;
  void AddParam(ZORQelIParamDesc pr) override;
  void RemoveParam(ZORQelIParamDesc pr) override;
  void RemoveParam(ZORQelI::integer pos) override;
  ZORQelI::integer NumberOfParams() const override;
  ZORQelI::boolean Match(const ZORQelIExpression R) const override;
  ZORQelIParamDesc GetParam(ZORQelI::integer pos) override;
  ZORQelIEntity ImplementsEntity() const override;
  void MakeParam(ZORQelI::string v, ZORQelI::boolean in, ZORQelI::boolean out,
                 ZORQelIType t) override;
  ZORQelI::boolean IsMethod() const override;

  // --- Provider side --------------------------------------------------------------
  ZORQelIMemEntityIMP* Entity() const { return entity_; }
  ZORQelITypeIMP* Result() const { return result_; }

 private:
  // Not owned: REQUIRES the wrapper to outlive the method.
  ZORQelIMemWrapper* wrapper_;
  // Kept alive by the member check.
  ZORQelIMemEntityIMP* entity_;
  ZORQelITypeIMP* result_;
  std::vector<ZORQelIParamDescIMP*> params_;
  ZORQelI::string name_;
  int visibility_ = ZORQelIMethodIMP::Public;
};

#endif
