// ZORQelIMemAttrIMP: an attribute of an entity of the in-memory provider.
#ifndef ZORQelIMemAttrIMP_h
#define ZORQelIMemAttrIMP_h

#include "QL0KRN.h"
#include "ZORQelIAttrIMP.h"
#include "ZORQelIMemExport.h"
#include "ZORQelIMemObjectMembers.h"
#include "ZORQelIMemParamIMP.h"

class ZORQelIMemEntityIMP;
class ZORQelIMemModelerIMP;

// A named, typed attribute.  It is an input parameter (IsIn Itrue, IsOut
// Ifalse) unless changed; its optional flag is the one given to CreateAttr.
//
// Decisions of this provider:
//  - SetType accepts an empty type (no value, printed as Void) or a type of
//    this wrapper (else ZORQelI::InvalidType); it is refused while the
//    owning entity is frozen (ZORQelI::Exception).
//  - Rename refuses an empty name or one already used along the owning
//    entity's inheritance chains (ZORQelI::Exception).
//  - Parent() is empty once the attribute was removed from its entity.
//  - Text is "name : type", and " Optional" when optional.
//  - Clone copies name, type and flags; the copy belongs to no entity.
//
// The name, type and flags are ZORQelIMemParamIMP's.
//
// Collector: the schema and the owning entity are raw pointers scanned by
// the member check (the type by ZORQelIMemParamIMP's).
class QL0KRNMEM_EXPORT ZORQelIMemAttrIMP : public ZORQelIMemParamIMP<ZORQelIAttrIMP> {
  ZORQELI_DECLARE_IMP(ZORQelIMemAttrIMP, ZORQelIAttrIMP)
 public:
  ZORQelIMemAttrIMP(ZORQelIMemModelerIMP* modeler, ZORQelIMemEntityIMP* parent,
                    ZORQelI::string name, ZORQelITypeIMP* type, ZORQelI::boolean optional);
  ZORQelIMemAttrIMP(const ZORQelIMemAttrIMP& o);
  ZORQELIMEM_OBJECT_MEMBERS(ZORQelIMemAttrIMP);

  // --- ZORQelIWrapperObjectIMP (Name is ZORQelIMemParamIMP's) -----------------
  ZORQelIWrapper& Wrapper() const override;
  void Rename(ZORQelI::string x) override;

  // --- ZORQelIParamDescIMP ----------------------------------------------------------
  void SetType(ZORQelIType t) override;
  void SetOptional(ZORQelI::boolean v) override;

  // --- ZORQelIAttrIMP ----------------------------------------------------------------
  const ZORQelIEntity Parent() override;

  // --- Provider side --------------------------------------------------------------
  ZORQelIMemEntityIMP* Owner() const { return parent_; }
  // Used by the entity: the attribute is added to or removed from it.
  void SetOwner(ZORQelIMemEntityIMP* parent) { parent_ = parent; }

 private:
  // Kept alive by the member check.
  ZORQelIMemModelerIMP* modeler_;
  ZORQelIMemEntityIMP* parent_;
};

#endif
