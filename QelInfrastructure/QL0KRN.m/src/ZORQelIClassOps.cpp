#include "ZORQelIClassOps.h"

#include "ZORQelIArrayIMP.h"
#include "ZORQelICheck.h"
#include "ZORQelIIdentifierIMP.h"
#include "ZORQelIListUniqueIMP.h"

namespace ZORQelIInternal {

// Zero-initialised: usable by the static initialisers of any library,
// whatever their order.
ZORQelIClassOps::Entry ZORQelIClassOps::table_[ZORQelIClassOps::kCapacity];
ZORQelIClassOps::Resolved ZORQelIClassOps::resolved_[ZORQelIClassOps::kCapacity];

ZORQelIClassOps::Entry* ZORQelIClassOps::Locate(const std::type_info* type) {
  unsigned i = Slot(type);
  for (unsigned probes = 0; probes < kCapacity; ++probes, i = (i + 1) & (kCapacity - 1)) {
    Entry& e = table_[i];
    if (e.self == type) return &e;
    if (e.self == nullptr) return nullptr;
  }
  return nullptr;
}

bool RecordClassOperations(const std::type_info& self, const std::type_info& super,
                           unsigned declared) noexcept {
  using Ops = ZORQelIClassOps;
  unsigned i = Ops::Slot(&self);
  for (unsigned probes = 0; probes < Ops::kCapacity; ++probes, i = (i + 1) & (Ops::kCapacity - 1)) {
    Ops::Entry& e = Ops::table_[i];
    if (e.self == &self) return true;  // recorded by another copy of the same definition
    if (e.self != nullptr) continue;
    e.super = &super;
    e.declared = declared;
    e.flags = 0;
    e.resolved = false;
    e.self = &self;
    return true;
  }
  return true;  // full: the class stays unknown
}

// The code each operation of e's class runs, from its super class's and the
// operations it declares itself.  Only the library's classes whose own
// operations a quiet path knows count; any other declaring class clears the
// flag.
unsigned ZORQelIClassOps::Resolve(Entry* e, int depth) {
  if (e->resolved) return e->flags;
  unsigned base;
  if (*e->super == typeid(ZORQelIObjectIMP)) {
    base = kKnown | kIsValidRoot | kEqualRoot | kHashCodeRoot | kMemberCheckRoot | kFinalizerRoot;
  } else {
    Entry* s = depth < 64 ? Locate(e->super) : nullptr;
    base = s != nullptr ? Resolve(s, depth + 1) : 0u;
  }
  unsigned flags = base & ~kIdentifierClass;
  if ((flags & kKnown) != 0) {
    const unsigned d = e->declared;
    const std::type_info& self = *e->self;
    if (d & kDeclaresIsValid) flags &= ~kIsValidRoot;
    if (d & kDeclaresEqual) {
      flags &= ~(kEqualRoot | kEqualIdentifier);
      if (self == typeid(ZORQelIIdentifierIMP)) flags |= kEqualIdentifier;
    }
    if (d & kDeclaresHashCode) {
      flags &= ~(kHashCodeRoot | kHashCodeIdentifier);
      if (self == typeid(ZORQelIIdentifierIMP)) flags |= kHashCodeIdentifier;
    }
    if (d & kDeclaresMemberCheck) flags &= ~kMemberCheckRoot;
    if (d & kDeclaresFinalizer) flags &= ~kFinalizerRoot;
    if (d & kDeclaresAdd) {
      flags &= ~(kAddArray | kAddListUnique);
      if (self == typeid(ZORQelIListUniqueIMP)) flags |= kAddListUnique;
    }
    if (self == typeid(ZORQelIArrayIMP)) flags |= kAddArray;
    if (self == typeid(ZORQelIIdentifierIMP)) flags |= kIdentifierClass;
  }
  e->flags = flags;
  e->resolved = true;
  return flags;
}

unsigned ZORQelIClassOps::Find(const std::type_info& type) {
  Entry* e = Locate(&type);
  if (e == nullptr) return 0;
  const unsigned flags = Resolve(e, 0);
  Resolved& r = resolved_[Slot(&type)];
  r.flags = flags;
  r.self = &type;
  ZORQELI_DCHECK((flags & ~kKnown) == 0 || (flags & kKnown) != 0,
                 "a class's operations are known only with the class");
  return flags;
}

}  // namespace ZORQelIInternal
