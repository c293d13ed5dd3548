// Handles: emptiness, equality, assignment, private copies, texts, and the placeholder.
#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

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

const std::string kEmpty75 = qtest::NullText("ZORQelIObject", 75);
const std::string kEmpty93 = qtest::NullText("ZORQelIObject", 93);

// Its Equal counts its calls and records its argument.
class CountingIMP : public ZORQelIObjectIMP {
  ZORQELI_DECLARE_IMP(CountingIMP, ZORQelIObjectIMP)
 public:
  ZORQelIObjectIMP* Clone() const override { return new CountingIMP(); }
  void Text(ZORQelIPrint& ot) const override { ot.Print(ZORQelI::string("counting")); }
  ZORQelI::boolean Equal(ZORQelIObjectIMP* o) const override {
    ++equalCalls;
    lastArgument = o;
    return ZORQelIObjectIMP::Equal(o);
  }
  mutable int equalCalls = 0;
  mutable ZORQelIObjectIMP* lastArgument = reinterpret_cast<ZORQelIObjectIMP*>(1);
};
ZORQELI_DEFINE_IMP(CountingIMP, ZORQelIObjectIMP)

// A handle family of the test's own, for IMP().
class ZORTestNodeHandle : public ZORQelIObject {
  ZORQELI_DECLARE_HANDLE(ZORTestNodeHandle, NodeIMP)
};
ZORQELI_DEFINE_HANDLE(ZORTestNodeHandle, ZORQelIObject, NodeIMP)
ZORQELI_DEFINE_EMPTY_CONSTRUCTOR(ZORTestNodeHandle, ZORQelIObject)
ZORQELI_DEFINE_LENIENT_DOWNCAST(ZORTestNodeHandle, NodeIMP)

class HandleTest : public qtest::CollectedTest {
 protected:
  int finalized = 0, first = 0, second = 0;  // outlive what TearDown finalizes
};

TEST_F(HandleTest, EmptyHandleIsInvalidAndItsOperationsRaiseNullPtrAccessWithTheirLine) {
  ZORQelIObject empty;
  const ZORQelIObject& constEmpty = empty;
  EXPECT_EQ(empty.IsValid(), ZORQelI::Ifalse);
  EXPECT_EQ(ZORQelIObject(static_cast<ZORQelIObjectIMP*>(nullptr)).IsValid(), ZORQelI::Ifalse);
  std::ostringstream sink;
  ZORQelIExpressForm printer;
  // The const accessor reports line 75, the non-const one line 93.
  const std::vector<std::pair<std::function<void()>, const std::string*>> cases = {
      {[&] { constEmpty.RefMe(); }, &kEmpty75},      {[&] { empty.ToString(); }, &kEmpty75},
      {[&] { empty.Text(); }, &kEmpty75},            {[&] { empty.ToStream(sink); }, &kEmpty75},
      {[&] { empty.Text(printer); }, &kEmpty75},     {[&] { empty.HashCode(); }, &kEmpty75},
      {[&] { ZORTestNodeHandle().IMP(); }, &kEmpty75}, {[&] { empty.RefMe(); }, &kEmpty93},
      {[&] { empty.SpecializeMe(); }, &kEmpty93}};
  for (std::size_t i = 0; i < cases.size(); ++i)
    EXPECT_EQ(RaisedText<ZORQelI::NullPtrAccess>(cases[i].first), *cases[i].second) << "case " << i;
  EXPECT_EQ(sink.str(), "");
  EXPECT_EQ(std::string(printer.Get()), "");
  NodeIMP* node = NewNode(nullptr, 4);
  EXPECT_EQ(ZORTestNodeHandle(node).IMP(), node);
}

TEST_F(HandleTest, EqualityIsIdentityUnlessTheObjectSaysOtherwise) {
  auto* imp = new CountingIMP();
  auto* other = new CountingIMP();
  ZORQelIObject a(imp), sameAsA(a), b(other), empty, alsoEmpty;
  EXPECT_EQ(a.Equal(sameAsA), ZORQelI::Itrue);
  EXPECT_EQ(empty.Equal(alsoEmpty), ZORQelI::Itrue);
  EXPECT_EQ(imp->equalCalls, 0);  // one object, or none: equal without asking
  EXPECT_EQ(a.Equal(empty), ZORQelI::Ifalse);
  EXPECT_EQ(imp->equalCalls, 1);
  EXPECT_EQ(imp->lastArgument, nullptr);  // against an empty handle the object is asked with null
  EXPECT_EQ(a.Equal(b), ZORQelI::Ifalse);  // the first one's Equal decides, by default identity
  EXPECT_EQ(imp->equalCalls, 2);
  EXPECT_EQ(imp->lastArgument, other);
  // A class that keeps the library's Equal answers the same against an empty handle.
  EXPECT_EQ(ZORQelIObject(NewNode()).Equal(empty), ZORQelI::Ifalse);
  // An empty handle against a full one raises before the object is asked.
  EXPECT_EQ(RaisedText<ZORQelI::NullPtrAccess>([&] { empty.Equal(b); }), kEmpty75);
  EXPECT_EQ(other->equalCalls, 0);
}

TEST_F(HandleTest, AssignmentSharesKeepsAndReleasesObjects) {
  ZORQelIObject h1(NewNode(&first, 1));
  ZORQelIObject h2;
  EXPECT_EQ(&(h2 = h1), &h2);
  EXPECT_EQ(h2.RefMe(), h1.RefMe());
  ZORQelIObject& alias = h2;
  h2 = alias;  // self-assignment keeps the object
  h1 = ZORQelIObject();
  ZORQelIObject raw;
  EXPECT_EQ(&(raw = static_cast<const ZORQelIObjectIMP*>(NewNode(&second, 2))), &raw);
  CollectAll();
  EXPECT_EQ(first + second, 0);
  EXPECT_EQ(std::string(h2.ToString()), "node 1");
  EXPECT_EQ(std::string(raw.ToString()), "node 2");
  h2 = static_cast<const ZORQelIObjectIMP*>(NewNode(&finalized, 3));  // releases node 1
  raw = ZORQelIObject();
  CollectAll();
  EXPECT_EQ(first, 1);
  EXPECT_EQ(second, 1);
  EXPECT_EQ(finalized, 0);
}

// Nested stack handles, one per level: the handle of level k (counted from
// the outermost, 0) must take automatic slot first + k.  Returns the number
// of levels that did not.
int MisplacedLevels(int k, int levels, int first) {
  KeyedHandle h;
  int misplaced = h.Table() != 0 || h.Slot() != first + k ? 1 : 0;
  if (k + 1 < levels) misplaced += MisplacedLevels(k + 1, levels, first);
  asm volatile("" : : "r"(&h) : "memory");  // h lives across the call
  return misplaced;
}

// A registration trims every trailing hole, down to the first slot when no
// live handle lies below them, and one that finds the table full grows it
// and keeps every slot where it was.
TEST_F(HandleTest, RegistrationTrimsDownToTheFirstSlotAndGrowsAFullTable) {
  const ZORQelIGholder& automatic = ZORQelIVariable::holder[0];
  {
    KeyedHandle a(NewNode(nullptr, 1)), b, c;  // holes once the scope ends
  }
  EXPECT_GE(automatic.count, 3);
  {
    // No other handle of this thread's stack is alive in a test's body.
    KeyedHandle alone;
    EXPECT_EQ(alone.Table(), 0);
    EXPECT_EQ(alone.Slot(), 0);
    EXPECT_EQ(automatic.count, 1);
  }
  const int top = automatic.top;
  EXPECT_EQ(MisplacedLevels(0, top + 10, 0), 0);
  EXPECT_EQ(automatic.top, top + ZORQelIGholder::click);
  EXPECT_EQ(automatic.count, top + 10);  // the dead levels' holes, until trimmed
  KeyedHandle after;
  EXPECT_EQ(after.Slot(), 0);
}

TEST_F(HandleTest, SpecializedHandleGetsACloneAndTheOriginalLivesWhileOthersHoldIt) {
  ZORQelIObject h1(NewNode(&finalized, 7));
  {
    ZORQelIObject h2(h1);
    const ZORQelIObjectIMP* original = h2.RefMe();
    const ZORQelI::integer before = ZORQelIVariable::GetInstancesCount__();
    ZORQelIObjectIMP* copy = h1.SpecializeMe();
    EXPECT_EQ(copy, h1.RefMe());
    EXPECT_NE(copy, original);
    EXPECT_EQ(ZORQelIVariable::GetInstancesCount__(), before + 1);  // the clone is enlisted
    EXPECT_EQ(h2.RefMe(), original);
    CollectAll();
    EXPECT_EQ(finalized, 0);  // both are still reached
  }
  CollectAll();
  EXPECT_EQ(finalized, 1);  // the original
  EXPECT_EQ(std::string(h1.ToString()), "node 7");  // the clone's copied value
  h1.SpecializeMe();  // a sole handle releases its former object at once
  CollectAll();
  EXPECT_EQ(finalized, 2);
  EXPECT_EQ(h1.IsValid(), ZORQelI::Itrue);
}

TEST_F(HandleTest, CloneIsANewUnmarkedObjectScannedOncePerCycle) {
  // A clone taking over the source's mark would look "already marked" and go unscanned.
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

TEST_F(HandleTest, TextOperationsRenderTheObjectsTextAndTheHashCodeIsTheShiftedAddress) {
  NodeIMP* node = NewNode(nullptr, 42);
  ZORQelIObject h(node);
  EXPECT_EQ(std::string(h.ToString()), "node 42");
  std::ostringstream stream;
  h.ToStream(stream);
  EXPECT_EQ(stream.str(), "node 42");  // no newline
  ZORQelIExpressForm printer;
  h.Text(printer);
  EXPECT_EQ(std::string(printer.Get()), "node 42");
  qtest::CaptureStderr capture;
  node->show_self();
  EXPECT_EQ(capture.Take(), "node 42\n");
  const auto low = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(node));
  EXPECT_EQ(h.HashCode(), static_cast<std::int32_t>(low) >> 2);
  EXPECT_EQ(node->HashCode(), h.HashCode());
}

TEST_F(HandleTest, PlaceholderIsInvalidWritesNothingClonesAndSurvivesAsTheSentinel) {
  ZORQelIObject h(new ZORQelIDumbIMP());
  EXPECT_EQ(h.IsValid(), ZORQelI::Ifalse);  // full handle, invalid object
  EXPECT_EQ(std::string(h.ToString()), "");
  const ZORQelIObjectIMP* original = h.RefMe();
  h.SpecializeMe();
  EXPECT_NE(h.RefMe(), original);
  EXPECT_EQ(&h.RefMe()->Id(), &ZORQelIDumbIMP::ClassId());
  EXPECT_EQ(h.IsValid(), ZORQelI::Ifalse);

  ZORQelIObjectIMP* sentinel = ZORQelIGholder::null;
  ASSERT_NE(sentinel, nullptr);
  EXPECT_EQ(&sentinel->Id(), &ZORQelIDumbIMP::ClassId());
  CollectAll();
  EXPECT_EQ(ZORQelIGholder::null, sentinel);
  bool found = false;
  for (ZORQelIObjectIMP* o = ZORQelIObjectIMP::list_.head; o != nullptr; o = o->Next())
    found = found || o == sentinel;
  EXPECT_TRUE(found);
}

// The forwarding operations of every family, as their .def rows generate them: "family\tline\ttext".
std::vector<std::string> GeneratedForwarderRows() {
  std::vector<std::string> rows;
#define QTEST_FORWARD_ROW(This, Result, Name, Params, Args, Const, Line) \
  rows.push_back(std::string(#This "\t") + std::to_string(Line) + "\t" +    \
                 ZORQELI_FORWARD_TEXT(This, Result, Name, Params, Const));
#define ZORQELI_FORWARD(...) QTEST_FORWARD_ROW(ZORQelIArray, __VA_ARGS__)
#include "ZORQelIArray.def"
#define ZORQELI_FORWARD(...) QTEST_FORWARD_ROW(ZORQelIAttr, __VA_ARGS__)
#include "ZORQelIAttr.def"
#define ZORQELI_FORWARD(...) QTEST_FORWARD_ROW(ZORQelIEntity, __VA_ARGS__)
#include "ZORQelIEntity.def"
#define ZORQELI_FORWARD(...) QTEST_FORWARD_ROW(ZORQelIExpression, __VA_ARGS__)
#include "ZORQelIExpression.def"
#define ZORQELI_FORWARD(...) QTEST_FORWARD_ROW(ZORQelIIdentifier, __VA_ARGS__)
#include "ZORQelIIdentifier.def"
#define ZORQELI_FORWARD(...) QTEST_FORWARD_ROW(ZORQelIInstance, __VA_ARGS__)
#include "ZORQelIInstance.def"
#define ZORQELI_FORWARD(...) QTEST_FORWARD_ROW(ZORQelIInstanceListUnique, __VA_ARGS__)
#include "ZORQelIInstanceListUnique.def"
#define ZORQELI_FORWARD(...) QTEST_FORWARD_ROW(ZORQelIInstances, __VA_ARGS__)
#include "ZORQelIInstances.def"
#define ZORQELI_FORWARD(...) QTEST_FORWARD_ROW(ZORQelIInterface, __VA_ARGS__)
#include "ZORQelIInterface.def"
#define ZORQELI_FORWARD(...) QTEST_FORWARD_ROW(ZORQelIListUnique, __VA_ARGS__)
#include "ZORQelIListUnique.def"
#define ZORQELI_FORWARD(...) QTEST_FORWARD_ROW(ZORQelIMethod, __VA_ARGS__)
#include "ZORQelIMethod.def"
#define ZORQELI_FORWARD(...) QTEST_FORWARD_ROW(ZORQelIModeler, __VA_ARGS__)
#include "ZORQelIModeler.def"
#define ZORQELI_FORWARD(...) QTEST_FORWARD_ROW(ZORQelIObserver, __VA_ARGS__)
#include "ZORQelIObserver.def"
#define ZORQELI_FORWARD(...) QTEST_FORWARD_ROW(ZORQelIParamDesc, __VA_ARGS__)
#include "ZORQelIParamDesc.def"
#define ZORQELI_FORWARD(...) QTEST_FORWARD_ROW(ZORQelIParsable, __VA_ARGS__)
#include "ZORQelIParsable.def"
#define ZORQELI_FORWARD(...) QTEST_FORWARD_ROW(ZORQelIType, __VA_ARGS__)
#include "ZORQelIType.def"
#define ZORQELI_FORWARD(...) QTEST_FORWARD_ROW(ZORQelIView, __VA_ARGS__)
#include "ZORQelIView.def"
#define ZORQELI_FORWARD(...) QTEST_FORWARD_ROW(ZORQelIWrapperObject, __VA_ARGS__)
#include "ZORQelIWrapperObject.def"
#undef QTEST_FORWARD_ROW
  std::sort(rows.begin(), rows.end());
  return rows;
}

// Every trace text and line a forwarder reports, as the forwarders written by hand reported
// them (tests/data/forwarder_traces.tsv, sorted), and no .def file left out of the list above.
TEST(ForwarderTest, EveryGeneratedTraceTextAndLineIsTheOneOfItsDeclaration) {
  std::ifstream golden(qtest::SourceRoot() + "/tests/data/forwarder_traces.tsv");
  ASSERT_TRUE(golden.good());
  std::vector<std::string> expected;
  for (std::string line; std::getline(golden, line);) expected.push_back(line);
  const std::vector<std::string> generated = GeneratedForwarderRows();
  std::vector<std::string> unexpected, missing;
  std::set_difference(generated.begin(), generated.end(), expected.begin(), expected.end(),
                      std::back_inserter(unexpected));
  std::set_difference(expected.begin(), expected.end(), generated.begin(), generated.end(),
                      std::back_inserter(missing));
  EXPECT_EQ(unexpected, std::vector<std::string>());
  EXPECT_EQ(missing, std::vector<std::string>());
  EXPECT_EQ(generated.size(), expected.size());  // no row twice

  std::vector<std::string> files, defs, listed;
  ASSERT_TRUE(qtest::ListFiles(qtest::SourceRoot() + "/QelInfrastructure/PublicInterfaces", &files));
  for (const std::string& name : files)
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".def") == 0) defs.push_back(name.substr(0, name.size() - 4));
  for (const std::string& row : GeneratedForwarderRows()) {
    const std::string family = row.substr(0, row.find('\t'));
    if (listed.empty() || listed.back() != family) listed.push_back(family);
  }
  std::sort(defs.begin(), defs.end());
  EXPECT_EQ(listed, defs);
}

// The frame a generated forwarder opens is the one its row describes, seen from the client's
// implementation code that the forwarder calls.
class FrameProbeIMP : public ZORQelIArrayIMP {
 public:
  void RemoveAll() override {
    const ZORQelITracerContext& c = *ZORQelITracer::context_;
    const ZORQelITracerElement& e = c.Get(c.depth - 1);
    seen = std::string(e.text) + " " + std::to_string(e.line);
    ZORQelIArrayIMP::RemoveAll();
  }
  ZORQelIObjectIMP* Clone() const override { return new FrameProbeIMP(*this); }
  std::string seen;
};

TEST(ForwarderTest, TheForwarderRunsInsideTheFrameOfItsRow) {
  FrameProbeIMP* imp = new FrameProbeIMP();
  ZORQelIArray a(imp);
  a.Add(ZORQelIArray());
  a.RemoveAll();
  EXPECT_EQ(imp->seen, "void ZORQelIArray::RemoveAll() 95");
  EXPECT_EQ(a.Size(), 0);
  ZORQelIArray empty(static_cast<ZORQelIArrayIMP*>(nullptr));
  EXPECT_EQ(RaisedText<ZORQelI::NullPtrAccess>([&] { empty.RemoveAll(); }), kEmpty75);
}

}  // namespace handletest
