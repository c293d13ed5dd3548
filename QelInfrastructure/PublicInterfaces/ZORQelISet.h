// ZORQelISet: a hashed set of objects, speaking in handles.
#ifndef ZORQelISet_h
#define ZORQelISet_h

#include "ZORHashTabZORQelIObjectIMP.h"
#include "ZORQelI.h"
#include "ZORQelIObject.h"

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

 private:
  ZORHashTabZORQelIObjectIMP* table;  // owned, never null
};

#endif
