// ZORQelIMemAggregateIMP: an array, list, set or bag value of the in-memory
// provider.
#include "ZORQelIMemAggregateIMP.h"

#include <algorithm>
#include <climits>
#include <cstring>
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

// The elements follow the object: sizeof is a multiple of the slots'
// alignment, so `this + 1` is where the first slot goes; the header fills
// 48 bytes exactly, its last four being the tags kept in the object.
static_assert(sizeof(ZORQelIMemAggregateIMP) % alignof(ZORQelIMemSlot) == 0,
              "the trailing elements must be aligned");
static_assert(sizeof(ZORQelIMemAggregateIMP) == 48, "the aggregate's header has no padding");

ZORQelIMemAggregateIMP* ZORQelIMemAggregateIMP::Allocate(ZORQelIMemTypeIMP* type,
                                                         ZORQelIMemEntityInstanceIMP* holder,
                                                         int count) {
  const std::size_t n = static_cast<std::size_t>(count);
  // At least one slot: a spilled aggregate keeps its block's address there.
  Extra extra{std::max<std::size_t>(n, 1) * sizeof(ZORQelIMemSlot) +
              (n > kTagsInObject ? n : 0)};
  return new (extra) ZORQelIMemAggregateIMP(type, holder, count);
}

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
    return Allocate(type, holder, count);
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
  auto* a = Allocate(type, holder, n);
  if (n > 0) {  // s and tags may be null then
    std::memcpy(static_cast<void*>(a->Elements()), s, static_cast<std::size_t>(n) * sizeof *s);
    std::memcpy(a->ElementTags(), tags, static_cast<std::size_t>(n));
  }
  for (int i = 0; i < n; ++i) {
    if (tags[i] == ZORQelIMemSlot::Aggregate) {
      static_cast<ZORQelIMemAggregateIMP*>(s[i].object)->SetHolder(holder);
    }
  }
  return a;
}

ZORQelIMemAggregateIMP::ZORQelIMemAggregateIMP(ZORQelIMemTypeIMP* type,
                                               ZORQelIMemEntityInstanceIMP* holder, int count)
    : type_(type), holder_(holder), sizeBits_(static_cast<std::uint32_t>(count)), tags4_() {
  ZORQELI_TRACE(" ZORQelIMemAggregateIMP::ZORQelIMemAggregateIMP(ZORQelIMemTypeIMP* type, ZORQelIMemEntityInstanceIMP* holder, int count)");
  const std::size_t n = static_cast<std::size_t>(count);
  std::memset(static_cast<void*>(Trailing()), 0, std::max<std::size_t>(n, 1) * sizeof(ZORQelIMemSlot));
  std::memset(ElementTags(), ZORQelIMemSlot::Unset, n);
}

ZORQelIMemAggregateIMP::~ZORQelIMemAggregateIMP() {
  ZORQelIMemSlot::Free(Elements(), ElementTags(), Size());
  if (Spilled()) ::operator delete(Elements());
}

void ZORQelIMemAggregateIMP::Spill(std::size_t room) {
  ZORQELI_TRACE("void ZORQelIMemAggregateIMP::Spill(std::size_t room)");
  const std::size_t n = Count();
  auto* block = static_cast<ZORQelIMemSlot*>(::operator new(room * (sizeof(ZORQelIMemSlot) + 1)));
  if (n > 0) {
    std::memcpy(static_cast<void*>(block), Elements(), n * sizeof(ZORQelIMemSlot));
    std::memcpy(block + room, ElementTags(), n);
  }
  if (Spilled()) ::operator delete(Elements());
  std::memcpy(Trailing(), &block, sizeof block);
  const std::uint32_t room32 = static_cast<std::uint32_t>(room);
  std::memcpy(tags4_, &room32, sizeof room32);
  sizeBits_ |= kSpilled;
}

void ZORQelIMemAggregateIMP::EnsureRoom(std::size_t n) {
  ZORQELI_TRACE("void ZORQelIMemAggregateIMP::EnsureRoom(std::size_t n)");
  if (!Spilled()) {
    if (n != Count()) Spill(std::max<std::size_t>(n, kTagsInObject));
  } else if (n > Room()) {
    // Positions are 32-bit (CheckRoom and the callers keep n <= INT_MAX).
    Spill(std::min<std::size_t>(std::max(n, 2 * Room()), INT_MAX));
  }
}

ZORQelIObjectIMP* ZORQelIMemAggregateIMP::Clone() const {
  ZORQELI_TRACE("ZORQelIObjectIMP* ZORQelIMemAggregateIMP::Clone() const");
  const int n = Size();
  auto* copy = Allocate(type_, nullptr, n);
  ZORQelIInstance keep(copy);
  // Filled in place: a copy that raises half way holds unset elements.
  const ZORQelIMemSlot* from = Elements();
  const std::uint8_t* fromTags = ElementTags();
  ZORQelIMemSlot* to = copy->Elements();
  std::uint8_t* toTags = copy->ElementTags();
  for (int i = 0; i < n; ++i) CopySlot(from[i], fromTags[i], to[i], toTags[i]);
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
  ZORQelIMemSlot::Scan(Elements(), ElementTags(), Size());
}

ZORQelIType ZORQelIMemAggregateIMP::GetType() const {
  ZORQELI_TRACE("ZORQelIType ZORQelIMemAggregateIMP::GetType() const");
  return ZORQelIType(type_);
}

void ZORQelIMemAggregateIMP::Clear() {
  ZORQELI_TRACE("void ZORQelIMemAggregateIMP::Clear()");
  ZORQelIMemSlot* s = Elements();
  std::uint8_t* tags = ElementTags();
  for (int i = 0, n = Size(); i < n; ++i) ZORQelIMemSlot::Release(s[i], tags[i]);
  if (!IsFixed()) SetCount(0);
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
  // The built elements move here; `built` is left empty (its slots are no
  // longer its own).
  const std::size_t n = built->Count();
  EnsureRoom(n);
  Clear();
  SetCount(n);  // before ElementTags(), which depends on the count
  std::memcpy(static_cast<void*>(Elements()), built->Elements(), n * sizeof(ZORQelIMemSlot));
  std::memcpy(ElementTags(), built->ElementTags(), n);
  built->SetCount(0);
  SetHolder(holder_);
  Changed();
}

int ZORQelIMemAggregateIMP::Size() const {
  ZORQELI_TRACE("int ZORQelIMemAggregateIMP::Size() const");
  return static_cast<int>(Count());
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
  return Count() == 0 ? ZORQelI::Itrue : ZORQelI::Ifalse;
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
  const ZORQelIMemSlot* s = Elements();
  const std::uint8_t* tags = ElementTags();
  for (int i = 0, n = Size(); i < n; ++i) {
    if (Matches(s[i], tags[i], inst)) return ZORQelI::Mint(static_cast<std::int32_t>(i));
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
  return Elements();
}

std::uint8_t* ZORQelIMemAggregateIMP::Tags() {
  ZORQELI_TRACE("std::uint8_t* ZORQelIMemAggregateIMP::Tags()");
  return ElementTags();
}

ZORQelITypeIMP* ZORQelIMemAggregateIMP::CellType(int) const {
  ZORQELI_TRACE("ZORQelITypeIMP* ZORQelIMemAggregateIMP::CellType(int i) const");
  return type_->SubType();
}

bool ZORQelIMemAggregateIMP::Admits(int i, const ZORQelIMemSlot& s, std::uint8_t tag) const {
  ZORQELI_TRACE("bool ZORQelIMemAggregateIMP::Admits(int i, const ZORQelIMemSlot& s, std::uint8_t tag) const");
  if (!IsDistinct()) return true;
  const ZORQelIMemSlot* held = Elements();
  const std::uint8_t* tags = ElementTags();
  for (int j = 0, n = Size(); j < n; ++j) {
    if (j != i && ZORQelIMemSlot::Same(held[j], tags[j], s, tag)) return false;
  }
  return true;
}

void ZORQelIMemAggregateIMP::RemoveCell(int i) {
  ZORQELI_TRACE("void ZORQelIMemAggregateIMP::RemoveCell(int i)");
  if (IsFixed()) {
    Store(i, ZORQelIMemSlot::None(), ZORQelIMemSlot::Unset);
    return;
  }
  // Spilled first: the count of elements that follow the object is fixed.
  if (!Spilled()) Spill(Count());
  ZORQelIMemSlot* s = Elements();
  std::uint8_t* tags = ElementTags();
  ZORQelIMemSlot::Release(s[i], tags[i]);
  const std::size_t after = Count() - static_cast<std::size_t>(i) - 1;
  std::memmove(static_cast<void*>(s + i), s + i + 1, after * sizeof *s);
  std::memmove(tags + i, tags + i + 1, after);
  SetCount(Count() - 1);
  Changed();
}

ZORQelIMemEntityInstanceIMP* ZORQelIMemAggregateIMP::Holder() const {
  ZORQELI_TRACE("ZORQelIMemEntityInstanceIMP* ZORQelIMemAggregateIMP::Holder() const");
  return holder_;
}

void ZORQelIMemAggregateIMP::SetHolder(ZORQelIMemEntityInstanceIMP* holder) {
  ZORQELI_TRACE("void ZORQelIMemAggregateIMP::SetHolder(ZORQelIMemEntityInstanceIMP* holder)");
  holder_ = holder;
  const ZORQelIMemSlot* s = Elements();
  const std::uint8_t* tags = ElementTags();
  for (int i = 0, n = Size(); i < n; ++i) {
    if (tags[i] == ZORQelIMemSlot::Aggregate) {
      static_cast<ZORQelIMemAggregateIMP*>(s[i].object)->SetHolder(holder);
    }
  }
}

void ZORQelIMemAggregateIMP::Add(const ZORQelIMemSlot& s, std::uint8_t tag, bool atEnd) {
  ZORQELI_TRACE("void ZORQelIMemAggregateIMP::Add(const ZORQelIMemSlot& s, std::uint8_t tag, bool atEnd)");
  const std::size_t n = Count();
  EnsureRoom(n + 1);
  ZORQelIMemSlot* held = Elements();
  std::uint8_t* tags = ElementTags();
  std::size_t at = n;
  if (!atEnd) {
    std::memmove(static_cast<void*>(held + 1), held, n * sizeof *held);
    std::memmove(tags + 1, tags, n);
    at = 0;
  }
  held[at] = s;
  tags[at] = tag;
  SetCount(n + 1);
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
