// ZORHashTabZORQelIObjectIMP: a hash table of implementation-object pointers,
// typed over the platform's ZORHashTable.
#ifndef ZORHashTabZORQelIObjectIMP_h
#define ZORHashTabZORQelIObjectIMP_h

#include "ZORCollecRoot.h"
#include "ZORHashTable.h"
#include "ZORQelI.h"
#include "ZORQelIObjectIMP.h"

// Elements are compared by the objects' own value equality: hash(x) is the
// absolute value of x->HashCode(), and compare(a, b) is 0 exactly when
// a->Equal(b) is Itrue.  So no two held elements are Equal.
//
// The elements are raw pointers that the table neither owns nor reports to
// the collector (UNTRACED): whoever fills the table must keep every element
// alive by other means for as long as it is held.
//
// Owns its ZORHashTable.  Carries no trace frames: it sits below the traced
// operations of ZORQelISet, on their hot path.
//
// Raises: nothing of its own.  Allocate, the copy, assignment and Insert
// raise std::bad_alloc when memory runs out (Insert also std::length_error
// past 2^31 elements), and the table then holds what it held;
// whatever an element's HashCode or Equal raises, and whatever f raises in
// ApplyMemberFunct, passes through unchanged, with the table as it was
// before the call (a raising f ends the walk).
class QL0KRN_EXPORT ZORHashTabZORQelIObjectIMP : public ZORCollecRoot {
 public:
  static constexpr const char* __CLASSNAME__ = "ZORHashTabZORQelIObjectIMP";

  // A new table with size buckets, or 109 when size is below 2.
  static ZORHashTabZORQelIObjectIMP* Allocate(int size);
  // An independent table holding the same elements (copy-constructed
  // ZORHashTable).
  ZORHashTabZORQelIObjectIMP(const ZORHashTabZORQelIObjectIMP& x);
  // Unless x is this table: this table's ZORHashTable is assigned x's.
  ZORHashTabZORQelIObjectIMP& operator=(const ZORHashTabZORQelIObjectIMP& x);
  ~ZORHashTabZORQelIObjectIMP() override;

  // Calls f, with no argument, on each element in table order, starting at
  // the held element equal to `start` (nothing is called when none is held),
  // or at the first element when start is null, until a call returns nonzero
  // or the elements run out.  *visited receives the element of the last call
  // and *result its result (both are set to 0 first; either may be null).
  // Returns the number of calls made.
  int ApplyMemberFunct(int (ZORQelIObjectIMP::*f)(), ZORQelIObjectIMP* start,
                       ZORQelIObjectIMP** visited, int* result) const;
  int ApplyMemberFunctConst(int (ZORQelIObjectIMP::*f)() const, ZORQelIObjectIMP* start,
                            ZORQelIObjectIMP** visited, int* result) const;
  // Deletes every element through its virtual destructor, then empties the
  // table.  Never use it on objects of the collector: they are deleted only
  // by its sweep.
  void ApplyDelete();

  // The typed operations of ZORQelISet's hot paths.  x is not null.  The
  // hash code is taken here, by a direct virtual call, rather than through
  // the table's hash function.
  // Adds x unless an element Equal to x is held; true when added.
  bool Insert(ZORQelIObjectIMP* x) { return table->InsertHashed(x, HashOf(x)) != 0; }
  // The held element Equal to x, or null.
  ZORQelIObjectIMP* Locate(ZORQelIObjectIMP* x) const {
    return static_cast<ZORQelIObjectIMP*>(table->LocateHashed(x, HashOf(x)));
  }
  // Removes the held element Equal to x; true when there was one.
  bool Remove(ZORQelIObjectIMP* x) { return table->RemoveHashed(x, HashOf(x)) != 0; }
  // Remove that returns the element it removed (x or another object Equal
  // to x), or null.
  ZORQelIObjectIMP* Take(ZORQelIObjectIMP* x) {
    return static_cast<ZORQelIObjectIMP*>(table->TakeHashed(x, HashOf(x)));
  }

  // The owned table.
  ZORHashTable& Table() { return *table; }
  const ZORHashTable& Table() const { return *table; }

  // The functions given to the owned table.
  static unsigned Hash(const void* x) { return HashOf(static_cast<const ZORQelIObjectIMP*>(x)); }
  static int Compare(const void* a, const void* b);
  // The absolute value of x's HashCode(), computed unsigned so that the most
  // negative code has one too (2^31).
  static unsigned HashOf(const ZORQelIObjectIMP* x) {
    const ZORQelI::integer h = x->HashCode();
    const unsigned u = static_cast<unsigned>(h);
    return h < 0 ? 0u - u : u;
  }

 private:
  explicit ZORHashTabZORQelIObjectIMP(int size);

  template <class F>
  int Apply(F call, ZORQelIObjectIMP* start, ZORQelIObjectIMP** visited, int* result) const;

  ZORHashTable* table;  // owned, never null
};

#endif
