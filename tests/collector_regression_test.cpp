// Regressions of the collector, each named after the fault it guards.
#include <gtest/gtest.h>

#include <stdexcept>

#include "QL0KRN.h"
#include "TestSupport.h"

namespace {

// An implementation class whose constructor raises after its base (and so
// its place on the collector's list) exists.
class FailingIMP : public ZORQelIObjectIMP {
  ZORQELI_DECLARE_IMP(FailingIMP, ZORQelIObjectIMP)
 public:
  explicit FailingIMP(bool fail) : member(qtest::NewNode()) {
    if (fail) throw std::runtime_error("construction refused");
  }
  ZORQelIObjectIMP* Clone() const override { return new FailingIMP(false); }
  void Text(ZORQelIPrint&) const override {}
  void GarbageCollectorMemberCheck() override {
    ZORQelIObjectIMP::GarbageCollectorMemberCheck();
    GarbageCollectorScan(member);
  }
  ZORQelIObject member;  // its target was made before the failure
};

ZORQELI_DEFINE_IMP(FailingIMP, ZORQelIObjectIMP)

TEST(CollectorRegression, ConstructorThatRaisesLeavesNoDanglingListEntry) {
  qtest::CollectAll();
  const ZORQelI::integer before = ZORQelIVariable::GetInstancesCount__();
  for (int i = 0; i < 3; ++i) {
    EXPECT_THROW(new FailingIMP(true), std::runtime_error);
  }
  // Only the members' targets are left; the failed objects are gone from
  // the list, so a sweep never visits freed memory.
  EXPECT_EQ(ZORQelIVariable::GetInstancesCount__(), before + 3);
  ZORQelIObject kept(new FailingIMP(false));
  qtest::CollectAll();
  EXPECT_EQ(ZORQelIVariable::GetInstancesCount__(), before + 2);  // kept and its member
  kept = ZORQelIObject();
  qtest::CollectAll();
  EXPECT_EQ(ZORQelIVariable::GetInstancesCount__(), before);
}

TEST(CollectorRegression, FailedConstructionInTheMiddleOfTheListIsUnlinked) {
  qtest::CollectAll();
  const ZORQelI::integer before = ZORQelIVariable::GetInstancesCount__();
  ZORQelIObject first(qtest::NewNode());
  // The failing object is followed on the list by its member's target.
  EXPECT_THROW(new FailingIMP(true), std::runtime_error);
  ZORQelIObject last(qtest::NewNode());
  ZORQelIObjectIMP::Status();  // walks the list: must not touch freed memory
  qtest::CollectAll();
  EXPECT_EQ(ZORQelIVariable::GetInstancesCount__(), before + 2);
}

}  // namespace
