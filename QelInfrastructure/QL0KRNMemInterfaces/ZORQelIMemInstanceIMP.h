// ZORQelIMemInstanceIMP: the base of every instance and value of the
// in-memory provider.
#ifndef ZORQelIMemInstanceIMP_h
#define ZORQelIMemInstanceIMP_h

#include <cstddef>
#include <cstdint>
#include <new>

#include "QL0KRN.h"
#include "ZORQelIInstanceIMP.h"
#include "ZORQelIMemExport.h"
#include "ZORQelIMemSlot.h"

class ZORQelIMemAggregateIMP;
class ZORQelIMemEntityInstanceIMP;
class ZORQelIMemModelerIMP;

// The provider's instances come in four classes:
//   ZORQelIMemEntityInstanceIMP  an entity instance: one value per attribute;
//   ZORQelIMemAggregateIMP       an array, list, set or bag: one value per
//                                element;
//   ZORQelIMemValueIMP           a free-standing primitive or Void value;
//   ZORQelIMemCellIMP            the instance that stands for one value held
//                                by an entity instance (an attribute) or by
//                                an aggregate (an element).
// The first three are stores: they keep their values in slots
// (ZORQelIMemSlot), a value itself, not an object per value.  A cell is made
// on demand, by GetAttr and GetInstance; reading or writing through it reads
// or writes the store's slot, so `inst.PutAttr(a, v)`, which is
// `inst.GetAttr(a).PutObject(v)`, sets the attribute.
//
// Decisions of this provider (the operations here are those of a value and
// of a cell; the other classes say what they change):
//  - An unset value is an instance whose IsValid() is Ifalse; it prints "$".
//    Reading it with a typed getter raises ZORQelI::Exception ("unset").
//  - Typed getters and setters check the kind of the value's declared type:
//    GetInt/PutInt on Integer, GetReal/PutReal on Real, GetBoolean/
//    PutBoolean on Boolean and Logical, GetString/PutString on String and
//    Binary.  Any other instance raises ZORQelI::InvalidType.  Strings are
//    checked against the width of their field (ZORQelI::BoundError).
//  - PutObject(v) gives the value of v: an empty or unset v unsets; a
//    primitive is copied when v has the same kind; an entity-typed value
//    refers to v's entity instance (v itself, or the instance v refers to),
//    which must be of that entity or of one of its sub-entities; an
//    aggregate-typed value becomes a copy of v's elements, each written as
//    by PutObject.  Anything else raises ZORQelI::InvalidType and changes
//    nothing.  Values are never shared: writing one never changes another.
//  - A value of kind Void carries any library object: PutObject(obj) keeps
//    obj (an empty or invalid obj unsets), GetObject gives it back.
//    PutObject(obj) on another kind accepts an instance (as
//    PutObject(instance)) or an empty handle (unsets).
//  - GetObject: the carried object of a Void value, the referred entity
//    instance of a reference, the aggregate of an aggregate value, the
//    instance itself for entity instances and aggregates; an empty handle
//    for primitives and unset values.
//  - A reference to an entity instance answers as the instance it refers
//    to: its GetInstanceId, HashCode, GetAttr, GetType, and Equal in both
//    directions, so hashed containers and instance lists find the referred
//    instance through the reference.  A reference to a deleted instance
//    reads as unset.
//  - Aggregate operations on an aggregate-typed value reach its aggregate;
//    an unset one reads as empty and is made by the first write.
//  - Text is the EXPRESS instance notation of the value (through the
//    printer's instance overload): "#3" for an entity instance, "7",
//    "1.500000", "'text'", "\"0A1B\"", ".T.", "(1,2)", "$"; so
//    GetSymbolicName of an entity instance is like "Figure#3".
//  - Name is the name of the instance's type; Rename raises
//    ZORQelI::InvalidType (instances are named by their type).
//  - Unset and Delete of a value or cell make it unset; Remove of a cell
//    takes an element out of its aggregate, and unsets an attribute; Remove
//    of a free value raises ZORQelI::InvalidType.
//  - No proxy support: the library's refusing proxy operations apply.
class QL0KRNMEM_EXPORT ZORQelIMemInstanceIMP : public ZORQelIInstanceIMP {
  ZORQELI_DECLARE_IMP(ZORQelIMemInstanceIMP, ZORQelIInstanceIMP)
 public:
  ZORQelIMemInstanceIMP();
  ZORQelIMemInstanceIMP(const ZORQelIMemInstanceIMP& o);
  ~ZORQelIMemInstanceIMP() override;

  // The allocation of a store whose values follow the object in the same
  // block (entity instances, aggregates): `new (Extra{bytes}) T(...)`.
  // Every other instance takes the ordinary allocation.
  struct Extra {
    std::size_t bytes;
  };
  static void* operator new(std::size_t size) { return ::operator new(size); }
  static void* operator new(std::size_t size, Extra extra) {
    return ::operator new(size + extra.bytes);
  }
  static void operator delete(void* p) { ::operator delete(p); }
  static void operator delete(void* p, Extra) { ::operator delete(p); }

  // --- ZORQelIObjectIMP -------------------------------------------------------
  void Text(ZORQelIPrint& ot) const override;
  ZORQelI::boolean IsValid() const override;
  // Identity, or two instances that are or refer to the same entity instance.
  ZORQelI::boolean Equal(ZORQelIObjectIMP* o) const override;

  // --- ZORQelIWrapperObjectIMP ------------------------------------------------
  ZORQelIWrapper& Wrapper() const override;
  ZORQelI::string Name() const override;
  void Rename(ZORQelI::string x) override;

  // --- ZORQelIInstanceIMP -----------------------------------------------------------
  ZORQelIType GetType() const override;
  void Unset() override;
  void Delete() override;
  ZORQelI::integer GetInt() const override;
  ZORQelI::real GetReal() const override;
  ZORQelI::boolean GetBoolean() const override;
  ZORQelI::string GetString() const override;
  ZORQelI::Mint GetInstanceId() const override;
  void PutInt(ZORQelI::integer v) override;
  void PutReal(ZORQelI::real v) override;
  void PutBoolean(ZORQelI::boolean bo) override;
  void PutString(ZORQelI::string s) override;
  ZORQelIObject GetObject() const override;
  void PutObject(ZORQelIObject obj) override;
  void PutObject(ZORQelIInstance obj) override;
  int Size() const override;
  ZORQelIInstance GetInstance(int key) const override;
  void PutInstance(int key, ZORQelIInstance inst) override;
  ZORQelIInstance GetAttr(ZORQelIAttr key) const override;
  ZORQelIInstance GetAttr(ZORQelI::string key) const override;
  ZORQelI::boolean ForEach(ZORQelIWalker& x, int start, int stop) override;
  ZORQelI::boolean ForEach(ZORQelIWalker& x) override;
  ZORQelI::boolean IsEmpty() const override;
  ZORQelI::boolean Insert(ZORQelIInstance inst, ZORQelI::boolean atEnd) override;
  void Remove() override;
  ZORQelI::Mint Look(ZORQelIInstance inst) const override;

  // --- Provider side --------------------------------------------------------------
  // The schema the instance belongs to.
  virtual ZORQelIMemModelerIMP* Modeler() const = 0;
  // The entity instance this instance is or refers to; null for other
  // values, unset references and deleted instances.
  virtual ZORQelIMemEntityInstanceIMP* Referent() const;

  // The store side: stores (entity instances, aggregates, free values) keep
  // CellCount() values in Slots()/Tags(), each declared of CellType(i).
  virtual int CellCount() const;
  virtual ZORQelIMemSlot* Slots();
  virtual std::uint8_t* Tags();
  // The declared type of value i; null when it has none.
  virtual ZORQelITypeIMP* CellType(int i) const;
  // Whether value i may become (s, tag): aggregates of distinct elements
  // refuse an element equal to another one.
  virtual bool Admits(int i, const ZORQelIMemSlot& s, std::uint8_t tag) const;
  // Removes value i (Remove of its cell).
  virtual void RemoveCell(int i);
  // The entity instance told when a value of this store changes; null when
  // the store belongs to none.
  virtual ZORQelIMemEntityInstanceIMP* Holder() const;
  // Tells the holder's views that a value changed.
  void Changed() const;
  // Replaces value i by the detached value (s, tag), releasing the old one;
  // an aggregate stored gets this store's holder.  Tells the views unless
  // `tell` is false.  REQUIRES: Admits(i, s, tag).
  void Store(int i, const ZORQelIMemSlot& s, std::uint8_t tag, bool tell = true);
  // Admits, then Store; a refused value is released and raises
  // ZORQelI::Exception.
  void Write(int i, const ZORQelIMemSlot& s, std::uint8_t tag);

  // A detached value of declared type `declared` holding the value of v
  // (PutObject's rules).  A detached aggregate belongs to no holder until it
  // is stored.  On a raise nothing is left allocated but garbage.
  static void MakeValue(ZORQelITypeIMP* declared, ZORQelIInstance v, ZORQelIMemSlot& s,
                        std::uint8_t& tag);
  // A detached copy of (from, fromTag): texts and aggregates are copied,
  // references and carried objects are not.
  static void CopySlot(const ZORQelIMemSlot& from, std::uint8_t fromTag, ZORQelIMemSlot& to,
                       std::uint8_t& toTag);
  // Whether the slot holds the value of v (unset matches nothing).
  static bool Matches(const ZORQelIMemSlot& s, std::uint8_t tag, const ZORQelIInstance& v);
  // The provider's instance behind v, or null (v empty, or of another
  // provider).
  static ZORQelIMemInstanceIMP* Of(const ZORQelIInstance& v);
  // Raises ZORQelI::Exception for a read of an unset value.
  [[noreturn]] static void RaiseUnset();
  // Raises ZORQelI::InvalidType.
  [[noreturn]] static void RaiseKind(int line);

 protected:
  // Where a value is kept: position `index` of `store`, the slot and tag at
  // that position, and the value's declared type (null when it has none).
  // Valid until the store gains or loses values (aggregates move their
  // elements; an entity instance never moves its values).
  struct Site {
    ZORQelIMemInstanceIMP* store;
    int index;
    ZORQelIMemSlot* slot;
    std::uint8_t* tag;
    ZORQelITypeIMP* type;
  };
  // The site of the value this instance stands for: position 0 of itself
  // for a free value, its store's position for a cell; false for entity
  // instances and aggregates, whose value operations then raise
  // ZORQelI::InvalidType.
  virtual bool Locate(Site& site) const;
  // The site of value `index` of `store`, read through the store side.
  static Site SiteOf(ZORQelIMemInstanceIMP* store, int index);

 private:
  // Locate, raising ZORQelI::InvalidType when this is no value.
  void Need(Site& site) const;
  // The kind of the site's declared type; -1 when it has none.
  static int KindOf(const Site& site);
  // Need, then checks the declared kind is k1 or k2 (ZORQelI::InvalidType).
  void NeedKind(Site& site, int k1, int k2) const;
  // The entity instance a site refers to; null unless it holds a reference
  // to an instance that is not deleted.
  static ZORQelIMemEntityInstanceIMP* ReferentAt(const Site& site);
  // The aggregate of an aggregate-typed value, null when it is unset.
  // Raises ZORQelI::InvalidType for a value of another kind.
  ZORQelIMemAggregateIMP* AggregateOf() const;
  // A new, detached aggregate for this unset aggregate-typed value; Adopt
  // stores it once it was written successfully.
  ZORQelIMemAggregateIMP* NewAggregate() const;
  void Adopt(ZORQelIMemAggregateIMP* a) const;
  // The entity instance of a reference; raises ZORQelI::InvalidType for
  // another kind and ZORQelI::Exception when unset.
  ZORQelIMemEntityInstanceIMP* ReferenceOf() const;
};

#endif
