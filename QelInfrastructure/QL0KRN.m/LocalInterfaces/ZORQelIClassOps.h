// ZORQelIClassOps: what the library knows, per implementation class, of the
// code its virtual operations run.  Not a public header.
//
// ZORQELI_DEFINE_IMP records, for each class, its super class and the
// operations it declares itself (ZORQelIInternal::RecordClassOperations).
// Here those records are resolved, on first use, into which class's code
// each operation of an object of that class runs, and summed up as the
// flags below.  A flag is set only when that is known for certain: a class
// without the macros, one whose chain of super classes is not recorded up
// to the root, or one the record had no room for has no flag set (0), and
// every path that asks takes its traced form.
//
// An object's class is found by typeid, the language's own run-time type of
// the object; the record is a fixed open-addressed table keyed by the
// type_info's address, written only while programs and libraries are
// loaded.  The same class seen through two type_info objects (possible
// across shared libraries) is merely not found through the second one.
#ifndef ZORQelIClassOps_h
#define ZORQelIClassOps_h

#include <cstdint>
#include <typeinfo>

#include "ZORQelIClass.h"
#include "ZORQelIObjectIMP.h"

namespace ZORQelIInternal {

// Which library code an object's operation runs.
enum LibraryOperation : unsigned {
  kKnown = 1u << 0,                 // the class and all its bases are recorded
  kIsValidRoot = 1u << 1,           // ZORQelIObjectIMP::IsValid
  kEqualRoot = 1u << 2,             // ZORQelIObjectIMP::Equal (identity)
  kEqualIdentifier = 1u << 3,       // ZORQelIIdentifierIMP::Equal
  kHashCodeRoot = 1u << 4,          // ZORQelIObjectIMP::HashCode (address)
  kHashCodeIdentifier = 1u << 5,    // ZORQelIIdentifierIMP::HashCode
  kMemberCheckRoot = 1u << 6,       // ZORQelIObjectIMP::GarbageCollectorMemberCheck
  kFinalizerRoot = 1u << 7,         // ZORQelIObjectIMP::Finalizer
  kAddArray = 1u << 8,              // ZORQelIArrayIMP::Add
  kAddListUnique = 1u << 9,         // ZORQelIListUniqueIMP::Add
  kIdentifierClass = 1u << 10,      // exactly ZORQelIIdentifierIMP (not inherited)
  // Id is the macro's (ClassId() of the object's own class) for every known
  // class: a recorded class declares it through ZORQELI_DECLARE_IMP.
};

class ZORQelIClassOps {
 public:
  // The flags of x's class (x not null).  The common case, a class met
  // before, is one probe of a cache.
  static unsigned Of(const ZORQelIObjectIMP* x) { return Of(typeid(*x)); }
  // The flags of x's class when the cache holds them, else 0 (then Of
  // resolves them).
  static unsigned Cached(const ZORQelIObjectIMP* x) {
    const std::type_info& type = typeid(*x);
    const Resolved& r = CacheSlot(type);
    return r.self == &type ? r.flags : 0u;
  }
  // Whether the cache holds the flags of x's class; *flags receives them
  // then (and a meaningless value otherwise).  Cached's test, for a caller
  // that gives up on a miss anyway: one branch instead of a select and a
  // branch.
  static bool TryCached(const ZORQelIObjectIMP* x, unsigned* flags) {
    const std::type_info& type = typeid(*x);
    const Resolved& r = CacheSlot(type);
    *flags = r.flags;
    return r.self == &type;
  }
  QL0KRN_ALWAYS_INLINE static unsigned Of(const std::type_info& type) {
    const Resolved& r = CacheSlot(type);
    if (__builtin_expect(r.self == &type, 1)) return r.flags;
    return Find(type);
  }

  // Room for this many recorded classes (a power of two).
  static constexpr unsigned kCapacity = 1024;

 private:
  friend bool RecordClassOperations(const std::type_info&, const std::type_info&,
                                    unsigned) noexcept;
  struct Entry {
    const std::type_info* self;
    const std::type_info* super;
    unsigned declared;
    unsigned flags;
    bool resolved;
  };
  struct Resolved;
  // resolved_[Slot(&type)], its byte offset computed in two steps.
  static const Resolved& CacheSlot(const std::type_info& type);
  static unsigned Slot(const void* type) {
    const std::uintptr_t a = reinterpret_cast<std::uintptr_t>(type);
    // type_info objects lie a few words apart in their library's data.
    return static_cast<unsigned>(a >> 3) & (kCapacity - 1);
  }
  // The probe beyond the first slot, and the resolution of a record.
  static unsigned Find(const std::type_info& type);
  static Entry* Locate(const std::type_info* type);
  static unsigned Resolve(Entry* e, int depth);
  static Entry table_[kCapacity];
  // The flags of resolved classes, one per slot, each class at its first
  // slot (a class that collides with another there is found through Find):
  // a cache in front of table_.
  struct Resolved {
    const std::type_info* self;  // null: empty
    unsigned flags;
  };
  static Resolved resolved_[kCapacity];
  static_assert(sizeof(Resolved) == 16, "Of's offset is the slot times 16 (Slot: the address / 8)");
};

inline const ZORQelIClassOps::Resolved& ZORQelIClassOps::CacheSlot(const std::type_info& type) {
  const std::uintptr_t offset =
      (reinterpret_cast<std::uintptr_t>(&type) << 1) & ((kCapacity - 1) * sizeof(Resolved));
  return *reinterpret_cast<const Resolved*>(reinterpret_cast<const char*>(resolved_) + offset);
}

}  // namespace ZORQelIInternal

#endif
