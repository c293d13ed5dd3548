#include "ZORQelIType.h"

#include "ZORQelIEntity.h"
#include "ZORQelIModeler.h"
#include "ZORQelITypeIMP.h"

ZORQELI_DEFINE_LENIENT_DICTIONARY_HANDLE(ZORQelIType, ZORQelIWrapperObject, ZORQelITypeIMP)
ZORQELI_DEFINE_CAST_ANYWAY(ZORQelIType, ZORQelITypeIMP)

ZORQelI::boolean ZORQelIType::IsA(ZORQelIType x) const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIType::IsA(ZORQelIType x) const");
  // This handle's object first: an empty handle raises before x is looked at.
  ZORQelITypeIMP* self = IMP();
  return self->IsA(x.IMP());
}

ZORQelI::boolean ZORQelIType::IsAKindOf(ZORQelIEntity ent) const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIType::IsAKindOf(ZORQelIEntity ent) const");
  return IMP()->IsAKindOf(ent);
}

ZORQelI::string ZORQelIType::FullTypeName() const {
  ZORQELI_TRACE("ZORQelI::string ZORQelIType::FullTypeName() const");
  return IMP()->FullTypeName();
}

ZORQelIModeler ZORQelIType::GetModeler() const {
  ZORQELI_TRACE("ZORQelIModeler ZORQelIType::GetModeler() const");
  return IMP()->GetModeler();
}

ZORQelI::Types ZORQelIType::PrimitiveType() const {
  ZORQELI_TRACE("ZORQelI::Types ZORQelIType::PrimitiveType() const");
  return IMP()->PrimitiveType();
}

ZORQelI::boolean ZORQelIType::IsABoolean() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIType::IsABoolean() const");
  return IMP()->IsABoolean();
}

ZORQelI::boolean ZORQelIType::IsAnInteger() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIType::IsAnInteger() const");
  return IMP()->IsAnInteger();
}

ZORQelI::boolean ZORQelIType::IsAReal() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIType::IsAReal() const");
  return IMP()->IsAReal();
}

ZORQelI::boolean ZORQelIType::IsAnEntity() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIType::IsAnEntity() const");
  return IMP()->IsAnEntity();
}

ZORQelI::boolean ZORQelIType::IsAField() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIType::IsAField() const");
  return IMP()->IsAField();
}

ZORQelI::boolean ZORQelIType::IsAString() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIType::IsAString() const");
  return IMP()->IsAString();
}

ZORQelI::boolean ZORQelIType::IsABinary() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIType::IsABinary() const");
  return IMP()->IsABinary();
}

ZORQelI::boolean ZORQelIType::IsAggr() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIType::IsAggr() const");
  return IMP()->IsAggr();
}

ZORQelI::boolean ZORQelIType::IsAnArray() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIType::IsAnArray() const");
  return IMP()->IsAnArray();
}

ZORQelI::boolean ZORQelIType::IsAList() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIType::IsAList() const");
  return IMP()->IsAList();
}

ZORQelI::boolean ZORQelIType::IsASet() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIType::IsASet() const");
  return IMP()->IsASet();
}

ZORQelI::boolean ZORQelIType::IsABag() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIType::IsABag() const");
  return IMP()->IsABag();
}

ZORQelI::boolean ZORQelIType::IsOrdered() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIType::IsOrdered() const");
  return IMP()->IsOrdered();
}

ZORQelI::boolean ZORQelIType::IsFixed() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIType::IsFixed() const");
  return IMP()->IsFixed();
}

void ZORQelIType::Fixed(ZORQelI::boolean fixed) {
  ZORQELI_TRACE("void ZORQelIType::Fixed(ZORQelI::boolean fixed)");
  IMP()->Fixed(fixed);
}

ZORQelI::Mint ZORQelIType::Width() const {
  ZORQELI_TRACE("ZORQelI::Mint ZORQelIType::Width() const");
  return IMP()->Width();
}

void ZORQelIType::Width(ZORQelI::Mint size) {
  ZORQELI_TRACE("void ZORQelIType::Width(ZORQelI::Mint size)");
  IMP()->Width(size);
}

ZORQelI::boolean ZORQelIType::IsUnique() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIType::IsUnique() const");
  return IMP()->IsUnique();
}

void ZORQelIType::Unique(ZORQelI::boolean v) {
  ZORQELI_TRACE("void ZORQelIType::Unique(ZORQelI::boolean v)");
  IMP()->Unique(v);
}

ZORQelI::boolean ZORQelIType::IsOptional() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIType::IsOptional() const");
  return IMP()->IsOptional();
}

void ZORQelIType::Optional(ZORQelI::boolean v) {
  ZORQELI_TRACE("void ZORQelIType::Optional(ZORQelI::boolean v)");
  IMP()->Optional(v);
}

ZORQelI::Mint ZORQelIType::LowerBound() const {
  ZORQELI_TRACE("ZORQelI::Mint ZORQelIType::LowerBound() const");
  return IMP()->LowerBound();
}

ZORQelI::Mint ZORQelIType::UpperBound() const {
  ZORQELI_TRACE("ZORQelI::Mint ZORQelIType::UpperBound() const");
  return IMP()->UpperBound();
}

void ZORQelIType::LowerBound(ZORQelI::Mint v) {
  ZORQELI_TRACE("void ZORQelIType::LowerBound(ZORQelI::Mint v)");
  IMP()->LowerBound(v);
}

void ZORQelIType::UpperBound(ZORQelI::Mint v) {
  ZORQELI_TRACE("void ZORQelIType::UpperBound(ZORQelI::Mint v)");
  IMP()->UpperBound(v);
}

ZORQelIType ZORQelIType::TerminalType() const {
  ZORQELI_TRACE("ZORQelIType ZORQelIType::TerminalType() const");
  return ZORQelIType(IMP()->TerminalType());
}

ZORQelIType ZORQelIType::SubType() const {
  ZORQELI_TRACE("ZORQelIType ZORQelIType::SubType() const");
  return ZORQelIType(IMP()->SubType());
}

void ZORQelIType::Range(ZORQelI::Mint l, ZORQelI::Mint u) {
  ZORQELI_TRACE("void ZORQelIType::Range(ZORQelI::Mint l, ZORQelI::Mint u)");
  LowerBound(l);
  UpperBound(u);
}

ZORQelI::boolean ZORQelIType::InRange(int i) const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIType::InRange(int i) const");
  const ZORQelI::Mint low = LowerBound();
  if (low.IsSet() && i < low) return ZORQelI::Ifalse;
  const ZORQelI::Mint high = UpperBound();
  if (high.IsSet() && i > high) return ZORQelI::Ifalse;
  return ZORQelI::Itrue;
}
