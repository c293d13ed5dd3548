// ZORQelIMemTypeIMP: a primitive, field or aggregate type of the in-memory
// provider.
#include "ZORQelIMemTypeIMP.h"

#include <cstdint>
#include <cstdio>

#include "ZORQelIMemModelerIMP.h"

namespace {
const char kSource[] = "QelInfrastructure/QL0KRNMem.m/src/ZORQelIMemTypeIMP";

// The kinds' display names, in the type text and in KindNamed, are the
// library's one table of them (ZORQelI::KindName): a schema read back names
// its kinds as the schema text printed them.

bool IsFieldKind(ZORQelI::Types k) { return k == ZORQelI::Istring || k == ZORQelI::Ibinary; }
bool IsAggregateKind(ZORQelI::Types k) { return k >= ZORQelI::Iarray && k <= ZORQelI::Ibag; }

ZORQelI::string BoundText(ZORQelI::Mint v) {
  if (!v.IsSet()) return ZORQelI::string("?");
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%d", static_cast<int>(v));
  return ZORQelI::string(buffer);
}
}  // namespace

ZORQELI_DEFINE_IMP(ZORQelIMemTypeIMP, ZORQelITypeIMP)

ZORQelIMemTypeIMP::ZORQelIMemTypeIMP(ZORQelIMemModelerIMP* modeler, ZORQelI::Types kind,
                                     ZORQelITypeIMP* element)
    : modeler_(modeler), element_(element), kind_(kind) {
  ZORQELI_TRACE(" ZORQelIMemTypeIMP::ZORQelIMemTypeIMP(ZORQelIMemModelerIMP* modeler, ZORQelI::Types kind, ZORQelITypeIMP* element)");
}

ZORQelIMemTypeIMP::ZORQelIMemTypeIMP(const ZORQelIMemTypeIMP& o)
    : ZORQelITypeIMP(o),
      modeler_(o.modeler_),
      element_(o.element_),
      name_(o.name_),
      kind_(o.kind_),
      width_(o.width_),
      lower_(o.lower_),
      upper_(o.upper_),
      fixed_(o.fixed_),
      unique_(o.unique_),
      optional_(o.optional_) {
  ZORQELI_TRACE(" ZORQelIMemTypeIMP::ZORQelIMemTypeIMP(const ZORQelIMemTypeIMP& o)");
}

ZORQelIMemTypeIMP::~ZORQelIMemTypeIMP() = default;

ZORQelIObjectIMP* ZORQelIMemTypeIMP::Clone() const {
  ZORQELI_TRACE("ZORQelIObjectIMP* ZORQelIMemTypeIMP::Clone() const");
  return new ZORQelIMemTypeIMP(*this);
}

void ZORQelIMemTypeIMP::Text(ZORQelIPrint& ot) const {
  ZORQELI_TRACE("void ZORQelIMemTypeIMP::Text(ZORQelIPrint& ot) const");
  ot.Print(ZORQelIType(const_cast<ZORQelIMemTypeIMP*>(this)));
}

void ZORQelIMemTypeIMP::GarbageCollectorMemberCheck() {
  ZORQELI_TRACE("void ZORQelIMemTypeIMP::GarbageCollectorMemberCheck()");
  ZORQelITypeIMP::GarbageCollectorMemberCheck();
  GarbageCollectorScan(modeler_);
  GarbageCollectorScan(element_);
}

ZORQelIWrapper& ZORQelIMemTypeIMP::Wrapper() const {
  ZORQELI_TRACE("ZORQelIWrapper& ZORQelIMemTypeIMP::Wrapper() const");
  return modeler_->Wrapper();
}

ZORQelI::string ZORQelIMemTypeIMP::Name() const {
  ZORQELI_TRACE("ZORQelI::string ZORQelIMemTypeIMP::Name() const");
  if (name_.GetLengthInChar() == 0) return ZORQelITypeIMP::Name();
  return name_;
}

void ZORQelIMemTypeIMP::Rename(ZORQelI::string x) {
  ZORQELI_TRACE("void ZORQelIMemTypeIMP::Rename(ZORQelI::string x)");
  name_ = x;
}

ZORQelI::boolean ZORQelIMemTypeIMP::IsA(ZORQelITypeIMP* x) const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIMemTypeIMP::IsA(ZORQelITypeIMP* x) const");
  if (x == nullptr) return ZORQelI::Ifalse;
  if (x == this) return ZORQelI::Itrue;
  if (x->PrimitiveType() != kind_) return ZORQelI::Ifalse;
  if (IsFieldKind(kind_)) {
    return (x->Width() == width_ && x->IsFixed() == fixed_) ? ZORQelI::Itrue : ZORQelI::Ifalse;
  }
  if (!IsAggregateKind(kind_)) return ZORQelI::Itrue;
  if (x->LowerBound() != lower_ || x->UpperBound() != upper_ || x->IsUnique() != unique_ ||
      x->IsOptional() != optional_) {
    return ZORQelI::Ifalse;
  }
  ZORQelITypeIMP* other = x->SubType();
  if (element_ == nullptr || other == nullptr) {
    return element_ == other ? ZORQelI::Itrue : ZORQelI::Ifalse;
  }
  return element_->IsA(other);
}

ZORQelI::string ZORQelIMemTypeIMP::FullTypeName() const {
  ZORQELI_TRACE("ZORQelI::string ZORQelIMemTypeIMP::FullTypeName() const");
  return TypeText(this);
}

ZORQelI::string ZORQelIMemTypeIMP::TypeText(const ZORQelITypeIMP* t) {
  ZORQELI_TRACE("ZORQelI::string ZORQelIMemTypeIMP::TypeText(const ZORQelITypeIMP* t)");
  if (t == nullptr) return ZORQelI::string("Void");
  ZORQelI::Types k = t->PrimitiveType();
  if (k == ZORQelI::Ientity) return t->FullTypeName();
  // 1 and the values outside the enumeration have no name.
  const char* name = ZORQelI::KindName(k);
  if (name == nullptr) return ZORQelI::string("UncknowType");
  ZORQelI::string text(name);
  if (IsFieldKind(k)) {
    if (t->Width().IsSet()) text += "(" + BoundText(t->Width()) + ")";
    if (t->IsFixed() == ZORQelI::Itrue) text += ZORQelI::string(" Fixed");
    return text;
  }
  if (!IsAggregateKind(k)) return text;
  ZORQelI::Mint low = t->LowerBound();
  ZORQelI::Mint high = t->UpperBound();
  if (low.IsSet() || high.IsSet()) text += " [" + BoundText(low) + ":" + BoundText(high) + "]";
  text += ZORQelI::string(" of ");
  if (t->IsUnique() == ZORQelI::Itrue) text += ZORQelI::string("unique ");
  if (t->IsOptional() == ZORQelI::Itrue) text += ZORQelI::string("optional ");
  text += TypeText(t->SubType());
  return text;
}

ZORQelIModeler ZORQelIMemTypeIMP::GetModeler() const {
  ZORQELI_TRACE("ZORQelIModeler ZORQelIMemTypeIMP::GetModeler() const");
  return ZORQelIModeler(modeler_);
}

ZORQelI::Types ZORQelIMemTypeIMP::PrimitiveType() const {
  ZORQELI_TRACE("ZORQelI::Types ZORQelIMemTypeIMP::PrimitiveType() const");
  return kind_;
}

ZORQelI::boolean ZORQelIMemTypeIMP::IsFixed() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIMemTypeIMP::IsFixed() const");
  return fixed_;
}

void ZORQelIMemTypeIMP::Fixed(ZORQelI::boolean fixed) {
  ZORQELI_TRACE("void ZORQelIMemTypeIMP::Fixed(ZORQelI::boolean fixed)");
  RequireField();
  fixed_ = fixed;
}

ZORQelI::Mint ZORQelIMemTypeIMP::Width() const {
  ZORQELI_TRACE("ZORQelI::Mint ZORQelIMemTypeIMP::Width() const");
  return width_;
}

void ZORQelIMemTypeIMP::Width(ZORQelI::Mint size) {
  ZORQELI_TRACE("void ZORQelIMemTypeIMP::Width(ZORQelI::Mint size)");
  RequireField();
  CheckCount(size);
  width_ = size;
}

ZORQelITypeIMP* ZORQelIMemTypeIMP::TerminalType() const {
  ZORQELI_TRACE("ZORQelITypeIMP* ZORQelIMemTypeIMP::TerminalType() const");
  const ZORQelITypeIMP* t = this;
  while (t->IsAggr() == ZORQelI::Itrue && t->SubType() != nullptr) t = t->SubType();
  return const_cast<ZORQelITypeIMP*>(t);
}

ZORQelITypeIMP* ZORQelIMemTypeIMP::SubType() const {
  ZORQELI_TRACE("ZORQelITypeIMP* ZORQelIMemTypeIMP::SubType() const");
  return element_;
}

void ZORQelIMemTypeIMP::Unique(ZORQelI::boolean v) {
  ZORQELI_TRACE("void ZORQelIMemTypeIMP::Unique(ZORQelI::boolean v)");
  RequireAggregate();
  unique_ = v;
}

void ZORQelIMemTypeIMP::Optional(ZORQelI::boolean v) {
  ZORQELI_TRACE("void ZORQelIMemTypeIMP::Optional(ZORQelI::boolean v)");
  RequireAggregate();
  optional_ = v;
}

ZORQelI::boolean ZORQelIMemTypeIMP::IsUnique() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIMemTypeIMP::IsUnique() const");
  return unique_;
}

ZORQelI::boolean ZORQelIMemTypeIMP::IsOptional() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIMemTypeIMP::IsOptional() const");
  return optional_;
}

ZORQelI::Mint ZORQelIMemTypeIMP::LowerBound() const {
  ZORQELI_TRACE("ZORQelI::Mint ZORQelIMemTypeIMP::LowerBound() const");
  return lower_;
}

ZORQelI::Mint ZORQelIMemTypeIMP::UpperBound() const {
  ZORQELI_TRACE("ZORQelI::Mint ZORQelIMemTypeIMP::UpperBound() const");
  return upper_;
}

void ZORQelIMemTypeIMP::LowerBound(ZORQelI::Mint v) {
  ZORQELI_TRACE("void ZORQelIMemTypeIMP::LowerBound(ZORQelI::Mint v)");
  RequireAggregate();
  if (kind_ != ZORQelI::Iarray) CheckCount(v);
  lower_ = v;
}

void ZORQelIMemTypeIMP::UpperBound(ZORQelI::Mint v) {
  ZORQELI_TRACE("void ZORQelIMemTypeIMP::UpperBound(ZORQelI::Mint v)");
  RequireAggregate();
  if (kind_ != ZORQelI::Iarray) CheckCount(v);
  upper_ = v;
}

void ZORQelIMemTypeIMP::CheckCount(ZORQelI::Mint v) {
  ZORQELI_TRACE("void ZORQelIMemTypeIMP::CheckCount(ZORQelI::Mint v)");
  if (v.IsSet() && v < 0) {
    ZORQELI_RAISE(ZORQelI::BoundError(v, v, 0, INT32_MAX), kSource, __LINE__);
  }
}

bool ZORQelIMemTypeIMP::KindNamed(const ZORQelI::string& s, ZORQelI::Types& kind) {
  ZORQELI_TRACE("bool ZORQelIMemTypeIMP::KindNamed(const ZORQelI::string& s, ZORQelI::Types& kind)");
  for (int k = ZORQelI::Ivoid; k <= ZORQelI::Ibinary; ++k) {
    if (ZORQelI::KindName(k) != nullptr && s == ZORQelI::KindName(k)) {
      kind = static_cast<ZORQelI::Types>(k);
      return true;
    }
  }
  return false;
}

void ZORQelIMemTypeIMP::RequireField() const {
  ZORQELI_TRACE("void ZORQelIMemTypeIMP::RequireField() const");
  if (!IsFieldKind(kind_)) ZORQELI_RAISE(ZORQelI::InvalidType(), kSource, __LINE__);
}

void ZORQelIMemTypeIMP::RequireAggregate() const {
  ZORQELI_TRACE("void ZORQelIMemTypeIMP::RequireAggregate() const");
  if (!IsAggregateKind(kind_)) ZORQELI_RAISE(ZORQelI::InvalidType(), kSource, __LINE__);
}
