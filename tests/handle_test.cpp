// Handles: emptiness and the null-pointer exception, equality, assignment
// from handles and raw pointers, private copies (SpecializeMe), the text
// operations, and the placeholder implementation.
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "CoreTestSupport.h"
#include "QL0KRN.h"
#include "TestSupport.h"

namespace handletest {

using qtest::CollectAll;
using qtest::KeyedHandle;
using qtest::NewNode;
using qtest::NodeIMP;
using qtest::RaisedText;

const std::string kEmpty75 =
    "ZORQelI::Exception : QelInfrastructure/QL0KRN.m/src/ZORQelIObject 75: Null pointer access\n";
const std::string kEmpty93 =
    "ZORQelI::Exception : QelInfrastructure/QL0KRN.m/src/ZORQelIObject 93: Null pointer access\n";

// An implementation class whose Equal counts its calls and records its
// argument, and whose text is fixed.
class CountingIMP : public ZORQelIObjectIMP {
  ZORQELI_DECLARE_IMP(CountingIMP, ZORQelIObjectIMP)
 public:
  explicit CountingIMP(int* finalized) : finalized(finalized) {}
  ~CountingIMP() override { ++*finalized; }
  ZORQelIObjectIMP* Clone() const override { return new CountingIMP(finalized); }
  void Text(ZORQelIPrint& ot) const override { ot.Print(ZORQelI::string("counting")); }
  ZORQelI::boolean Equal(ZORQelIObjectIMP* o) const override {
    ++equalCalls;
    lastArgument = o;
    return ZORQelIObjectIMP::Equal(o);
  }
  int* finalized;
  mutable int equalCalls = 0;
  mutable ZORQelIObjectIMP* lastArgument = reinterpret_cast<ZORQelIObjectIMP*>(1);
};
ZORQELI_DEFINE_IMP(CountingIMP, ZORQelIObjectIMP)

// A family of the test's own, built from the library's pattern, for IMP().
class ZORTestNodeHandle : public ZORQelIObject {
  ZORQELI_DECLARE_HANDLE(ZORTestNodeHandle, NodeIMP)
};
ZORQELI_DEFINE_HANDLE(ZORTestNodeHandle, ZORQelIObject, NodeIMP)
ZORQELI_DEFINE_EMPTY_CONSTRUCTOR(ZORTestNodeHandle, ZORQelIObject)
ZORQELI_DEFINE_LENIENT_DOWNCAST(ZORTestNodeHandle, NodeIMP)

class HandleTest : public ::testing::Test {
 protected:
  void SetUp() override { CollectAll(); }
  void TearDown() override { CollectAll(); }
  // Counters of finalizations: members, so that they outlive the objects
  // that TearDown's collection finalizes.
  int finalized = 0;
  int first = 0;
  int second = 0;
};

// --- Empty handles ------------------------------------------------------------

TEST_F(HandleTest, EmptyHandleIsNotValidAndRaisesNothing) {
  ZORQelIObject empty;
  const ZORQelIObject fromNull(static_cast<ZORQelIObjectIMP*>(nullptr));
  EXPECT_EQ(empty.IsValid(), ZORQelI::Ifalse);
  EXPECT_EQ(fromNull.IsValid(), ZORQelI::Ifalse);
}

TEST_F(HandleTest, EmptyHandleOperationsRaiseNullPtrAccessWithTheirLine) {
  ZORQelIObject empty;
  const ZORQelIObject& constEmpty = empty;
  std::ostringstream sink;
  ZORQelIExpressForm printer;
  // The const accessor reports line 75 ...
  EXPECT_EQ(RaisedText<ZORQelI::NullPtrAccess>([&] { constEmpty.RefMe(); }), kEmpty75);
  EXPECT_EQ(RaisedText<ZORQelI::NullPtrAccess>([&] { empty.ToString(); }), kEmpty75);
  EXPECT_EQ(RaisedText<ZORQelI::NullPtrAccess>([&] { empty.Text(); }), kEmpty75);
  EXPECT_EQ(RaisedText<ZORQelI::NullPtrAccess>([&] { empty.ToStream(sink); }), kEmpty75);
  EXPECT_EQ(RaisedText<ZORQelI::NullPtrAccess>([&] { empty.Text(printer); }), kEmpty75);
  EXPECT_EQ(RaisedText<ZORQelI::NullPtrAccess>([&] { empty.HashCode(); }), kEmpty75);
  // ... the non-const one line 93.
  EXPECT_EQ(RaisedText<ZORQelI::NullPtrAccess>([&] { empty.RefMe(); }), kEmpty93);
  EXPECT_EQ(RaisedText<ZORQelI::NullPtrAccess>([&] { empty.SpecializeMe(); }), kEmpty93);
  EXPECT_EQ(sink.str(), "");
  EXPECT_EQ(std::string(printer.Get()), "");
}

TEST_F(HandleTest, FamilyIMPOfEmptyHandleRaisesAndOfFullHandleGivesItsObject) {
  ZORTestNodeHandle empty;
  EXPECT_EQ(RaisedText<ZORQelI::NullPtrAccess>([&] { empty.IMP(); }), kEmpty75);
  NodeIMP* node = NewNode(nullptr, 4);
  ZORTestNodeHandle full(node);
  EXPECT_EQ(full.IMP(), node);
}

TEST_F(HandleTest, NullPtrAccessIsRaisedBeforeAnyOtherEffect) {
  // Equal on an empty handle against a full one: the implementation of the
  // other side must not be consulted.
  auto* imp = new CountingIMP(&finalized);
  ZORQelIObject full(imp);
  ZORQelIObject empty;
  EXPECT_EQ(RaisedText<ZORQelI::NullPtrAccess>([&] { empty.Equal(full); }), kEmpty75);
  EXPECT_EQ(imp->equalCalls, 0);
}

// --- Equality -------------------------------------------------------------------

TEST_F(HandleTest, HandlesOnOneObjectAreEqualWithoutAskingIt) {
  auto* imp = new CountingIMP(&finalized);
  ZORQelIObject a(imp);
  ZORQelIObject b(a);
  EXPECT_EQ(a.Equal(b), ZORQelI::Itrue);
  EXPECT_EQ(b.Equal(a), ZORQelI::Itrue);
  EXPECT_EQ(imp->equalCalls, 0);
}

TEST_F(HandleTest, TwoEmptyHandlesAreEqual) {
  ZORQelIObject a, b;
  EXPECT_EQ(a.Equal(b), ZORQelI::Itrue);
}

TEST_F(HandleTest, FullHandleAgainstEmptyAsksObjectWithNull) {
  auto* imp = new CountingIMP(&finalized);
  ZORQelIObject full(imp);
  ZORQelIObject empty;
  EXPECT_EQ(full.Equal(empty), ZORQelI::Ifalse);
  EXPECT_EQ(imp->equalCalls, 1);
  EXPECT_EQ(imp->lastArgument, nullptr);
}

TEST_F(HandleTest, DistinctObjectsAreUnequalByDefaultIdentity) {
  auto* first = new CountingIMP(&finalized);
  auto* second = new CountingIMP(&finalized);
  ZORQelIObject a(first), b(second);
  EXPECT_EQ(a.Equal(b), ZORQelI::Ifalse);
  EXPECT_EQ(first->equalCalls, 1);
  EXPECT_EQ(first->lastArgument, second);
}

// --- Assignment -------------------------------------------------------------------

TEST_F(HandleTest, AssignedHandleSharesTheObject) {
  ZORQelIObject h1(NewNode(&finalized, 1));
  ZORQelIObject h2;
  const ZORQelIObject& result = (h2 = h1);
  EXPECT_EQ(&result, &h2);
  EXPECT_EQ(h2.Equal(h1), ZORQelI::Itrue);
  EXPECT_EQ(h2.RefMe(), h1.RefMe());
}

TEST_F(HandleTest, HandleAssignedFromRawPointerKeepsObjectAlive) {
  ZORQelIObject h;
  const ZORQelIObject& result = (h = static_cast<const ZORQelIObjectIMP*>(NewNode(&finalized, 2)));
  EXPECT_EQ(&result, &h);
  CollectAll();
  CollectAll();
  EXPECT_EQ(finalized, 0);
  EXPECT_EQ(std::string(h.ToString()), "node 2");
}

TEST_F(HandleTest, ReassignedHandleReleasesItsFormerObject) {
  ZORQelIObject h(NewNode(&first, 1));
  h = static_cast<const ZORQelIObjectIMP*>(NewNode(&second, 2));
  CollectAll();
  EXPECT_EQ(first, 1);
  EXPECT_EQ(second, 0);
  h = ZORQelIObject();
  CollectAll();
  EXPECT_EQ(second, 1);
  EXPECT_EQ(h.IsValid(), ZORQelI::Ifalse);
}

TEST_F(HandleTest, SelfAssignmentKeepsTheObject) {
  ZORQelIObject h(NewNode(&finalized, 3));
  ZORQelIObject& alias = h;
  h = alias;
  CollectAll();
  EXPECT_EQ(finalized, 0);
  EXPECT_EQ(std::string(h.ToString()), "node 3");
}

TEST_F(HandleTest, NullAndEmptyHandlesHoldTheSentinelNotAHole) {
  KeyedHandle fromNull(static_cast<ZORQelIObjectIMP*>(nullptr));
  ZORQelIGholder& table = ZORQelIVariable::holder[fromNull.Table()];
  EXPECT_EQ(table.table[fromNull.Slot()], ZORQelIGholder::null);

  KeyedHandle h(NewNode(nullptr, 1));
  ZORQelIGholder& table2 = ZORQelIVariable::holder[h.Table()];
  EXPECT_EQ(table2.table[h.Slot()], h.RefMe());
  h = static_cast<const ZORQelIObjectIMP*>(nullptr);
  EXPECT_EQ(table2.table[h.Slot()], ZORQelIGholder::null);
  h = NewNode(nullptr, 2);
  h = ZORQelIObject();
  EXPECT_EQ(table2.table[h.Slot()], ZORQelIGholder::null);
}

TEST_F(HandleTest, AssignmentNeverMovesAHandleBetweenSlots) {
  KeyedHandle h;
  const int table = h.Table(), slot = h.Slot();
  KeyedHandle other(NewNode(nullptr, 5));
  h = other;
  h = NewNode(nullptr, 6);
  h.SpecializeMe();
  EXPECT_EQ(h.Table(), table);
  EXPECT_EQ(h.Slot(), slot);
  EXPECT_EQ(ZORQelIVariable::holder[table].table[slot], h.RefMe());
}

TEST_F(HandleTest, DestroyedHandleSlotIsReusedByTheNextAtTheSameDepth) {
  int firstSlot, secondSlot;
  {
    KeyedHandle h(NewNode(nullptr, 1));
    firstSlot = h.Slot();
    EXPECT_EQ(h.Table(), 0);
  }
  {
    KeyedHandle h(NewNode(nullptr, 2));
    secondSlot = h.Slot();
  }
  EXPECT_EQ(firstSlot, secondSlot);
}

// --- Private copies -------------------------------------------------------------------

TEST_F(HandleTest, SpecializedHandleGetsACloneOthersKeepTheOriginal) {
  ZORQelIObject h1(NewNode(&finalized, 7));
  ZORQelIObject h2(h1);
  const ZORQelIObjectIMP* original = h2.RefMe();
  const ZORQelI::integer before = ZORQelIVariable::GetInstancesCount__();

  ZORQelIObjectIMP* copy = h1.SpecializeMe();

  EXPECT_EQ(copy, h1.RefMe());
  EXPECT_NE(copy, original);
  EXPECT_EQ(ZORQelIVariable::GetInstancesCount__(), before + 1);  // the clone is enlisted
  EXPECT_EQ(h2.Equal(h1), ZORQelI::Ifalse);
  EXPECT_EQ(h2.RefMe(), original);
  EXPECT_EQ(std::string(h1.ToString()), "node 7");
  CollectAll();
  EXPECT_EQ(finalized, 0);  // both are still reached
}

TEST_F(HandleTest, SpecializedAwayOriginalDiesWithItsLastOtherHandle) {
  ZORQelIObject h1(NewNode(&finalized, 8));
  {
    ZORQelIObject h2(h1);
    h1.SpecializeMe();
    CollectAll();
    EXPECT_EQ(finalized, 0);
  }
  CollectAll();
  EXPECT_EQ(finalized, 1);  // the original
  EXPECT_EQ(std::string(h1.ToString()), "node 8");
}

TEST_F(HandleTest, SpecializedSoleHandleReleasesTheOriginal) {
  ZORQelIObject h(NewNode(&finalized, 9));
  h.SpecializeMe();
  CollectAll();
  EXPECT_EQ(finalized, 1);
  EXPECT_EQ(h.IsValid(), ZORQelI::Itrue);
}

TEST_F(HandleTest, CloneIsANewUnmarkedObjectScannedOncePerCycle) {
  // A clone never takes over the source's mark: if it did, it would look
  // "already marked" and its members would not be scanned in the cycle.
  NodeIMP* source = NewNode(&finalized, 1);
  ZORQelIObject h(source);
  ZORQelIVariable::GarbageCollect();
  ZORQelIObject copy(h);
  copy.SpecializeMe();
  auto* clone = static_cast<NodeIMP*>(copy.RefMe());
  const int sourceChecks = source->memberChecks;
  ZORQelIVariable::GarbageCollect();
  EXPECT_EQ(clone->memberChecks, 1);
  EXPECT_EQ(source->memberChecks, sourceChecks + 1);
}

// --- Text -------------------------------------------------------------------------------

TEST_F(HandleTest, TextOperationsAllRenderTheObjectsText) {
  ZORQelIObject h(NewNode(nullptr, 42));
  EXPECT_EQ(std::string(h.ToString()), "node 42");
  EXPECT_EQ(std::string(h.Text()), "node 42");
  std::ostringstream stream;
  h.ToStream(stream);
  EXPECT_EQ(stream.str(), "node 42");  // no newline
  ZORQelIExpressForm printer;
  h.Text(printer);
  EXPECT_EQ(std::string(printer.Get()), "node 42");
}

TEST_F(HandleTest, ShowSelfWritesTheTextAndOneNewlineToStderr) {
  NodeIMP* node = NewNode(nullptr, 11);
  ZORQelIObject h(node);
  qtest::CaptureStderr capture;
  node->show_self();
  EXPECT_EQ(capture.Take(), "node 11\n");
}

TEST_F(HandleTest, DefaultHashCodeIsTheAddressShiftedRightByTwo) {
  NodeIMP* node = NewNode(nullptr, 1);
  ZORQelIObject h(node);
  const auto low = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(node));
  EXPECT_EQ(h.HashCode(), static_cast<std::int32_t>(low) >> 2);
  EXPECT_EQ(node->HashCode(), h.HashCode());
}

// --- The placeholder ---------------------------------------------------------------------

TEST_F(HandleTest, PlaceholderIsInvalidWritesNothingAndClonesToANewPlaceholder) {
  ZORQelIObject h(new ZORQelIDumbIMP());
  EXPECT_EQ(h.IsValid(), ZORQelI::Ifalse);  // full handle, invalid object
  EXPECT_EQ(std::string(h.ToString()), "");
  const ZORQelIObjectIMP* original = h.RefMe();
  h.SpecializeMe();
  EXPECT_NE(h.RefMe(), original);
  EXPECT_EQ(&h.RefMe()->Id(), &ZORQelIDumbIMP::ClassId());
  EXPECT_EQ(h.IsValid(), ZORQelI::Ifalse);
}

TEST_F(HandleTest, SentinelIsAPlaceholderThatSurvivesEveryCycle) {
  ZORQelIObjectIMP* sentinel = ZORQelIGholder::null;
  ASSERT_NE(sentinel, nullptr);
  EXPECT_EQ(&sentinel->Id(), &ZORQelIDumbIMP::ClassId());
  EXPECT_EQ(sentinel->IsValid(), ZORQelI::Ifalse);
  CollectAll();
  EXPECT_EQ(ZORQelIGholder::null, sentinel);
  bool found = false;
  for (ZORQelIObjectIMP* o = ZORQelIObjectIMP::list_.head; o != nullptr; o = o->Next())
    found = found || o == sentinel;
  EXPECT_TRUE(found);
}

}  // namespace handletest
