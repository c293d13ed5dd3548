#include "ZORQelIEntityIMP.h"

ZORQELI_DEFINE_ABSTRACT_IMP(ZORQelIEntityIMP, ZORQelITypeIMP)

ZORQelI::Types ZORQelIEntityIMP::PrimitiveType() const {
  ZORQELI_TRACE("ZORQelI::Types ZORQelIEntityIMP::PrimitiveType() const");
  return ZORQelI::Ientity;
}

ZORQelI::boolean ZORQelIEntityIMP::IsFixed() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIEntityIMP::IsFixed() const");
  return ZORQelI::Ifalse;
}

void ZORQelIEntityIMP::Fixed(ZORQelI::boolean) {
  ZORQELI_TRACE("void ZORQelIEntityIMP::Fixed(ZORQelI::boolean fixed)");
}

ZORQelI::Mint ZORQelIEntityIMP::Width() const {
  ZORQELI_TRACE("ZORQelI::Mint ZORQelIEntityIMP::Width() const");
  return ZORQelI::Mint::UNSET;
}

void ZORQelIEntityIMP::Width(ZORQelI::Mint) {
  ZORQELI_TRACE("void ZORQelIEntityIMP::Width(ZORQelI::Mint size)");
}

ZORQelITypeIMP* ZORQelIEntityIMP::TerminalType() const {
  ZORQELI_TRACE("ZORQelITypeIMP* ZORQelIEntityIMP::TerminalType() const");
  // An entity ends its own chain of element types.
  return const_cast<ZORQelIEntityIMP*>(this);
}

ZORQelITypeIMP* ZORQelIEntityIMP::SubType() const {
  ZORQELI_TRACE("ZORQelITypeIMP* ZORQelIEntityIMP::SubType() const");
  return nullptr;
}

void ZORQelIEntityIMP::Unique(ZORQelI::boolean) {
  ZORQELI_TRACE("void ZORQelIEntityIMP::Unique(ZORQelI::boolean v)");
}

void ZORQelIEntityIMP::Optional(ZORQelI::boolean) {
  ZORQELI_TRACE("void ZORQelIEntityIMP::Optional(ZORQelI::boolean v)");
}

ZORQelI::boolean ZORQelIEntityIMP::IsUnique() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIEntityIMP::IsUnique() const");
  return ZORQelI::Ifalse;
}

ZORQelI::boolean ZORQelIEntityIMP::IsOptional() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIEntityIMP::IsOptional() const");
  return ZORQelI::Ifalse;
}

ZORQelI::Mint ZORQelIEntityIMP::LowerBound() const {
  ZORQELI_TRACE("ZORQelI::Mint ZORQelIEntityIMP::LowerBound() const");
  return ZORQelI::Mint::UNSET;
}

ZORQelI::Mint ZORQelIEntityIMP::UpperBound() const {
  ZORQELI_TRACE("ZORQelI::Mint ZORQelIEntityIMP::UpperBound() const");
  return ZORQelI::Mint::UNSET;
}

void ZORQelIEntityIMP::LowerBound(ZORQelI::Mint) {
  ZORQELI_TRACE("void ZORQelIEntityIMP::LowerBound(ZORQelI::Mint v)");
}

void ZORQelIEntityIMP::UpperBound(ZORQelI::Mint) {
  ZORQELI_TRACE("void ZORQelIEntityIMP::UpperBound(ZORQelI::Mint v)");
}

ZORQelI::boolean ZORQelIEntityIMP::IsOrdered() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIEntityIMP::IsOrdered() const");
  return ZORQelI::Ifalse;
}

ZORQelIArray ZORQelIEntityIMP::AttributeOwners() const {
  ZORQELI_TRACE("ZORQelIArray ZORQelIEntityIMP::AttributeOwners() const");
  ZORQelIArray owners;
  owners.Add(ZORQelIEntity(const_cast<ZORQelIEntityIMP*>(this)));
  for (ZORQelIEntity e = Super(); e.IsValid() == ZORQelI::Itrue; e = e.Super()) owners.Add(e);
  return owners;
}
