// ZORQelIClass: the run-time descriptor of an implementation class.
#ifndef ZORQelIClass_h
#define ZORQelIClass_h

#include <typeinfo>

#include "ZORQelI.h"

// One descriptor per implementation class, created on the first ClassId() of
// the class (see ZORQELI_DECLARE_IMP in ZORQelIObjectIMP.h) and never freed.
// Descriptors form a tree through their super class and are compared by
// identity, never by name.
class QL0KRN_EXPORT ZORQelIClass {
 public:
  static constexpr const char* __CLASSNAME__ = "ZORQelIClass";

  // Stores both; `name` is not copied (it must live as long as the program,
  // normally the class's __CLASSNAME__).  A descriptor given itself as super
  // class keeps a null super class and raises ZORQelI::Exception
  // "Hierarchy loop in <name>".
  ZORQelIClass(const ZORQelIClass* superClass_, const char* name);

  // Whether `hierarchy` is this descriptor or derives from it at any depth:
  // X.IsAKindOf(&Y) asks "is Y an X?".  Ifalse for null.
  ZORQelI::boolean IsAKindOf(const ZORQelIClass* hierarchy) const;
  ZORQelI::string Name() const;
  // The name, then " subtype of " and the super class's Text(), recursively.
  ZORQelI::string Text() const;

  const ZORQelIClass* SuperClass() const { return superClass; }

 private:
  const ZORQelIClass* superClass;
  const char* name;
};

namespace ZORQelIInternal {
// Which of the base class's virtual operations a class declares itself, as
// ZORQELI_DEFINE_IMP records it for the library's paths that may skip a
// frame only when the operation run is known to be the library's own (see
// ZORQelIObjectIMP.h).  Bits of RecordClassOperations' `declared`.
enum ClassOperation : unsigned {
  kDeclaresIsValid = 1u << 0,
  kDeclaresEqual = 1u << 1,
  kDeclaresHashCode = 1u << 2,
  kDeclaresMemberCheck = 1u << 3,
  kDeclaresFinalizer = 1u << 4,
  kDeclaresAdd = 1u << 5,  // the array's Add, for classes below ZORQelIArrayIMP
};
// Records, once per class when the program (or the library holding the
// class) is loaded, that `self` derives from `super` and declares the
// operations in `declared`.  No trace frame, no allocation: a class that
// finds the record full is simply not known, and every operation on its
// objects takes its traced path.  Returns true.
QL0KRN_EXPORT bool RecordClassOperations(const std::type_info& self, const std::type_info& super,
                                         unsigned declared) noexcept;
}  // namespace ZORQelIInternal

#endif
