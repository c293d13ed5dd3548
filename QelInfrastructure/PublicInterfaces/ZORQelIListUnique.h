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
