// ZORQelIMemEntityInstanceIMP: an entity instance of the in-memory provider.
#ifndef ZORQelIMemEntityInstanceIMP_h
#define ZORQelIMemEntityInstanceIMP_h

#include <cstddef>
#include <cstdint>

#include "QL0KRN.h"
#include "ZORQelIMemExport.h"
#include "ZORQelIMemInstanceIMP.h"

class ZORQelIMemEntityIMP;

// One instance of an entity, made by its schema's population, numbered from
// 1 in that population (numbers are never reused), holding one value per
// attribute of its entity's layout (ZORQelIMemEntityIMP: the root super
// entity's attributes first, its own last).
//
// Memory: the values live in the same allocation as the object, as eight
// bytes plus a one-byte tag each, after a 40-byte header (the collector's
// fields, the entity, the number, the value count and the state); a string
// value longer than seven bytes adds its own text allocation.  This is why instances are made only
// through Make, which sizes the allocation.
//
// Decisions of this provider:
//  - GetAttr(name) finds the attribute along the whole layout (inherited
//    attributes included); GetAttr(attr) takes the attribute object itself
//    without a name look-up, or, for an attribute that is not in the layout
//    (one of another schema's entity, as the deep copy between schemas
//    passes them), the attribute of the same name.  An unknown name gives
//    an empty handle.  The result is a cell standing for the attribute's
//    value.
//  - ForEach walks the attribute values in layout order; start and stop are
//    layout positions, checked (ZORQelI::BoundError); the result is Ifalse
//    when the walker stopped the walk.
//  - Unset unsets every attribute.  Remove takes the instance out of its
//    population (it keeps its number and may be put back with Append or
//    Put).  Delete takes it out of its population, unsets its attributes and
//    marks it deleted: its IsValid() becomes Ifalse and every reference to
//    it reads as unset; the views are told.
//  - PutObject(v) copies the attribute values of v, an instance of the same
//    entity (else ZORQelI::InvalidType).
//  - Typed getters and setters, and aggregate operations, raise
//    ZORQelI::InvalidType.
//  - Clone makes a new instance of the same entity in the same population,
//    with the next number and a copy of the values.
//
// Collector: the entity and the object values are scanned by the member
// check; the entity keeps the schema, and so the population, alive.
class QL0KRNMEM_EXPORT ZORQelIMemEntityInstanceIMP final : public ZORQelIMemInstanceIMP {
  ZORQELI_DECLARE_IMP(ZORQelIMemEntityInstanceIMP, ZORQelIMemInstanceIMP)
 public:
  // A new instance of entity numbered id, with every value unset, not yet in
  // any population's positions.  Freezes the entity.
  static ZORQelIMemEntityInstanceIMP* Make(ZORQelIMemEntityIMP* entity, ZORQelI::integer id);
  ~ZORQelIMemEntityInstanceIMP() override;

  // --- ZORQelIObjectIMP -------------------------------------------------------
  ZORQelIObjectIMP* Clone() const override;
  ZORQelI::boolean IsValid() const override;
  void GarbageCollectorMemberCheck() override;

  // --- ZORQelIInstanceIMP -----------------------------------------------------------
  ZORQelIType GetType() const override;
  void Unset() override;
  void Delete() override;
  ZORQelI::Mint GetInstanceId() const override;
  // GetObject and PutObject(ZORQelIObject) are those of every store that
  // is its own object (ZORQelIMemInstanceIMP).
  using ZORQelIMemInstanceIMP::PutObject;
  void PutObject(ZORQelIInstance obj) override;
  ZORQelIInstance GetAttr(ZORQelIAttr key) const override;
  ZORQelIInstance GetAttr(ZORQelI::string key) const override;
  ZORQelI::boolean ForEach(ZORQelIWalker& x, int start, int stop) override;
  ZORQelI::boolean ForEach(ZORQelIWalker& x) override;
  void Remove() override;

  // --- Provider side --------------------------------------------------------------
  ZORQelIMemModelerIMP* Modeler() const override;
  ZORQelIMemEntityInstanceIMP* Referent() const override;
  int CellCount() const override;
  ZORQelIMemSlot* Slots() override;
  std::uint8_t* Tags() override;
  ZORQelITypeIMP* CellType(int i) const override;
  // Unsets attribute i.
  void RemoveCell(int i) override;
  ZORQelIMemEntityInstanceIMP* Holder() const override;

  ZORQelIMemEntityIMP* Entity() const { return entity_; }
  ZORQelI::integer Number() const { return id_; }
  bool InPopulation() const { return (state_ & kInPopulation) != 0; }
  void SetInPopulation(bool in);
  bool IsDeleted() const { return (state_ & kDeleted) != 0; }

 private:
  // The printer's reader of attribute values (the source file).
  friend struct ZORQelIMemEntityInstanceReader;
  // Its attribute cells read the values through AttributeSite.
  friend class ZORQelIMemCellIMP;

  static constexpr std::uint8_t kInPopulation = 1;
  static constexpr std::uint8_t kDeleted = 2;

  ZORQelIMemEntityInstanceIMP(ZORQelIMemEntityIMP* entity, ZORQelI::integer id,
                              std::uint16_t count);
  // Copying is Clone's business (it sizes the allocation).
  ZORQelIMemEntityInstanceIMP(const ZORQelIMemEntityInstanceIMP&) = delete;
  ZORQelIMemEntityInstanceIMP& operator=(const ZORQelIMemEntityInstanceIMP&) = delete;
  // Unsets every value, without telling anyone.
  void Clear();
  // The layout position of the attribute, or -1.
  int PositionOf(const ZORQelIObjectIMP* attr) const;
  // The trailing values (Slots() and Tags() without the virtual call).
  ZORQelIMemSlot* SlotArray() const {
    return reinterpret_cast<ZORQelIMemSlot*>(const_cast<ZORQelIMemEntityInstanceIMP*>(this) + 1);
  }
  std::uint8_t* TagArray() const { return reinterpret_cast<std::uint8_t*>(SlotArray() + count_); }
  // The site of attribute i (REQUIRES 0 <= i < count_), read without the
  // virtual store side: the values never move, and the declared types are
  // fixed while the entity is frozen, which it is once it has instances.
  Site AttributeSite(int i) const;

  // Kept alive by the member check.
  ZORQelIMemEntityIMP* entity_;
  ZORQelI::integer id_;
  std::uint16_t count_;
  std::uint8_t state_ = 0;
  // Followed, in the same allocation, by count_ slots and count_ tags.
};

#endif
