// The collector: which objects survive which cycle, its counters, scoped
// collections, the holder tables, other threads' stacks and long chains.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "CoreTestSupport.h"
#include "QL0KRN.h"
#include "TestSupport.h"

namespace collectortest {

using qtest::CollectAll;
using qtest::KeyedHandle;
using qtest::NewNode;
using qtest::NodeIMP;
using qtest::RaisedText;

// A lean chain link: one scanned raw reference; finalizations and checks counted.
std::int64_t chainFinalized = 0;
std::int64_t chainChecks = 0;

class ChainIMP : public ZORQelIObjectIMP {
  ZORQELI_DECLARE_IMP(ChainIMP, ZORQelIObjectIMP)
 public:
  ~ChainIMP() override { ++chainFinalized; }
  ZORQelIObjectIMP* Clone() const override { return new ChainIMP(*this); }
  void Text(ZORQelIPrint& ot) const override { ot.Print(ZORQelI::string("chain")); }
  void GarbageCollectorMemberCheck() override {
    ++chainChecks;
    GarbageCollectorScan(next);
  }
  ChainIMP* next = nullptr;
};
ZORQELI_DEFINE_IMP(ChainIMP, ZORQelIObjectIMP)

// A chain of n links, each reached only through the one before; returns the first.
ChainIMP* MakeChain(std::int64_t n) {
  ChainIMP* first = new ChainIMP();
  ChainIMP* last = first;
  for (std::int64_t i = 1; i < n; ++i) {
    last->next = new ChainIMP();
    last = last->next;
  }
  return first;
}

// Its destructor, run by the sweep, makes `count` chain links.
class MakerIMP : public ZORQelIObjectIMP {
  ZORQELI_DECLARE_IMP(MakerIMP, ZORQelIObjectIMP)
 public:
  MakerIMP(int count, int* finalized) : count(count), finalized(finalized) {}
  ~MakerIMP() override {
    ++*finalized;
    for (int i = 0; i < count; ++i) new ChainIMP();
  }
  ZORQelIObjectIMP* Clone() const override { return new MakerIMP(*this); }
  void Text(ZORQelIPrint&) const override {}
  int count;
  int* finalized;
};
ZORQELI_DEFINE_IMP(MakerIMP, ZORQelIObjectIMP)

// A chain link placed by a pool: while poolInOrder is false, links made one
// after another lie all over the pool's first half, so the collector's list
// of them is out of address order, as a heap that reuses freed memory
// leaves it; otherwise they lie in sequence in its second half.  The pool
// never reuses a slot.
struct alignas(64) PoolSlot {
  unsigned char bytes[64];
};
constexpr std::size_t kPoolSlots = std::size_t{1} << 16;  // in each half
PoolSlot* pool = nullptr;
std::size_t poolNext = 0;
std::size_t poolNextInOrder = 0;
bool poolInOrder = false;
// The slot of the next link made, when below 2 * kPoolSlots (used once).
std::size_t poolPlace = 2 * kPoolSlots;
std::int64_t scatteredFinalized = 0;

class ScatteredIMP : public ZORQelIObjectIMP {
  ZORQELI_DECLARE_IMP(ScatteredIMP, ZORQelIObjectIMP)
 public:
  static void* operator new(std::size_t size) {
    if (size > sizeof(PoolSlot)) throw std::bad_alloc();
    if (poolPlace < 2 * kPoolSlots) return &pool[std::exchange(poolPlace, 2 * kPoolSlots)];
    if (poolInOrder) {
      if (poolNextInOrder == kPoolSlots) throw std::bad_alloc();
      return &pool[kPoolSlots + poolNextInOrder++];
    }
    if (poolNext == kPoolSlots) throw std::bad_alloc();
    // i * an odd number, modulo a power of two: every slot once, scattered.
    return &pool[(poolNext++ * 40503u) & (kPoolSlots - 1)];
  }
  static void operator delete(void*) {}
  ~ScatteredIMP() override { ++scatteredFinalized; }
  ZORQelIObjectIMP* Clone() const override { return new ScatteredIMP(*this); }
  void Text(ZORQelIPrint&) const override {}
  void GarbageCollectorMemberCheck() override { GarbageCollectorScan(next); }
  ScatteredIMP* next = nullptr;
};
ZORQELI_DEFINE_IMP(ScatteredIMP, ZORQelIObjectIMP)

// The objects of class T on the collector's list, in its order.
template <class T>
std::vector<const ZORQelIObjectIMP*> Listed() {
  std::vector<const ZORQelIObjectIMP*> found;
  for (ZORQelIObjectIMP* o = ZORQelIObjectIMP::list_.head; o != nullptr; o = o->Next())
    if (dynamic_cast<T*>(o) != nullptr) found.push_back(o);
  return found;
}

// Its member check raises while `armed`.
class FaultyCheckIMP : public ZORQelIObjectIMP {
  ZORQELI_DECLARE_IMP(FaultyCheckIMP, ZORQelIObjectIMP)
 public:
  ZORQelIObjectIMP* Clone() const override { return new FaultyCheckIMP(*this); }
  void Text(ZORQelIPrint&) const override {}
  void GarbageCollectorMemberCheck() override {
    if (armed) throw std::runtime_error("member check failed");
  }
  bool armed = true;
};
ZORQELI_DEFINE_IMP(FaultyCheckIMP, ZORQelIObjectIMP)

// Its finalizer deletes it, then raises.
class FaultyFinalizerIMP : public ZORQelIObjectIMP {
  ZORQELI_DECLARE_IMP(FaultyFinalizerIMP, ZORQelIObjectIMP)
 public:
  explicit FaultyFinalizerIMP(int* finalized) : finalized(finalized) {}
  ~FaultyFinalizerIMP() override { ++*finalized; }
  ZORQelIObjectIMP* Clone() const override { return new FaultyFinalizerIMP(*this); }
  void Text(ZORQelIPrint&) const override {}
  void Finalizer() override {
    ZORQelIObjectIMP::Finalizer();
    throw std::runtime_error("finalizer failed");
  }
  int* finalized;
};
ZORQELI_DEFINE_IMP(FaultyFinalizerIMP, ZORQelIObjectIMP)

// The length of the collector's list, by following the links.
ZORQelI::integer WalkedLength() {
  ZORQelI::integer n = 0;
  for (ZORQelIObjectIMP* o = ZORQelIObjectIMP::list_.head; o != nullptr; o = o->Next()) ++n;
  return n;
}

ZORQelIGholder& Automatic() { return ZORQelIVariable::holder[0]; }
ZORQelIGholder& Static() { return ZORQelIVariable::holder[1]; }

// A handle with static storage duration.
KeyedHandle staticHandle;

class CollectorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CollectAll();
    chainFinalized = 0;
    chainChecks = 0;
  }
  void TearDown() override {
    staticHandle = ZORQelIObject();
    CollectAll();
  }
  // Finalization counters; members so that they outlive the objects.
  int finalized = 0;
  int owners = 0;
  int targets = 0;
  int spawned = 0;
};

TEST_F(CollectorTest, StackStaticAndHeapHandlesAreRootsUntilTheyLetGo) {
  int onStack = 0, onStatic = 0, onHeap = 0;
  std::optional<KeyedHandle> stack(NewNode(&onStack, 1));
  staticHandle = NewNode(&onStatic, 2);
  auto heap = std::make_unique<KeyedHandle>(NewNode(&onHeap, 3));
  EXPECT_EQ(stack->Table(), 0);
  EXPECT_EQ(staticHandle.Table(), 1);
  EXPECT_EQ(heap->Table(), 1);
  CollectAll();
  EXPECT_EQ(onStack + onStatic + onHeap, 0);
  stack.reset();
  ZORQelIVariable::GarbageCollect();
  EXPECT_EQ(onStack, 1);
  staticHandle = ZORQelIObject();
  ZORQelIVariable::GarbageCollect();
  EXPECT_EQ(onStatic, 1);
  EXPECT_EQ(onHeap, 0);
  heap.reset();
  ZORQelIVariable::GarbageCollect();
  EXPECT_EQ(onHeap, 1);
}

TEST_F(CollectorTest, MemberHandleLeavesTheTableAtItsOwnersFirstScan) {
  NodeIMP* owner = NewNode(&owners, 1);
  NodeIMP* target = NewNode(&targets, 2);
  owner->link = target;
  ZORQelIObject h(owner);
  auto slotsHolding = [](ZORQelIObjectIMP* x) {
    int n = 0;
    for (ZORQelIGholder* t : {&Automatic(), &Static()})
      for (int i = 0; i < t->count; ++i) n += t->table[i] == x ? 1 : 0;
    return n;
  };
  EXPECT_EQ(slotsHolding(target), 1);  // the member, in the static table
  ZORQelIVariable::GarbageCollect();
  EXPECT_EQ(slotsHolding(target), 0);
  NodeIMP* other = NewNode(&targets, 3);
  owner->link = other;  // a member's assignment touches no slot
  EXPECT_EQ(slotsHolding(other), 0);
  ZORQelIVariable::GarbageCollect();
  EXPECT_EQ(targets, 1);  // the former target
  EXPECT_EQ(other->memberChecks, 1);
}

TEST_F(CollectorTest, UnscannedMembersAreRootsOneMoreCycleAndMutualOnesDieWithTheLastOutsideHandle) {
  // Never reached by a handle: the owner dies, its member is still a static root.
  NewNode(&owners, 0)->link = NewNode(&targets, 0);
  NodeIMP* a = NewNode(&finalized, 1);
  NodeIMP* b = NewNode(&finalized, 2);
  a->link = b;
  b->link = a;
  ZORQelIVariable::GarbageCollect();
  EXPECT_EQ(owners, 1);
  EXPECT_EQ(targets + finalized, 0);
  ZORQelIVariable::GarbageCollect();
  EXPECT_EQ(targets, 1);
  EXPECT_EQ(finalized, 2);
  {
    NodeIMP* c = NewNode(&spawned, 3);
    NodeIMP* d = NewNode(&spawned, 4);
    c->link = d;
    d->link = c;
    ZORQelIObject outside(c);
    for (int i = 0; i < 2; ++i) ZORQelIVariable::GarbageCollect();
    EXPECT_EQ(spawned, 0);
  }
  ZORQelIVariable::GarbageCollect();
  EXPECT_EQ(spawned, 2);
}

TEST_F(CollectorTest, ObjectsMadeInBulkByDestructorsDuringASweepLeaveTheListWhole) {
  // Three kept objects before every maker; the makers' destructors make
  // 2^18 objects in all, many times what the collector had room for when
  // the sweep began, so its bookkeeping grows (and moves) under the sweep.
  constexpr int kMakers = 64;
  constexpr int kEach = 4096;
  std::vector<ZORQelIObject> kept;
  std::vector<const ZORQelIObjectIMP*> keptOrder;
  for (int i = 0; i < kMakers; ++i) {
    for (int j = 0; j < 3; ++j) {
      kept.emplace_back(NewNode(&targets, j));
      keptOrder.push_back(kept.back().RefMe());
    }
    new MakerIMP(kEach, &finalized);
  }
  const ZORQelI::integer before = ZORQelIVariable::GetInstancesCount__();
  ZORQelIVariable::GarbageCollect();
  EXPECT_EQ(finalized, kMakers);
  EXPECT_EQ(targets, 0);
  const ZORQelI::integer after = before - kMakers + kMakers * kEach;
  EXPECT_EQ(ZORQelIVariable::GetInstancesCount__(), after);
  EXPECT_EQ(WalkedLength(), after);
  // The objects made during the sweep come first, then the survivors in
  // the reverse of the order the sweep met them: the order they were made.
  std::vector<const ZORQelIObjectIMP*> survivors;
  ZORQelI::integer made = 0;
  for (ZORQelIObjectIMP* o = ZORQelIObjectIMP::list_.head; o != nullptr; o = o->Next()) {
    if (dynamic_cast<ChainIMP*>(o) != nullptr) {
      EXPECT_TRUE(survivors.empty()) << "a new object after a survivor";
      ++made;
    } else if (o != ZORQelIGholder::null) {
      survivors.push_back(o);
    }
  }
  EXPECT_EQ(made, kMakers * kEach);
  EXPECT_EQ(survivors, keptOrder);
  // Nothing refers to the new objects: the next cycle reclaims them all.
  ZORQelIVariable::GarbageCollect();
  EXPECT_EQ(chainFinalized, kMakers * kEach);
  EXPECT_EQ(ZORQelIVariable::GetInstancesCount__(), before - kMakers);
  kept.clear();
  CollectAll();
  EXPECT_EQ(targets, 3 * kMakers);
  EXPECT_EQ(ZORQelIVariable::GetInstancesCount__(), 1);
}

TEST_F(CollectorTest, ScatteredListsAndListsInOrderAreSweptWholeByTurns) {
  std::vector<PoolSlot> storage(2 * kPoolSlots);
  pool = storage.data();
  poolNext = poolNextInOrder = 0;
  poolInOrder = false;
  scatteredFinalized = 0;
  const ZORQelI::integer base = ZORQelIVariable::GetInstancesCount__();
  // A kept chain of scattered links, an unreachable scattered object after
  // each: the list is out of address order from the first objects made.
  constexpr int kLinks = 12000;
  ScatteredIMP* first = new ScatteredIMP();
  ZORQelIObject keep(first);
  new ScatteredIMP();
  for (ScatteredIMP* last = first; poolNext < 2 * kLinks;) {
    last = last->next = new ScatteredIMP();
    new ScatteredIMP();
  }
  ZORQelIVariable::GarbageCollect();
  EXPECT_EQ(scatteredFinalized, kLinks);
  EXPECT_EQ(ZORQelIVariable::GetInstancesCount__(), base + kLinks);
  EXPECT_EQ(WalkedLength(), base + kLinks);
  // Objects made in bulk by destructors during the sweep of the scattered
  // list (the collector's arrays move under it); the survivors come back
  // in the reverse of the order the sweep met them.
  constexpr int kMakers = 8;
  constexpr int kEach = 4096;
  for (int i = 0; i < kMakers; ++i) new MakerIMP(kEach, &finalized);
  std::vector<const ZORQelIObjectIMP*> order = Listed<ScatteredIMP>();
  ZORQelIVariable::GarbageCollect();
  EXPECT_EQ(finalized, kMakers);
  std::reverse(order.begin(), order.end());
  EXPECT_EQ(Listed<ScatteredIMP>(), order);
  EXPECT_EQ(WalkedLength(), base + kLinks + kMakers * kEach);
  ZORQelIVariable::GarbageCollect();
  EXPECT_EQ(chainFinalized, kMakers * kEach);
  EXPECT_EQ(scatteredFinalized, kLinks);
  // The scattered chain dies; a chain made in order takes its place, then
  // a scattered one again.
  poolInOrder = true;
  first = new ScatteredIMP();
  keep = ZORQelIObject(first);
  for (ScatteredIMP* last = first; poolNextInOrder < kLinks;) last = last->next = new ScatteredIMP();
  for (int i = 0; i < 3; ++i) ZORQelIVariable::GarbageCollect();
  EXPECT_EQ(scatteredFinalized, 2 * kLinks);
  EXPECT_EQ(WalkedLength(), base + kLinks);
  poolInOrder = false;
  first = new ScatteredIMP();
  keep = ZORQelIObject(first);
  for (ScatteredIMP* last = first; poolNext < 3 * kLinks;) last = last->next = new ScatteredIMP();
  for (int i = 0; i < 2; ++i) ZORQelIVariable::GarbageCollect();
  EXPECT_EQ(scatteredFinalized, 3 * kLinks);
  EXPECT_EQ(WalkedLength(), base + kLinks);
  keep = ZORQelIObject();
  CollectAll();
  EXPECT_EQ(scatteredFinalized, 4 * kLinks);
  EXPECT_EQ(ZORQelIVariable::GetInstancesCount__(), base);
  EXPECT_EQ(WalkedLength(), base);
  pool = nullptr;
}

TEST_F(CollectorTest, ListInAddressOrderIsSweptWholeAtEveryStrideAndStrideChange) {
  // Links placed at strides of one and two slots, after jumps of more than a
  // page, descending for a while and alternating between two strides, with
  // unreachable links at every place of the sweep's stretches: each sweep
  // keeps exactly the reachable ones, in the reverse of the order it met them.
  std::vector<PoolSlot> storage(2 * kPoolSlots);
  pool = storage.data();
  scatteredFinalized = 0;
  const ZORQelI::integer base = ZORQelIVariable::GetInstancesCount__();
  std::vector<std::size_t> places;
  std::size_t at = 0;
  auto run = [&](int count, std::ptrdiff_t stride) {
    for (int i = 0; i < count; ++i) places.push_back(at = at + stride);
  };
  run(3000, 1);
  run(500, 2);
  at += 100;
  run(300, 1);
  for (int i = 0; i < 100; ++i) run(1, 1 + i % 2);
  at += 400;
  run(60, -1);
  at += 400;
  run(300, 1);
  ScatteredIMP* first = nullptr;
  ScatteredIMP* last = nullptr;
  std::int64_t dropped = 0;
  for (std::size_t i = 0; i < places.size(); ++i) {
    poolPlace = places[i];
    ScatteredIMP* o = new ScatteredIMP();
    if (i % 7 == 3 || i % 11 == 5 || (i >= 1000 && i < 1050) || i + 1 == places.size()) {
      ++dropped;
    } else {
      (last != nullptr ? last->next : first) = o;
      last = o;
    }
  }
  ZORQelIObject keep(first);
  std::vector<const ZORQelIObjectIMP*> kept;
  for (ScatteredIMP* o = first; o != nullptr; o = o->next) kept.push_back(o);
  for (int cycle = 1; cycle <= 3; ++cycle) {
    std::vector<const ZORQelIObjectIMP*> order;
    for (const ZORQelIObjectIMP* o : Listed<ScatteredIMP>())
      if (std::find(kept.begin(), kept.end(), o) != kept.end()) order.push_back(o);
    ZORQelIVariable::GarbageCollect();
    std::reverse(order.begin(), order.end());
    EXPECT_EQ(Listed<ScatteredIMP>(), order) << "cycle " << cycle;
    EXPECT_EQ(scatteredFinalized, dropped);
    EXPECT_EQ(WalkedLength(), base + static_cast<ZORQelI::integer>(kept.size()));
    EXPECT_EQ(ZORQelIVariable::GetInstancesCount__(), WalkedLength());
  }
  keep = ZORQelIObject();
  CollectAll();
  EXPECT_EQ(scatteredFinalized, static_cast<std::int64_t>(places.size()));
  EXPECT_EQ(WalkedLength(), base);
  pool = nullptr;
}

TEST_F(CollectorTest, GarbageCollectReturnsBothCountsAfterTrimmingTrailingHoles) {
  const ZORQelI::integer before = ZORQelIVariable::GarbageCollect();
  EXPECT_EQ(before, Automatic().count + Static().count);
  ZORQelIObject a(new ChainIMP());  // no handle member of its own
  {
    ZORQelIObject b, c;
  }
  // b and c left two holes on top of the automatic table.
  EXPECT_EQ(ZORQelIVariable::GarbageCollect(), before + 1);
  EXPECT_EQ(Automatic().count + Static().count, before + 1);
}

// A scope collects on entry and on exit, then forgets the automatic slots
// above the count it saved.
TEST_F(CollectorTest, GCStateCollectsOnEntryAndOnExitAndForgetsSlotsAboveItsSavedCount) {
  std::optional<KeyedHandle> outlives;  // on the stack, constructed later
  NewNode(&owners, 1);
  {
    ZORQelIGCState scope;
    EXPECT_EQ(owners, 1);
    EXPECT_EQ(scope.savedCount, Automatic().count + Static().count);
    NewNode(&spawned, 2);
    EXPECT_EQ(spawned, 0);
    {
      // Raise the automatic table to the saved count: the next handle lies at or above it.
      std::optional<ZORQelIObject> fillers[64];
      int used = 0;
      while (Automatic().count < scope.savedCount && used < 64) fillers[used++].emplace();
      ASSERT_GE(Automatic().count, scope.savedCount) << "saved count out of reach";
      outlives.emplace(NewNode(&finalized, 1));
    }
    EXPECT_GE(outlives->Slot(), scope.savedCount);
  }
  // The exit collection still saw the handle; then its slot was forgotten.
  EXPECT_EQ(spawned, 1);
  EXPECT_EQ(finalized, 0);
  EXPECT_LE(Automatic().count, outlives->Slot());
  ZORQelIVariable::GarbageCollect();
  EXPECT_EQ(finalized, 1);  // the handle is alive but no longer a root
  // Assigning it now finds its slot outside the table.
  const int slot = outlives->Slot();
  const int count = Automatic().count;
  const std::string range = count > 0 ? " [0.." + std::to_string(count - 1) + "]\n"
                                      : std::string(" array is empty\n");
  EXPECT_EQ(RaisedText<ZORQelI::BoundError>([&] { *outlives = NewNode(&targets, 2); }),
            "qualified exception : QelInfrastructure/QL0KRN.m/src/ZORQelIGholder 133: "
            "BoundError\nindex " + std::to_string(slot) + " not in range" + range);
  outlives.reset();
}

TEST_F(CollectorTest, FlushInstancePoolTouchesOnlyTheAutomaticTable) {
  auto heap = std::make_unique<ZORQelIObject>(NewNode(&finalized, 1));
  ZORQelIObject below;  // so that h's slot is above slot 0
  KeyedHandle h(NewNode(&finalized, 2));
  const ZORQelI::integer staticCount = Static().count;
  const int slot = h.Slot();
  ZORQelIVariable::FlushInstancePool(slot);
  EXPECT_EQ(Automatic().count, slot);
  EXPECT_EQ(Static().count, staticCount);
  ZORQelIVariable::FlushInstancePool(-1);  // out of range: no change
  ZORQelIVariable::FlushInstancePool(slot + 1);
  EXPECT_EQ(Automatic().count, slot);
  // (Not from a new handle: it would take the forgotten slot first.)
  EXPECT_EQ(RaisedText<ZORQelI::BoundError>(
                [&] { h = static_cast<const ZORQelIObjectIMP*>(nullptr); }),
            "qualified exception : QelInfrastructure/QL0KRN.m/src/ZORQelIGholder 133: "
            "BoundError\nindex " + std::to_string(slot) + " not in range [0.." +
                std::to_string(slot - 1) + "]\n");
}

ZORQelIObjectIMP* Fake(int i) {
  return reinterpret_cast<ZORQelIObjectIMP*>(static_cast<std::uintptr_t>(16 * (i + 1)));
}

TEST(HolderTable, ReusesOnlyTrailingHolesStoresTheSentinelForNullAndLowersItsCount) {
  ZORQelIGholder t;
  for (int i = 0; i < 4; ++i) EXPECT_EQ(t.Add(Fake(i)), i);
  t.table[1] = nullptr;  // a hole below the top stays
  EXPECT_EQ(t.Add(Fake(4)), 4);
  t.table[4] = t.table[3] = nullptr;
  EXPECT_EQ(t.Add(Fake(5)), 3);  // both trailing holes trimmed first
  EXPECT_EQ(t.table[1], nullptr);
  t.ReplaceKey(1, nullptr);
  EXPECT_EQ(t.table[1], ZORQelIGholder::null);
  t.ReplaceKey(-1, Fake(8));  // negative keys (members) are ignored
  EXPECT_EQ(t.table[0], Fake(0));
  t.Size(-1);
  t.Size(5);
  EXPECT_EQ(t.count, 4);
  t.Size(2);
  EXPECT_EQ(t.Add(Fake(9)), 2);  // a forgotten slot is overwritten
}

TEST_F(CollectorTest, CycleInterruptedByAMemberCheckLeavesNoStaleMark) {
  auto* faulty = new FaultyCheckIMP();
  ZORQelIObject keepFaulty(faulty);
  std::optional<ZORQelIObject> keepNode(ZORQelIObject(NewNode(&finalized, 1)));
  // The static table is scanned before the automatic one; the node is
  // marked there when the faulty object's check raises.
  staticHandle = keepNode->RefMe();
  EXPECT_THROW(ZORQelIVariable::GarbageCollect(), std::runtime_error);
  faulty->armed = false;
  staticHandle = ZORQelIObject();
  keepNode.reset();
  ZORQelIVariable::GarbageCollect();
  EXPECT_EQ(finalized, 1);
}

TEST_F(CollectorTest, ScanOutsideACycleLeavesNoStaleMark) {
  NodeIMP* node = NewNode(&finalized, 1);
  node->GarbageCollectorScan();  // marks it outside any cycle
  ZORQelIVariable::GarbageCollect();
  EXPECT_EQ(finalized, 1);
  NodeIMP* other = NewNode(&targets, 2);
  ZORQelIObjectIMP::GarbageCollectorScan(other);
  ZORQelIObjectIMP* pair[2] = {nullptr, NewNode(&owners, 3)};
  ZORQelIObjectIMP::GarbageCollectorScan(pair, 2);
  ZORQelIVariable::GarbageCollect();
  EXPECT_EQ(targets, 1);
  EXPECT_EQ(owners, 1);
}

// A scattered chain outlives a larger heap made in order after it: while
// both live the list reads as in order, and once the larger heap dies the
// chain is swept as a scattered list with no object made between the
// collections, while destructors make objects in bulk during one sweep.
TEST_F(CollectorTest, ScatteredListLeftByADroppedHeapIsSweptWholeWithoutObjectsMadeBetween) {
  std::vector<PoolSlot> storage(2 * kPoolSlots);
  pool = storage.data();
  poolNext = poolNextInOrder = 0;
  scatteredFinalized = 0;
  const ZORQelI::integer base = ZORQelIVariable::GetInstancesCount__();
  constexpr int kLinks = 3000;
  constexpr int kInOrder = 60000;
  poolInOrder = false;
  ScatteredIMP* first = new ScatteredIMP();
  ZORQelIObject keep(first);
  for (ScatteredIMP* last = first; poolNext < kLinks;) last = last->next = new ScatteredIMP();
  poolInOrder = true;
  ScatteredIMP* big = new ScatteredIMP();
  ZORQelIObject keepBig(big);
  for (ScatteredIMP* last = big; poolNextInOrder < kInOrder;) last = last->next = new ScatteredIMP();
  ZORQelIVariable::GarbageCollect();
  EXPECT_EQ(WalkedLength(), base + kLinks + kInOrder);
  // The makers, made before the sweep that finds the list scattered and
  // dropped after it, make more objects during the next sweep than the
  // collector's arrays have room for.
  constexpr int kMakers = 8;
  constexpr int kEach = 20000;
  std::vector<ZORQelIObject> makers;
  for (int i = 0; i < kMakers; ++i) makers.emplace_back(new MakerIMP(kEach, &finalized));
  keepBig = ZORQelIObject();
  ZORQelIVariable::GarbageCollect();
  EXPECT_EQ(scatteredFinalized, kInOrder);
  EXPECT_EQ(WalkedLength(), base + kLinks + kMakers);
  makers.clear();
  std::vector<const ZORQelIObjectIMP*> order = Listed<ScatteredIMP>();
  for (int round = 0; round < 3; ++round) {
    ZORQelIVariable::GarbageCollect();
    std::reverse(order.begin(), order.end());
    EXPECT_EQ(Listed<ScatteredIMP>(), order);
  }
  EXPECT_EQ(finalized, kMakers);
  EXPECT_EQ(chainFinalized, kMakers * kEach);
  EXPECT_EQ(WalkedLength(), base + kLinks);
  keep = ZORQelIObject();
  CollectAll();
  EXPECT_EQ(scatteredFinalized, kInOrder + kLinks);
  EXPECT_EQ(ZORQelIVariable::GetInstancesCount__(), base);
  pool = nullptr;
}

// A sweep outside a cycle marks nothing: the unreachable objects of the
// placeholder's class, made next to it, are deleted in one run that must stop
// at the placeholder, with tracing off (the sweep's fast path) and on.
TEST(SweepAlone, KeepsThePlaceholderAtTheEndOfARunOfItsOwnClass) {
  for (const char* trace : {qtest::kUnset, "!"}) {
    for (const char* made : {"1", "3", "40"}) {
      qtest::ChildResult r = qtest::RunChild(qtest::ChildProgram("sweep_child"), {made},
                                             {{"ZORQelITracerContext", trace}});
      const std::string count = std::to_string(1 + std::atoi(made));
      EXPECT_EQ(r.out, "1 " + count + " 1 empty\n") << made << (trace == qtest::kUnset ? "" : " traced");
      EXPECT_EQ(r.status, 0) << r.err;
    }
  }
}

TEST_F(CollectorTest, FinalizerThatRaisesLosesNoOtherObject) {
  NodeIMP* kept = NewNode(&targets, 1);
  ZORQelIObject keep(kept);
  NewNode(&owners, 2);                     // unreachable, examined after the faulty one
  new FaultyFinalizerIMP(&finalized);      // the newest: examined first
  EXPECT_THROW(ZORQelIVariable::GarbageCollect(), std::runtime_error);
  EXPECT_EQ(finalized, 1);
  EXPECT_EQ(ZORQelIVariable::GetInstancesCount__(), WalkedLength());
  ZORQelIVariable::GarbageCollect();
  EXPECT_EQ(owners, 1);  // still on the list, collected by the next cycle
  EXPECT_EQ(targets, 0);
  EXPECT_EQ(std::string(keep.ToString()), "node 1");
  keep = ZORQelIObject();
  ZORQelIVariable::GarbageCollect();
  EXPECT_EQ(targets, 1);
}

TEST_F(CollectorTest, LongChainOfHandleMembersIsMarkedInItsFirstCycle) {
  // Each node's member is still a static root in the first cycle, and the
  // table is scanned from the head's member down the chain.
  const int n = 1000000;
  NodeIMP* head = NewNode(&finalized, 0);
  NodeIMP* last = head;
  for (int i = 1; i < n; ++i) {
    NodeIMP* node = NewNode(&finalized, i);
    last->link = node;
    last = node;
  }
  {
    ZORQelIObject keep(head);
    ZORQelIVariable::GarbageCollect();
    EXPECT_EQ(finalized, 0);
    EXPECT_EQ(last->memberChecks, 1);
  }
  ZORQelIVariable::GarbageCollect();  // members are scanned now: one cycle is enough
  EXPECT_EQ(finalized, n);
}

TEST_F(CollectorTest, LargeGraphMarkedThroughShortWorkListsKeepsEveryReachableObjectOnce) {
  // More objects than a heap the marker takes to fit in cache: its scans
  // then defer their tests even while the work list is short.  Each kept
  // node refers to the one made before it and to one made earlier at random
  // (the work list stays short); the dropped nodes, made between them,
  // refer into the kept ones, so only what the kept ones reach survives.
  const int kept = 300000, dropped = 100000;
  std::vector<NodeIMP*> nodes;
  nodes.reserve(kept);
  NodeIMP* droppedHead = nullptr;
  std::uint32_t seed = 12345;
  for (int i = 0; i < kept; ++i) {
    NodeIMP* node = NewNode(&finalized, i);
    if (i > 0) {
      node->link = nodes.back();
      seed = seed * 1664525u + 1013904223u;
      node->raw = nodes[(seed >> 8) % static_cast<std::uint32_t>(i)];
    }
    nodes.push_back(node);
    if (i % 3 == 0 && i / 3 < dropped) {
      NodeIMP* d = NewNode(&owners, i);
      d->raw = node;
      if (droppedHead != nullptr) d->link = droppedHead;
      droppedHead = d;
    }
  }
  {
    ZORQelIObject keep(nodes.back());
    ZORQelIVariable::GarbageCollect();  // the members leave the static table
    ZORQelIVariable::GarbageCollect();
    EXPECT_EQ(owners, dropped);
    EXPECT_EQ(finalized, 0);
    int checkedOnce = 0;
    for (NodeIMP* node : nodes) checkedOnce += node->memberChecks == 2;
    EXPECT_EQ(checkedOnce, kept);
  }
  ZORQelIVariable::GarbageCollect();
  EXPECT_EQ(finalized, kept);
}

using qtest::RunOnThread;

TEST_F(CollectorTest, MillionChainIsMarkedFromAThreadWithA256KiBStack) {
  const std::int64_t n = 1000000;
  ChainIMP* first = MakeChain(n);
  int table = -1;
  std::int64_t survivedChecks = -1, survivedFinalized = -1;
  RunOnThread(256 * 1024, nullptr, [&] {
    KeyedHandle head(first);
    table = head.Table();
    ZORQelIVariable::GarbageCollect();
    survivedChecks = chainChecks;
    survivedFinalized = chainFinalized;
  });
  EXPECT_EQ(table, 0);  // on that thread's stack
  EXPECT_EQ(survivedFinalized, 0);
  EXPECT_EQ(survivedChecks, n);
  RunOnThread(256 * 1024, nullptr, [] { ZORQelIVariable::GarbageCollect(); });
  EXPECT_EQ(chainFinalized, n);
}

TEST_F(CollectorTest, HandlesInAnotherThreadAreClassifiedByThatThreadsStackNotTheMemoryPastIt) {
  // The thread's stack is the first 512 KiB of one heap block; a handle
  // built right after it lies within 256 KiB of the thread's frames.
  const std::size_t stackSize = 512 * 1024;
  void* block = nullptr;
  ASSERT_EQ(posix_memalign(&block, 4096, stackSize + 4096), 0);
  void* beyond = static_cast<char*>(block) + stackSize + 64;
  int table = -1;
  std::int32_t localTable = -1;
  RunOnThread(stackSize, block, [&] {
    auto* h = new (beyond) KeyedHandle(NewNode(&finalized, 1));
    KeyedHandle local(NewNode(&finalized, 2));
    table = h->Table();
    localTable = local.Table();
    h->~KeyedHandle();
  });
  std::free(block);
  EXPECT_EQ(localTable, 0);
  EXPECT_EQ(table, 1);
  ZORQelIVariable::GarbageCollect();
  EXPECT_EQ(finalized, 2);
}

// The static table's holes below a live handle are passed over by later
// scans; a handle registered into that region once the count has fallen to
// it must still be a root, whether the count fell by registration, by the
// scan's trimming or by Size.
TEST_F(CollectorTest, HandleRegisteredWhereAScanFoundHolesIsARoot) {
  const int base = Static().count;
  auto* dead = new std::vector<KeyedHandle>(10000);
  auto* top = new KeyedHandle(new ChainIMP());
  ASSERT_EQ(top->Table(), 1);
  delete dead;  // 10,000 holes below the top handle
  ZORQelIVariable::GarbageCollect();
  ZORQelIVariable::GarbageCollect();
  EXPECT_EQ(Static().count, top->Slot() + 1);  // holes below a live slot stay
  delete top;  // the count falls to `base` at the next registration
  auto* low = new KeyedHandle(new ChainIMP());
  EXPECT_EQ(low->Slot(), base);
  auto* fill = new std::vector<KeyedHandle>(5000);
  auto* deep = new KeyedHandle(new ChainIMP());  // past a whole word of empty blocks
  EXPECT_EQ(deep->Slot(), base + 5001);
  ZORQelIVariable::GarbageCollect();
  ZORQelIVariable::GarbageCollect();
  EXPECT_EQ(chainFinalized, 1);  // top's object only
  delete fill;
  delete low;
  // Below the new top, down to a count lowered by Size.
  ZORQelIVariable::GarbageCollect();
  EXPECT_EQ(chainFinalized, 2);
  Static().Size(base);
  auto* again = new KeyedHandle(new ChainIMP());
  EXPECT_EQ(again->Slot(), base);
  ZORQelIVariable::GarbageCollect();
  EXPECT_EQ(chainFinalized, 3);  // deep's slot is forgotten, again's object kept
  EXPECT_TRUE(again->IsValid());
  delete again;
  delete deep;  // a stale key: its release writes a hole above the count
  ZORQelIVariable::GarbageCollect();
  EXPECT_EQ(chainFinalized, 4);
}

// Destructors that take a stack dump, under the base Finalizer or under one
// of the client's: each must see the sweep's frame, then the Finalizer's,
// then its own, whatever the order of the objects on the list.
ZORQelITracerElement dumpingDestructor("DumpingIMP::~DumpingIMP()", 7);
int ownFinalizers = 0;

class DumpingIMP : public ZORQelIObjectIMP {
  ZORQELI_DECLARE_IMP(DumpingIMP, ZORQelIObjectIMP)
 public:
  ~DumpingIMP() override {
    ZORQelITracer frame(dumpingDestructor);
    frame.Dump();
  }
  ZORQelIObjectIMP* Clone() const override { return new DumpingIMP(); }
  void Text(ZORQelIPrint&) const override {}
};
ZORQELI_DEFINE_IMP(DumpingIMP, ZORQelIObjectIMP)

class DumpingOwnFinalizerIMP : public DumpingIMP {
  ZORQELI_DECLARE_IMP(DumpingOwnFinalizerIMP, DumpingIMP)
 public:
  ZORQelIObjectIMP* Clone() const override { return new DumpingOwnFinalizerIMP(); }
  void Finalizer() override {
    ++ownFinalizers;
    ZORQelIObjectIMP::Finalizer();
  }
};
ZORQELI_DEFINE_IMP(DumpingOwnFinalizerIMP, DumpingIMP)

TEST_F(CollectorTest, DestructorsSeeTheSweepAndTheFinalizerFramesBelowTheirOwn) {
  ownFinalizers = 0;
  for (int i = 0; i < 6; ++i) {
    if (i % 3 == 1) new DumpingOwnFinalizerIMP();
    else new DumpingIMP();
  }
  qtest::CaptureStderr capture;
  ZORQelIVariable::GarbageCollect();
  const std::string text = capture.Take();
  EXPECT_EQ(ownFinalizers, 2);
  std::vector<std::string> dumps;
  for (std::size_t at = text.find("-- Beginning"); at != std::string::npos;) {
    const std::size_t end = text.find("-- End of stack dump\n", at);
    ASSERT_NE(end, std::string::npos) << text;
    dumps.push_back(text.substr(at, end - at));
    at = text.find("-- Beginning", end);
  }
  ASSERT_EQ(dumps.size(), 6u) << text;
  for (const std::string& d : dumps) EXPECT_EQ(d, dumps[0]);
  // The three innermost frames, in order, the destructor's current.
  std::vector<std::string> lines;
  std::istringstream in(dumps[0]);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  ASSERT_GE(lines.size(), 5u) << dumps[0];
  const std::size_t n = lines.size();
  EXPECT_NE(lines[n - 3].find("]void ZORQelIGarbageableObjectListIMP::Cleaner() "), std::string::npos);
  EXPECT_NE(lines[n - 2].find("]void ZORQelIObjectIMP::Finalizer() "), std::string::npos);
  EXPECT_EQ(lines[n - 1], "->[" + std::to_string(n - 3) + "]DumpingIMP::~DumpingIMP() 7");
}

}  // namespace collectortest
