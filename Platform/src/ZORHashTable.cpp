#include "ZORHashTable.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <new>

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

ZORHashTable::Slot* ZORHashTable::SlotAllocator::allocate(std::size_t n) {
  // A size whose rounded mapping would not fit in a size_t is refused.
  if (n > (std::numeric_limits<std::size_t>::max() - 2 * kHugePage) / sizeof(Slot))
    throw std::bad_alloc();
  const std::size_t bytes = n * sizeof(Slot);
  if (bytes < kHugePage) return static_cast<Slot*>(::operator new(bytes));
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
  return reinterpret_cast<Slot*>(aligned);
}

void ZORHashTable::SlotAllocator::deallocate(Slot* p, std::size_t n) noexcept {
  const std::size_t bytes = n * sizeof(Slot);
  if (bytes < kHugePage)
    ::operator delete(p);
  else
    munmap(p, MappedBytes(bytes));
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
      slots_(t.slots_) {}

ZORHashTable& ZORHashTable::operator=(const ZORHashTable& t) {
  if (this != &t) {
    slots_ = t.slots_;  // first: if it throws, this table is unchanged
    count = t.count;
    hash_ = t.hash_;
    compare_ = t.compare_;
    buckets_ = t.buckets_;
    growAt_ = t.growAt_;
  }
  return *this;
}

ZORHashTable::~ZORHashTable() = default;

void ZORHashTable::Reset(std::size_t buckets) {
  static_assert(sizeof(void*) != 8 || sizeof(Slot) == 16, "the tag fills what would be padding");
  slots_.assign(buckets + kMinOverflow, Slot{nullptr, 0, 0});
  buckets_ = buckets;
  growAt_ = GrowLimit(buckets);
  count = 0;
}

std::size_t ZORHashTable::Find(const void* e, unsigned m) const {
  const Slot* s = slots_.data();
  // Ends at the latest on the always-empty last slot.
  for (std::size_t i = Home(m);; ++i) {
    const Slot& x = s[i];
    if (!x.elem || x.m > m) return kNone;
    if (x.m == m && compare_(x.elem, e) == 0) return i;
  }
}

void ZORHashTable::PlaceAt(std::size_t pos, void* e, unsigned m, unsigned tag) {
  std::size_t end = pos;  // first empty slot from pos: the run moves up to it
  while (slots_[end].elem) ++end;
  if (end + 1 == slots_.size()) {
    // The run would take the last slot, which must stay empty.  Extend first,
    // so that a failed allocation leaves the table intact.
    const std::size_t overflow = slots_.size() - buckets_;
    slots_.resize(slots_.size() + std::max(overflow, kMinOverflow), Slot{nullptr, 0, 0});
  }
  Slot* s = slots_.data();
  if (end > pos) std::memmove(s + pos + 1, s + pos, (end - pos) * sizeof(Slot));
  s[pos] = Slot{e, m, tag};
}

void ZORHashTable::EraseAt(std::size_t pos) {
  // Backward shift: the following elements of the run that are not at their
  // home move back one slot.  Sorting by m means every element after one
  // sitting at its home has its home at or after that slot, so the shift
  // stops there.
  Slot* s = slots_.data();
  std::size_t j = pos + 1;
  while (s[j].elem && Home(s[j].m) < j) {
    s[j - 1] = s[j];
    ++j;
  }
  s[j - 1] = Slot{nullptr, 0, 0};
}

void ZORHashTable::Grow() {
  const std::size_t buckets = buckets_ * 2;
  Slots fresh(buckets + kMinOverflow, Slot{nullptr, 0, 0});
  // The old slots are sorted by m and homes are monotonic in m, so placing
  // each element at its new home or just after the previous one keeps every
  // invariant: one linear pass, whatever the collisions.
  std::size_t next = 0;
  for (const Slot& x : slots_) {
    if (!x.elem) continue;
    const std::size_t pos = std::max(HomeIn(x.m, buckets), next);
    if (pos + 1 >= fresh.size())
      fresh.resize(fresh.size() + std::max(fresh.size() - buckets, kMinOverflow),
                   Slot{nullptr, 0, 0});
    fresh[pos] = x;
    next = pos + 1;
  }
  slots_.swap(fresh);
  buckets_ = buckets;
  growAt_ = GrowLimit(buckets);
}

int ZORHashTable::Insert(void* e) { return e ? InsertHashed(e, hash_(e)) : 0; }

int ZORHashTable::InsertHashed(void* e, unsigned hash) {
  if (!e) return 0;
  const unsigned m = Mix(hash);
  const Slot* s = slots_.data();
  std::size_t i = Home(m);
  for (; s[i].elem && s[i].m <= m; ++i)
    if (s[i].m == m && compare_(s[i].elem, e) == 0) return 0;
  InsertBefore(i, e, m, 0);
  return 1;
}

void ZORHashTable::InsertBefore(std::size_t i, void* e, unsigned m, unsigned tag) {
  if (static_cast<std::size_t>(count) + 1 > growAt_) {
    Grow();
    const Slot* s = slots_.data();
    i = Home(m);
    while (s[i].elem && s[i].m <= m) ++i;
  }
  if (!slots_[i].elem && i + 1 < slots_.size())
    slots_[i] = Slot{e, m, tag};  // a free slot that is not the last: nothing moves
  else
    PlaceAt(i, e, m, tag);
  ++count;
}

void* ZORHashTable::Locate(void* e) const { return e ? LocateHashed(e, hash_(e)) : nullptr; }

void* ZORHashTable::LocateHashed(const void* e, unsigned hash) const {
  if (!e) return nullptr;
  const std::size_t i = Find(e, Mix(hash));
  return i == kNone ? nullptr : slots_[i].elem;
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
  void* taken = slots_[i].elem;
  EraseAt(i);
  --count;
  return taken;
}

int ZORHashTable::RemoveIdentical(const void* e) {
  if (!e) return 0;
  for (std::size_t i = 0; i < slots_.size(); ++i) {
    if (slots_[i].elem != e) continue;
    EraseAt(i);
    --count;
    return 1;
  }
  return 0;
}

void* ZORHashTable::KeyLocate(int key) const {
  const unsigned m = Mix(static_cast<unsigned>(key));
  const Slot* s = slots_.data();
  for (std::size_t i = Home(m); s[i].elem && s[i].m <= m; ++i)
    if (s[i].m == m) return s[i].elem;
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
    if (s[b].elem) return s[b].elem;
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
  return slots_[i].elem;
}

void ZORHashTable::RemoveAll() { Reset(buckets_); }
