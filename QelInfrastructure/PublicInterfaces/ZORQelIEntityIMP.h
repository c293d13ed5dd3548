// ZORQelIEntityIMP: the abstract implementation of entities.
#ifndef ZORQelIEntityIMP_h
#define ZORQelIEntityIMP_h

#include "ZORQelI.h"
#include "ZORQelITypeIMP.h"

class ZORQelIArray;
class ZORQelIAttr;
class ZORQelIEntity;
class ZORQelIType;

// An entity: a named record type with its own ordered attributes (positions
// 0 .. NumberOfAttributes() - 1, inherited ones not counted) and at most one
// super entity.  A concrete entity stores the attributes and the super link
// and provides at least Name (the default reports the entity kind as unnamed)
// and, for inheritance tests, IsAKindOf.
//
// The type questions are answered here as for a non-aggregate, non-field
// type: kind 12, no width, no bounds, no element type, its own terminal type;
// the setters that an entity cannot honour are accepted and ignored.
//
// Walking all attributes, inherited ones included: the own attributes, by
// position, of each entity that AttributeOwners lists; by default the entity
// itself, then Super()'s, until Super() is an empty handle.  The library's
// instance text and deep copy rely on that walk ending.
//
// Contract: that of the dictionary implementations
// (ZORQelIWrapperObjectIMP.h); the type operations answered here raise
// nothing.
class QL0KRN_EXPORT ZORQelIEntityIMP : public ZORQelITypeIMP {
  ZORQELI_DECLARE_ABSTRACT_IMP(ZORQelIEntityIMP, ZORQelITypeIMP)
 public:
  // --- Type operations answered for every entity ---------------------------------
  ZORQelI::Types PrimitiveType() const override;  // ZORQelI::Ientity
  ZORQelI::boolean IsFixed() const override;      // Ifalse
  void Fixed(ZORQelI::boolean fixed) override;    // ignored
  ZORQelI::Mint Width() const override;           // UNSET
  void Width(ZORQelI::Mint size) override;        // ignored
  ZORQelITypeIMP* TerminalType() const override;  // this entity
  ZORQelITypeIMP* SubType() const override;       // null
  void Unique(ZORQelI::boolean v) override;       // ignored
  void Optional(ZORQelI::boolean v) override;     // ignored
  ZORQelI::boolean IsUnique() const override;     // Ifalse
  ZORQelI::boolean IsOptional() const override;   // Ifalse
  ZORQelI::Mint LowerBound() const override;      // UNSET
  ZORQelI::Mint UpperBound() const override;      // UNSET
  void LowerBound(ZORQelI::Mint v) override;      // ignored
  void UpperBound(ZORQelI::Mint v) override;      // ignored

  // --- Virtual operations, after those of ZORQelITypeIMP --------------------------
  virtual int NumberOfAttributes() const = 0;
  virtual ZORQelIAttr CreateAttr(ZORQelI::string name, ZORQelIType tp,
                                 ZORQelI::boolean optional) = 0;
  virtual ZORQelIAttr GetAttr(ZORQelI::string member) const = 0;
  virtual ZORQelIAttr GetAttr(int nth) const = 0;
  virtual ZORQelI::Mint GetAttrIndex(ZORQelI::string member) const = 0;
  virtual ZORQelI::boolean RemoveAttr(ZORQelI::string name) = 0;
  virtual ZORQelI::boolean RemoveAttr(int pos) = 0;
  // The super entity; an empty handle for a root entity.
  virtual ZORQelIEntity Super() const = 0;
  virtual void Super(ZORQelIEntity ent) = 0;
  // The entities whose own attributes an instance of this entity carries,
  // each once, as a new array of entity handles: this entity first.  The
  // library's deep copy takes their attributes in this order (each entity's
  // own by position); its instance text prints them in the reverse order of
  // entities (the last entity's attributes first, each entity's own in
  // position order, this entity's last).  The default walks Super() until it
  // is an empty handle; an entity with several super entities overrides it
  // to list them all, in the reverse of the order its instances' attributes
  // are exchanged in.
  virtual ZORQelIArray AttributeOwners() const;

  // Ifalse: an entity is not ordered.
  ZORQelI::boolean IsOrdered() const;
};

#include "ZORQelIArray.h"
#include "ZORQelIAttr.h"
#include "ZORQelIEntity.h"
#include "ZORQelIType.h"

#endif
