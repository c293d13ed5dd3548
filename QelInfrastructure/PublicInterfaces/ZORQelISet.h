// ZORQelISet: a hashed set of objects, speaking in handles.
#ifndef ZORQelISet_h
#define ZORQelISet_h

#include "ZORHashTabZORQelIObjectIMP.h"
#include "ZORQelI.h"
#include "ZORQelIObject.h"
#include "ZORQelITracer.h"

// No two held objects are Equal (hash codes first, then Equal).
//
// A plain value class, not a handle and not collected.  It holds raw
// implementation pointers that the collector does not see (UNTRACED): put
// only objects that something else keeps alive into a set.  Inside
// ZORQelIListUniqueIMP that is the list's array part, which holds the same
// objects and is scanned.
class QL0KRN_EXPORT ZORQelISet {
 public:
  static constexpr const char* __CLASSNAME__ = "ZORQelISet";

  // 109 buckets.
  ZORQelISet();
  // size buckets (109 when size is below 2).  The table grows beyond its
  // initial bucket count as elements are added.
  explicit ZORQelISet(integer size);
  // An independent set holding the same objects.
  ZORQelISet(const ZORQelISet& X);
  ZORQelISet& operator=(const ZORQelISet&) = delete;
  ~ZORQelISet();

  // Moves the objects to a new table of size buckets (109 when below 2).
  void Rehash(integer size);
  // Ifalse for an empty X or when an object Equal to X is held; otherwise X's
  // object is added and the result is Itrue.
  ZORQelI::boolean Add(ZORQelIObject X);
  // The held object Equal to X (not necessarily X's own object), or an empty
  // handle.  An empty X raises ZORQelI::NullPtrAccess.
  ZORQelIObject Look(ZORQelIObject X) const;
  // A held object whose hash code has the absolute value of key, or an empty
  // handle.
  ZORQelIObject Look(integer key) const;
  // Removes the held object Equal to X: Itrue when there was one.  An empty X
  // raises ZORQelI::NullPtrAccess.
  ZORQelI::boolean Remove(ZORQelIObject X);
  void RemoveAll();
  ZORQelI::integer Size() const;

  // Diagnostic: the current bucket count of the table.
  ZORQelI::integer BucketCount() const;

  // --- The same operations on raw objects, for the library's containers ---
  // A handle passed by value costs a root registration and its release; a
  // container that already holds its caller's handle (ZORQelIListUniqueIMP)
  // reaches the set through these instead, so that one call of its own makes
  // no further copy.
  //
  // Add(X): the object added, or null when X is empty or an object Equal to
  // X is held.
  ZORQelIObjectIMP* Insert(const ZORQelIObject& X);
  // Look(X) for X's object x, which is not null: the held object Equal to x,
  // or null.  Inline: it is the whole of a unique list's lookup.
  ZORQelIObjectIMP* Held(ZORQelIObjectIMP* x) const {
    ZORQELI_TRACE("ZORQelIObjectIMP* ZORQelISet::Held(ZORQelIObjectIMP* x) const");
    return table->Locate(x);
  }
  // Remove(X) for X's object x, which is not null; *removed (when given)
  // receives the object removed (x or another object Equal to x), or null.
  ZORQelI::boolean Erase(ZORQelIObjectIMP* x, ZORQelIObjectIMP** removed = nullptr);
  // Removes x itself if it is held, found by identity: no HashCode or Equal
  // is called, so x is found even when its hash code changed while it was
  // held (a renamed identifier).  Reads the whole table; no trace frame.
  void Forget(ZORQelIObjectIMP* x) { table->Table().RemoveIdentical(x); }

 private:
  friend struct ZORQelIInternal::Access;  // the library's internal helpers
  ZORHashTabZORQelIObjectIMP* table;  // owned, never null
};

#endif
