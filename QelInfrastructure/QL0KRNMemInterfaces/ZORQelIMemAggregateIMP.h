// ZORQelIMemAggregateIMP: an array, list, set or bag value of the in-memory
// provider.
#ifndef ZORQelIMemAggregateIMP_h
#define ZORQelIMemAggregateIMP_h

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "QL0KRN.h"
#include "ZORQelIMemExport.h"
#include "ZORQelIMemInstanceIMP.h"

class ZORQelIMemTypeIMP;

// A read-only view of n consecutive values (an aggregate's elements or
// tags), valid until the aggregate gains or loses elements.
template <class T>
struct ZORQelIMemSpan {
  const T* first;
  std::size_t count;
  std::size_t size() const { return count; }
  bool empty() const { return count == 0; }
  const T* data() const { return first; }
  const T& operator[](std::size_t i) const { return first[i]; }
  const T* begin() const { return first; }
  const T* end() const { return first + count; }
};

// The elements of one aggregate value, at 0-based positions, each a value of
// the aggregate type's element type.  An aggregate is either free-standing
// (made by a population's Instanciate) or the value of an attribute or
// element, owned by that slot.
//
// Decisions of this provider:
//  - Positions count from 0 whatever the type's bounds.  An array whose type
//    has both bounds has exactly upper - lower + 1 elements from the start,
//    all unset until written (inverted bounds refuse to make it,
//    ZORQelI::Exception); it neither grows nor shrinks: Insert raises
//    ZORQelI::BoundError and removing an element unsets it.  Other
//    aggregates grow: Insert at either end, or PutInstance at position
//    Size(); the upper bound of a list, set or bag limits the count
//    (ZORQelI::BoundError beyond it).  The lower bound is not enforced while
//    elements are added.
//  - GetInstance and PutInstance check positions (ZORQelI::BoundError);
//    GetInstance gives a cell standing for the element.
//  - Sets, unique lists and unique arrays hold distinct elements: Insert of
//    an element equal to one held answers Ifalse and adds nothing;
//    PutInstance of one raises ZORQelI::Exception.  Equal elements are equal
//    primitives, the same referred instance, or equal aggregates; unset
//    elements are never equal.
//  - Look(v) is the first position holding the value of v, UNSET when none.
//  - ForEach walks positions start .. stop - 1 (checked, ZORQelI::
//    BoundError) in order; Ifalse when the walker stopped it.
//  - Unset and Delete remove every element (a fixed array's become unset);
//    the aggregate stays valid.  PutObject(v) replaces the elements by those
//    of v.  Elements whose type's bounds change later keep their count; the
//    new bounds apply to later insertions.
//  - Clone copies the elements into a free-standing aggregate.
//
// Memory: one allocation of 48 bytes plus nine a value holds the elements an
// aggregate is made with (the exchange reader's aggregates, copies, fixed
// arrays): the elements follow the object, and up to four tags sit in the
// object itself, so three reals take 72 bytes.  The first insertion or
// removal moves the elements to a block of their own that grows by
// doubling; the object then keeps the block's address where its first
// element was.
//
// Collector: the type, the holder and the object elements are scanned by the
// member check.
class QL0KRNMEM_EXPORT ZORQelIMemAggregateIMP final : public ZORQelIMemInstanceIMP {
  ZORQELI_DECLARE_IMP(ZORQelIMemAggregateIMP, ZORQelIMemInstanceIMP)
 public:
  // A new, empty (or, for a bounded array, all unset) aggregate of type
  // `type`, whose changes are told to `holder` (null: none).  REQUIRES: type
  // is an aggregate type of this provider.
  static ZORQelIMemAggregateIMP* Make(ZORQelIMemTypeIMP* type, ZORQelIMemEntityInstanceIMP* holder);
  // A new aggregate of type `type` holding the n detached values (s, tags),
  // whose changes are told to `holder`: the exchange reader's construction,
  // one allocation per vector.  REQUIRES: the values fit the element type
  // and the count fits the type's bounds (the caller checked them).
  static ZORQelIMemAggregateIMP* MakeFilled(ZORQelIMemTypeIMP* type,
                                            ZORQelIMemEntityInstanceIMP* holder,
                                            const ZORQelIMemSlot* s, const std::uint8_t* tags,
                                            int n);
  ~ZORQelIMemAggregateIMP() override;

  // --- ZORQelIObjectIMP -------------------------------------------------------
  ZORQelIObjectIMP* Clone() const override;
  ZORQelI::boolean IsValid() const override;
  void GarbageCollectorMemberCheck() override;

  // --- ZORQelIInstanceIMP -----------------------------------------------------------
  ZORQelIType GetType() const override;
  void Unset() override;
  void Delete() override;
  // GetObject and PutObject(ZORQelIObject) are those of every store that
  // is its own object (ZORQelIMemInstanceIMP).
  using ZORQelIMemInstanceIMP::PutObject;
  void PutObject(ZORQelIInstance obj) override;
  int Size() const override;
  ZORQelIInstance GetInstance(int key) const override;
  void PutInstance(int key, ZORQelIInstance inst) override;
  ZORQelI::boolean ForEach(ZORQelIWalker& x, int start, int stop) override;
  ZORQelI::boolean ForEach(ZORQelIWalker& x) override;
  ZORQelI::boolean IsEmpty() const override;
  ZORQelI::boolean Insert(ZORQelIInstance inst, ZORQelI::boolean atEnd) override;
  ZORQelI::Mint Look(ZORQelIInstance inst) const override;

  // --- Provider side --------------------------------------------------------------
  ZORQelIMemModelerIMP* Modeler() const override;
  int CellCount() const override;
  ZORQelIMemSlot* Slots() override;
  std::uint8_t* Tags() override;
  ZORQelITypeIMP* CellType(int i) const override;
  bool Admits(int i, const ZORQelIMemSlot& s, std::uint8_t tag) const override;
  void RemoveCell(int i) override;
  ZORQelIMemEntityInstanceIMP* Holder() const override;

  // Changes the holder of this aggregate and of the aggregates it holds.
  void SetHolder(ZORQelIMemEntityInstanceIMP* holder);
  // Read access for equality and copies.
  ZORQelIMemSpan<ZORQelIMemSlot> SlotVector() const { return {Elements(), Count()}; }
  ZORQelIMemSpan<std::uint8_t> TagVector() const { return {ElementTags(), Count()}; }
  // Adds the detached value (s, tag) at an end (checks done by the caller).
  void Add(const ZORQelIMemSlot& s, std::uint8_t tag, bool atEnd);
  // Whether the type fixes the element count (an array with both bounds).
  bool IsFixed() const;
  // Whether the elements must be distinct.
  bool IsDistinct() const;

 private:
  ZORQelIMemAggregateIMP(ZORQelIMemTypeIMP* type, ZORQelIMemEntityInstanceIMP* holder, int count);
  // A new aggregate with room for exactly `count` elements after the
  // object, all unset.  REQUIRES: 0 <= count.
  static ZORQelIMemAggregateIMP* Allocate(ZORQelIMemTypeIMP* type,
                                          ZORQelIMemEntityInstanceIMP* holder, int count);
  ZORQelIMemAggregateIMP(const ZORQelIMemAggregateIMP&) = delete;
  ZORQelIMemAggregateIMP& operator=(const ZORQelIMemAggregateIMP&) = delete;
  // Releases every element; a fixed array keeps its count, unset.
  void Clear();
  // Raises ZORQelI::BoundError unless one more element fits.
  void CheckRoom() const;

  // The storage (see Memory).  While the elements follow the object their
  // count is the one it was made with, or 0 once cleared; any other change
  // of the count moves them to a block first (Spill).
  static constexpr std::uint32_t kSpilled = 0x80000000u;
  static constexpr std::size_t kTagsInObject = 4;
  std::size_t Count() const { return sizeBits_ & ~kSpilled; }
  void SetCount(std::size_t n) {
    sizeBits_ = (sizeBits_ & kSpilled) | static_cast<std::uint32_t>(n);
  }
  bool Spilled() const { return (sizeBits_ & kSpilled) != 0; }
  // The block's room for elements (only when Spilled()).
  std::size_t Room() const {
    std::uint32_t room;
    std::memcpy(&room, tags4_, sizeof room);
    return room;
  }
  ZORQelIMemSlot* Trailing() const {
    return reinterpret_cast<ZORQelIMemSlot*>(const_cast<ZORQelIMemAggregateIMP*>(this) + 1);
  }
  ZORQelIMemSlot* Elements() const {
    if (!Spilled()) return Trailing();
    ZORQelIMemSlot* block;
    std::memcpy(&block, Trailing(), sizeof block);
    return block;
  }
  std::uint8_t* ElementTags() const {
    if (Spilled()) return reinterpret_cast<std::uint8_t*>(Elements() + Room());
    if (Count() <= kTagsInObject) return const_cast<std::uint8_t*>(tags4_);
    return reinterpret_cast<std::uint8_t*>(Trailing() + Count());
  }
  // Moves the elements to a new block with room for `room` >= Count()
  // elements, freeing the old block.  Raises std::bad_alloc and changes
  // nothing when there is no memory.
  void Spill(std::size_t room);
  // Makes the storage ready to hold n elements: a change of the count
  // while the elements follow the object spills them; a full block grows.
  void EnsureRoom(std::size_t n);

  // Kept alive by the member check.
  ZORQelIMemTypeIMP* type_;
  ZORQelIMemEntityInstanceIMP* holder_;
  // The element count, and kSpilled once the elements are in a block.
  std::uint32_t sizeBits_;
  // The tags of up to kTagsInObject elements that follow the object; once
  // spilled, the block's room.  A larger aggregate's tags follow its
  // elements.
  std::uint8_t tags4_[kTagsInObject];
  // Followed, in the same allocation, by the elements (at least one slot's
  // room, where a block's address is kept once spilled).
};

#endif
