#include "ZORQelIInstanceIMP.h"

#include <iostream>

#include "ZORQelIInvalidType.h"
#include "ZORQelIRaise.h"

ZORQELI_DEFINE_ABSTRACT_IMP(ZORQelIInstanceIMP, ZORQelIWrapperObjectIMP)

ZORQelI::integer ZORQelIInstanceIMP::HashCode() const {
  ZORQELI_TRACE("ZORQelI::integer ZORQelIInstanceIMP::HashCode() const");
  // Equality stays identity, and one object has one number, so equal objects
  // keep equal hash codes.
  return GetInstanceId();
}

ZORQelI::string ZORQelIInstanceIMP::GetSymbolicName() const {
  ZORQELI_TRACE("ZORQelI::string ZORQelIInstanceIMP::GetSymbolicName() const");
  if (IsValid() != ZORQelI::Itrue) return "$";
  const ZORQelIType type = GetType();
  if (type.IsAnEntity() == ZORQelI::Itrue) {
    // The name is taken before the text is made.
    const ZORQelI::string name = type.Name();
    return name + ToString();
  }
  return ToString();
}

ZORQelIInstance ZORQelIInstanceIMP::GetAttr(ZORQelIAttr key) const {
  ZORQELI_TRACE("ZORQelIInstance ZORQelIInstanceIMP::GetAttr(ZORQelIAttr key) const");
  const ZORQelI::string name = key.Name();
  return GetAttr(name);
}

ZORQelI::integer ZORQelIInstanceIMP::GetMnum() const {
  ZORQELI_TRACE("ZORQelI::integer ZORQelIInstanceIMP::GetMnum() const");
  ZORQELI_RAISE_AT(kInstanceMnum, ZORQelI::InvalidType());
}

ZORQelI::integer ZORQelIInstanceIMP::GetJele() const {
  ZORQELI_TRACE("ZORQelI::integer ZORQelIInstanceIMP::GetJele() const");
  ZORQELI_RAISE_AT(kInstanceJele, ZORQelI::InvalidType());
}

ZORQelI::boolean ZORQelIInstanceIMP::CreateProxy(int mnum, int jele) {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIInstanceIMP::CreateProxy(int mnum, int jele)");
  std::cerr << "can't create proxy for *" << jele << " in " << mnum << std::endl;
  ZORQELI_RAISE_AT(kInstanceProxy, ZORQelI::InvalidType());
}
