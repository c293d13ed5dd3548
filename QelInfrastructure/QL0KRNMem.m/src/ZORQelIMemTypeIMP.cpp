// ZORQelIMemTypeIMP: a primitive, field or aggregate type of the in-memory
// provider.
#include "ZORQelIMemTypeIMP.h"

#include <cstdint>
#include <cstdio>
#include <string>

#include "ZORQelIMemModelerIMP.h"
#include "ZORQelIMemObjectDefinitions.h"

namespace {
const char kSource[] = "QelInfrastructure/QL0KRNMem.m/src/ZORQelIMemTypeIMP";

// The kinds' display names, in the type text and in KindNamed, are the
// library's one table of them (ZORQelI::KindName): a schema read back names
// its kinds as the schema text printed them.

bool IsFieldKind(ZORQelI::Types k) { return k == ZORQelI::Istring || k == ZORQelI::Ibinary; }
bool IsAggregateKind(ZORQelI::Types k) { return k >= ZORQelI::Iarray && k <= ZORQelI::Ibag; }

std::string BoundText(ZORQelI::Mint v) {
  if (!v.IsSet()) return "?";
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%d", static_cast<int>(v));
  return buffer;
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
  if (o.express_) express_.reset(new Express(*o.express_));
}

ZORQELIMEM_DEFINE_COPY_CLONE(ZORQelIMemTypeIMP, 56)

void ZORQelIMemTypeIMP::Text(ZORQelIPrint& ot) const {
  ZORQELI_TRACE("void ZORQelIMemTypeIMP::Text(ZORQelIPrint& ot) const");
  ot.Print(ZORQelIType(const_cast<ZORQelIMemTypeIMP*>(this)));
}

void ZORQelIMemTypeIMP::GarbageCollectorMemberCheck() {
  ZORQELI_TRACE("void ZORQelIMemTypeIMP::GarbageCollectorMemberCheck()");
  ZORQelITypeIMP::GarbageCollectorMemberCheck();
  GarbageCollectorScan(modeler_);
  GarbageCollectorScan(element_);
  if (express_) {
    for (ZORQelITypeIMP* m : express_->members) GarbageCollectorScan(m);
    GarbageCollectorScan(express_->basedOn);
    GarbageCollectorScan(express_->underlying);
  }
}

const ZORQelIMemTypeIMP::Express& ZORQelIMemTypeIMP::ExpressInfo() const {
  ZORQELI_TRACE("const ZORQelIMemTypeIMP::Express& ZORQelIMemTypeIMP::ExpressInfo() const");
  static const Express* const empty = new Express();
  return express_ ? *express_ : *empty;
}

ZORQelIMemTypeIMP::Express& ZORQelIMemTypeIMP::MutableExpressInfo() {
  ZORQELI_TRACE("ZORQelIMemTypeIMP::Express& ZORQelIMemTypeIMP::MutableExpressInfo()");
  if (!express_) express_.reset(new Express());
  return *express_;
}

ZORQELIMEM_DEFINE_WRAPPER(ZORQelIMemTypeIMP, 90, modeler_->Wrapper())

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
  // One level per turn, down both element chains together: aggregates nested
  // however deep are compared without recursion.
  const ZORQelITypeIMP* mine = this;
  while (true) {
    if (x == nullptr || mine == nullptr) return x == mine ? ZORQelI::Itrue : ZORQelI::Ifalse;
    if (x == mine) return ZORQelI::Itrue;
    // Another provider's type or an entity at this level decides for itself.
    if (mine->Match(ZORQelIMemTypeIMP::ClassId()) != ZORQelI::Itrue) return mine->IsA(x);
    const auto* t = static_cast<const ZORQelIMemTypeIMP*>(mine);
    const ZORQelI::Types kind = t->kind_;
    if (x->PrimitiveType() != kind) return ZORQelI::Ifalse;
    if (IsFieldKind(kind)) {
      return (x->Width() == t->width_ && x->IsFixed() == t->fixed_) ? ZORQelI::Itrue
                                                                   : ZORQelI::Ifalse;
    }
    if (!IsAggregateKind(kind)) return ZORQelI::Itrue;
    if (x->LowerBound() != t->lower_ || x->UpperBound() != t->upper_ ||
        x->IsUnique() != t->unique_ || x->IsOptional() != t->optional_) {
      return ZORQelI::Ifalse;
    }
    mine = t->element_;
    x = x->SubType();
  }
}

ZORQelI::string ZORQelIMemTypeIMP::FullTypeName() const {
  ZORQELI_TRACE("ZORQelI::string ZORQelIMemTypeIMP::FullTypeName() const");
  return TypeText(this);
}

ZORQelI::string ZORQelIMemTypeIMP::TypeText(const ZORQelITypeIMP* t) {
  ZORQELI_TRACE("ZORQelI::string ZORQelIMemTypeIMP::TypeText(const ZORQelITypeIMP* t)");
  // Each aggregate level writes its prefix ("List [0:?] of unique ") and
  // passes on to its element type: a loop into one growing buffer, so that
  // aggregates nested however deep are named without recursion and in
  // linear time.
  std::string text;
  const auto done = [&text](const char* tail) {
    text += tail;
    return ZORQelI::string(text.c_str());
  };
  while (true) {
    if (t == nullptr) return done("Void");
    ZORQelI::Types k = t->PrimitiveType();
    if (k == ZORQelI::Ientity) return done(static_cast<const char*>(t->FullTypeName()));
    // 1 and the values outside the enumeration have no name.
    const char* name = ZORQelI::KindName(k);
    if (name == nullptr) return done("UncknowType");
    text += name;
    if (IsFieldKind(k)) {
      if (t->Width().IsSet()) text += "(" + BoundText(t->Width()) + ")";
      if (t->IsFixed() == ZORQelI::Itrue) text += " Fixed";
      return done("");
    }
    if (!IsAggregateKind(k)) return done("");
    ZORQelI::Mint low = t->LowerBound();
    ZORQelI::Mint high = t->UpperBound();
    if (low.IsSet() || high.IsSet()) text += " [" + BoundText(low) + ":" + BoundText(high) + "]";
    text += " of ";
    if (t->IsUnique() == ZORQelI::Itrue) text += "unique ";
    if (t->IsOptional() == ZORQelI::Itrue) text += "optional ";
    t = t->SubType();
  }
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
