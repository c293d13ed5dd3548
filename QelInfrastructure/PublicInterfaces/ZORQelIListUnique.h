// ZORQelIListUnique: the handle of a duplicate-free, insertion-ordered list.
#ifndef ZORQelIListUnique_h
#define ZORQelIListUnique_h

#include "ZORQelI.h"
#include "ZORQelIArray.h"
#include "ZORQelIListUniqueIMP.h"

// An array (Get, Size, ForEach, Text, ...) whose Add refuses an object Equal
// to one it holds (see ZORQelIListUniqueIMP).  Look and Remove are the
// list's own and hide the array's: they go through the hash set.  A
// default-constructed list is never empty: it makes a new list.
//
// Contract: that of every handle (ZORQelIObject.h).  Look(o) and Remove(o)
// raise ZORQelI::NullPtrAccess for an empty o; Remove(i) raises
// ZORQelI::BoundError outside 0 .. Size()-1 and changes nothing; the other
// operations raise as the array's do (ZORQelIArray.h).  The list keeps its
// objects alive while it is reached.
class QL0KRN_EXPORT ZORQelIListUnique : public ZORQelIArray {
  ZORQELI_DECLARE_HANDLE(ZORQelIListUnique, ZORQelIListUniqueIMP)
 public:
  // A new list of array capacity and bucket count size.  Explicit: an
  // integer never turns into a list by accident.
  explicit ZORQelIListUnique(integer size);

  // The forwarding operations, one row each in ZORQelIListUnique.def.
#define ZORQELI_FORWARD ZORQELI_DECLARE_FORWARDER
#include "ZORQelIListUnique.def"
  ZORQelIObject Look(ZORQelIObject o) const;
};

#endif
