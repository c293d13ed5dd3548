// ZORQelIGholder: one of the collector's two holder tables of root handles.
#ifndef ZORQelIGholder_h
#define ZORQelIGholder_h

#include <cstdint>

#include "ZORQelI.h"

class ZORQelIObjectIMP;
class ZORQelIVariable;

// A table of slots, one per registered handle, holding the implementation
// object the handle refers to.  The occupied slots of the two tables
// (automatic: handles on a thread stack; static: all others) are the roots of
// the collector.
//
// Invariants:
//  1. Slots 0..count-1 are in use or holes; slots at and above count are
//     never read.  count <= top, top is the capacity in slots.
//  2. A slot value 0 means free (a hole); `null` stands for a handle that
//     refers to nothing; any other value is the object its handle refers to.
//  3. Holes are reused only from the end: Add first trims trailing holes;
//     a dying handle never changes count.
//  4. The word before slot 0 (inside the slot array's allocation) is never
//     null: a floor for the trimming of trailing holes.
//
// Hazard (invariant 3, on purpose: registering and releasing a handle stay a
// few stores): a hole below the last used slot is reused only once every
// slot above it is free.  Handles that die in the reverse order of their
// creation (stack handles, containers emptied from the back) leave no holes.
// Heap handles that do not, such as a long-lived handle replaced again and
// again by a fresh copy made before the old one is dropped, leave one hole
// each time: the table grows by one slot per replacement while the live
// handles stay few, and every collection scans the whole table.  Drop the
// old handle first, or assign to it instead of replacing it.  Debug builds
// check the table's counters whenever a slot is added or the table scanned.
//
// The slot array grows by `click` slots with realloc, so growing a large
// table usually remaps pages instead of copying them.
//
// Holes below live slots stay holes until count falls to them (only
// trailing holes are reused), so a root scan may skip what it found empty
// before: each scan records, per block of 64 slots, whether the block held
// anything, and the next scan trusts that record for the blocks lying wholly
// below the lowest count the table has had since (lowWater_).  Every
// operation that can fill a slot below count lowers lowWater_ to that slot
// first.  The automatic table, whose registrations are the hottest path of
// all and whose holes are trimmed as its handles die in reverse order, keeps
// no record (tracked_ false) and is scanned whole.
class QL0KRN_EXPORT ZORQelIGholder {
 public:
  static constexpr const char* __CLASSNAME__ = "ZORQelIGholder";
  // Initial capacity and growth step, in slots.
  static constexpr std::int32_t click = 4096;
  // The key of a handle that has been identified as a member.
  static constexpr std::int32_t MEMBER = -2;
  // The placeholder implementation object (a ZORQelIDumbIMP) that stands for
  // "refers to nothing" in the tables; created when the library is loaded,
  // marked by every root scan, never collected and never printed.
  static ZORQelIObjectIMP* null;

  ZORQelIGholder();
  ~ZORQelIGholder();
  ZORQelIGholder(const ZORQelIGholder&) = delete;
  ZORQelIGholder& operator=(const ZORQelIGholder&) = delete;

  // Grows the slot array by click slots, keeping the first count slots.
  void Allocate();
  // Lowers count to top when 0 <= top <= count; any other value does nothing.
  void Size(int top);
  // Stores x in a fresh slot (after trimming trailing holes); returns its index.
  int Add(ZORQelIObjectIMP* x);
  // Stores x (or null for a null x) in slot key.  A key at or above count
  // raises ZORQelI::BoundError; a negative key does nothing.
  void ReplaceKey(int key, ZORQelIObjectIMP* x);
  // Root scan: trims trailing holes, marks `null`, then marks every object
  // held in a slot.
  void Scanner();

  // Diagnostics: counters on standard error; one slot on standard output;
  // every non-free slot through Print.
  void Status() const;
  void Print(int ov) const;
  void Dump() const;

  ZORQelIObjectIMP** table;
  std::int32_t count;
  std::int32_t top;

 private:
  friend class ZORQelIVariable;
  // Add without a trace frame, for a registration past its inline path:
  // TryPush, and when the table is full (count is then top, no hole
  // trailing), growth and TryPush again.  Tracked: the registration of a
  // handle off the stack, which keeps lowWater_.
  template <bool Tracked>
  int Push(ZORQelIObjectIMP* x) {
    std::int32_t slot = 0;
    if (__builtin_expect(!TryPush<Tracked>(x, &slot), 0)) {
      Grow();
      TryPush<Tracked>(x, &slot);  // there is room now
    }
    return slot;
  }
  // Trims the trailing holes and stores x in the first free slot: true and
  // *slot the slot taken, or false when the table is full (then nothing was
  // written).  Nothing in it calls out, so the registration in every handle
  // constructor (TryPush<false> on the automatic table) keeps no value
  // across a call on its usual path.
  template <bool Tracked>
  bool TryPush(ZORQelIObjectIMP* x, std::int32_t* slot) {
    ZORQelIObjectIMP** const slots = table;
    // Handles die mostly in the reverse order of their making, so the holes
    // trimmed here are usually the few the last ones left.  The word before
    // slot 0 is never null (AllocateSlots), so the walk needs no test of
    // its own to stop there: one compare per hole.
    //
    // The walk runs on an unsigned copy of count over the array seen from
    // the floor word (below[c] is slot c - 1), so that count is read by a
    // plain 32-bit load.  count is stored here and read again by the next
    // registration; with a signed index the compilers read it with a
    // sign-extending load, and a handle made and dropped in a loop took
    // 3.2-3.9 ns instead of 2.6-3.1 ns on the AMD machine the benchmarks
    // run on, at about the same instruction count (measured, g++ and clang).
    std::uint32_t c = static_cast<std::uint32_t>(count);
    ZORQelIObjectIMP** const below = slots - 1;
    if (below[c] == nullptr) {  // (written so, clang keeps the walk to
      do --c;                    // one compare and one decrement a hole)
      while (below[c] == nullptr);
    }
    if (__builtin_expect(c == static_cast<std::uint32_t>(top), 0)) return false;
    const std::int32_t taken = static_cast<std::int32_t>(c);
    if (Tracked && taken < lowWater_) lowWater_ = taken;
    slots[c] = x;
    count = taken + 1;
    *slot = taken;
    return true;
  }
  void Grow();
  // One block of 64 slots from `first` (at most `end`): scans its objects;
  // returns whether any slot was not a hole.
  bool ScanBlock(std::int32_t first, std::int32_t end);

  // The record of the last scan (see above): bit b of liveBlocks_ set when
  // block b held something; valid for the blocks below summarized_ and
  // below lowWater_.
  std::uint64_t* liveBlocks_;
  std::int32_t summarized_;
  std::int32_t lowWater_;
  bool tracked_;
  // The slots' allocation: the floor word, then `table`.  Held by its start
  // so that the block reads as reachable to leak checkers, not as one
  // known only through an interior pointer.
  ZORQelIObjectIMP** slotBlock_;
};

#endif
