// ZORQelIListUniqueIMP: the implementation of ZORQelIListUnique, an array that
// refuses an element Equal to one it holds.
#ifndef ZORQelIListUniqueIMP_h
#define ZORQelIListUniqueIMP_h

#include "ZORQelI.h"
#include "ZORQelIArrayIMP.h"
#include "ZORQelIObject.h"
#include "ZORQelISet.h"
#include "ZORQelITracer.h"
#include "internal/ZORQelIAccess.h"

// The array part keeps insertion order and keeps the elements alive (its
// member scan marks them); `set` holds the same objects, untraced, for
// duplicate detection in constant time.
//
// Invariants:
//  1. As long as elements enter only through Add: the array part and `set`
//     hold the same objects, the array in insertion order, each once.
//     AppendArray (inherited) writes to the array part only and so bypasses
//     the set: appended elements are neither refused as duplicates nor found
//     by Look(ZORQelIObject) nor removed by Remove(ZORQelIObject).
//  2. Whatever the client does, `set` holds no object that the array part
//     does not hold: the set does not keep its objects alive, so one that
//     left the array would be freed by the next collection while the set
//     still reads it.  An element that leaves the array part through the
//     array's own Remove (a ZORQelIArray& bound to the list) leaves the set
//     too; one whose hash code changed while it was held (a renamed
//     identifier) and that the set can no longer find by equality is
//     looked for by identity.
class QL0KRN_EXPORT ZORQelIListUniqueIMP : public ZORQelIArrayIMP {
  ZORQELI_DECLARE_IMP(ZORQelIListUniqueIMP, ZORQelIArrayIMP)
 public:
  // Array capacity 10, 109 buckets.
  ZORQelIListUniqueIMP();
  // Array capacity size, size buckets (109 when size is below 2).
  explicit ZORQelIListUniqueIMP(integer size);
  // The array part's copy and a copy of the set.
  ZORQelIListUniqueIMP(const ZORQelIListUniqueIMP& o);
  ~ZORQelIListUniqueIMP() override;

  ZORQelIObjectIMP* Clone() const override;
  // Ifalse, changing nothing, for an empty x or when an object Equal to x is
  // held; otherwise appends x and returns Itrue.
  ZORQelI::boolean Add(ZORQelIObject x) override;
  // Empties the array part and the set.
  void RemoveAll() override;

  // Moves the set to a new table of new_size buckets; the order is unchanged.
  void Rehash(integer new_size);
  // Lookup by hash key (not by position: positions are read with Get): a
  // held object whose hash code has the absolute value of o, or an empty
  // handle.
  ZORQelIObject Look(integer o) const;
  // The held object Equal to o (maybe another object than o's), or an empty
  // handle.  An empty o raises ZORQelI::NullPtrAccess.
  ZORQelIObject Look(ZORQelIObject o) const;
  // Removes position i; returns whether the set held that element.  A bad i
  // raises ZORQelI::BoundError and changes nothing.
  ZORQelI::boolean Remove(integer i);
  // Removes the held object Equal to o: Itrue when there was one.  An empty o
  // raises ZORQelI::NullPtrAccess.
  ZORQelI::boolean Remove(ZORQelIObject o);

  // Look(o) for o's object x, which is not null: the held object Equal to x,
  // or null.  The handle's Look calls it with its own argument's object, so
  // that a lookup copies no handle on its way to the set.
  ZORQelIObjectIMP* Held(ZORQelIObjectIMP* x) const;

 private:
  friend struct ZORQelIInternal::Access;  // the library's internal helpers
  friend class ZORQelIArrayIMP;           // reports the elements that leave (Left)
  // An element left the array part (ZORQelIArrayIMP::Remove(int)).  During
  // the list's own removals it is only noted; otherwise it leaves the set
  // too (invariant 2).  No trace frame, no client code.
  void Left(ZORQelIObjectIMP* e) {
    if (ownRemoval_) {
      left_ = e;
      return;
    }
    Forget(e);
  }
  // Takes e out of the set, by identity, unless the array part still holds
  // it (appended twice, say).
  void Forget(ZORQelIObjectIMP* e);

  ZORQelISet set;
  // Set while Remove runs: the element the array part gave up is noted in
  // left_, and the set is brought in line by Remove itself.
  bool ownRemoval_ = false;
  ZORQelIObjectIMP* left_ = nullptr;
};

#endif
