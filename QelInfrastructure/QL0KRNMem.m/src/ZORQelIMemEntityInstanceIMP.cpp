// ZORQelIMemEntityInstanceIMP: an entity instance of the in-memory provider.
#include "ZORQelIMemEntityInstanceIMP.h"

#include <cstring>
#include <new>

#include "ZORQelIExpressFormValues.h"
#include "ZORQelIMemAttrIMP.h"
#include "ZORQelIMemCellIMP.h"
#include "ZORQelIMemEntityIMP.h"
#include "ZORQelIMemInstancesIMP.h"
#include "ZORQelIMemModelerIMP.h"

namespace {
const char kSource[] = "QelInfrastructure/QL0KRNMem.m/src/ZORQelIMemEntityInstanceIMP";
// stop - 1, the last position of a walk, with 32-bit wrap-around: a stop of
// INT_MIN is reported in the bound error, not overflowed.
int LastPosition(int stop) { return static_cast<int>(static_cast<unsigned>(stop) - 1u); }
}

ZORQELI_DEFINE_IMP(ZORQelIMemEntityInstanceIMP, ZORQelIMemInstanceIMP)

// The printer's reader (ZORQelIExpressFormValues) of this class's attribute
// values: what a cell on the attribute would report (ZORQelIMemInstanceIMP:
// IsValid, GetType, the typed getters), read from the slot without making
// the cell.  What a cell would not report plainly is declined: aggregates,
// Void and Logical values, a slot whose tag does not fit its declared kind
// (the getter would raise), an attribute of another entity (GetAttr looks it
// up by name).
struct ZORQelIMemEntityInstanceReader {
  static bool Read(const ZORQelIObjectIMP* instance, const ZORQelIObjectIMP* attribute,
                   int position, ZORQelIExpressFormValues::Value& v) {
    ZORQELI_TRACE("bool ZORQelIMemEntityInstanceReader::Read(const ZORQelIObjectIMP* instance, const ZORQelIObjectIMP* attribute, int position, Value& v)");
    using Value = ZORQelIExpressFormValues::Value;
    using Site = ZORQelIMemEntityInstanceIMP::Site;
    const auto* x = static_cast<const ZORQelIMemEntityInstanceIMP*>(instance);
    // The layout is in inheritance order: the hint is usually the position.
    int i = position;
    if (i < 0 || i >= x->count_ || x->entity_->Layout()[i] != attribute) {
      i = x->PositionOf(attribute);
      if (i < 0) return false;
    }
    const Site site = x->AttributeSite(i);
    const ZORQelIMemSlot& slot = *site.slot;
    const std::uint8_t tag = *site.tag;
    if (tag == ZORQelIMemSlot::Unset) {
      v.kind = Value::Unset;
      return true;
    }
    if (tag == ZORQelIMemSlot::Reference) {
      // Typed as the referred instance's entity (kind 12), or unset once
      // that instance is deleted.
      const auto* r = static_cast<const ZORQelIMemEntityInstanceIMP*>(slot.object);
      v.kind = r->IsDeleted() ? Value::Unset : Value::Reference;
      v.integer = r->Number();
      return true;
    }
    // Each typed getter reads one tag; with any other it would raise.
    const int kind = site.type != nullptr ? static_cast<int>(site.type->PrimitiveType()) : -1;
    if (kind == ZORQelI::Iinteger && tag == ZORQelIMemSlot::Integer) {
      v.kind = Value::Integer;
      v.integer = slot.integer;
    } else if (kind == ZORQelI::Ireal && tag == ZORQelIMemSlot::Real) {
      v.kind = Value::Real;
      v.real = slot.real;
    } else if (kind == ZORQelI::Iboolean && tag == ZORQelIMemSlot::Boolean) {
      v.kind = Value::Boolean;
      v.boolean = slot.boolean;
    } else if ((kind == ZORQelI::Istring || kind == ZORQelI::Ibinary) &&
               ZORQelIMemSlot::IsText(tag)) {
      v.kind = kind == ZORQelI::Istring ? Value::String : Value::Binary;
      v.text = ZORQelIMemSlot::TextOf(slot, tag);
    } else {
      return false;
    }
    return true;
  }
};

// The values follow the object: sizeof is a multiple of the slots'
// alignment, so `this + 1` is where the first slot goes.
static_assert(sizeof(ZORQelIMemEntityInstanceIMP) % alignof(ZORQelIMemSlot) == 0,
              "the trailing slots must be aligned");

ZORQelIMemEntityInstanceIMP* ZORQelIMemEntityInstanceIMP::Make(ZORQelIMemEntityIMP* entity,
                                                               ZORQelI::integer id) {
  ZORQELI_TRACE("ZORQelIMemEntityInstanceIMP* ZORQelIMemEntityInstanceIMP::Make(ZORQelIMemEntityIMP* entity, ZORQelI::integer id)");
  // Freeze first: it may refuse, and nothing may raise once the object is
  // constructed and on the collector's list.
  std::size_t n = entity->Freeze().size();
  static const bool readable = (ZORQelIExpressFormValues::Register(
                                    typeid(ZORQelIMemEntityInstanceIMP),
                                    &ZORQelIMemEntityInstanceReader::Read),
                                true);
  static_cast<void>(readable);
  Extra extra{n * (sizeof(ZORQelIMemSlot) + 1)};
  return new (extra) ZORQelIMemEntityInstanceIMP(entity, id, static_cast<std::uint16_t>(n));
}

ZORQelIMemEntityInstanceIMP::ZORQelIMemEntityInstanceIMP(ZORQelIMemEntityIMP* entity,
                                                         ZORQelI::integer id,
                                                         std::uint16_t count)
    : entity_(entity), id_(id), count_(count) {
  ZORQELI_TRACE(" ZORQelIMemEntityInstanceIMP::ZORQelIMemEntityInstanceIMP(ZORQelIMemEntityIMP* entity, ZORQelI::integer id, std::uint16_t count)");
  std::memset(static_cast<void*>(Slots()), 0, count * (sizeof(ZORQelIMemSlot) + 1));
}

ZORQelIMemEntityInstanceIMP::~ZORQelIMemEntityInstanceIMP() {
  ZORQelIMemSlot::Free(Slots(), Tags(), count_);
}

ZORQelIObjectIMP* ZORQelIMemEntityInstanceIMP::Clone() const {
  ZORQELI_TRACE("ZORQelIObjectIMP* ZORQelIMemEntityInstanceIMP::Clone() const");
  ZORQelIMemEntityInstanceIMP* copy = Modeler()->Population()->MakeInstance(entity_);
  ZORQelIInstance keep(copy);
  auto* self = const_cast<ZORQelIMemEntityInstanceIMP*>(this);
  for (int i = 0; i < count_; ++i) {
    ZORQelIMemSlot s;
    std::uint8_t tag;
    CopySlot(self->Slots()[i], self->Tags()[i], s, tag);
    copy->Store(i, s, tag, false);
  }
  copy->Changed();
  return copy;
}

ZORQelI::boolean ZORQelIMemEntityInstanceIMP::IsValid() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIMemEntityInstanceIMP::IsValid() const");
  return IsDeleted() ? ZORQelI::Ifalse : ZORQelI::Itrue;
}

void ZORQelIMemEntityInstanceIMP::GarbageCollectorMemberCheck() {
  ZORQELI_TRACE("void ZORQelIMemEntityInstanceIMP::GarbageCollectorMemberCheck()");
  ZORQelIMemInstanceIMP::GarbageCollectorMemberCheck();
  GarbageCollectorScan(entity_);
  ZORQelIMemSlot::Scan(Slots(), Tags(), count_);
}

ZORQelIType ZORQelIMemEntityInstanceIMP::GetType() const {
  ZORQELI_TRACE("ZORQelIType ZORQelIMemEntityInstanceIMP::GetType() const");
  return ZORQelIType(entity_);
}

void ZORQelIMemEntityInstanceIMP::Clear() {
  ZORQELI_TRACE("void ZORQelIMemEntityInstanceIMP::Clear()");
  ZORQelIMemSlot* slots = Slots();
  std::uint8_t* tags = Tags();
  for (int i = 0; i < count_; ++i) ZORQelIMemSlot::Release(slots[i], tags[i]);
}

void ZORQelIMemEntityInstanceIMP::Unset() {
  ZORQELI_TRACE("void ZORQelIMemEntityInstanceIMP::Unset()");
  Clear();
  Changed();
}

void ZORQelIMemEntityInstanceIMP::Delete() {
  ZORQELI_TRACE("void ZORQelIMemEntityInstanceIMP::Delete()");
  if (IsDeleted()) return;
  Modeler()->Population()->Withdraw(this);
  Clear();
  state_ |= kDeleted;
  Modeler()->Notify(ZORQelIMemModelerIMP::Deleted, this);
}

ZORQelI::Mint ZORQelIMemEntityInstanceIMP::GetInstanceId() const {
  ZORQELI_TRACE("ZORQelI::Mint ZORQelIMemEntityInstanceIMP::GetInstanceId() const");
  return ZORQelI::Mint(id_);
}

void ZORQelIMemEntityInstanceIMP::PutObject(ZORQelIInstance obj) {
  ZORQELI_TRACE("void ZORQelIMemEntityInstanceIMP::PutObject(ZORQelIInstance obj)");
  if (obj.IsValid() != ZORQelI::Itrue) {
    Unset();
    return;
  }
  ZORQelIMemInstanceIMP* m = Of(obj);
  ZORQelIMemEntityInstanceIMP* from = m != nullptr ? m->Referent() : nullptr;
  if (from == nullptr || from->entity_ != entity_) RaiseKind(__LINE__);
  if (from == this) return;
  for (int i = 0; i < count_; ++i) {
    ZORQelIMemSlot s;
    std::uint8_t tag;
    CopySlot(from->Slots()[i], from->Tags()[i], s, tag);
    Store(i, s, tag, false);
  }
  Changed();
}

int ZORQelIMemEntityInstanceIMP::PositionOf(const ZORQelIObjectIMP* attr) const {
  ZORQELI_TRACE("int ZORQelIMemEntityInstanceIMP::PositionOf(const ZORQelIObjectIMP* attr) const");
  const std::vector<ZORQelIMemAttrIMP*>& layout = entity_->Layout();
  for (int i = 0; i < count_; ++i) {
    if (layout[i] == attr) return i;
  }
  return -1;
}

ZORQelIInstance ZORQelIMemEntityInstanceIMP::GetAttr(ZORQelIAttr key) const {
  ZORQELI_TRACE("ZORQelIInstance ZORQelIMemEntityInstanceIMP::GetAttr(ZORQelIAttr key) const");
  int i = PositionOf(key.RefMe());
  // An attribute of another schema's entity (the deep copy between schemas
  // passes the source's attributes to the copies) is found by its name.
  if (i < 0) return GetAttr(key.Name());
  return ZORQelIInstance(new ZORQelIMemCellIMP(const_cast<ZORQelIMemEntityInstanceIMP*>(this), i));
}

ZORQelIInstance ZORQelIMemEntityInstanceIMP::GetAttr(ZORQelI::string key) const {
  ZORQELI_TRACE("ZORQelIInstance ZORQelIMemEntityInstanceIMP::GetAttr(ZORQelI::string key) const");
  const std::vector<ZORQelIMemAttrIMP*>& layout = entity_->Layout();
  for (int i = 0; i < count_; ++i) {
    if (layout[i]->NameRef() == key) {
      return ZORQelIInstance(
          new ZORQelIMemCellIMP(const_cast<ZORQelIMemEntityInstanceIMP*>(this), i));
    }
  }
  return ZORQelIInstance();
}

ZORQelI::boolean ZORQelIMemEntityInstanceIMP::ForEach(ZORQelIWalker& x, int start, int stop) {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIMemEntityInstanceIMP::ForEach(ZORQelIWalker& x, int start, int stop)");
  if (start < 0 || stop > count_ || start > stop) {
    ZORQELI_RAISE(ZORQelI::BoundError(start, LastPosition(stop), 0, count_ - 1), kSource, __LINE__);
  }
  for (int i = start; i < stop; ++i) {
    if (x.Walk(ZORQelIInstance(new ZORQelIMemCellIMP(this, i)), i) != ZORQelI::Itrue) {
      return ZORQelI::Ifalse;
    }
  }
  return ZORQelI::Itrue;
}

ZORQelI::boolean ZORQelIMemEntityInstanceIMP::ForEach(ZORQelIWalker& x) {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIMemEntityInstanceIMP::ForEach(ZORQelIWalker& x)");
  return ForEach(x, 0, count_);
}

void ZORQelIMemEntityInstanceIMP::Remove() {
  ZORQELI_TRACE("void ZORQelIMemEntityInstanceIMP::Remove()");
  Modeler()->Population()->Withdraw(this);
}

ZORQelIMemModelerIMP* ZORQelIMemEntityInstanceIMP::Modeler() const {
  ZORQELI_TRACE("ZORQelIMemModelerIMP* ZORQelIMemEntityInstanceIMP::Modeler() const");
  return entity_->Modeler();
}

ZORQelIMemEntityInstanceIMP* ZORQelIMemEntityInstanceIMP::Referent() const {
  ZORQELI_TRACE("ZORQelIMemEntityInstanceIMP* ZORQelIMemEntityInstanceIMP::Referent() const");
  return IsDeleted() ? nullptr : const_cast<ZORQelIMemEntityInstanceIMP*>(this);
}

int ZORQelIMemEntityInstanceIMP::CellCount() const {
  ZORQELI_TRACE("int ZORQelIMemEntityInstanceIMP::CellCount() const");
  return count_;
}

ZORQelIMemSlot* ZORQelIMemEntityInstanceIMP::Slots() {
  ZORQELI_TRACE("ZORQelIMemSlot* ZORQelIMemEntityInstanceIMP::Slots()");
  return SlotArray();
}

std::uint8_t* ZORQelIMemEntityInstanceIMP::Tags() {
  ZORQELI_TRACE("std::uint8_t* ZORQelIMemEntityInstanceIMP::Tags()");
  return TagArray();
}

ZORQelIMemInstanceIMP::Site ZORQelIMemEntityInstanceIMP::AttributeSite(int i) const {
  ZORQELI_TRACE("Site ZORQelIMemEntityInstanceIMP::AttributeSite(int i) const");
  return Site{const_cast<ZORQelIMemEntityInstanceIMP*>(this), i, SlotArray() + i, TagArray() + i,
              entity_->Layout()[i]->TypeIMP()};
}

ZORQelITypeIMP* ZORQelIMemEntityInstanceIMP::CellType(int i) const {
  ZORQELI_TRACE("ZORQelITypeIMP* ZORQelIMemEntityInstanceIMP::CellType(int i) const");
  return entity_->Layout()[i]->TypeIMP();
}

void ZORQelIMemEntityInstanceIMP::RemoveCell(int i) {
  ZORQELI_TRACE("void ZORQelIMemEntityInstanceIMP::RemoveCell(int i)");
  Store(i, ZORQelIMemSlot::None(), ZORQelIMemSlot::Unset);
}

ZORQelIMemEntityInstanceIMP* ZORQelIMemEntityInstanceIMP::Holder() const {
  ZORQELI_TRACE("ZORQelIMemEntityInstanceIMP* ZORQelIMemEntityInstanceIMP::Holder() const");
  return const_cast<ZORQelIMemEntityInstanceIMP*>(this);
}

void ZORQelIMemEntityInstanceIMP::SetInPopulation(bool in) {
  ZORQELI_TRACE("void ZORQelIMemEntityInstanceIMP::SetInPopulation(bool in)");
  state_ = static_cast<std::uint8_t>(in ? (state_ | kInPopulation) : (state_ & ~kInPopulation));
}
