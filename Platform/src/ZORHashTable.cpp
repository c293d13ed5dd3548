#include "ZORHashTable.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>
#include <utility>

#include <sys/mman.h>

namespace {

constexpr std::size_t kDefaultBuckets = 109;
// Initial overflow area (slots past the last home); it doubles when filled.
constexpr std::size_t kMinOverflow = 32;

inline std::size_t GrowLimit(std::size_t buckets) { return buckets * 3 / 4; }

constexpr std::size_t kHugePage = std::size_t(2) << 20;

// The mapping of a large slot array: its byte size rounded up to huge pages.
inline std::size_t MappedBytes(std::size_t bytes) {
  return (bytes + kHugePage - 1) & ~(kHugePage - 1);
}

}  // namespace

namespace {

// Blocks of 2 MiB and more are mapped on their own, aligned, and offered to
// the system as transparent huge pages; smaller ones come from operator new.
void* AllocateBlock(std::size_t bytes) {
  if (bytes < kHugePage) return ::operator new(bytes);
  // Map one huge page more than needed, then unmap what lies outside the
  // aligned range.
  const std::size_t len = MappedBytes(bytes);
  void* raw =
      mmap(nullptr, len + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (raw == MAP_FAILED) throw std::bad_alloc();
  const std::uintptr_t start = reinterpret_cast<std::uintptr_t>(raw);
  const std::uintptr_t aligned = (start + kHugePage - 1) & ~(kHugePage - 1);
  if (aligned > start) munmap(raw, aligned - start);
  const std::uintptr_t tail = aligned + len, end = start + len + kHugePage;
  if (end > tail) munmap(reinterpret_cast<void*>(tail), end - tail);
#ifdef MADV_HUGEPAGE
  madvise(reinterpret_cast<void*>(aligned), len, MADV_HUGEPAGE);  // advice: may be refused
#endif
  return reinterpret_cast<void*>(aligned);
}

void FreeBlock(void* p, std::size_t bytes) noexcept {
  if (bytes < kHugePage)
    ::operator delete(p);
  else
    munmap(p, MappedBytes(bytes));
}

// n elements of `size` bytes, refused when the rounded mapping would not fit
// in a size_t.
std::size_t BlockBytes(std::size_t n, std::size_t size) {
  if (n > (std::numeric_limits<std::size_t>::max() - 2 * kHugePage) / size) throw std::bad_alloc();
  return n * size;
}

}  // namespace

ZORHashTable::Slot* ZORHashTable::SlotAllocator::allocate(std::size_t n) {
  return static_cast<Slot*>(AllocateBlock(BlockBytes(n, sizeof(Slot))));
}

void ZORHashTable::SlotAllocator::deallocate(Slot* p, std::size_t n) noexcept {
  FreeBlock(p, n * sizeof(Slot));
}

void ZORHashTable::DenseFree::operator()(void* p) const noexcept {
  if (p != nullptr) FreeBlock(p, bytes);
}

ZORHashTable::ZORHashTable(unsigned (*hash)(const void*),
                           int (*compare)(const void*, const void*), int size)
    : count(0), hash_(hash), compare_(compare), buckets_(0), growAt_(0) {
  Reset(size < 2 ? kDefaultBuckets : static_cast<std::size_t>(size));
}

ZORHashTable::ZORHashTable(const ZORHashTable& t)
    : ZORCollecRoot(t),
      count(t.count),
      hash_(t.hash_),
      compare_(t.compare_),
      buckets_(t.buckets_),
      growAt_(t.growAt_),
      slots_(t.slots_) {
  t.MakeDense(buckets_, static_cast<std::size_t>(t.count), elems_, marks_);
}

ZORHashTable& ZORHashTable::operator=(const ZORHashTable& t) {
  if (this != &t) {
    // Copies first: if one throws, this table is unchanged.
    Slots slots(t.slots_);
    Elems elems;
    unsigned* ms = nullptr;
    t.MakeDense(t.buckets_, static_cast<std::size_t>(t.count), elems, ms);
    slots_.swap(slots);
    elems_.swap(elems);
    marks_ = ms;
    count = t.count;
    hash_ = t.hash_;
    compare_ = t.compare_;
    buckets_ = t.buckets_;
    growAt_ = t.growAt_;
  }
  return *this;
}

ZORHashTable::~ZORHashTable() = default;

void ZORHashTable::MakeDense(std::size_t buckets, std::size_t held, Elems& elems,
                             unsigned*& marks) const {
  const std::size_t room = GrowLimit(buckets) + 1;
  const std::size_t bytes = BlockBytes(room, sizeof(void*) + sizeof(unsigned));
  Elems e(static_cast<void**>(AllocateBlock(bytes)), DenseFree{bytes});
  // The marks follow the elements' room: 4-byte entries after 8-byte ones
  // stay aligned.
  unsigned* const h = reinterpret_cast<unsigned*>(e.get() + room);
  e[0] = nullptr;
  h[0] = 0;
  if (held > 0) {
    std::memcpy(e.get() + 1, elems_.get() + 1, held * sizeof(void*));
    std::memcpy(h + 1, marks_ + 1, held * sizeof(unsigned));
  }
  elems.swap(e);
  marks = h;
}

void ZORHashTable::Reset(std::size_t buckets) {
  static_assert(sizeof(Slot) == 8, "a slot is a hash and a reference");
  // count is an int.
  if (GrowLimit(buckets) >= static_cast<std::size_t>(std::numeric_limits<int>::max()))
    throw std::length_error("ZORHashTable: too many buckets");
  Slots slots(buckets + kMinOverflow, Slot{0, 0});
  Elems elems;
  unsigned* ms = nullptr;
  MakeDense(buckets, 0, elems, ms);
  // Nothing has changed until here.
  slots_.swap(slots);
  elems_.swap(elems);
  marks_ = ms;
  count = 0;
  buckets_ = buckets;
  growAt_ = GrowLimit(buckets);
}

std::size_t ZORHashTable::Find(const void* e, unsigned m) const {
  const Slot* s = slots_.data();
  // Ends at the latest on the always-empty last slot.
  for (std::size_t i = Home(m);; ++i) {
    const Slot& x = s[i];
    if (x.ref == 0 || x.m > m) return kNone;
    if (x.m == m && compare_(ElementOf(x), e) == 0) return i;
  }
}

std::size_t ZORHashTable::SlotOf(std::size_t k) const {
  const Slot* s = slots_.data();
  std::size_t i = Home(marks_[k] & ~kTagged);
  while (s[i].ref != k) ++i;  // the element is held: its slot follows
  return i;
}

void ZORHashTable::PlaceAt(std::size_t pos, Slot x) {
  // The run from pos moves up to the first empty slot after it, which must
  // not be the last (that one stays empty).  It can be only when the slot
  // before the last is taken: then the run's end is looked up first, and the
  // overflow area extended before anything moves, so that a failed
  // allocation leaves the table intact.
  const std::size_t last = slots_.size() - 1;
  if (slots_[last - 1].ref != 0) {
    std::size_t end = pos;
    while (slots_[end].ref != 0) ++end;
    if (end == last) {
      const std::size_t overflow = slots_.size() - buckets_;
      slots_.resize(slots_.size() + std::max(overflow, kMinOverflow), Slot{0, 0});
    }
  }
  // Runs are a few slots long at a load of at most 3/4: one pass carrying
  // each slot one place up moves them for less than a call to memmove.
  Slot* s = slots_.data();
  Slot carry = x;
  std::size_t j = pos;
  for (; s[j].ref != 0; ++j) std::swap(carry, s[j]);
  s[j] = carry;
}

void ZORHashTable::EraseAt(std::size_t pos) {
  const std::size_t k = slots_[pos].ref;
  // Backward shift: the following elements of the run that are not at their
  // home move back one slot.  Sorting by m means every element after one
  // sitting at its home has its home at or after that slot, so the shift
  // stops there.
  Slot* s = slots_.data();
  std::size_t j = pos + 1;
  while (s[j].ref != 0 && Home(s[j].m) < j) {
    s[j - 1] = s[j];
    ++j;
  }
  s[j - 1] = Slot{0, 0};
  // The last element of the dense array fills the hole; its slot (found from
  // its home, after the shift) is told its new place.
  const std::size_t last = static_cast<std::size_t>(count);
  if (k != last) {
    s[SlotOf(last)].ref = static_cast<unsigned>(k);
    elems_[k] = elems_[last];
    marks_[k] = marks_[last];
  }
}

void ZORHashTable::Grow() {
  const std::size_t buckets = buckets_ * 2;
  if (GrowLimit(buckets) >= static_cast<std::size_t>(std::numeric_limits<int>::max()))
    throw std::length_error("ZORHashTable: too many elements");
  Slots fresh(buckets + kMinOverflow, Slot{0, 0});
  // The old slots are sorted by m and homes are monotonic in m, so placing
  // each element at its new home or just after the previous one keeps every
  // invariant: one linear pass, whatever the collisions.
  // The inner loop runs on locals only (the fresh array's base and last
  // index), so that nothing is reloaded per element; it stops for the rare
  // extension of the overflow area, when an element would take the last slot.
  std::size_t next = 0;
  const Slot* p = slots_.data();
  const Slot* const end = p + slots_.size();
  for (;;) {
    Slot* const f = fresh.data();
    const std::size_t last = fresh.size() - 1;
    for (; p != end; ++p) {
      if (p->ref == 0) continue;
      std::size_t pos = HomeIn(p->m, buckets);
      if (pos < next) pos = next;
      if (pos >= last) break;
      f[pos] = *p;
      next = pos + 1;
    }
    if (p == end) break;
    fresh.resize(fresh.size() + std::max(fresh.size() - buckets, kMinOverflow), Slot{0, 0});
  }
  Elems elems;
  unsigned* ms = nullptr;
  MakeDense(buckets, static_cast<std::size_t>(count), elems, ms);
  slots_.swap(fresh);
  elems_.swap(elems);
  marks_ = ms;
  buckets_ = buckets;
  growAt_ = GrowLimit(buckets);
}

int ZORHashTable::Insert(void* e) { return e ? InsertHashed(e, hash_(e)) : 0; }

int ZORHashTable::InsertHashed(void* e, unsigned hash) {
  if (!e) return 0;
  const unsigned m = Mix(hash);
  const Slot* s = slots_.data();
  std::size_t i = Home(m);
  for (; s[i].ref != 0 && s[i].m <= m; ++i)
    if (s[i].m == m && compare_(ElementOf(s[i]), e) == 0) return 0;
  InsertBefore(i, e, m, 0);
  return 1;
}

void ZORHashTable::InsertBefore(std::size_t i, void* e, unsigned m, unsigned tag) {
  if (static_cast<std::size_t>(count) + 1 > growAt_) {
    Grow();
    const Slot* s = slots_.data();
    i = Home(m);
    while (s[i].ref != 0 && s[i].m <= m) ++i;
  }
  const std::size_t k = static_cast<std::size_t>(count) + 1;  // within the dense arrays' room
  const Slot x{m, static_cast<unsigned>(k)};
  if (slots_[i].ref == 0 && i + 1 < slots_.size())
    slots_[i] = x;  // a free slot that is not the last: nothing moves
  else
    PlaceAt(i, x);  // the only step that may throw: before anything changed
  elems_[k] = e;
  marks_[k] = MarkOf(m, tag);
  ++count;
}

void* ZORHashTable::Locate(void* e) const { return e ? LocateHashed(e, hash_(e)) : nullptr; }

void* ZORHashTable::LocateHashed(const void* e, unsigned hash) const {
  if (!e) return nullptr;
  const std::size_t i = Find(e, Mix(hash));
  return i == kNone ? nullptr : ElementOf(slots_[i]);
}

int ZORHashTable::Remove(void* e) { return e ? RemoveHashed(e, hash_(e)) : 0; }

int ZORHashTable::RemoveHashed(void* e, unsigned hash) {
  if (!e) return 0;
  const std::size_t i = Find(e, Mix(hash));
  if (i == kNone) return 0;
  EraseAt(i);
  --count;
  return 1;
}

void* ZORHashTable::TakeHashed(const void* e, unsigned hash) {
  if (!e) return nullptr;
  const std::size_t i = Find(e, Mix(hash));
  if (i == kNone) return nullptr;
  void* taken = ElementOf(slots_[i]);
  EraseAt(i);
  --count;
  return taken;
}

int ZORHashTable::RemoveIdentical(const void* e) {
  if (!e) return 0;
  // The dense array, not the slots: e's hash value may have changed, but its
  // mark, from the mixed hash it was inserted with, is kept beside it.
  for (std::size_t k = 1; k <= static_cast<std::size_t>(count); ++k) {
    if (elems_[k] != e) continue;
    EraseAt(SlotOf(k));
    --count;
    return 1;
  }
  return 0;
}

void* ZORHashTable::KeyLocate(int key) const {
  const unsigned m = Mix(static_cast<unsigned>(key));
  const Slot* s = slots_.data();
  for (std::size_t i = Home(m); s[i].ref != 0 && s[i].m <= m; ++i)
    if (s[i].m == m) return ElementOf(s[i]);
  return nullptr;
}

// Cursor: a == 1 before the first call, 2 while iterating (b is the slot of
// the element last returned: the next one is below it), 0 at the end.
void* ZORHashTable::Next(int& a, int& b) const {
  if (a == 1) {
    a = 2;
    b = static_cast<int>(slots_.size());
  }
  if (a != 2) return nullptr;
  if (b < 0 || static_cast<std::size_t>(b) > slots_.size())  // stale cursor
    b = static_cast<int>(slots_.size());
  const Slot* s = slots_.data();
  while (b > 0) {
    --b;
    if (s[b].ref != 0) return ElementOf(s[b]);
  }
  a = 0;
  return nullptr;
}

void* ZORHashTable::LocatePosition(void* e, int& a, int& b) const {
  if (!e) return nullptr;
  const std::size_t i = Find(e, Mix(hash_(e)));
  if (i == kNone) return nullptr;
  a = 2;
  b = static_cast<int>(i);
  return ElementOf(slots_[i]);
}

void ZORHashTable::RemoveAll() { Reset(buckets_); }
