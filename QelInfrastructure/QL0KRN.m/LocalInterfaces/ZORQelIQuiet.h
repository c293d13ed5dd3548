// ZORQelIQuiet: the hottest container and handle paths without the trace
// frames that nobody can observe.
//
// Not a public header.
//
// When tracing is off for good (ZORQelITracer::Silent()), a frame writes no
// line, and a dump lists it only while it is open; so a frame that encloses
// no code of the client's can never be observed.  A quiet path does the work
// of a chain of traced library operations without those inner frames, and
// is taken only when both hold:
//  - ZORQelITracer::Silent();
//  - every virtual operation the chain would call is known to be the
//    library's own code that calls nothing else (the flags of the object's
//    class, ZORQelIClassOps), or is not called at all.
// Otherwise the traced operations run as written.  The operation that takes
// a quiet path keeps its own frame whenever it can call client code;
// errors are always raised from the traced operations, so their dumps are
// unchanged.
//
// The test is the same with every compiler: the flags that
// ZORQELI_DEFINE_IMP recorded for the object's class.
#ifndef ZORQelIQuiet_h
#define ZORQelIQuiet_h

#include <cstdint>

#include "ZORHashTabZORQelIObjectIMP.h"
#include "ZORQelIAccessKey.h"
#include "ZORQelIArrayIMP.h"
#include "ZORQelIClassOps.h"
#include "ZORQelIIdentifierIMP.h"
#include "ZORQelIListUniqueIMP.h"
#include "ZORQelIObject.h"
#include "ZORQelIObjectIMP.h"
#include "ZORQelISet.h"
#include "ZORQelITracer.h"


namespace ZORQelIInternal {

// The root class's HashCode: the low 32 bits of the address as a signed
// value, shifted arithmetically.  Shared by that operation and the quiet
// lookups.
inline ZORQelI::integer AddressHash(const ZORQelIObjectIMP* x) {
  const std::uint32_t low = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(x));
  return static_cast<std::int32_t>(low) >> 2;
}

struct Access::Quiet {
  // The table's hash value for hash code h: its absolute value, computed
  // unsigned (the most negative code has one too).
  static unsigned TableHash(ZORQelI::integer h) {
    const unsigned u = static_cast<unsigned>(h);
    return h < 0 ? 0u - u : u;
  }

  // h's object, or null.
  static ZORQelIObjectIMP* ObjectOf(const ZORQelIObject& h) { return h.objectIMP; }

  // A handle on x (null: empty), registered as every handle is, without the
  // constructor's frame.
  QL0KRN_ALWAYS_INLINE static ZORQelIObject Handle(ZORQelIObjectIMP* x) {
    return ZORQelIObject::Unframed(x);
  }

  // Match (below) as the tables' inline equality.
  struct MatchFn {
    int operator()(const void* held, const void* key) const;
  };

  // The flags of x's class (ZORQelIClassOps).
  static unsigned Ops(const ZORQelIObjectIMP* x) { return ZORQelIClassOps::Of(x); }
  static bool RootIsValid(const ZORQelIObjectIMP* x) { return (Ops(x) & kIsValidRoot) != 0; }
  // Whether x is exactly an identifier: then its Id is the identifier's and
  // its Equal compares descriptors, hash codes and names only.
  static bool PlainIdentifier(unsigned ops) { return (ops & kIdentifierClass) != 0; }
  // held->Equal(key) for a key that passed LibraryKey, as the table's
  // compare would ask it, when the answer needs no call: 1 (Itrue), 0
  // (Ifalse), or -1 when held's Equal is not known to be the library's or
  // would call an operation that is not.
  static int Match(const void* heldElement, const void* keyElement) {
    if (heldElement == keyElement) return 1;  // the key's Equal holds itself
    const ZORQelIObjectIMP* held = static_cast<const ZORQelIObjectIMP*>(heldElement);
    const unsigned heldOps = Ops(held);
    if ((heldOps & kEqualRoot) != 0) return 0;  // identity
    const ZORQelIObjectIMP* key = static_cast<const ZORQelIObjectIMP*>(keyElement);
    if (!PlainIdentifier(heldOps) || !PlainIdentifier(Ops(key))) return -1;
    // Same descriptor (both are exactly identifiers); then the hash codes
    // (equal absolute values brought them together, not equal values), then
    // the names.
    const ZORQelIIdentifierIMP* a = static_cast<const ZORQelIIdentifierIMP*>(held);
    const ZORQelIIdentifierIMP* b = static_cast<const ZORQelIIdentifierIMP*>(key);
    return a->hash == b->hash && a->name == b->name ? 1 : 0;
  }
  // 1 when x, a key that passed LibraryKey, is "settled": its Equal with any
  // other settled object is Ifalse whenever both are held in one table, and
  // neither Equal calls anything but the library's own code.  True of plain
  // identifiers, whose Equal is symmetric (the table asked one of the two
  // about the other when the later one came in), and of objects of a known
  // class with the root class's Equal (identity), whose Id (the one a plain
  // identifier's Equal asks for) is the library's.  The tables keep this as
  // the element's tag (LocateSelf).  0 otherwise.
  static unsigned Settled(unsigned ops) {
    return (ops & (kIdentifierClass | kEqualRoot)) != 0 ? 1u : 0u;
  }
  // Whether x's HashCode and Equal (ops: the flags of x's class) are both
  // the identifier's or the root class's (each Equal holds an object Equal
  // to itself, and calls only Id and HashCode, which Match checks); then
  // *hash receives x->HashCode().
  QL0KRN_ALWAYS_INLINE static bool LibraryKey(const ZORQelIObjectIMP* x, unsigned ops,
                                              ZORQelI::integer* hash) {
    // The identifier's pair first, in one test: the commonest key.
    constexpr unsigned kIdentifierKey = kEqualIdentifier | kHashCodeIdentifier;
    if ((ops & kIdentifierKey) == kIdentifierKey) {
      *hash = static_cast<const ZORQelIIdentifierIMP*>(x)->hash;
      return true;
    }
    if ((ops & (kEqualIdentifier | kEqualRoot)) == 0) return false;
    if ((ops & kHashCodeIdentifier) != 0) {
      *hash = static_cast<const ZORQelIIdentifierIMP*>(x)->hash;
      return true;
    }
    if ((ops & kHashCodeRoot) != 0) {
      *hash = AddressHash(x);
      return true;
    }
    return false;
  }
  // array->Add(x's handle) for x not null, when it can be done quietly:
  // 1 (Itrue) or 0 (Ifalse) is Add's result; -1 when it cannot (nothing
  // changed).  Growing the storage is left to the traced path, so that an
  // allocation failure raises with its usual frames.
  QL0KRN_ALWAYS_INLINE static int Add(ZORQelIArrayIMP* array, ZORQelIObjectIMP* x) {
    if (array->size >= array->capacity) return -1;
    const unsigned arrayOps = Ops(array);
    if ((arrayOps & kAddArray) != 0) {
      array->elements[array->size++] = x;
      return 1;
    }
    // The unique list calls x's IsValid and HashCode, and the held
    // objects' Equal (Match) only on a hash match.
    ZORQelI::integer h;
    if ((arrayOps & kAddListUnique) == 0) return -1;
    const unsigned ops = Ops(x);
    if ((ops & kIsValidRoot) == 0 || !LibraryKey(x, ops, &h)) return -1;
    ZORQelIListUniqueIMP* list = static_cast<ZORQelIListUniqueIMP*>(array);
    const int added = list->set.table->Table().TryInsert(x, TableHash(h), MatchFn(), Settled(ops));
    if (added == 1) list->elements[list->size++] = x;
    return added;
  }
  // set.Add(x's handle) for x not null, when it can be done quietly: as Add.
  QL0KRN_ALWAYS_INLINE static int Add(ZORQelISet& set, ZORQelIObjectIMP* x) {
    ZORQelI::integer h;
    const unsigned ops = Ops(x);
    if ((ops & kIsValidRoot) == 0 || !LibraryKey(x, ops, &h)) return -1;
    return set.table->Table().TryInsert(x, TableHash(h), MatchFn(), Settled(ops));
  }

  // Set lookup of x (not null) when it can be answered quietly: true, and
  // *held is the held object Equal to x or null.  False when x's hash code
  // or equality is not the library's own, or when Match cannot tell about a
  // held object with x's hash code (only its Equal, maybe the client's,
  // can).
  QL0KRN_ALWAYS_INLINE static bool Held(const ZORQelISet& set, const ZORQelIObjectIMP* x,
                                        ZORQelIObjectIMP** held) {
    ZORQelI::integer h;
    const unsigned ops = Ops(x);
    if (!LibraryKey(x, ops, &h)) return false;
    const ZORHashTable& table = set.table->Table();
    const unsigned hash = TableHash(h);
    // A held settled key is found on the slots alone when the objects
    // before it are settled too: none of them is Equal to it.
    if (Settled(ops) != 0) {
      if (void* self = table.LocateSelf(x, hash)) {
        *held = static_cast<ZORQelIObjectIMP*>(self);
        return true;
      }
    }
    return HeldByMatch(table, x, hash, held);
  }
  // The part of Held that needs no call: x's object when x is a settled
  // key (its class's flags already cached) that LocateSelf finds held; null
  // otherwise, and then Held has the answer.  Without a call, its caller's
  // hit path saves no registers.
  QL0KRN_ALWAYS_INLINE static ZORQelIObjectIMP* HeldSelf(const ZORQelISet& set,
                                                         const ZORQelIObjectIMP* x) {
    ZORQelI::integer h;
    unsigned ops;
    if (!ZORQelIClassOps::TryCached(x, &ops)) return nullptr;
    // A plain identifier with the identifier's pair, in one test: the
    // commonest key, settled and a library key both.
    constexpr unsigned kPlainKey = kIdentifierClass | kEqualIdentifier | kHashCodeIdentifier;
    if ((ops & kPlainKey) == kPlainKey)
      h = static_cast<const ZORQelIIdentifierIMP*>(x)->hash;
    else if (Settled(ops) == 0 || !LibraryKey(x, ops, &h))
      return nullptr;
    return static_cast<ZORQelIObjectIMP*>(set.table->Table().LocateSelf(x, TableHash(h)));
  }
  // The rest of Held, out of line (ZORQelISet.cpp): a key that is not held,
  // or one that shares its hash code with an object not settled.  Apart, so
  // that the lookup of a held settled key keeps no set-up for it.
  static bool HeldByMatch(const ZORHashTable& table, const ZORQelIObjectIMP* x, unsigned hash,
                          ZORQelIObjectIMP** held);
  static const ZORQelISet& SetOf(const ZORQelIListUniqueIMP* list) { return list->set; }
};

// The quiet paths, as the library's sources name them.
using Quiet = Access::Quiet;

inline int Quiet::MatchFn::operator()(const void* held, const void* key) const {
  return Match(held, key);
}

}  // namespace ZORQelIInternal

#endif
