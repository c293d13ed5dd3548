#include "ZORQelITypeIMP.h"

#include <cstdint>
#include <iostream>

ZORQELI_DEFINE_ABSTRACT_IMP(ZORQelITypeIMP, ZORQelIWrapperObjectIMP)

ZORQelI::string ZORQelITypeIMP::Name() const {
  ZORQELI_TRACE("ZORQelI::string ZORQelITypeIMP::Name() const");
  // The kind is read once; values outside the enumeration are possible (the
  // enumeration is a plain 32-bit value).
  const std::int32_t kind = PrimitiveType();
  if (const char* name = ZORQelI::KindName(kind)) return name;
  // An entity names itself; reaching this means its class does not.
  if (kind == ZORQelI::Ientity) std::cerr << " Can't Get Entity name." << std::endl;
  return "UncknowType";
}

ZORQelI::boolean ZORQelITypeIMP::IsAKindOf(ZORQelIEntity) const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelITypeIMP::IsAKindOf(ZORQelIEntity ent) const");
  return ZORQelI::Ifalse;
}

namespace {
inline ZORQelI::boolean Is(ZORQelI::Types kind, ZORQelI::Types wanted) {
  return kind == wanted ? ZORQelI::Itrue : ZORQelI::Ifalse;
}
}  // namespace

ZORQelI::boolean ZORQelITypeIMP::IsABoolean() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelITypeIMP::IsABoolean() const");
  return Is(PrimitiveType(), ZORQelI::Iboolean);
}

ZORQelI::boolean ZORQelITypeIMP::IsAnInteger() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelITypeIMP::IsAnInteger() const");
  return Is(PrimitiveType(), ZORQelI::Iinteger);
}

ZORQelI::boolean ZORQelITypeIMP::IsAReal() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelITypeIMP::IsAReal() const");
  return Is(PrimitiveType(), ZORQelI::Ireal);
}

ZORQelI::boolean ZORQelITypeIMP::IsAnEntity() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelITypeIMP::IsAnEntity() const");
  return Is(PrimitiveType(), ZORQelI::Ientity);
}

ZORQelI::boolean ZORQelITypeIMP::IsAString() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelITypeIMP::IsAString() const");
  return Is(PrimitiveType(), ZORQelI::Istring);
}

ZORQelI::boolean ZORQelITypeIMP::IsABinary() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelITypeIMP::IsABinary() const");
  return Is(PrimitiveType(), ZORQelI::Ibinary);
}

ZORQelI::boolean ZORQelITypeIMP::IsAnArray() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelITypeIMP::IsAnArray() const");
  return Is(PrimitiveType(), ZORQelI::Iarray);
}

ZORQelI::boolean ZORQelITypeIMP::IsAList() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelITypeIMP::IsAList() const");
  return Is(PrimitiveType(), ZORQelI::Ilist);
}

ZORQelI::boolean ZORQelITypeIMP::IsASet() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelITypeIMP::IsASet() const");
  return Is(PrimitiveType(), ZORQelI::Iset);
}

ZORQelI::boolean ZORQelITypeIMP::IsABag() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelITypeIMP::IsABag() const");
  return Is(PrimitiveType(), ZORQelI::Ibag);
}

// The compound predicates ask the simple ones in order and stop at the first
// true answer, so PrimitiveType is called once per predicate asked.

ZORQelI::boolean ZORQelITypeIMP::IsAField() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelITypeIMP::IsAField() const");
  return (IsAString() == ZORQelI::Itrue || IsABinary() == ZORQelI::Itrue) ? ZORQelI::Itrue
                                                                        : ZORQelI::Ifalse;
}

ZORQelI::boolean ZORQelITypeIMP::IsAggr() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelITypeIMP::IsAggr() const");
  return (IsAnArray() == ZORQelI::Itrue || IsAList() == ZORQelI::Itrue ||
          IsASet() == ZORQelI::Itrue || IsABag() == ZORQelI::Itrue)
             ? ZORQelI::Itrue
             : ZORQelI::Ifalse;
}

ZORQelI::boolean ZORQelITypeIMP::IsOrdered() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelITypeIMP::IsOrdered() const");
  return (IsAnArray() == ZORQelI::Itrue || IsAList() == ZORQelI::Itrue) ? ZORQelI::Itrue
                                                                       : ZORQelI::Ifalse;
}
