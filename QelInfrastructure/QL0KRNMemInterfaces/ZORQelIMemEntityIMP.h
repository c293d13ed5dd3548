// ZORQelIMemEntityIMP: an entity of the in-memory provider.
#ifndef ZORQelIMemEntityIMP_h
#define ZORQelIMemEntityIMP_h

#include <memory>
#include <vector>

#include "QL0KRN.h"
#include "ZORQelIEntityIMP.h"
#include "ZORQelIMemClause.h"
#include "ZORQelIMemExport.h"
#include "ZORQelIMemObjectMembers.h"

class ZORQelIMemAttrIMP;
class ZORQelIMemModelerIMP;

// A named record type: its own attributes in order and its super entities
// of the same wrapper.  Super() is the first of them; entities read from
// EXPRESS may have several (SUBTYPE OF (a, b)), listed by Supers().
//
// Invariants:
//  1. Attribute names are unique along every inheritance chain: no entity
//     has an attribute named like one of its own, inherited or inheriting
//     entities' attributes.
//  2. The super chain is finite and has no cycle.
//  3. Once an instance of this entity or of one of its sub-entities exists,
//     the entity is frozen: its attribute layout (ExchangeOrder(): with one
//     super entity, the attributes of the root super entity first, then
//     those of each sub-entity, down to the entity's own) never changes
//     again, since instances store their values by position in that layout.
//     Layout() is the frozen layout.
//
// Decisions of this provider:
//  - Names are exact and case-sensitive.  GetAttr(name) and GetAttrIndex
//    look among the entity's own attributes only, like GetAttr(int) and
//    NumberOfAttributes; absent names give an empty handle and UNSET.
//  - CreateAttr refuses an empty name or one that breaks invariant 1
//    (ZORQelI::Exception); the type may be empty (the attribute then holds
//    no value and prints as Void) and must otherwise belong to this wrapper
//    (ZORQelI::InvalidType).
//  - RemoveAttr of an absent name or position answers Ifalse; removing
//    renumbers the later attributes; the removed attribute no longer belongs
//    to any entity (Parent() is empty).
//  - Super(ent) refuses, with ZORQelI::Exception, a super entity that is this
//    entity or inherits from it (a cycle) and one that would break invariant
//    1; an empty ent makes the entity a root; an entity of another wrapper
//    raises ZORQelI::InvalidType.
//  - A frozen entity refuses CreateAttr, RemoveAttr, Super(ent) and a change
//    of the type of one of its attributes (ZORQelI::Exception); names and
//    optional flags may still change.
//  - IsAKindOf(ent) walks the super chain from this entity (itself
//    included); an empty ent is Ifalse.  IsA is identity.
//  - FullTypeName is "<schema>.<entity>".  Text is the entity block of the
//    EXPRESS form when the printer is one, else the name.
//  - Rename refuses an empty name or one taken in the schema
//    (ZORQelI::Exception).
//  - Clone makes an entity of the same schema, with the same super entity
//    and copies of the attributes, that the schema does not list.
//
// Collector: the schema, the attributes and the super entities are raw
// pointers scanned by the member check.
class QL0KRNMEM_EXPORT ZORQelIMemEntityIMP : public ZORQelIEntityIMP {
  ZORQELI_DECLARE_IMP(ZORQelIMemEntityIMP, ZORQelIEntityIMP)
 public:
  ZORQelIMemEntityIMP(ZORQelIMemModelerIMP* modeler, ZORQelI::string name);
  ZORQELIMEM_OBJECT_MEMBERS(ZORQelIMemEntityIMP);
  ZORQELIMEM_WRAPPER_OBJECT_MEMBERS;

  // --- ZORQelITypeIMP ---------------------------------------------------------------
  ZORQelI::boolean IsA(ZORQelITypeIMP* x) const override;
  ZORQelI::boolean IsAKindOf(ZORQelIEntity ent) const override;
  ZORQelI::string FullTypeName() const override;
  ZORQelIModeler GetModeler() const override;

  // --- ZORQelIEntityIMP -------------------------------------------------------------
  int NumberOfAttributes() const override;
  ZORQelIAttr CreateAttr(ZORQelI::string name, ZORQelIType tp, ZORQelI::boolean optional) override;
  ZORQelIAttr GetAttr(ZORQelI::string member) const override;
  // Positions 0 .. NumberOfAttributes() - 1; others raise ZORQelI::BoundError.
  ZORQelIAttr GetAttr(int nth) const override;
  ZORQelI::Mint GetAttrIndex(ZORQelI::string member) const override;
  ZORQelI::boolean RemoveAttr(ZORQelI::string name) override;
  ZORQelI::boolean RemoveAttr(int pos) override;
  ZORQelIEntity Super() const override;
  void Super(ZORQelIEntity ent) override;
  // Every entity whose attributes an instance carries, in the reverse of
  // ExchangeOrder()'s order of entities (this entity first): the library's
  // instance text then prints the attributes in ExchangeOrder(), and its
  // deep copy carries the values of every super entity.
  ZORQelIArray AttributeOwners() const override;

  // --- Read from EXPRESS ------------------------------------------------------------
  // What an ENTITY declaration says beyond its explicit attributes.
  struct Express {
    bool abstract = false;          // ABSTRACT [SUPERTYPE]
    bool hasSupertypeExpr = false;  // SUPERTYPE OF (...) was written
    ZORQelI::string supertypeExpr;  // its text inside the parentheses
    // DERIVE, INVERSE, UNIQUE, WHERE and redeclared attributes, in the order
    // of the declaration.
    std::vector<ZORQelIMemClause> clauses;
  };
  // The record; a shared empty one for entities made by code.
  const Express& ExpressInfo() const;
  Express& MutableExpressInfo();
  // Every super entity in declared order (Super() is the first); empty for
  // a root.
  std::vector<ZORQelIMemEntityIMP*> Supers() const;
  // Sets the super entities without the checks of Super(ent).  REQUIRES: no
  // cycle, the names of invariant 1 checked by the caller, not frozen (the
  // schema reader checks all of them on the whole schema at once).
  void SetSupers(const std::vector<ZORQelIMemEntityIMP*>& supers);
  // Appends an attribute without the checks of CreateAttr.  REQUIRES: the
  // caller checked the name and that type belongs to this wrapper.
  ZORQelIMemAttrIMP* AppendAttr(const ZORQelI::string& name, ZORQelITypeIMP* type,
                                ZORQelI::boolean optional);
  // The attributes of an instance in the order ISO 10303-21 writes them:
  // the super entities' attributes first, depth first in the declared order
  // of each SUBTYPE OF list, an entity reached twice (repeated inheritance)
  // taken once, at its first place; the entity's own attributes last.
  std::vector<ZORQelIMemAttrIMP*> ExchangeOrder() const;
  // The entities of ExchangeOrder(), in that order, each once.
  std::vector<const ZORQelIMemEntityIMP*> ExchangeEntities() const;

  // --- Provider side --------------------------------------------------------------
  ZORQelIMemModelerIMP* Modeler() const { return modeler_; }
  ZORQelIMemEntityIMP* SuperEntity() const { return super_; }
  // Whether e is this entity or one of its super entities (addresses are
  // compared; e is not read).
  bool Inherits(const ZORQelIObjectIMP* e) const;
  // Freezes this entity and its super entities (invariant 3) and returns the
  // layout of an instance.
  const std::vector<ZORQelIMemAttrIMP*>& Freeze();
  bool IsFrozen() const { return frozen_; }
  // The frozen layout.  REQUIRES: IsFrozen().
  const std::vector<ZORQelIMemAttrIMP*>& Layout() const { return layout_; }
  // Raises ZORQelI::Exception when frozen; `what` names the refused change.
  void RequireUnfrozen(const char* what) const;
  // Whether an attribute named name exists along this entity's chain or in
  // an entity inheriting from it (invariant 1).
  bool NameTaken(const ZORQelI::string& name) const;

 private:
  // Clone makes the copy (the attributes are copied, not shared).
  ZORQelIMemEntityIMP(const ZORQelIMemEntityIMP&) = delete;
  ZORQelIMemEntityIMP& operator=(const ZORQelIMemEntityIMP&) = delete;

  // The attribute named name along the chain of this entity and its super
  // entities, or null.
  ZORQelIMemAttrIMP* FindInChain(const ZORQelI::string& name) const;
  // Whether an entity that inherits from this one (itself excluded) has an
  // attribute named name.
  bool NameUsedBelow(const ZORQelI::string& name) const;

  // Kept alive by the member check.
  ZORQelIMemModelerIMP* modeler_;
  ZORQelIMemEntityIMP* super_ = nullptr;
  std::vector<ZORQelIMemAttrIMP*> attrs_;
  // The instance layout, filled by Freeze (its attributes are reached through
  // the chain's own lists too).
  std::vector<ZORQelIMemAttrIMP*> layout_;
  ZORQelI::string name_;
  bool frozen_ = false;
  // Null for entities made by code.
  std::unique_ptr<Express> express_;
  // The super entities after the first, kept alive by the member check
  // (empty unless SetSupers gave several).
  std::vector<ZORQelIMemEntityIMP*> moreSupers_;
};

#endif
