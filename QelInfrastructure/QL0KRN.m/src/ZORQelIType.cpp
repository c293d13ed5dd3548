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

#define ZORQELI_FORWARD(...) ZORQELI_DEFINE_FORWARDER(ZORQelIType, __VA_ARGS__)
#include "ZORQelIType.def"

ZORQelIType ZORQelIType::TerminalType() const {
  ZORQELI_TRACE_LINE("ZORQelIType ZORQelIType::TerminalType() const", 163);
  return ZORQelIType(IMP()->TerminalType());
}

ZORQelIType ZORQelIType::SubType() const {
  ZORQELI_TRACE_LINE("ZORQelIType ZORQelIType::SubType() const", 168);
  return ZORQelIType(IMP()->SubType());
}

void ZORQelIType::Range(ZORQelI::Mint l, ZORQelI::Mint u) {
  ZORQELI_TRACE_LINE("void ZORQelIType::Range(ZORQelI::Mint l, ZORQelI::Mint u)", 173);
  LowerBound(l);
  UpperBound(u);
}

ZORQelI::boolean ZORQelIType::InRange(int i) const {
  ZORQELI_TRACE_LINE("ZORQelI::boolean ZORQelIType::InRange(int i) const", 179);
  const ZORQelI::Mint low = LowerBound();
  if (low.IsSet() && i < low) return ZORQelI::Ifalse;
  const ZORQelI::Mint high = UpperBound();
  if (high.IsSet() && i > high) return ZORQelI::Ifalse;
  return ZORQelI::Itrue;
}
