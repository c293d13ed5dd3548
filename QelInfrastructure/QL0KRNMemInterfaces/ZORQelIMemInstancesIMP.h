// ZORQelIMemInstancesIMP: the population of a schema of the in-memory
// provider.
#ifndef ZORQelIMemInstancesIMP_h
#define ZORQelIMemInstancesIMP_h

#include <vector>

#include "QL0KRN.h"
#include "ZORQelIInstancesIMP.h"
#include "ZORQelIMemExport.h"
#include "ZORQelIMemObjectMembers.h"

class ZORQelIMemEntityIMP;
class ZORQelIMemEntityInstanceIMP;
class ZORQelIMemModelerIMP;
class ZORQelIMemTypeIMP;

// The entity instances of one schema at positions 0 .. Size() - 1, in the
// order they were made unless moved by Put, Append and Remove.
//
// Decisions of this provider:
//  - Entity instances are numbered from 1 in their population, in the order
//    they are made; numbers are never reused, and an instance keeps its
//    number when it is removed and put back.  Instances read from an
//    exchange file (ZORQelIMemExchangeReader) keep the file's numbers.
//  - Only entity instances are members.  Values of other kinds made by
//    Instanciate* (primitives, fields, Void, aggregates) are free-standing:
//    they are not counted, listed or numbered.
//  - Instanciate(S) makes an instance of the entity named S, else a value of
//    the kind named S ("Boolean", "Logical", "Integer", "Real", "String",
//    "Binary", "Void"); another name raises ZORQelI::Exception.
//    Instanciate(T) requires T of this wrapper (ZORQelI::InvalidType) and,
//    for an entity, of this schema (ZORQelI::InvalidType); an empty T raises
//    ZORQelI::NullPtrAccess.
//  - Get, Put and Remove check their position (ZORQelI::BoundError).  Put
//    and Append take an entity instance of this schema that is not at
//    another position of the population (ZORQelI::InvalidType for another
//    kind or schema, ZORQelI::Exception when already present); Put at the
//    instance's own position changes nothing, and the instance it replaces
//    leaves the population.  A removed or replaced instance stays alive
//    while referred to.
//  - Look(inst) is the position of inst, or of the instance a reference
//    refers to; UNSET when absent (an empty inst included).  LookById(id) is
//    the member numbered id, an empty handle when there is none; both search
//    in logarithmic time while the positions are in number order (always,
//    unless Put or Append reordered them), linearly otherwise.
//  - Name is the schema's name; Rename raises ZORQelI::InvalidType.
//  - Text is the EXPRESS instance lines of the members.
//  - Clone lists the same instances; instances made through the clone are
//    not seen by the original.
//
// Memory: the population keeps one pointer per member.
//
// Collector: the schema, the members and the types of the Instanciate*
// values are raw pointers scanned by the member check.
class QL0KRNMEM_EXPORT ZORQelIMemInstancesIMP : public ZORQelIInstancesIMP {
  ZORQELI_DECLARE_IMP(ZORQelIMemInstancesIMP, ZORQelIInstancesIMP)
 public:
  explicit ZORQelIMemInstancesIMP(ZORQelIMemModelerIMP* modeler);
  ZORQelIMemInstancesIMP(const ZORQelIMemInstancesIMP& o);
  ZORQELIMEM_OBJECT_MEMBERS(ZORQelIMemInstancesIMP);
  ZORQELIMEM_WRAPPER_OBJECT_MEMBERS;

  // --- ZORQelIInstancesIMP ----------------------------------------------------------
  ZORQelIInstance InstanciateString() const override;
  ZORQelIInstance InstanciateBoolean() const override;
  ZORQelIInstance InstanciateReal() const override;
  ZORQelIInstance InstanciateInteger() const override;
  ZORQelIInstance Instanciate(ZORQelI::string S) const override;
  ZORQelIInstance Instanciate(ZORQelIType T) const override;
  ZORQelIInstance Get(ZORQelI::integer nth) const override;
  void Put(ZORQelI::integer nth, ZORQelIInstance inst) override;
  void Append(ZORQelIInstance inst) override;
  ZORQelI::Mint Look(ZORQelIInstance inst) const override;
  ZORQelIInstance LookById(ZORQelI::integer id) const override;
  void Remove(ZORQelI::integer nth) override;
  ZORQelI::integer Size() const override;

  // --- Provider side --------------------------------------------------------------
  ZORQelIMemModelerIMP* Modeler() const { return modeler_; }
  // The members at their positions.
  const std::vector<ZORQelIMemEntityInstanceIMP*>& Members() const { return items_; }
  // A new instance of e, numbered and appended; the views are told.
  ZORQelIMemEntityInstanceIMP* MakeInstance(ZORQelIMemEntityIMP* e) const;
  // Takes x out of the positions, if it is at one.
  void Withdraw(ZORQelIMemEntityInstanceIMP* x);
  // Appends the instances of an exchange file, read with their file
  // numbers, and tells the views once (NotifyUpdate of the population).
  // Later instances are numbered above the highest.  REQUIRES: xs in
  // increasing number order, none in a population, no number held by a
  // member.
  void AdoptRead(const std::vector<ZORQelIMemEntityInstanceIMP*>& xs);

 private:
  // The position of x, or -1.
  int PositionOf(const ZORQelIMemEntityInstanceIMP* x) const;
  // The member behind inst, checked for Put and Append.
  ZORQelIMemEntityInstanceIMP* Candidate(const ZORQelIInstance& inst) const;
  // Recomputes sorted_ around position i after a change there.
  void NoteOrder(int i);
  // A value of kind k (its type made on first use and kept).
  ZORQelIInstance NewValue(ZORQelI::Types k) const;

  // Kept alive by the member check.
  ZORQelIMemModelerIMP* modeler_;
  // Instanciate is const in the interface but numbers and appends.
  mutable std::vector<ZORQelIMemEntityInstanceIMP*> items_;
  mutable ZORQelI::integer nextId_ = 1;
  // Whether items_ is in increasing number order.
  mutable bool sorted_ = true;
  // The types of the values of the Instanciate* operations: Void, Boolean,
  // Logical, Integer, Real, String, Binary (indexed by kind).  Kept alive by
  // the member check.
  mutable ZORQelIMemTypeIMP* valueTypes_[8] = {};
};

#endif
