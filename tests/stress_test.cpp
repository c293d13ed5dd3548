// Load: a million handles in the static table, thousands of views, a million instances, deep
// trace frames; each checked through the collector's counts.
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "QL0KRN.h"
#include "QL0KRNMem.h"
#include "TestSupport.h"

#if defined(__SANITIZE_ADDRESS__)
#define QL0KRN_STRESS_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QL0KRN_STRESS_SANITIZED 1
#endif
#endif

namespace stresstest {

#ifdef QL0KRN_STRESS_SANITIZED
constexpr int kPopulation = 200000;  // a fifth in sanitizer builds
#else
constexpr int kPopulation = 1000000;
#endif

using qtest::CollectAll;

// No handle member: each handle below owns exactly one slot of the static table.
class LeafIMP : public ZORQelIObjectIMP {
  ZORQELI_DECLARE_IMP(LeafIMP, ZORQelIObjectIMP)
 public:
  LeafIMP(int* finalized, int value) : finalized(finalized), value(value) {}
  ~LeafIMP() override { ++*finalized; }
  ZORQelIObjectIMP* Clone() const override { return new LeafIMP(*this); }
  void Text(ZORQelIPrint&) const override {}
  int* finalized;
  int value;
};
ZORQELI_DEFINE_IMP(LeafIMP, ZORQelIObjectIMP)

TEST(Stress, MillionHeapHandlesGrowAndShrinkTheStaticTable) {
  CollectAll();
  const ZORQelI::integer slots0 = ZORQelIVariable::GarbageCollect();
  const ZORQelI::integer objects0 = ZORQelIVariable::GetInstancesCount__();
  constexpr int kN = 1000000;
  int finalized = 0;
  {
    std::vector<std::unique_ptr<ZORQelIObject>> handles;
    handles.reserve(kN);
    for (int i = 0; i < kN; ++i) handles.emplace_back(new ZORQelIObject(new LeafIMP(&finalized, i)));
    EXPECT_EQ(ZORQelIVariable::GarbageCollect(), slots0 + kN);
    EXPECT_EQ(ZORQelIVariable::GetInstancesCount__(), objects0 + kN);
    EXPECT_EQ(finalized, 0);

    // Every other handle gone: holes below the top keep the size; only their objects go.
    for (int i = 0; i < kN; i += 2) handles[i].reset();
    EXPECT_EQ(ZORQelIVariable::GarbageCollect(), slots0 + kN);
    EXPECT_EQ(finalized, kN / 2);
    EXPECT_EQ(ZORQelIVariable::GetInstancesCount__(), objects0 + kN / 2);
    for (int i = 1; i < kN; i += 2)
      ASSERT_EQ(static_cast<const LeafIMP*>(handles[i]->RefMe())->value, i);

    // The top half released from the top down: trailing holes are trimmed at the next scan.
    for (int i = kN - 1; i >= kN / 2; --i) handles[i].reset();
    EXPECT_EQ(ZORQelIVariable::GarbageCollect(), slots0 + kN / 2);
    EXPECT_EQ(finalized, kN / 2 + kN / 4);

    // New handles reuse the freed top slots.
    for (int i = kN / 2; i < kN; ++i) handles[i].reset(new ZORQelIObject(*handles[1]));
    EXPECT_EQ(ZORQelIVariable::GarbageCollect(), slots0 + kN);
    EXPECT_EQ(finalized, kN / 2 + kN / 4);
  }
  EXPECT_EQ(ZORQelIVariable::GarbageCollect(), slots0);
  EXPECT_EQ(finalized, kN);
  EXPECT_EQ(ZORQelIVariable::GetInstancesCount__(), objects0);
}

// These end with the object count back where it started.
using StressCounted = qtest::CountedTest;

TEST_F(StressCounted, ObserverTreeWithThousandsOfViewsServesEachOnceAndIsCollected) {
  constexpr int kBranches = 50;
  constexpr int kLeaves = 100;  // per branch: 5000 leaves
  std::int64_t served = 0;
  int finalized = 0;
  {
    ZORQelIObserver root;
    for (int b = 0; b < kBranches; ++b) {
      ZORQelIObserver branch;
      for (int l = 0; l < kLeaves; ++l)
        branch.AddView(ZORQelIView(new qtest::FnViewIMP(
            [&](qtest::Notice kind, ZORQelIObject) {
              served += kind == qtest::Notice::Updated ? 1 : kind == qtest::Notice::Deleted ? 1000000 : 0;
            },
            &finalized)));
      root.AddView(branch);
    }
    EXPECT_EQ(root.NumberOfView(), kBranches);
    CollectAll();  // survived with only the root's handle
    EXPECT_EQ(finalized, 0);
    root.NotifyUpdate(ZORQelIObject());
    EXPECT_EQ(served, kBranches * kLeaves);
    root.NotifyDeleted(ZORQelIObject());
    EXPECT_EQ(served, kBranches * kLeaves * 1000001LL);
  }
  CollectAll();
  EXPECT_EQ(finalized, kBranches * kLeaves);
}

TEST_F(StressCounted, MillionInstancePopulationIsDroppedAndCollectedInRounds) {
  constexpr int kN = kPopulation;
  constexpr int kDrop = kPopulation / 4;
  ZORQelIModeler m = ZORQelIMemWrapper::Default().NewModeler(ZORQelI::string("Crowd"));
  ZORQelIEntity item = m.MakeEntity("Item");
  ZORQelIInstances pop = m.GetInstances();
  CollectAll();
  const ZORQelI::integer schema = ZORQelIVariable::GetInstancesCount__();
  for (int i = 0; i < kN; ++i) m.Instanciate(item);
  CollectAll();
  ASSERT_EQ(pop.Size(), kN);
  // Every instance costs the same number of objects, and the population alone keeps them.
  const ZORQelI::integer grown = ZORQelIVariable::GetInstancesCount__() - schema;
  ASSERT_GT(grown, 0);
  ASSERT_EQ(grown % kN, 0);
  const ZORQelI::integer each = grown / kN;

  for (int round = 0; round < 3; ++round) {  // drop the last quarter, collect, refill
    for (int i = 0; i < kDrop; ++i) pop.Remove(pop.Size() - 1);
    CollectAll();
    ASSERT_EQ(pop.Size(), kN - kDrop);
    ASSERT_EQ(ZORQelIVariable::GetInstancesCount__(), schema + (kN - kDrop) * each);
    for (int i = 0; i < kDrop; ++i) m.Instanciate(item);
    CollectAll();
    ASSERT_EQ(pop.Size(), kN);
    ASSERT_EQ(ZORQelIVariable::GetInstancesCount__(), schema + kN * each);
  }
  EXPECT_EQ(pop.Get(kN - 1).GetInstanceId(), kN + 3 * kDrop);  // numbered past the dropped ones
}

TEST(Stress, HundredThousandNestedTraceFramesDumpEveryFrame) {
  constexpr int kFrames = 100000;
  qtest::ChildResult r =
      qtest::RunChild(qtest::ChildProgram("tracer_child"), {"frames", std::to_string(kFrames)},
                      {{"ZORQelITracerContext", qtest::kUnset}});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "depth: " + std::to_string(kFrames) + "\nafter: 0\n");
  std::vector<std::string> lines;
  std::istringstream in(r.err);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  ASSERT_EQ(lines.size(), static_cast<std::size_t>(kFrames) + 3);
  EXPECT_EQ(lines.front(), "-- Beginning of stack dump");
  EXPECT_EQ(lines[1], "depth is " + std::to_string(kFrames));
  EXPECT_EQ(lines[2], "  [0]void Child::Frame() 401");
  EXPECT_EQ(lines[kFrames + 1].substr(0, 2 + std::to_string(kFrames - 1).size() + 2),
            "->[" + std::to_string(kFrames - 1) + "]");
  EXPECT_EQ(lines.back(), "-- End of stack dump");  // a header, the depth, a line per frame, a footer
}

}  // namespace stresstest
