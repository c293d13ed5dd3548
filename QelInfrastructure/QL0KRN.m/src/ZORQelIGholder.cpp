#include "ZORQelIGholder.h"

#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <new>

#include "ZORQelIBoundError.h"
#include "ZORQelICheck.h"
#include "ZORQelIClass.h"
#include "ZORQelIDumbIMP.h"
#include "ZORQelIObjectIMP.h"
#include "ZORQelIRaise.h"
#include "ZORQelITracer.h"

// Made while the library is loaded, before any client code can register a
// handle (a shared library's initialisers run before those of its users).
ZORQelIObjectIMP* ZORQelIGholder::null =
    new ZORQelIDumbIMP(ZORQelIObjectIMP::LoadTimeTag());

namespace {
// The allocation of `slots` slots (old: the table's present one, or null):
// a floor word that is never null (invariant 4), then the slots.
ZORQelIObjectIMP** AllocateSlots(ZORQelIObjectIMP** old, std::size_t slots) {
  void* p = std::realloc(old, (slots + 1) * sizeof(ZORQelIObjectIMP*));
  if (p == nullptr) throw std::bad_alloc();
  ZORQelIObjectIMP** block = static_cast<ZORQelIObjectIMP**>(p);
  block[0] = reinterpret_cast<ZORQelIObjectIMP*>(block);
  return block;
}
}  // namespace

namespace {
constexpr std::int32_t kBlock = 64;  // slots per block of the scan record
static_assert(ZORQelIGholder::click % (kBlock * 64) == 0,
              "a table grows by whole words of the scan record");

std::uint64_t* AllocateRecord(std::uint64_t* old, std::size_t slots) {
  void* p = std::realloc(old, slots / (kBlock * 64) * sizeof(std::uint64_t));
  if (p == nullptr) throw std::bad_alloc();
  return static_cast<std::uint64_t*>(p);
}
}  // namespace

ZORQelIGholder::ZORQelIGholder()
    : table(nullptr),
      count(0),
      top(click),
      liveBlocks_(nullptr),
      summarized_(0),
      lowWater_(0),
      tracked_(true),
      slotBlock_(nullptr) {
  ZORQELI_TRACE(" ZORQelIGholder::ZORQelIGholder()");
  slotBlock_ = AllocateSlots(nullptr, click);
  table = slotBlock_ + 1;
  try {
    liveBlocks_ = AllocateRecord(nullptr, click);
  } catch (...) {
    std::free(slotBlock_);
    throw;
  }
}

ZORQelIGholder::~ZORQelIGholder() {
  ZORQELI_TRACE(" ZORQelIGholder::~ZORQelIGholder()");
  std::free(liveBlocks_);
  std::free(slotBlock_);
}

void ZORQelIGholder::Grow() {
  // The record first: should the slots' growth fail, a larger record is
  // harmless.
  liveBlocks_ = AllocateRecord(liveBlocks_, static_cast<std::size_t>(top) + click);
  slotBlock_ = AllocateSlots(slotBlock_, static_cast<std::size_t>(top) + click);
  table = slotBlock_ + 1;
  top += click;
}

void ZORQelIGholder::Allocate() {
  ZORQELI_TRACE("void ZORQelIGholder::Allocate()");
  Grow();
}

void ZORQelIGholder::Size(int t) {
  ZORQELI_TRACE("void ZORQelIGholder::Size(int top)");
  if (t >= 0 && t <= count) {
    count = t;
    if (t < lowWater_) lowWater_ = t;
  }
}

int ZORQelIGholder::Add(ZORQelIObjectIMP* x) {
  ZORQELI_TRACE("int ZORQelIGholder::Add(ZORQelIObjectIMP* x)");
  ZORQELI_DCHECK(count >= 0 && count <= top, "a holder table's count outside its capacity");
  std::int32_t slot = 0;
  if (!TryPush<true>(x, &slot)) {
    // Full, with no hole trailing.  The growth goes through the traced
    // Allocate, whose frame is part of this operation's trace.
    Allocate();
    TryPush<true>(x, &slot);  // there is room now
  }
  return slot;
}

void ZORQelIGholder::ReplaceKey(int key, ZORQelIObjectIMP* x) {
  ZORQELI_TRACE("void ZORQelIGholder::ReplaceKey(int key, ZORQelIObjectIMP* x)");
  if (key >= count)
    ZORQELI_RAISE_AT(kHolderKey,
                     ZORQelI::BoundError(key, key, 0, count - 1));
  if (key >= 0) {
    // A live handle's slot is never a hole, but a slot forgotten by Size
    // and written through a stale key would be: count it as filled.
    if (table[key] == nullptr && key < lowWater_) lowWater_ = key;
    table[key] = x != nullptr ? x : null;
  }
}

bool ZORQelIGholder::ScanBlock(std::int32_t first, std::int32_t end) {
  bool any = false;
  // count (and table, which a registration may move) are read afresh: a
  // member check may register or free handles.
  for (std::int32_t i = first; i < end && i < count; ++i) {
    ZORQelIObjectIMP* o = table[i];
    if (o == nullptr) continue;
    any = true;
    if (o != null) o->GarbageCollectorScan();
  }
  return any;
}

void ZORQelIGholder::Scanner() {
  ZORQELI_TRACE("void ZORQelIGholder::Scanner()");
  while (table[count - 1] == nullptr) --count;  // the floor word stops it
  ZORQELI_DCHECK(count >= 0 && count <= top, "a holder table's count outside its capacity");
  null->GarbageCollectorScan();
  // The blocks the last scan found empty and that nothing can have filled
  // since (wholly below both the record's end and the low water mark) are
  // passed over; every other block is scanned and its record rewritten.
  // Registrations made by member checks during this scan lower lowWater_,
  // which then bounds the record kept for the next scan.
  const std::int32_t trusted = tracked_ ? (summarized_ < lowWater_ ? summarized_ : lowWater_) : 0;
  const std::int32_t trustedBlocks = trusted / kBlock;
  lowWater_ = count;
  std::int32_t b = 0;
  for (; b < trustedBlocks && b * kBlock < count; ++b) {
    std::uint64_t& word = liveBlocks_[b / 64];
    const std::uint64_t bit = std::uint64_t{1} << (b % 64);
    if ((word & bit) == 0) {
      // A whole word of empty blocks (4096 slots) at once.
      if (b % 64 == 0 && word == 0 && b + 64 <= trustedBlocks) b += 63;
      continue;
    }
    if (!ScanBlock(b * kBlock, (b + 1) * kBlock)) word &= ~bit;
  }
  for (; b * kBlock < count; ++b) {
    std::uint64_t& word = liveBlocks_[b / 64];
    const std::uint64_t bit = std::uint64_t{1} << (b % 64);
    if (ScanBlock(b * kBlock, (b + 1) * kBlock))
      word |= bit;
    else
      word &= ~bit;
  }
  // Only whole blocks scanned with the table at its present count (a block
  // that straddles count may receive slots by the next registration).
  const std::int32_t scannedTo = (count / kBlock) * kBlock;
  summarized_ = scannedTo < lowWater_ ? scannedTo : lowWater_;
  ZORQELI_DCHECK(summarized_ <= count && summarized_ <= top,
                 "the scan record covers only slots below count");
}

void ZORQelIGholder::Status() const {
  ZORQELI_TRACE("void ZORQelIGholder::Status() const");
  int holes = 0;
  for (std::int32_t i = 0; i < count; ++i)
    if (table[i] == nullptr) ++holes;
  std::cerr << __CLASSNAME__ << ".count = " << count << ";" << __CLASSNAME__
            << ".top = " << top << ";" << __CLASSNAME__ << ".hole() = " << holes << ";";
}

void ZORQelIGholder::Print(int ov) const {
  ZORQELI_TRACE("void ZORQelIGholder::Print(int ov) const");
  if (ov < 0 || ov >= count) {
    std::cout << ov << " out of bound [0.." << count << "[" << std::endl;
    return;
  }
  std::cout << "v[" << ov << "] = ";
  ZORQelIObjectIMP* o = table[ov];
  if (o == nullptr || o == null) {
    std::cout << "(nil)" << std::endl;
    return;
  }
  std::cout << static_cast<const char*>(o->Id().Name()) << std::endl;
  std::cout << static_cast<const char*>(o->ToString()) << std::endl;
}

void ZORQelIGholder::Dump() const {
  ZORQELI_TRACE("void ZORQelIGholder::Dump() const");
  for (std::int32_t i = 0; i < count; ++i)
    if (table[i] != nullptr) Print(i);
}
