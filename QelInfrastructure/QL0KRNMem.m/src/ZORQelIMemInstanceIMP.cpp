// ZORQelIMemInstanceIMP: the base of every instance and value of the
// in-memory provider; the operations of values and cells.
#include "ZORQelIMemInstanceIMP.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "ZORQelIMemAggregateIMP.h"
#include "ZORQelIMemEntityIMP.h"
#include "ZORQelIMemEntityInstanceIMP.h"
#include "ZORQelIMemModelerIMP.h"
#include "ZORQelIMemNesting.h"
#include "ZORQelIMemTypeIMP.h"

namespace {
const char kSource[] = "QelInfrastructure/QL0KRNMem.m/src/ZORQelIMemInstanceIMP";

bool IsAggregateKind(int k) { return k >= ZORQelI::Iarray && k <= ZORQelI::Ibag; }

int KindOfValue(const ZORQelIInstance& v) {
  ZORQelIType t = v.GetType();
  return t.IsValid() == ZORQelI::Itrue ? static_cast<int>(t.PrimitiveType()) : -1;
}

// A field refuses a text longer than its width, and a fixed field one of
// another length.
void CheckWidth(const ZORQelITypeIMP* t, const ZORQelI::string& text) {
  ZORQelI::Mint width = t->Width();
  if (!width.IsSet()) return;
  int n = static_cast<int>(text.GetLengthInChar());
  bool fixed = t->IsFixed() == ZORQelI::Itrue;
  if (fixed ? n != width : n > width) {
    ZORQELI_RAISE(ZORQelI::BoundError(n, n, fixed ? static_cast<int>(width) : 0, width),
                  kSource, __LINE__);
  }
}
}  // namespace

ZORQELI_DEFINE_IMP(ZORQelIMemInstanceIMP, ZORQelIInstanceIMP)

ZORQelIMemInstanceIMP::ZORQelIMemInstanceIMP() {
  ZORQELI_TRACE(" ZORQelIMemInstanceIMP::ZORQelIMemInstanceIMP()");
}

ZORQelIMemInstanceIMP::ZORQelIMemInstanceIMP(const ZORQelIMemInstanceIMP& o)
    : ZORQelIInstanceIMP(o) {
  ZORQELI_TRACE(" ZORQelIMemInstanceIMP::ZORQelIMemInstanceIMP(const ZORQelIMemInstanceIMP& o)");
}

ZORQelIMemInstanceIMP::~ZORQelIMemInstanceIMP() = default;

// --- Raising ------------------------------------------------------------------

void ZORQelIMemInstanceIMP::RaiseUnset() {
  ZORQELI_TRACE("void ZORQelIMemInstanceIMP::RaiseUnset()");
  ZORQELI_RAISE(ZORQelI::Exception(ZORQelI::string("the value is unset")), kSource,
                __LINE__);
}

void ZORQelIMemInstanceIMP::RaiseKind(int line) {
  ZORQELI_TRACE("void ZORQelIMemInstanceIMP::RaiseKind(int line)");
  ZORQELI_RAISE(ZORQelI::InvalidType(), kSource, line);
}

// --- ZORQelIObjectIMP -------------------------------------------------------------

void ZORQelIMemInstanceIMP::Text(ZORQelIPrint& ot) const {
  ZORQELI_TRACE("void ZORQelIMemInstanceIMP::Text(ZORQelIPrint& ot) const");
  ot.Print(ZORQelIInstance(const_cast<ZORQelIMemInstanceIMP*>(this)));
}

ZORQelI::boolean ZORQelIMemInstanceIMP::IsValid() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIMemInstanceIMP::IsValid() const");
  Site site;
  if (!Locate(site)) return ZORQelI::Itrue;
  const std::uint8_t tag = *site.tag;
  if (tag == ZORQelIMemSlot::Unset) return ZORQelI::Ifalse;
  if (tag == ZORQelIMemSlot::Reference && ReferentAt(site) == nullptr) return ZORQelI::Ifalse;
  return ZORQelI::Itrue;
}

ZORQelI::boolean ZORQelIMemInstanceIMP::Equal(ZORQelIObjectIMP* o) const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIMemInstanceIMP::Equal(ZORQelIObjectIMP* o) const");
  if (o == this) return ZORQelI::Itrue;
  if (o == nullptr || o->Match(ZORQelIMemInstanceIMP::ClassId()) != ZORQelI::Itrue) {
    return ZORQelI::Ifalse;
  }
  ZORQelIMemEntityInstanceIMP* mine = Referent();
  return (mine != nullptr && static_cast<ZORQelIMemInstanceIMP*>(o)->Referent() == mine)
             ? ZORQelI::Itrue
             : ZORQelI::Ifalse;
}

// --- ZORQelIWrapperObjectIMP ------------------------------------------------------

ZORQelIWrapper& ZORQelIMemInstanceIMP::Wrapper() const {
  ZORQELI_TRACE("ZORQelIWrapper& ZORQelIMemInstanceIMP::Wrapper() const");
  return Modeler()->Wrapper();
}

ZORQelI::string ZORQelIMemInstanceIMP::Name() const {
  ZORQELI_TRACE("ZORQelI::string ZORQelIMemInstanceIMP::Name() const");
  ZORQelIType t = GetType();
  return t.IsValid() == ZORQelI::Itrue ? t.Name() : ZORQelI::string();
}

void ZORQelIMemInstanceIMP::Rename(ZORQelI::string) {
  ZORQELI_TRACE("void ZORQelIMemInstanceIMP::Rename(ZORQelI::string x)");
  RaiseKind(__LINE__);
}

// --- Locating the value -------------------------------------------------------------

bool ZORQelIMemInstanceIMP::Locate(Site&) const {
  ZORQELI_TRACE("bool ZORQelIMemInstanceIMP::Locate(Site& site) const");
  return false;
}

ZORQelIMemInstanceIMP::Site ZORQelIMemInstanceIMP::SiteOf(ZORQelIMemInstanceIMP* store, int index) {
  ZORQELI_TRACE("Site ZORQelIMemInstanceIMP::SiteOf(ZORQelIMemInstanceIMP* store, int index)");
  return Site{store, index, store->Slots() + index, store->Tags() + index, store->CellType(index)};
}

void ZORQelIMemInstanceIMP::Need(Site& site) const {
  ZORQELI_TRACE("void ZORQelIMemInstanceIMP::Need(Site& site) const");
  if (!Locate(site)) RaiseKind(__LINE__);
}

int ZORQelIMemInstanceIMP::KindOf(const Site& site) {
  ZORQELI_TRACE("int ZORQelIMemInstanceIMP::KindOf(const Site& site)");
  return site.type != nullptr ? static_cast<int>(site.type->PrimitiveType()) : -1;
}

void ZORQelIMemInstanceIMP::NeedKind(Site& site, int k1, int k2) const {
  ZORQELI_TRACE("void ZORQelIMemInstanceIMP::NeedKind(Site& site, int k1, int k2) const");
  Need(site);
  int k = KindOf(site);
  if (k != k1 && k != k2) RaiseKind(__LINE__);
}

ZORQelIMemEntityInstanceIMP* ZORQelIMemInstanceIMP::ReferentAt(const Site& site) {
  ZORQELI_TRACE("ZORQelIMemEntityInstanceIMP* ZORQelIMemInstanceIMP::ReferentAt(const Site& site)");
  if (*site.tag != ZORQelIMemSlot::Reference) return nullptr;
  auto* r = static_cast<ZORQelIMemEntityInstanceIMP*>(site.slot->object);
  return r->IsDeleted() ? nullptr : r;
}

ZORQelIMemEntityInstanceIMP* ZORQelIMemInstanceIMP::Referent() const {
  ZORQELI_TRACE("ZORQelIMemEntityInstanceIMP* ZORQelIMemInstanceIMP::Referent() const");
  Site site;
  return Locate(site) ? ReferentAt(site) : nullptr;
}

ZORQelIMemEntityInstanceIMP* ZORQelIMemInstanceIMP::ReferenceOf() const {
  ZORQELI_TRACE("ZORQelIMemEntityInstanceIMP* ZORQelIMemInstanceIMP::ReferenceOf() const");
  Site site;
  NeedKind(site, ZORQelI::Ientity, ZORQelI::Ientity);
  ZORQelIMemEntityInstanceIMP* r = ReferentAt(site);
  if (r == nullptr) RaiseUnset();
  return r;
}

ZORQelIMemAggregateIMP* ZORQelIMemInstanceIMP::AggregateOf() const {
  ZORQELI_TRACE("ZORQelIMemAggregateIMP* ZORQelIMemInstanceIMP::AggregateOf() const");
  Site site;
  Need(site);
  if (!IsAggregateKind(KindOf(site))) RaiseKind(__LINE__);
  if (*site.tag != ZORQelIMemSlot::Aggregate) return nullptr;
  return static_cast<ZORQelIMemAggregateIMP*>(site.slot->object);
}

ZORQelIMemAggregateIMP* ZORQelIMemInstanceIMP::NewAggregate() const {
  ZORQELI_TRACE("ZORQelIMemAggregateIMP* ZORQelIMemInstanceIMP::NewAggregate() const");
  Site site;
  Need(site);
  return ZORQelIMemAggregateIMP::Make(static_cast<ZORQelIMemTypeIMP*>(site.type), nullptr);
}

void ZORQelIMemInstanceIMP::Adopt(ZORQelIMemAggregateIMP* a) const {
  ZORQELI_TRACE("void ZORQelIMemInstanceIMP::Adopt(ZORQelIMemAggregateIMP* a) const");
  Site site;
  Need(site);
  ZORQelIMemSlot s;
  s.object = a;
  site.store->Store(site.index, s, ZORQelIMemSlot::Aggregate);
}

// --- The store side ---------------------------------------------------------------------

int ZORQelIMemInstanceIMP::CellCount() const {
  ZORQELI_TRACE("int ZORQelIMemInstanceIMP::CellCount() const");
  return 0;
}

ZORQelIMemSlot* ZORQelIMemInstanceIMP::Slots() {
  ZORQELI_TRACE("ZORQelIMemSlot* ZORQelIMemInstanceIMP::Slots()");
  return nullptr;
}

std::uint8_t* ZORQelIMemInstanceIMP::Tags() {
  ZORQELI_TRACE("std::uint8_t* ZORQelIMemInstanceIMP::Tags()");
  return nullptr;
}

ZORQelITypeIMP* ZORQelIMemInstanceIMP::CellType(int) const {
  ZORQELI_TRACE("ZORQelITypeIMP* ZORQelIMemInstanceIMP::CellType(int i) const");
  return nullptr;
}

bool ZORQelIMemInstanceIMP::Admits(int, const ZORQelIMemSlot&, std::uint8_t) const {
  ZORQELI_TRACE("bool ZORQelIMemInstanceIMP::Admits(int i, const ZORQelIMemSlot& s, std::uint8_t tag) const");
  return true;
}

void ZORQelIMemInstanceIMP::RemoveCell(int) {
  ZORQELI_TRACE("void ZORQelIMemInstanceIMP::RemoveCell(int i)");
  RaiseKind(__LINE__);
}

ZORQelIMemEntityInstanceIMP* ZORQelIMemInstanceIMP::Holder() const {
  ZORQELI_TRACE("ZORQelIMemEntityInstanceIMP* ZORQelIMemInstanceIMP::Holder() const");
  return nullptr;
}

void ZORQelIMemInstanceIMP::Changed() const {
  ZORQELI_TRACE("void ZORQelIMemInstanceIMP::Changed() const");
  ZORQelIMemEntityInstanceIMP* h = Holder();
  if (h != nullptr && !h->IsDeleted()) h->Modeler()->Notify(ZORQelIMemModelerIMP::Updated, h);
}

void ZORQelIMemInstanceIMP::Store(int i, const ZORQelIMemSlot& s, std::uint8_t tag, bool tell) {
  ZORQELI_TRACE("void ZORQelIMemInstanceIMP::Store(int i, const ZORQelIMemSlot& s, std::uint8_t tag, bool tell)");
  ZORQelIMemSlot* slots = Slots();
  std::uint8_t* tags = Tags();
  ZORQelIMemSlot::Release(slots[i], tags[i]);
  slots[i] = s;
  tags[i] = tag;
  if (tag == ZORQelIMemSlot::Aggregate) {
    static_cast<ZORQelIMemAggregateIMP*>(s.object)->SetHolder(Holder());
  }
  if (tell) Changed();
}

void ZORQelIMemInstanceIMP::Write(int i, const ZORQelIMemSlot& s, std::uint8_t tag) {
  ZORQELI_TRACE("void ZORQelIMemInstanceIMP::Write(int i, const ZORQelIMemSlot& s, std::uint8_t tag)");
  if (!Admits(i, s, tag)) {
    ZORQelIMemSlot refused = s;
    std::uint8_t refusedTag = tag;
    ZORQelIMemSlot::Release(refused, refusedTag);
    ZORQELI_RAISE(ZORQelI::Exception(ZORQelI::string(
                  "an equal element is already held by this aggregate of distinct elements")),
                  kSource, __LINE__);
  }
  Store(i, s, tag);
}

// --- Making values --------------------------------------------------------------------------

ZORQelIMemInstanceIMP* ZORQelIMemInstanceIMP::Of(const ZORQelIInstance& v) {
  ZORQELI_TRACE("ZORQelIMemInstanceIMP* ZORQelIMemInstanceIMP::Of(const ZORQelIInstance& v)");
  if (v.IsValid() != ZORQelI::Itrue) return nullptr;
  auto* p = const_cast<ZORQelIObjectIMP*>(v.RefMe());
  if (p->Match(ZORQelIMemInstanceIMP::ClassId()) != ZORQelI::Itrue) return nullptr;
  return static_cast<ZORQelIMemInstanceIMP*>(p);
}

void ZORQelIMemInstanceIMP::MakeValue(ZORQelITypeIMP* declared, ZORQelIInstance v,
                                      ZORQelIMemSlot& s, std::uint8_t& tag) {
  ZORQELI_TRACE("void ZORQelIMemInstanceIMP::MakeValue(ZORQelITypeIMP* declared, ZORQelIInstance v, ZORQelIMemSlot& s, std::uint8_t& tag)");
  s.object = nullptr;
  tag = ZORQelIMemSlot::Unset;
  if (v.IsValid() != ZORQelI::Itrue) return;
  // An untyped value (an attribute without a type) holds nothing.
  if (declared == nullptr) RaiseKind(__LINE__);
  int kind = declared->PrimitiveType();
  switch (kind) {
    case ZORQelI::Ivoid:
      s.object = const_cast<ZORQelIObjectIMP*>(v.RefMe());
      tag = ZORQelIMemSlot::Object;
      return;
    case ZORQelI::Iboolean:
    case ZORQelI::Ilogical: {
      int k = KindOfValue(v);
      if (k != ZORQelI::Iboolean && k != ZORQelI::Ilogical) RaiseKind(__LINE__);
      s.boolean = v.GetBoolean();
      tag = ZORQelIMemSlot::Boolean;
      return;
    }
    case ZORQelI::Iinteger:
      if (KindOfValue(v) != kind) RaiseKind(__LINE__);
      s.integer = v.GetInt();
      tag = ZORQelIMemSlot::Integer;
      return;
    case ZORQelI::Ireal:
      if (KindOfValue(v) != kind) RaiseKind(__LINE__);
      s.real = v.GetReal();
      tag = ZORQelIMemSlot::Real;
      return;
    case ZORQelI::Istring:
    case ZORQelI::Ibinary: {
      if (KindOfValue(v) != kind) RaiseKind(__LINE__);
      ZORQelI::string text = v.GetString();
      CheckWidth(declared, text);
      ZORQelIMemSlot::PutText(s, tag, text);
      return;
    }
    case ZORQelI::Ientity: {
      ZORQelIMemInstanceIMP* m = Of(v);
      ZORQelIMemEntityInstanceIMP* r = m != nullptr ? m->Referent() : nullptr;
      if (r == nullptr || !r->Entity()->Inherits(declared)) RaiseKind(__LINE__);
      s.object = r;
      tag = ZORQelIMemSlot::Reference;
      return;
    }
    case ZORQelI::Iarray:
    case ZORQelI::Ilist:
    case ZORQelI::Iset:
    case ZORQelI::Ibag: {
      if (v.GetType().IsAggr() != ZORQelI::Itrue) RaiseKind(__LINE__);
      // Each element is made through Insert or PutInstance, back here.
      ZORQelIMemInternal::RequireStackRoom("copied", kSource, __LINE__);
      ZORQelIMemAggregateIMP* a =
          ZORQelIMemAggregateIMP::Make(static_cast<ZORQelIMemTypeIMP*>(declared), nullptr);
      ZORQelIInstance keep(a);
      int n = v.Size();
      if (a->IsFixed()) {
        if (n > a->Size()) {
          ZORQELI_RAISE(ZORQelI::BoundError(0, n - 1, 0, a->Size() - 1), kSource, __LINE__);
        }
        for (int j = 0; j < n; ++j) a->PutInstance(j, v.GetInstance(j));
      } else {
        // Copying into distinct elements drops the repeated ones.
        for (int j = 0; j < n; ++j) a->Insert(v.GetInstance(j), ZORQelI::Itrue);
      }
      s.object = a;
      tag = ZORQelIMemSlot::Aggregate;
      return;
    }
    default:
      RaiseKind(__LINE__);
  }
}

void ZORQelIMemInstanceIMP::CopySlot(const ZORQelIMemSlot& from, std::uint8_t fromTag,
                                     ZORQelIMemSlot& to, std::uint8_t& toTag) {
  ZORQELI_TRACE("void ZORQelIMemInstanceIMP::CopySlot(const ZORQelIMemSlot& from, std::uint8_t fromTag, ZORQelIMemSlot& to, std::uint8_t& toTag)");
  // An aggregate's Clone copies its elements back here.  Checked before
  // anything is written: a refused copy leaves `to` as it was.
  if (fromTag == ZORQelIMemSlot::Aggregate)
    ZORQelIMemInternal::RequireStackRoom("copied", kSource, __LINE__);
  to = from;
  toTag = fromTag;
  if (fromTag == ZORQelIMemSlot::String) {
    ZORQelIMemSlot::PutText(to, toTag, from.text);
  } else if (fromTag == ZORQelIMemSlot::Aggregate) {
    to.object = static_cast<ZORQelIMemAggregateIMP*>(from.object)->Clone();
  }
}

bool ZORQelIMemInstanceIMP::Matches(const ZORQelIMemSlot& s, std::uint8_t tag,
                                    const ZORQelIInstance& v) {
  ZORQELI_TRACE("bool ZORQelIMemInstanceIMP::Matches(const ZORQelIMemSlot& s, std::uint8_t tag, const ZORQelIInstance& v)");
  if (tag == ZORQelIMemSlot::Unset || v.IsValid() != ZORQelI::Itrue) return false;
  switch (tag) {
    case ZORQelIMemSlot::Reference: {
      ZORQelIMemInstanceIMP* m = Of(v);
      return m != nullptr && m->Referent() == s.object;
    }
    case ZORQelIMemSlot::Object:
      return v.RefMe() == s.object;
    case ZORQelIMemSlot::Boolean: {
      int k = KindOfValue(v);
      return (k == ZORQelI::Iboolean || k == ZORQelI::Ilogical) && v.GetBoolean() == s.boolean;
    }
    case ZORQelIMemSlot::Integer:
      return KindOfValue(v) == ZORQelI::Iinteger && v.GetInt() == s.integer;
    case ZORQelIMemSlot::Real:
      return KindOfValue(v) == ZORQelI::Ireal && v.GetReal() == s.real;
    case ZORQelIMemSlot::String:
    case ZORQelIMemSlot::Inline: {
      int k = KindOfValue(v);
      if (k != ZORQelI::Istring && k != ZORQelI::Ibinary) return false;
      ZORQelI::string text = v.GetString();
      return std::strcmp(static_cast<const char*>(text), ZORQelIMemSlot::TextOf(s, tag)) == 0;
    }
    case ZORQelIMemSlot::Aggregate: {
      if (v.GetType().IsAggr() != ZORQelI::Itrue) return false;
      ZORQelIMemInternal::RequireStackRoom("compared", kSource, __LINE__);
      const auto* a = static_cast<const ZORQelIMemAggregateIMP*>(s.object);
      int n = static_cast<int>(a->SlotVector().size());
      if (v.Size() != n) return false;
      for (int j = 0; j < n; ++j) {
        if (!Matches(a->SlotVector()[j], a->TagVector()[j], v.GetInstance(j))) return false;
      }
      return true;
    }
    default:
      return false;
  }
}

// --- ZORQelIInstanceIMP: the value and cell operations ----------------------------------------

ZORQelIType ZORQelIMemInstanceIMP::GetType() const {
  ZORQELI_TRACE("ZORQelIType ZORQelIMemInstanceIMP::GetType() const");
  Site site;
  Need(site);
  if (ZORQelIMemEntityInstanceIMP* r = ReferentAt(site)) return ZORQelIType(r->Entity());
  return ZORQelIType(site.type);
}

void ZORQelIMemInstanceIMP::Unset() {
  ZORQELI_TRACE("void ZORQelIMemInstanceIMP::Unset()");
  Site site;
  Need(site);
  site.store->Store(site.index, ZORQelIMemSlot::None(), ZORQelIMemSlot::Unset);
}

void ZORQelIMemInstanceIMP::Delete() {
  ZORQELI_TRACE("void ZORQelIMemInstanceIMP::Delete()");
  Unset();
}

ZORQelI::integer ZORQelIMemInstanceIMP::GetInt() const {
  ZORQELI_TRACE("ZORQelI::integer ZORQelIMemInstanceIMP::GetInt() const");
  Site site;
  NeedKind(site, ZORQelI::Iinteger, ZORQelI::Iinteger);
  if (*site.tag != ZORQelIMemSlot::Integer) RaiseUnset();
  return site.slot->integer;
}

ZORQelI::real ZORQelIMemInstanceIMP::GetReal() const {
  ZORQELI_TRACE("ZORQelI::real ZORQelIMemInstanceIMP::GetReal() const");
  Site site;
  NeedKind(site, ZORQelI::Ireal, ZORQelI::Ireal);
  if (*site.tag != ZORQelIMemSlot::Real) RaiseUnset();
  return site.slot->real;
}

ZORQelI::boolean ZORQelIMemInstanceIMP::GetBoolean() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIMemInstanceIMP::GetBoolean() const");
  Site site;
  NeedKind(site, ZORQelI::Iboolean, ZORQelI::Ilogical);
  if (*site.tag != ZORQelIMemSlot::Boolean) RaiseUnset();
  return site.slot->boolean;
}

ZORQelI::string ZORQelIMemInstanceIMP::GetString() const {
  ZORQELI_TRACE("ZORQelI::string ZORQelIMemInstanceIMP::GetString() const");
  Site site;
  NeedKind(site, ZORQelI::Istring, ZORQelI::Ibinary);
  const std::uint8_t tag = *site.tag;
  if (!ZORQelIMemSlot::IsText(tag)) RaiseUnset();
  return ZORQelI::string(ZORQelIMemSlot::TextOf(*site.slot, tag));
}

ZORQelI::Mint ZORQelIMemInstanceIMP::GetInstanceId() const {
  ZORQELI_TRACE("ZORQelI::Mint ZORQelIMemInstanceIMP::GetInstanceId() const");
  ZORQelIMemEntityInstanceIMP* r = Referent();
  return r != nullptr ? ZORQelI::Mint(r->Number()) : ZORQelI::Mint::UNSET;
}

void ZORQelIMemInstanceIMP::PutInt(ZORQelI::integer v) {
  ZORQELI_TRACE("void ZORQelIMemInstanceIMP::PutInt(ZORQelI::integer v)");
  Site site;
  NeedKind(site, ZORQelI::Iinteger, ZORQelI::Iinteger);
  ZORQelIMemSlot s;
  s.integer = v;
  site.store->Write(site.index, s, ZORQelIMemSlot::Integer);
}

void ZORQelIMemInstanceIMP::PutReal(ZORQelI::real v) {
  ZORQELI_TRACE("void ZORQelIMemInstanceIMP::PutReal(ZORQelI::real v)");
  Site site;
  NeedKind(site, ZORQelI::Ireal, ZORQelI::Ireal);
  ZORQelIMemSlot s;
  s.real = v;
  site.store->Write(site.index, s, ZORQelIMemSlot::Real);
}

void ZORQelIMemInstanceIMP::PutBoolean(ZORQelI::boolean bo) {
  ZORQELI_TRACE("void ZORQelIMemInstanceIMP::PutBoolean(ZORQelI::boolean bo)");
  Site site;
  NeedKind(site, ZORQelI::Iboolean, ZORQelI::Ilogical);
  ZORQelIMemSlot s = ZORQelIMemSlot::None();
  s.boolean = bo;
  site.store->Write(site.index, s, ZORQelIMemSlot::Boolean);
}

void ZORQelIMemInstanceIMP::PutString(ZORQelI::string text) {
  ZORQELI_TRACE("void ZORQelIMemInstanceIMP::PutString(ZORQelI::string s)");
  Site site;
  NeedKind(site, ZORQelI::Istring, ZORQelI::Ibinary);
  CheckWidth(site.type, text);
  ZORQelIMemSlot s;
  std::uint8_t tag;
  ZORQelIMemSlot::PutText(s, tag, text);
  site.store->Write(site.index, s, tag);
}

ZORQelIObject ZORQelIMemInstanceIMP::GetObject() const {
  ZORQELI_TRACE("ZORQelIObject ZORQelIMemInstanceIMP::GetObject() const");
  Site site;
  // An entity instance or an aggregate is its own object.
  if (!Locate(site)) return ZORQelIObject(const_cast<ZORQelIMemInstanceIMP*>(this));
  switch (*site.tag) {
    case ZORQelIMemSlot::Reference:
      return ZORQelIObject(ReferentAt(site));
    case ZORQelIMemSlot::Aggregate:
    case ZORQelIMemSlot::Object:
      return ZORQelIObject(site.slot->object);
    default:
      return ZORQelIObject();
  }
}

void ZORQelIMemInstanceIMP::PutObject(ZORQelIObject obj) {
  ZORQELI_TRACE("void ZORQelIMemInstanceIMP::PutObject(ZORQelIObject obj)");
  // A value, or a store that is its own object (an entity instance or an
  // aggregate): either takes an instance's value, or unsets.
  Site site;
  const bool value = Locate(site);
  if (obj.IsValid() != ZORQelI::Itrue) {
    Unset();
    return;
  }
  auto* p = const_cast<ZORQelIObjectIMP*>(obj.RefMe());
  if (value && KindOf(site) == ZORQelI::Ivoid) {
    ZORQelIMemSlot s;
    s.object = p;
    site.store->Write(site.index, s, ZORQelIMemSlot::Object);
  } else if (p->Match(ZORQelIInstanceIMP::ClassId()) == ZORQelI::Itrue) {
    PutObject(ZORQelIInstance(static_cast<ZORQelIInstanceIMP*>(p)));
  } else {
    RaiseKind(__LINE__);
  }
}

void ZORQelIMemInstanceIMP::PutObject(ZORQelIInstance obj) {
  ZORQELI_TRACE("void ZORQelIMemInstanceIMP::PutObject(ZORQelIInstance obj)");
  Site site;
  Need(site);
  ZORQelIMemSlot s;
  std::uint8_t tag;
  MakeValue(site.type, obj, s, tag);
  site.store->Write(site.index, s, tag);
}

int ZORQelIMemInstanceIMP::Size() const {
  ZORQELI_TRACE("int ZORQelIMemInstanceIMP::Size() const");
  ZORQelIMemAggregateIMP* a = AggregateOf();
  return a != nullptr ? a->Size() : 0;
}

ZORQelIInstance ZORQelIMemInstanceIMP::GetInstance(int key) const {
  ZORQELI_TRACE("ZORQelIInstance ZORQelIMemInstanceIMP::GetInstance(int key) const");
  ZORQelIMemAggregateIMP* a = AggregateOf();
  if (a == nullptr) ZORQELI_RAISE(ZORQelI::BoundError(key, key, 0, -1), kSource, __LINE__);
  return a->GetInstance(key);
}

void ZORQelIMemInstanceIMP::PutInstance(int key, ZORQelIInstance inst) {
  ZORQELI_TRACE("void ZORQelIMemInstanceIMP::PutInstance(int key, ZORQelIInstance inst)");
  if (ZORQelIMemAggregateIMP* a = AggregateOf()) {
    a->PutInstance(key, inst);
    return;
  }
  ZORQelIMemAggregateIMP* fresh = NewAggregate();
  ZORQelIInstance keep(fresh);
  fresh->PutInstance(key, inst);
  Adopt(fresh);
}

ZORQelIInstance ZORQelIMemInstanceIMP::GetAttr(ZORQelIAttr key) const {
  ZORQELI_TRACE("ZORQelIInstance ZORQelIMemInstanceIMP::GetAttr(ZORQelIAttr key) const");
  return ReferenceOf()->GetAttr(key);
}

ZORQelIInstance ZORQelIMemInstanceIMP::GetAttr(ZORQelI::string key) const {
  ZORQELI_TRACE("ZORQelIInstance ZORQelIMemInstanceIMP::GetAttr(ZORQelI::string key) const");
  return ReferenceOf()->GetAttr(key);
}

ZORQelI::boolean ZORQelIMemInstanceIMP::ForEach(ZORQelIWalker& x, int start, int stop) {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIMemInstanceIMP::ForEach(ZORQelIWalker& x, int start, int stop)");
  Site site;
  Need(site);
  if (KindOf(site) == ZORQelI::Ientity) return ReferenceOf()->ForEach(x, start, stop);
  if (ZORQelIMemAggregateIMP* a = AggregateOf()) return a->ForEach(x, start, stop);
  if (start != 0 || stop != 0) {
    ZORQELI_RAISE(ZORQelI::BoundError(start, stop - 1, 0, -1), kSource, __LINE__);
  }
  return ZORQelI::Itrue;
}

ZORQelI::boolean ZORQelIMemInstanceIMP::ForEach(ZORQelIWalker& x) {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIMemInstanceIMP::ForEach(ZORQelIWalker& x)");
  Site site;
  Need(site);
  if (KindOf(site) == ZORQelI::Ientity) return ReferenceOf()->ForEach(x);
  if (ZORQelIMemAggregateIMP* a = AggregateOf()) return a->ForEach(x);
  return ZORQelI::Itrue;
}

ZORQelI::boolean ZORQelIMemInstanceIMP::IsEmpty() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIMemInstanceIMP::IsEmpty() const");
  ZORQelIMemAggregateIMP* a = AggregateOf();
  return a != nullptr ? a->IsEmpty() : ZORQelI::Itrue;
}

ZORQelI::boolean ZORQelIMemInstanceIMP::Insert(ZORQelIInstance inst, ZORQelI::boolean atEnd) {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIMemInstanceIMP::Insert(ZORQelIInstance inst, ZORQelI::boolean atEnd)");
  if (ZORQelIMemAggregateIMP* a = AggregateOf()) return a->Insert(inst, atEnd);
  ZORQelIMemAggregateIMP* fresh = NewAggregate();
  ZORQelIInstance keep(fresh);
  ZORQelI::boolean added = fresh->Insert(inst, atEnd);
  Adopt(fresh);
  return added;
}

void ZORQelIMemInstanceIMP::Remove() {
  ZORQELI_TRACE("void ZORQelIMemInstanceIMP::Remove()");
  Site site;
  Need(site);
  site.store->RemoveCell(site.index);
}

ZORQelI::Mint ZORQelIMemInstanceIMP::Look(ZORQelIInstance inst) const {
  ZORQELI_TRACE("ZORQelI::Mint ZORQelIMemInstanceIMP::Look(ZORQelIInstance inst) const");
  ZORQelIMemAggregateIMP* a = AggregateOf();
  return a != nullptr ? a->Look(inst) : ZORQelI::Mint::UNSET;
}
