// Internal to the library, installed only because ZORQELI_DEFINE_IMP
// (ZORQelIObjectIMP.h) expands to code that uses it: not part of the
// contract, and may change in any release.
//
// What ZORQELI_DEFINE_IMP records of a class when the program is loaded:
// which of the base's virtual operations the class declares itself.
#ifndef ZORQelIInternal_ClassRecord_h
#define ZORQelIInternal_ClassRecord_h

#include <type_traits>
#include <typeinfo>

#include "ZORQelIExport.h"

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

// Whether T has one member named Add (SFINAE: none, or an overload set, is
// false).
template <class T, class = void>
struct HasOneAdd : std::false_type {};
template <class T>
struct HasOneAdd<T, std::void_t<decltype(&T::Add)>> : std::true_type {};

// The operations of ZORQelIObjectIMP (and the array's Add) that This
// declares itself rather than inheriting them from Super: a member pointer
// names the class that declares the member, so &This::Equal and
// &Super::Equal have the same type exactly when This leaves Equal as it is.
template <class T, class S, bool = HasOneAdd<S>::value>
struct AddDeclared {
  static constexpr bool value = false;
};
template <class T, class S>
struct AddDeclared<T, S, true> {
  static constexpr bool value =
      !HasOneAdd<T>::value || !std::is_same<decltype(&T::Add), decltype(&S::Add)>::value;
};
template <class T, class S>
constexpr unsigned DeclaredOperations() {
  return (std::is_same<decltype(&T::IsValid), decltype(&S::IsValid)>::value ? 0u
                                                                               : kDeclaresIsValid) |
         (std::is_same<decltype(&T::Equal), decltype(&S::Equal)>::value ? 0u : kDeclaresEqual) |
         (std::is_same<decltype(&T::HashCode), decltype(&S::HashCode)>::value
              ? 0u
              : kDeclaresHashCode) |
         (std::is_same<decltype(&T::GarbageCollectorMemberCheck),
                       decltype(&S::GarbageCollectorMemberCheck)>::value
              ? 0u
              : kDeclaresMemberCheck) |
         (std::is_same<decltype(&T::Finalizer), decltype(&S::Finalizer)>::value
              ? 0u
              : kDeclaresFinalizer) |
         (AddDeclared<T, S>::value ? kDeclaresAdd : 0u);
}
}  // namespace ZORQelIInternal

#endif
