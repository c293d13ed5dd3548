// ZORQelITypeIMP: the abstract implementation of type descriptors.
#ifndef ZORQelITypeIMP_h
#define ZORQelITypeIMP_h

#include "ZORQelI.h"
#include "ZORQelIWrapperObjectIMP.h"

class ZORQelIEntity;
class ZORQelIModeler;

// A type descriptor: void, a primitive kind, a string or binary field, an
// aggregate of an element type, or an entity.  It holds no data: a concrete
// type stores its properties and implements the abstract operations.
//
// The library answers two things itself: the display name of the primitive
// kinds (Name) and the kind predicates, which are non-virtual and computed
// from PrimitiveType() alone, so a concrete type changes their answers only
// through PrimitiveType.  The library checks no value given to the setters.
//
// Contract: that of the dictionary implementations
// (ZORQelIWrapperObjectIMP.h); Name and the kind predicates raise only what
// the concrete class's PrimitiveType raises.
class QL0KRN_EXPORT ZORQelITypeIMP : public ZORQelIWrapperObjectIMP {
  ZORQELI_DECLARE_ABSTRACT_IMP(ZORQelITypeIMP, ZORQelIWrapperObjectIMP)
 public:
  // The display name of the kind: "Void", "Boolean", "Logical", "Integer",
  // "Real", "String", "Binary", "Array", "List", "Set", "Bag"; "UncknowType"
  // otherwise.  For the entity kind (which has no display name; a concrete
  // entity gives its own name) it also writes " Can't Get Entity name." and a
  // line end to standard error.
  ZORQelI::string Name() const override;

  // --- Virtual operations, after those of ZORQelIWrapperObjectIMP -------------
  virtual ZORQelI::boolean IsA(ZORQelITypeIMP* x) const = 0;
  // Ifalse: a type that is not an entity is a kind of no entity.
  virtual ZORQelI::boolean IsAKindOf(ZORQelIEntity ent) const;
  virtual ZORQelI::string FullTypeName() const = 0;
  // The schema the type belongs to.
  virtual ZORQelIModeler GetModeler() const = 0;
  // The kind; every predicate below is computed from it.
  virtual ZORQelI::Types PrimitiveType() const = 0;
  virtual ZORQelI::boolean IsFixed() const = 0;
  virtual void Fixed(ZORQelI::boolean fixed) = 0;
  // Declared width of a field; UNSET when none is declared.
  virtual ZORQelI::Mint Width() const = 0;
  virtual void Width(ZORQelI::Mint size) = 0;
  // The type at the end of the chain of element types.
  virtual ZORQelITypeIMP* TerminalType() const = 0;
  // The element type of an aggregate; null when there is none.
  virtual ZORQelITypeIMP* SubType() const = 0;
  virtual void Unique(ZORQelI::boolean v) = 0;
  virtual void Optional(ZORQelI::boolean v) = 0;
  virtual ZORQelI::boolean IsUnique() const = 0;
  virtual ZORQelI::boolean IsOptional() const = 0;
  // Bounds of an aggregate, inclusive; UNSET for no bound on that side.
  virtual ZORQelI::Mint LowerBound() const = 0;
  virtual ZORQelI::Mint UpperBound() const = 0;
  virtual void LowerBound(ZORQelI::Mint v) = 0;
  virtual void UpperBound(ZORQelI::Mint v) = 0;

  // --- Kind predicates (non-virtual) ----------------------------------------------
  ZORQelI::boolean IsABoolean() const;   // kind 2
  ZORQelI::boolean IsAnInteger() const;  // kind 4
  ZORQelI::boolean IsAReal() const;      // kind 5
  ZORQelI::boolean IsAnEntity() const;   // kind 12
  ZORQelI::boolean IsAString() const;    // kind 6
  ZORQelI::boolean IsABinary() const;    // kind 7
  ZORQelI::boolean IsAnArray() const;    // kind 8
  ZORQelI::boolean IsAList() const;      // kind 9
  ZORQelI::boolean IsASet() const;       // kind 10
  ZORQelI::boolean IsABag() const;       // kind 11
  // A string or a binary.
  ZORQelI::boolean IsAField() const;
  // An array, list, set or bag.
  ZORQelI::boolean IsAggr() const;
  // An array or a list.
  ZORQelI::boolean IsOrdered() const;
};

#include "ZORQelIEntity.h"
#include "ZORQelIModeler.h"

#endif
