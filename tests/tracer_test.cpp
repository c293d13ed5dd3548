// The call tracer.  The filter is read from the environment once per process, so each filter
// value runs tests/child/tracer_child; the rules that do not depend on it are checked in-process.
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "QL0KRN.h"
#include "TestSupport.h"

namespace tracertest {

using qtest::ChildProgram;
using qtest::RunChild;

struct Op {
  std::string text;
  int line;
};

// The operation whose trace text is the quoted literal `text` in the library source `relative`.
Op SourceOp(const std::string& relative, const std::string& text) {
  std::ifstream in(qtest::SourceRoot() + "/" + relative);
  std::string line;
  const std::string quoted = "\"" + text + "\"";
  for (int n = 1; std::getline(in, line); ++n)
    if (line.find(quoted) != std::string::npos) return {text, n};
  ADD_FAILURE() << "no trace text " << quoted << " in " << relative;
  return {text, -1};
}

const std::string kSrc = "QelInfrastructure/QL0KRN.m/src/";
const std::string kInc = "QelInfrastructure/PublicInterfaces/";

std::string TraceLine(int steps, const std::string& what, const Op& op) {
  return std::string(2 * static_cast<std::size_t>(steps), ' ') + what + " :" + op.text + " " + std::to_string(op.line) + "\n";
}

// One event of the "all" scenario: a trace line, or a block written whatever the filter.
struct Event {
  int steps;
  std::string what;
  Op op;
  std::string always;
};

class TracerChildTest : public ::testing::Test {
 protected:
  const Op top{"void Child::Top()", 101}, middle{"void Child::Middle()", 102}, leaf{"void Child::Leaf()", 103};
  const Op variableCount =
      SourceOp(kSrc + "ZORQelIVariable.cpp", "ZORQelI::integer ZORQelIVariable::GetInstancesCount__()");
  const Op objectCount =
      SourceOp(kSrc + "ZORQelIObjectIMP.cpp", "ZORQelI::integer ZORQelIObjectIMP::GetInstancesCount__()");
  const Op listSize = SourceOp(kSrc + "ZORQelIGarbageableObjectListIMP.cpp",
                               "ZORQelI::integer ZORQelIGarbageableObjectListIMP::Size() const");
  const Op tableConstructor = SourceOp(kSrc + "ZORQelIGholder.cpp", " ZORQelIGholder::ZORQelIGholder()");
  const Op handleConstructor = SourceOp(kInc + "ZORQelIObject.h", " ZORQelIObject::ZORQelIObject()");
  const Op isValid{"ZORQelI::boolean ZORQelIObject::IsValid() const", 39};
  const Op variableDestructor = SourceOp(kInc + "ZORQelIVariable.h", " ZORQelIVariable::~ZORQelIVariable()");
  static Op Level(int k) { return {"void Child::Level" + std::to_string(k) + "()", 200 + k}; }

  // Every line the "all" scenario can write, in order.
  std::vector<Event> AllEvents() const {
    std::vector<Event> e = {
        {1, "start", top, ""},          {2, "start", middle, ""},      {3, "start", leaf, ""},
        {3, "note", leaf, ""},          {3, "stop", leaf, ""},         {2, "stop", middle, ""},
        {1, "stop", top, ""},           {1, "start", variableCount, ""}, {2, "start", objectCount, ""},
        {3, "start", listSize, ""},     {3, "stop", listSize, ""},     {2, "stop", objectCount, ""},
        {1, "stop", variableCount, ""}};
    // The first handle creates the two holder tables while its base is constructed (before its
    // own frame opens).
    for (const Op* op : {&tableConstructor, &tableConstructor, &handleConstructor, &isValid, &variableDestructor}) {
      e.push_back({1, "start", *op, ""});
      e.push_back({1, "stop", *op, ""});
    }
    for (int k = 0; k < 5; ++k) e.push_back({k + 1, "start", Level(k), ""});
    std::string dump = "-- Beginning of stack dump\ndepth is 5\n";
    for (int k = 0; k < 5; ++k)
      dump += (k == 3 ? "->[" : "  [") + std::to_string(k) + "]" + Level(k).text + " " +
              std::to_string(Level(k).line) + "\n";
    dump += "-- End of stack dump\n";
    e.push_back({0, "", Op{"", 0}, dump});
    for (int k = 4; k >= 0; --k) e.push_back({k + 1, "stop", Level(k), ""});
    return e;
  }

  // What the child writes on standard error when exactly the operations `traced` are selected.
  std::string Expected(const std::set<std::string>& traced) const {
    std::string out;
    for (const Event& e : AllEvents()) {
      if (!e.always.empty())
        out += e.always;
      else if (traced.count(e.op.text) != 0)
        out += TraceLine(e.steps, e.what, e.op);
    }
    return out;
  }

  std::set<std::string> Everything() const {
    std::set<std::string> all;
    for (const Event& e : AllEvents())
      if (e.always.empty()) all.insert(e.op.text);
    return all;
  }

};

TEST_F(TracerChildTest, EachFilterTracesExactlyItsOperationsAndTheDumpIsAlwaysWritten) {
  std::set<std::string> allButVariable = Everything();
  allButVariable.erase(variableCount.text);
  allButVariable.erase(variableDestructor.text);
  const std::vector<std::pair<std::string, std::set<std::string>>> cases = {
      {qtest::kUnset, {}},  // the variable absent
      {"", Everything()},
      {"!", {}},
      // ZORQelIObjectIMP's operations contain the name too.
      {"ZORQelIObject", {objectCount.text, handleConstructor.text, isValid.text}},
      {"!ZORQelIVariable", allButVariable},
      {"child::", {}},  // case-sensitive
  };
  for (const auto& [filter, traced] : cases) {
    SCOPED_TRACE(filter == qtest::kUnset ? "absent" : "\"" + filter + "\"");
    qtest::ChildResult r = RunChild(ChildProgram("tracer_child"), {"all"}, {{"ZORQelITracerContext", filter}});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, Expected(traced));
    EXPECT_EQ(r.out, "after nested: 0\nafter library: 0\nafter dump: 0\n");
  }
}

std::string DeepDump(const std::string& deepText, const std::string& lastText) {
  std::string dump = "-- Beginning of stack dump\ndepth is 10001\n";
  for (int k = 0; k < 9999; ++k) dump += "  [" + std::to_string(k) + "]" + deepText + "\n";
  dump += "  [9999]" + lastText + "\n";
  dump += "->[10000]" + lastText + "\n";  // position 10000 reads position 9999
  dump += "-- End of stack dump\n";
  return dump;
}

TEST(TracerDeepTest, FramesBeyondTheStackAreCountedAndTracedAsTheLastRecordedOperation) {
  const std::string dump = DeepDump("void Child::Deep(int n) 301", "void Child::Deep9999() 302");
  qtest::ChildResult r = RunChild(ChildProgram("tracer_child"), {"deep"},
                                  {{"ZORQelITracerContext", qtest::kUnset}});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "after deep: 0\n");
  EXPECT_TRUE(r.err == dump) << "dump of " << r.err.size() << " bytes differs; it ends with\n"
                             << r.err.substr(r.err.size() > 300 ? r.err.size() - 300 : 0);
  // Only the operation recorded at 9999 is selected; the frame at 10000 (another operation, not
  // recorded) is traced under its text and decision.
  r = RunChild(ChildProgram("tracer_child"), {"deep"}, {{"ZORQelITracerContext", "Deep9999"}});
  EXPECT_EQ(r.status, 0);
  const Op last{"void Child::Deep9999()", 302};
  const std::string expected = TraceLine(10000, "start", last) + TraceLine(10001, "start", last) + dump +
                               TraceLine(10001, "stop", last) + TraceLine(10000, "stop", last);
  EXPECT_TRUE(r.err == expected) << "trace of " << r.err.size() << " bytes differs";
}

// Only in-process: a "!" inside the filter, and the first decision kept whatever comes later.
TEST(TracerElementTest, FilterIsDecidedOnceAndKept) {
  EXPECT_EQ(ZORQelITracerElement("void X::Y()", 1).Enable("!!"), ZORQelI::Itrue);  // no "!" in the text
  ZORQelITracerElement e("void ZORQelIArrayIMP::Add(ZORQelIObject x)", 12);
  EXPECT_EQ(e.IsEnabled(), ZORQelI::Ifalse);
  EXPECT_EQ(e.Enable("ZORQelIArray"), ZORQelI::Itrue);
  EXPECT_EQ(e.Enable("ZORQelIVariable"), ZORQelI::Itrue);
  EXPECT_EQ(e.IsEnabled(), ZORQelI::Itrue);
  ZORQelITracerElement excluded("void ZORQelIArrayIMP::Add(ZORQelIObject x)", 12);
  EXPECT_EQ(excluded.Enable("!Array"), ZORQelI::Ifalse);
  EXPECT_EQ(excluded.Enable(""), ZORQelI::Ifalse);
}

ZORQelITracerElement outerElement("void Frames::Outer()", 11);
ZORQelITracerElement innerElement("void Frames::Inner()", 12);

int CurrentDepth() { return ZORQelITracer::context_->depth; }

TEST(TracerFrameTest, FramePopsOnReturnAndOnExceptionDiscardingFramesAboveIt) {
  ZORQelITracer outer(outerElement);
  const int base = outer.index;
  EXPECT_EQ(CurrentDepth(), base + 1);
  try {
    ZORQelITracer inner(innerElement);
    EXPECT_EQ(inner.index, base + 1);
    EXPECT_EQ(CurrentDepth(), base + 2);
    throw 1;
  } catch (int) {
  }
  EXPECT_EQ(CurrentDepth(), base + 1);
  {
    ZORQelITracer middle(innerElement);
    auto* leaked = new ZORQelITracer(innerElement);  // never popped by itself
    auto* leaked2 = new ZORQelITracer(innerElement);
    EXPECT_EQ(CurrentDepth(), base + 4);
    ::operator delete(leaked2);  // storage only: no destructor runs
    ::operator delete(leaked);
  }
  EXPECT_EQ(CurrentDepth(), base + 1);
}

TEST(TracerFrameTest, FlushKeepsTheCallingFrameAndDropsTheOnesAbove) {
  ZORQelITracer outer(outerElement);
  auto* above = new ZORQelITracer(innerElement);
  auto* above2 = new ZORQelITracer(innerElement);
  EXPECT_EQ(CurrentDepth(), outer.index + 3);
  outer.Flush();
  EXPECT_EQ(CurrentDepth(), outer.index + 1);
  ::operator delete(above2);
  ::operator delete(above);
  qtest::CaptureStderr capture;
  outer.Dump();
  const std::string dump = capture.Take();
  EXPECT_EQ(dump.rfind("-- Beginning of stack dump\ndepth is " + std::to_string(outer.index + 1) + "\n", 0), 0u);
  EXPECT_NE(dump.find("->[" + std::to_string(outer.index) + "]void Frames::Outer() 11\n-- End of stack dump\n"),
            std::string::npos);
}

}  // namespace tracertest

namespace tracertest {

// The frameless paths are taken only when tracing is off for good; with the
// variable set to "!" the process traces nothing yet takes every traced path.
// The same container, collector and printer work must give the same results
// and run the client's own Equal, HashCode, IsValid and Finalizer exactly
// as often either way; the printer's direct text must also be the text of
// its general path in the same run.
TEST(TracerQuietPaths, SameResultsWithTracingOffAndOn) {
  const qtest::ChildResult quiet =
      RunChild(ChildProgram("quiet_child"), {}, {{"ZORQelITracerContext", qtest::kUnset}});
  const qtest::ChildResult traced =
      RunChild(ChildProgram("quiet_child"), {}, {{"ZORQelITracerContext", "!"}});
  ASSERT_EQ(quiet.status, 0) << quiet.err;
  ASSERT_EQ(traced.status, 0) << traced.err;
  EXPECT_EQ(quiet.err, "");
  EXPECT_EQ(traced.err, "");
  EXPECT_EQ(quiet.out, traced.out);
  // The work did happen: both runs saw the client's keys and finalizers.
  EXPECT_NE(quiet.out.find("collector: kept 1001 finalized 0\n"), std::string::npos) << quiet.out;
  EXPECT_NE(quiet.out.find("collector: left 0 finalized 1001\n"), std::string::npos) << quiet.out;
  // The set after removals, rehash and copy: identifiers, a loose one, the
  // client's keys, a leaf, then lookups by hash code.
  EXPECT_NE(quiet.out.find("set: removed 4 size 12 copy 12 held ++--++--++++--+++-+++++--++++-\n"),
            std::string::npos)
      << quiet.out;
  // The printer read its population, and the direct text of the quiet run
  // is the general text, byte for byte.
  EXPECT_NE(quiet.out.find("printer: read 1 instances 40\n"), std::string::npos) << quiet.out;
  EXPECT_NE(quiet.out.find("printer: plain and general agree\n"), std::string::npos) << quiet.out;
  EXPECT_NE(quiet.out.find("#2=record(-2147483648,$,0.250000,('t2','it's'),(.T.,.F.),"
                           "(\"0A\",\"3F\"),(-400000));\n"
                           "#3=record(2147483647,$,0.250000,('t3','it's'),(.T.,.F.),(\"0A\"),"
                           "(-400000,-392081));\n"
                           "#4=point('p4',(3.500000,-0.001000),.T.);\n"
                           "#5=record(5,#4,0.250000,('t5','it's'),(.T.,.F.),(\"0A\"),"
                           "(-400000));\n"),
            std::string::npos)
      << quiet.out;
}

}  // namespace tracertest
