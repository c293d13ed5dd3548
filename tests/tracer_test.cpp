// The call tracer.  The filter is read from the environment once per
// process, so every filter value runs tests/child/tracer_child in a process
// of its own; the element, context and frame rules that do not depend on
// the environment are checked here directly.
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

// The operation whose trace text `text` is written, as a quoted literal, in
// the library source `relative` (from the repository root), with its line.
Op SourceOp(const std::string& relative, const std::string& text) {
  std::string root = __FILE__;
  root = root.substr(0, root.rfind("/tests/"));
  std::ifstream in(root + "/" + relative);
  std::string line;
  const std::string quoted = "\"" + text + "\"";
  for (int n = 1; std::getline(in, line); ++n)
    if (line.find(quoted) != std::string::npos) return {text, n};
  ADD_FAILURE() << "no trace text " << quoted << " in " << relative;
  return {text, -1};
}

const std::string kSrc = "QelInfrastructure/QL0KRN.m/src/";
const std::string kInc = "QelInfrastructure/PublicInterfaces/";

std::string Indent(int steps) { return std::string(2 * static_cast<std::size_t>(steps), ' '); }

std::string TraceLine(int steps, const std::string& what, const Op& op) {
  return Indent(steps) + what + " :" + op.text + " " + std::to_string(op.line) + "\n";
}

// One event of the "all" scenario: a trace line at some indentation, or a
// block written whatever the filter (the dump).
struct Event {
  int steps;
  std::string what;
  Op op;
  std::string always;
};

class TracerChildTest : public ::testing::Test {
 protected:
  void SetUp() override {
    top = {"void Child::Top()", 101};
    middle = {"void Child::Middle()", 102};
    leaf = {"void Child::Leaf()", 103};
    variableCount = SourceOp(kSrc + "ZORQelIVariable.cpp", "ZORQelI::integer ZORQelIVariable::GetInstancesCount__()");
    objectCount = SourceOp(kSrc + "ZORQelIObjectIMP.cpp", "ZORQelI::integer ZORQelIObjectIMP::GetInstancesCount__()");
    listSize = SourceOp(kSrc + "ZORQelIGarbageableObjectListIMP.cpp",
                        "ZORQelI::integer ZORQelIGarbageableObjectListIMP::Size() const");
    tableConstructor = SourceOp(kSrc + "ZORQelIGholder.cpp", " ZORQelIGholder::ZORQelIGholder()");
    handleConstructor = SourceOp(kInc + "ZORQelIObject.h", " ZORQelIObject::ZORQelIObject()");
    isValid = {"ZORQelI::boolean ZORQelIObject::IsValid() const", 39};
    variableDestructor = SourceOp(kInc + "ZORQelIVariable.h", " ZORQelIVariable::~ZORQelIVariable()");
    for (int k = 0; k < 5; ++k)
      level[k] = {"void Child::Level" + std::to_string(k) + "()", 200 + k};
  }

  // Every line the "all" scenario can write, in order.
  std::vector<Event> AllEvents() const {
    std::vector<Event> e = {
        {1, "start", top, ""},          {2, "start", middle, ""},
        {3, "start", leaf, ""},         {3, "note", leaf, ""},
        {3, "stop", leaf, ""},          {2, "stop", middle, ""},
        {1, "stop", top, ""},           {1, "start", variableCount, ""},
        {2, "start", objectCount, ""},  {3, "start", listSize, ""},
        {3, "stop", listSize, ""},      {2, "stop", objectCount, ""},
        {1, "stop", variableCount, ""},
        // The process's first handle creates the two holder tables, while
        // its base is constructed (before its own frame opens).
        {1, "start", tableConstructor, ""}, {1, "stop", tableConstructor, ""},
        {1, "start", tableConstructor, ""}, {1, "stop", tableConstructor, ""},
        {1, "start", handleConstructor, ""},
        {1, "stop", handleConstructor, ""}, {1, "start", isValid, ""},
        {1, "stop", isValid, ""},       {1, "start", variableDestructor, ""},
        {1, "stop", variableDestructor, ""},
    };
    for (int k = 0; k < 5; ++k) e.push_back({k + 1, "start", level[k], ""});
    std::string dump = "-- Beginning of stack dump\ndepth is 5\n";
    for (int k = 0; k < 5; ++k)
      dump += (k == 3 ? "->[" : "  [") + std::to_string(k) + "]" + level[k].text + " " +
              std::to_string(level[k].line) + "\n";
    dump += "-- End of stack dump\n";
    e.push_back({0, "", Op{"", 0}, dump});
    for (int k = 4; k >= 0; --k) e.push_back({k + 1, "stop", level[k], ""});
    return e;
  }

  // What the child writes on standard error when exactly the operations
  // whose texts are in `traced` are selected.
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

  qtest::ChildResult Run(const std::string& filter) {
    return RunChild(ChildProgram("tracer_child"), {"all"}, {{"ZORQelITracerContext", filter}});
  }

  const std::string kDepths = "after nested: 0\nafter library: 0\nafter dump: 0\n";
  Op top, middle, leaf, variableCount, objectCount, listSize, tableConstructor, handleConstructor,
      isValid,
      variableDestructor, level[5];
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
    qtest::ChildResult r = Run(filter);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, Expected(traced));
    EXPECT_EQ(r.out, kDepths);
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
  // The filter selects the operation recorded at position 9999 only; the
  // frame at index 10000 (another operation, not recorded) is traced under
  // that operation's text and decision.
  r = RunChild(ChildProgram("tracer_child"), {"deep"}, {{"ZORQelITracerContext", "Deep9999"}});
  EXPECT_EQ(r.status, 0);
  const Op last{"void Child::Deep9999()", 302};
  const std::string expected = TraceLine(10000, "start", last) + TraceLine(10001, "start", last) + dump +
                               TraceLine(10001, "stop", last) + TraceLine(10000, "stop", last);
  EXPECT_TRUE(r.err == expected) << "trace of " << r.err.size() << " bytes differs";
}

// The filter rules themselves are run end to end by the child above; what
// only shows in-process: a "!" inside the filter, and that the first
// decision is kept whatever filter is given later.
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
