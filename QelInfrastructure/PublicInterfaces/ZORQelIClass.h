// ZORQelIClass: the run-time descriptor of an implementation class.
#ifndef ZORQelIClass_h
#define ZORQelIClass_h

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

#endif
