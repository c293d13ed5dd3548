// ZORQelIArrayIMP: the implementation of ZORQelIArray, a growable sequence of
// objects.
#ifndef ZORQelIArrayIMP_h
#define ZORQelIArrayIMP_h

#include <cstddef>

#include "ZORQelI.h"
#include "ZORQelIObject.h"
#include "ZORQelIObjectIMP.h"
#include "ZORQelITracer.h"

class ZORQelIArrayWalker;
class ZORQelIPrint;

// An ordered sequence of implementation objects, duplicates allowed.
// Searching compares hash codes first and then calls the stored element's
// Equal with the searched object, so value equality is the elements' own.
//
// Invariants:
//  1. 0 <= size <= capacity; the elements are elements[0 .. size-1] and none
//     of them is null (each came from a non-empty handle).
//  2. elements is a block owned by this object, allocated through
//     the slot allocator (std::realloc outside the library's own tests)
//     with room for room >= capacity pointers (at least one).
//  3. The elements are not owned: they stay alive because the array's member
//     scan marks them (GarbageCollectorMemberCheck).  An array holds raw
//     pointers, not handles, so it adds no roots to the holder tables.
//
// Growth: Add grows the capacity by a fixed step of 64 slots (10, 74, 138,
// ...).  The block behind it grows by half its room whenever that is more
// than the step, so a step usually finds its room already there and filling
// an array costs amortised constant time per element, with one reallocation
// per 1.5x; realloc moves large blocks by remapping pages rather than
// copying.  The constructors and AppendArray size the storage exactly.
class QL0KRN_EXPORT ZORQelIArrayIMP : public ZORQelIObjectIMP {
  ZORQELI_DECLARE_IMP(ZORQelIArrayIMP, ZORQelIObjectIMP)
 public:
  // Capacity 10, empty.
  ZORQelIArrayIMP();
  // Capacity top (a negative top is taken as 0), empty.
  explicit ZORQelIArrayIMP(integer top);
  // Storage of exactly o's size; the element pointers are copied (the
  // elements themselves are shared).  Capacity becomes o's size.
  ZORQelIArrayIMP(const ZORQelIArrayIMP& o);
  ZORQelIArrayIMP& operator=(const ZORQelIArrayIMP&) = delete;
  // Frees the storage, not the elements.
  ~ZORQelIArrayIMP() override;

  // A new array made by the copy constructor.
  ZORQelIObjectIMP* Clone() const override;
  // "(" then the elements separated by "," then ")"; an element whose
  // IsValid() is not Itrue prints as "$".  An array that contains itself,
  // directly or through its elements' texts, raises ZORQelI::Exception when
  // its text reaches it again, and so does nesting too deep for the calling
  // thread's stack; what was printed before stays in the printer.
  void Text(ZORQelIPrint& o) const override;
  // Marks every element (and so scans its members).
  void GarbageCollectorMemberCheck() override;

  // Appends x's object; always Itrue.  An empty x raises
  // ZORQelI::NullPtrAccess and changes nothing.
  virtual ZORQelI::boolean Add(ZORQelIObject x);
  // Size 0; the storage and the capacity stay.
  virtual void RemoveAll();

  // The first position at or after pos (a negative pos counts as 0) whose
  // element equals o, or ZORQelI::Mint::UNSET.  An empty o raises
  // ZORQelI::NullPtrAccess.
  ZORQelI::Mint Look(ZORQelIObject o, int pos) const;
  ZORQelI::Mint Look(ZORQelIObject o) const;
  // Removes the element Look(o, pos) finds, if any; returns its position or
  // ZORQelI::Mint::UNSET.
  ZORQelI::Mint Remove(ZORQelIObject o, int pos);
  ZORQelI::Mint Remove(ZORQelIObject o);
  // Removes position pos (later elements move down, in order); a bad pos
  // raises ZORQelI::BoundError and changes nothing.  The storage is kept.
  void Remove(int pos);
  // Appends x's elements (x may be this array: its elements then appear
  // twice).  The new storage has exactly the new size.  REQUIRES: x is not
  // null (the handle passes its argument's IMP(), which raises when empty).
  void AppendArray(ZORQelIArrayIMP* x);

  // Calls ctx.Walk on positions start .. stop-1 (see ZORQelIArrayWalker);
  // Ifalse as soon as a Walk returns Ifalse, else Itrue.  A bad range raises
  // ZORQelI::BoundError before any call.  The array stays alive until the
  // walk returns, even when a Walk drops every handle on it and collects.
  ZORQelI::boolean ForEach(ZORQelIArrayWalker& ctx, int start, int stop);
  ZORQelI::boolean ForEach(ZORQelIArrayWalker& ctx, int start, int stop) const;

  // Writes "Array dumped : " and the range of positions to standard error.
  void Dump() const;
  // Raises ZORQelI::BoundError(pos, pos, 0, size-1) unless 0 <= pos < size.
  void CheckBounds(int pos) const;
  // Raises ZORQelI::BoundError(start, stop-1, 0, size-1) unless
  // 0 <= start <= stop <= size.
  void CheckRange(int start, int stop) const;
  // A new handle on the element at pos; a bad pos raises ZORQelI::BoundError.
  ZORQelIObject Get(int pos) const;
  ZORQelI::integer Size() const;

  // New slot storage of count slots (uninitialised).  Raises
  // ZORQelI::NullPtrAccess when the allocation fails.  Release it with
  // std::free.
  static ZORQelIObjectIMP** Allocate(integer count);
  // Copies count slots from src to dest; the ranges may overlap.  A null dest
  // or src raises ZORQelI::NullPtrAccess.
  static void RawCopy(ZORQelIObjectIMP** dest, ZORQelIObjectIMP** src, integer count);

  // Diagnostic: the number of slots allocated.
  ZORQelI::integer Capacity() const;

 protected:
  // Add for an object already taken out of its handle (not null): what a
  // subclass's Add calls once it has checked the element itself.
  void Append(ZORQelIObjectIMP* element) {
    ZORQELI_TRACE("void ZORQelIArrayIMP::Append(ZORQelIObjectIMP* element)");
    if (size >= capacity) Resize(static_cast<long long>(capacity) + growthStep);
    elements[size++] = element;
  }

  integer size;
  integer capacity;
  ZORQelIObjectIMP** elements;

 private:
  // The slots the block has room for (invariant 2).
  integer room;
  // Set while Text runs on this array: an element whose text reaches this
  // array again (the array contains itself) is refused rather than printed
  // without end.
  bool printing_ = false;
  friend struct ZORQelIInternal::Access;  // the library's internal helpers
  // The fixed growth of Add, in slots.
  static constexpr integer growthStep = 64;
  // Makes the capacity newCapacity (larger than it), keeping the elements;
  // reallocates the block only when its room is short.
  void Resize(long long newCapacity);
};

#endif
