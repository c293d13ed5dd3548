// ZORQelIMemAggregateIMP: an array, list, set or bag value of the in-memory
// provider.
#include "ZORQelIMemAggregateIMP.h"

#include <climits>
#include <new>
#include <stdexcept>
#include <string>

#include "ZORQelIMemCellIMP.h"
#include "ZORQelIMemEntityInstanceIMP.h"
#include "ZORQelIMemModelerIMP.h"
#include "ZORQelIMemTypeIMP.h"

namespace {
const char kSource[] = "QelInfrastructure/QL0KRNMem.m/src/ZORQelIMemAggregateIMP";
// stop - 1, the last position of a walk, with 32-bit wrap-around: a stop of
// INT_MIN is reported in the bound error, not overflowed.
int LastPosition(int stop) { return static_cast<int>(static_cast<unsigned>(stop) - 1u); }
}  // namespace

ZORQELI_DEFINE_IMP(ZORQelIMemAggregateIMP, ZORQelIMemInstanceIMP)

ZORQelIMemAggregateIMP* ZORQelIMemAggregateIMP::Make(ZORQelIMemTypeIMP* type,
                                                     ZORQelIMemEntityInstanceIMP* holder) {
  ZORQELI_TRACE("ZORQelIMemAggregateIMP* ZORQelIMemAggregateIMP::Make(ZORQelIMemTypeIMP* type, ZORQelIMemEntityInstanceIMP* holder)");
  int count = 0;
  ZORQelI::Mint low = type->LowerBound();
  ZORQelI::Mint high = type->UpperBound();
  if (type->PrimitiveType() == ZORQelI::Iarray && low.IsSet() && high.IsSet()) {
    // Checked before the object exists: a constructed object cannot fail.
    if (high < low) {
      ZORQELI_RAISE(ZORQelI::Exception("the bounds of " + type->FullTypeName() +
                                       " are inverted: no array can be made of it"),
                    kSource, __LINE__);
    }
    const std::int64_t elements = static_cast<std::int64_t>(high) - low + 1;
    // Positions are 32-bit: [0:2147483647] and wider bounds name more
    // elements than any aggregate can hold.
    if (elements > INT_MAX) {
      ZORQELI_RAISE(ZORQelI::Exception(
                         type->FullTypeName() + " has " +
                         ZORQelI::string(std::to_string(elements).c_str()) +
                         " elements: more than an aggregate can hold (2147483647)"),
                     kSource, __LINE__);
    }
    count = static_cast<int>(elements);
  }
  try {
    return new ZORQelIMemAggregateIMP(type, holder, count);
  } catch (const std::bad_alloc&) {
  } catch (const std::length_error&) {
  }
  // Out of the handlers: the allocation's exception is over before ours.
  ZORQELI_RAISE(ZORQelI::Exception(ZORQelI::string("no memory for the ") +
                                        ZORQelI::string(std::to_string(count).c_str()) +
                                        " elements of " + type->FullTypeName()),
                 kSource, __LINE__);
}

ZORQelIMemAggregateIMP* ZORQelIMemAggregateIMP::MakeFilled(ZORQelIMemTypeIMP* type,
                                                           ZORQelIMemEntityInstanceIMP* holder,
                                                           const ZORQelIMemSlot* s,
                                                           const std::uint8_t* tags, int n) {
  ZORQELI_TRACE("ZORQelIMemAggregateIMP* ZORQelIMemAggregateIMP::MakeFilled(ZORQelIMemTypeIMP* type, ZORQelIMemEntityInstanceIMP* holder, const ZORQelIMemSlot* s, const std::uint8_t* tags, int n)");
  auto* a = new ZORQelIMemAggregateIMP(type, holder, 0);
  a->slots_.assign(s, s + n);
  a->tags_.assign(tags, tags + n);
  for (int i = 0; i < n; ++i) {
    if (tags[i] == ZORQelIMemSlot::Aggregate) {
      static_cast<ZORQelIMemAggregateIMP*>(s[i].object)->SetHolder(holder);
    }
  }
  return a;
}

ZORQelIMemAggregateIMP::ZORQelIMemAggregateIMP(ZORQelIMemTypeIMP* type,
                                               ZORQelIMemEntityInstanceIMP* holder, int count)
    : type_(type),
      holder_(holder),
      slots_(count, ZORQelIMemSlot::None()),
      tags_(count, ZORQelIMemSlot::Unset) {
  ZORQELI_TRACE(" ZORQelIMemAggregateIMP::ZORQelIMemAggregateIMP(ZORQelIMemTypeIMP* type, ZORQelIMemEntityInstanceIMP* holder, int count)");
}

ZORQelIMemAggregateIMP::~ZORQelIMemAggregateIMP() {
  ZORQelIMemSlot::Free(slots_.data(), tags_.data(), static_cast<int>(slots_.size()));
}

ZORQelIObjectIMP* ZORQelIMemAggregateIMP::Clone() const {
  ZORQELI_TRACE("ZORQelIObjectIMP* ZORQelIMemAggregateIMP::Clone() const");
  auto* copy = new ZORQelIMemAggregateIMP(type_, nullptr, 0);
  ZORQelIInstance keep(copy);
  copy->slots_.reserve(slots_.size());
  copy->tags_.reserve(tags_.size());
  for (std::size_t i = 0; i < slots_.size(); ++i) {
    ZORQelIMemSlot s;
    std::uint8_t tag;
    CopySlot(slots_[i], tags_[i], s, tag);
    copy->slots_.push_back(s);
    copy->tags_.push_back(tag);
  }
  return copy;
}

ZORQelI::boolean ZORQelIMemAggregateIMP::IsValid() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIMemAggregateIMP::IsValid() const");
  return ZORQelI::Itrue;
}

void ZORQelIMemAggregateIMP::GarbageCollectorMemberCheck() {
  ZORQELI_TRACE("void ZORQelIMemAggregateIMP::GarbageCollectorMemberCheck()");
  ZORQelIMemInstanceIMP::GarbageCollectorMemberCheck();
  GarbageCollectorScan(type_);
  GarbageCollectorScan(holder_);
  ZORQelIMemSlot::Scan(slots_.data(), tags_.data(), static_cast<int>(slots_.size()));
}

ZORQelIType ZORQelIMemAggregateIMP::GetType() const {
  ZORQELI_TRACE("ZORQelIType ZORQelIMemAggregateIMP::GetType() const");
  return ZORQelIType(type_);
}

void ZORQelIMemAggregateIMP::Clear() {
  ZORQELI_TRACE("void ZORQelIMemAggregateIMP::Clear()");
  for (std::size_t i = 0; i < slots_.size(); ++i) ZORQelIMemSlot::Release(slots_[i], tags_[i]);
  if (!IsFixed()) {
    slots_.clear();
    tags_.clear();
  }
}

void ZORQelIMemAggregateIMP::Unset() {
  ZORQELI_TRACE("void ZORQelIMemAggregateIMP::Unset()");
  Clear();
  Changed();
}

void ZORQelIMemAggregateIMP::Delete() {
  ZORQELI_TRACE("void ZORQelIMemAggregateIMP::Delete()");
  Unset();
}

void ZORQelIMemAggregateIMP::PutObject(ZORQelIInstance obj) {
  ZORQELI_TRACE("void ZORQelIMemAggregateIMP::PutObject(ZORQelIInstance obj)");
  if (obj.IsValid() != ZORQelI::Itrue) {
    Unset();
    return;
  }
  if (obj.RefMe() == this) return;
  // Built apart, so a refused element leaves this aggregate unchanged.
  ZORQelIMemSlot s;
  std::uint8_t tag;
  MakeValue(type_, obj, s, tag);
  auto* built = static_cast<ZORQelIMemAggregateIMP*>(s.object);
  ZORQelIInstance keep(built);
  slots_.swap(built->slots_);
  tags_.swap(built->tags_);
  built->Clear();
  SetHolder(holder_);
  Changed();
}

int ZORQelIMemAggregateIMP::Size() const {
  ZORQELI_TRACE("int ZORQelIMemAggregateIMP::Size() const");
  return static_cast<int>(slots_.size());
}

ZORQelIInstance ZORQelIMemAggregateIMP::GetInstance(int key) const {
  ZORQELI_TRACE("ZORQelIInstance ZORQelIMemAggregateIMP::GetInstance(int key) const");
  int n = Size();
  if (key < 0 || key >= n) {
    ZORQELI_RAISE(ZORQelI::BoundError(key, key, 0, n - 1), kSource, __LINE__);
  }
  return ZORQelIInstance(new ZORQelIMemCellIMP(const_cast<ZORQelIMemAggregateIMP*>(this), key));
}

void ZORQelIMemAggregateIMP::PutInstance(int key, ZORQelIInstance inst) {
  ZORQELI_TRACE("void ZORQelIMemAggregateIMP::PutInstance(int key, ZORQelIInstance inst)");
  int n = Size();
  bool append = key == n && !IsFixed();
  if (key < 0 || (key >= n && !append)) {
    ZORQELI_RAISE(ZORQelI::BoundError(key, key, 0, n - 1), kSource, __LINE__);
  }
  if (append) CheckRoom();
  ZORQelIMemSlot s;
  std::uint8_t tag;
  MakeValue(type_->SubType(), inst, s, tag);
  if (!append) {
    Write(key, s, tag);
    return;
  }
  if (!Admits(-1, s, tag)) {
    ZORQelIMemSlot::Release(s, tag);
    ZORQELI_RAISE(ZORQelI::Exception(ZORQelI::string(
                  "an equal element is already held by this aggregate of distinct elements")),
                  kSource, __LINE__);
  }
  Add(s, tag, true);
}

ZORQelI::boolean ZORQelIMemAggregateIMP::ForEach(ZORQelIWalker& x, int start, int stop) {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIMemAggregateIMP::ForEach(ZORQelIWalker& x, int start, int stop)");
  int n = Size();
  if (start < 0 || stop > n || start > stop) {
    ZORQELI_RAISE(ZORQelI::BoundError(start, LastPosition(stop), 0, n - 1), kSource, __LINE__);
  }
  for (int i = start; i < stop; ++i) {
    if (x.Walk(ZORQelIInstance(new ZORQelIMemCellIMP(this, i)), i) != ZORQelI::Itrue) {
      return ZORQelI::Ifalse;
    }
  }
  return ZORQelI::Itrue;
}

ZORQelI::boolean ZORQelIMemAggregateIMP::ForEach(ZORQelIWalker& x) {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIMemAggregateIMP::ForEach(ZORQelIWalker& x)");
  return ForEach(x, 0, Size());
}

ZORQelI::boolean ZORQelIMemAggregateIMP::IsEmpty() const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIMemAggregateIMP::IsEmpty() const");
  return slots_.empty() ? ZORQelI::Itrue : ZORQelI::Ifalse;
}

ZORQelI::boolean ZORQelIMemAggregateIMP::Insert(ZORQelIInstance inst, ZORQelI::boolean atEnd) {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIMemAggregateIMP::Insert(ZORQelIInstance inst, ZORQelI::boolean atEnd)");
  if (IsFixed()) {
    int n = Size();
    ZORQELI_RAISE(ZORQelI::BoundError(n, n, 0, n - 1), kSource, __LINE__);
  }
  CheckRoom();
  ZORQelIMemSlot s;
  std::uint8_t tag;
  MakeValue(type_->SubType(), inst, s, tag);
  if (!Admits(-1, s, tag)) {
    ZORQelIMemSlot::Release(s, tag);
    return ZORQelI::Ifalse;
  }
  Add(s, tag, atEnd == ZORQelI::Itrue);
  return ZORQelI::Itrue;
}

ZORQelI::Mint ZORQelIMemAggregateIMP::Look(ZORQelIInstance inst) const {
  ZORQELI_TRACE("ZORQelI::Mint ZORQelIMemAggregateIMP::Look(ZORQelIInstance inst) const");
  for (std::size_t i = 0; i < slots_.size(); ++i) {
    if (Matches(slots_[i], tags_[i], inst)) return ZORQelI::Mint(static_cast<std::int32_t>(i));
  }
  return ZORQelI::Mint::UNSET;
}

ZORQelIMemModelerIMP* ZORQelIMemAggregateIMP::Modeler() const {
  ZORQELI_TRACE("ZORQelIMemModelerIMP* ZORQelIMemAggregateIMP::Modeler() const");
  return type_->Modeler();
}

int ZORQelIMemAggregateIMP::CellCount() const {
  ZORQELI_TRACE("int ZORQelIMemAggregateIMP::CellCount() const");
  return Size();
}

ZORQelIMemSlot* ZORQelIMemAggregateIMP::Slots() {
  ZORQELI_TRACE("ZORQelIMemSlot* ZORQelIMemAggregateIMP::Slots()");
  return slots_.data();
}

std::uint8_t* ZORQelIMemAggregateIMP::Tags() {
  ZORQELI_TRACE("std::uint8_t* ZORQelIMemAggregateIMP::Tags()");
  return tags_.data();
}

ZORQelITypeIMP* ZORQelIMemAggregateIMP::CellType(int) const {
  ZORQELI_TRACE("ZORQelITypeIMP* ZORQelIMemAggregateIMP::CellType(int i) const");
  return type_->SubType();
}

bool ZORQelIMemAggregateIMP::Admits(int i, const ZORQelIMemSlot& s, std::uint8_t tag) const {
  ZORQELI_TRACE("bool ZORQelIMemAggregateIMP::Admits(int i, const ZORQelIMemSlot& s, std::uint8_t tag) const");
  if (!IsDistinct()) return true;
  for (std::size_t j = 0; j < slots_.size(); ++j) {
    if (static_cast<int>(j) != i && ZORQelIMemSlot::Same(slots_[j], tags_[j], s, tag)) {
      return false;
    }
  }
  return true;
}

void ZORQelIMemAggregateIMP::RemoveCell(int i) {
  ZORQELI_TRACE("void ZORQelIMemAggregateIMP::RemoveCell(int i)");
  if (IsFixed()) {
    Store(i, ZORQelIMemSlot::None(), ZORQelIMemSlot::Unset);
    return;
  }
  ZORQelIMemSlot::Release(slots_[i], tags_[i]);
  slots_.erase(slots_.begin() + i);
  tags_.erase(tags_.begin() + i);
  Changed();
}

ZORQelIMemEntityInstanceIMP* ZORQelIMemAggregateIMP::Holder() const {
  ZORQELI_TRACE("ZORQelIMemEntityInstanceIMP* ZORQelIMemAggregateIMP::Holder() const");
  return holder_;
}

void ZORQelIMemAggregateIMP::SetHolder(ZORQelIMemEntityInstanceIMP* holder) {
  ZORQELI_TRACE("void ZORQelIMemAggregateIMP::SetHolder(ZORQelIMemEntityInstanceIMP* holder)");
  holder_ = holder;
  for (std::size_t i = 0; i < slots_.size(); ++i) {
    if (tags_[i] == ZORQelIMemSlot::Aggregate) {
      static_cast<ZORQelIMemAggregateIMP*>(slots_[i].object)->SetHolder(holder);
    }
  }
}

void ZORQelIMemAggregateIMP::Add(const ZORQelIMemSlot& s, std::uint8_t tag, bool atEnd) {
  ZORQELI_TRACE("void ZORQelIMemAggregateIMP::Add(const ZORQelIMemSlot& s, std::uint8_t tag, bool atEnd)");
  if (atEnd) {
    slots_.push_back(s);
    tags_.push_back(tag);
  } else {
    slots_.insert(slots_.begin(), s);
    tags_.insert(tags_.begin(), tag);
  }
  if (tag == ZORQelIMemSlot::Aggregate) {
    static_cast<ZORQelIMemAggregateIMP*>(s.object)->SetHolder(holder_);
  }
  Changed();
}

bool ZORQelIMemAggregateIMP::IsFixed() const {
  ZORQELI_TRACE("bool ZORQelIMemAggregateIMP::IsFixed() const");
  return type_->PrimitiveType() == ZORQelI::Iarray && type_->LowerBound().IsSet() &&
         type_->UpperBound().IsSet();
}

bool ZORQelIMemAggregateIMP::IsDistinct() const {
  ZORQELI_TRACE("bool ZORQelIMemAggregateIMP::IsDistinct() const");
  return type_->PrimitiveType() == ZORQelI::Iset || type_->IsUnique() == ZORQelI::Itrue;
}

void ZORQelIMemAggregateIMP::CheckRoom() const {
  ZORQELI_TRACE("void ZORQelIMemAggregateIMP::CheckRoom() const");
  ZORQelI::Mint high = type_->UpperBound();
  int n = Size();
  if (type_->PrimitiveType() != ZORQelI::Iarray && high.IsSet() && n >= high) {
    ZORQELI_RAISE(ZORQelI::BoundError(n, n, 0, high - 1), kSource, __LINE__);
  }
}
