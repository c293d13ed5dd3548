// Collector diagnostics: the status lines, the slot and table listings, and
// the interactive inspector.  The process's own tables depend on what ran
// before, so the exact listings of both tables and the inspector (which
// reads standard input and may end the process) run in
// tests/child/inspector_child; single tables are checked here on tables of
// the test's own.
#include <cstdint>
#include <string>

#include <gtest/gtest.h>

#include "CoreTestSupport.h"
#include "QL0KRN.h"
#include "TestSupport.h"

namespace diagnosticstest {

using qtest::ChildProgram;
using qtest::ChildResult;
using qtest::CollectAll;
using qtest::NewNode;
using qtest::RunChild;

// --- Status lines ---------------------------------------------------------------------

TEST(DiagnosticsStatus, ListStatusGivesTheCounterAndTheWalkedLength) {
  CollectAll();
  ZORQelIObject keep(NewNode(nullptr, 1));
  const std::string n = std::to_string(ZORQelIVariable::GetInstancesCount__());
  qtest::CaptureStderr capture;
  ZORQelIObjectIMP::Status();
  EXPECT_EQ(capture.Take(), "instances := \t" + n + "\ninstances (real size) := \t" + n + "\n");
}

TEST(DiagnosticsStatus, TableStatusCountsSlotsCapacityAndHoles) {
  ZORQelIGholder table;
  ZORQelIObject a(NewNode(nullptr, 1));
  for (int i = 0; i < 5; ++i) table.Add(a.RefMe());
  table.table[1] = nullptr;
  table.table[3] = nullptr;
  qtest::CaptureStderr capture;
  table.Status();
  EXPECT_EQ(capture.Take(),
            "ZORQelIGholder.count = 5;ZORQelIGholder.top = 4096;ZORQelIGholder.hole() = 2;");
}

// --- Slots and tables -------------------------------------------------------------------------

class DiagnosticsTable : public ::testing::Test {
 protected:
  void SetUp() override {
    // 0 node 5, 1 free, 2 empty handle, 3 node 6, 4..6 free
    table.Add(five.RefMe());
    table.Add(five.RefMe());
    table.Add(ZORQelIGholder::null);
    table.Add(six.RefMe());
    for (int i = 0; i < 3; ++i) table.Add(six.RefMe());
    table.table[1] = nullptr;
    for (int i = 4; i < 7; ++i) table.table[i] = nullptr;
  }
  ZORQelIObject five{NewNode(nullptr, 5)};
  ZORQelIObject six{NewNode(nullptr, 6)};
  ZORQelIGholder table;
};

TEST_F(DiagnosticsTable, PrintShowsClassAndTextOfARealObject) {
  qtest::CaptureStdout capture;
  table.Print(0);
  EXPECT_EQ(capture.Take(), "v[0] = NodeIMP\nnode 5\n");
}

TEST_F(DiagnosticsTable, PrintShowsFreeAndEmptySlotsAsNil) {
  qtest::CaptureStdout capture;
  table.Print(1);
  table.Print(2);
  EXPECT_EQ(capture.Take(), "v[1] = (nil)\nv[2] = (nil)\n");
}

TEST_F(DiagnosticsTable, PrintOutsideTheTableNamesTheHalfOpenRange) {
  ASSERT_EQ(table.count, 7);
  qtest::CaptureStdout capture;
  table.Print(7);
  table.Print(-1);
  table.Print(4096);
  EXPECT_EQ(capture.Take(),
            "7 out of bound [0..7[\n-1 out of bound [0..7[\n4096 out of bound [0..7[\n");
}

TEST_F(DiagnosticsTable, DumpSkipsFreeSlotsButListsEmptyHandles) {
  qtest::CaptureStdout capture;
  table.Dump();
  EXPECT_EQ(capture.Take(), "v[0] = NodeIMP\nnode 5\nv[2] = (nil)\nv[3] = NodeIMP\nnode 6\n");
}

TEST_F(DiagnosticsTable, DiagnosticsChangeNothing) {
  const ZORQelI::integer before = ZORQelIVariable::GetInstancesCount__();
  {
    qtest::CaptureStdout out;
    qtest::CaptureStderr err;
    table.Dump();
    table.Status();
    table.Print(9);
    ZORQelIObjectIMP::Status();
  }
  EXPECT_EQ(table.count, 7);
  EXPECT_EQ(table.table[1], nullptr);
  EXPECT_EQ(ZORQelIVariable::GetInstancesCount__(), before);
}

// --- Both tables, in a process of their own -------------------------------------------------

const std::string kAutomatic =
    "v[1] = LeafIMP\nleaf 1\nv[2] = (nil)\nv[3] = LeafIMP\nleaf 3\n";
const std::string kStatic = "v[0] = LeafIMP\nleaf 7\nv[1] = LeafIMP\nleaf 9\n";
const std::string kHeadings = "automatic object table content\nstatic object table content\n";

TEST(DiagnosticsChild, DumpListsBothTablesWithHeadingsOnStderr) {
  ChildResult r = RunChild(ChildProgram("inspector_child"), {"dump"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, kAutomatic + kStatic);
  EXPECT_EQ(r.err, kHeadings);
}

TEST(DiagnosticsChild, StatusLinesOfTheListAndBothTables) {
  ChildResult r = RunChild(ChildProgram("inspector_child"), {"status"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "");
  // The sentinel and five leaves (leaf 0 is unreachable but not collected).
  EXPECT_EQ(r.err,
            "instances := \t6\ninstances (real size) := \t6\n"
            "ZORQelIGholder.count = 4;ZORQelIGholder.top = 4096;ZORQelIGholder.hole() = 1;|"
            "ZORQelIGholder.count = 2;ZORQelIGholder.top = 4096;ZORQelIGholder.hole() = 0;");
}

TEST(DiagnosticsChild, EverythingWorksBeforeTheFirstHandle) {
  ChildResult r = RunChild(ChildProgram("inspector_child"), {"early"}, {}, "x d c");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out,
            "instances 1\ncollect 0\n(gcdb) :0 out of bound [0..0[\n(gcdb) :(gcdb) :returned\n");
  EXPECT_EQ(r.err, kHeadings + kHeadings);
}

// --- The inspector -------------------------------------------------------------------------------

const std::string P = "(gcdb) :";
const std::string S0 = "v[0] = (nil)\n";
const std::string S1 = "v[1] = LeafIMP\nleaf 1\n";
const std::string S2 = "v[2] = (nil)\n";
const std::string S3 = "v[3] = LeafIMP\nleaf 3\n";
const std::string T0 = "v[0] = LeafIMP\nleaf 7\n";
const std::string T1 = "v[1] = LeafIMP\nleaf 9\n";
const std::string kKey = "key value: ";
const std::string kReturned = "returned\n";

std::string Outside(int index, int count) {
  return std::to_string(index) + " out of bound [0.." + std::to_string(count) + "[\n";
}

ChildResult Inspect(const std::string& input) {
  return RunChild(ChildProgram("inspector_child"), {"debug"}, {}, input);
}

TEST(DiagnosticsInspector, EndOfInputReturnsToTheCaller) {
  ChildResult r = Inspect("");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, P + kReturned);
}

TEST(DiagnosticsInspector, ContinueReturnsAndLeavesTheRestOfTheInput) {
  ChildResult r = Inspect("c x x");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, P + kReturned);
}

TEST(DiagnosticsInspector, QuitEndsTheProcessWithStatusOne) {
  ChildResult r = Inspect("x q c");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, P + S0 + P);
}

TEST(DiagnosticsInspector, AnyOtherKeyStepsThroughTheTableAndPastItsEnd) {
  ChildResult r = Inspect("x 7 ? . z c");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, P + S0 + P + S1 + P + S2 + P + S3 + P + Outside(4, 4) + P + kReturned);
}

TEST(DiagnosticsInspector, WhiteSpaceBetweenCommandsIsSkipped) {
  ChildResult r = Inspect("\n\n  x\t\n \nx\n");
  EXPECT_EQ(r.out, P + S0 + P + S1 + P + kReturned);
}

TEST(DiagnosticsInspector, NextFindsOccupiedSlotsAndStopsAtTheEnd) {
  // Slot 0 is free and skipped; the empty handle in slot 2 counts as
  // occupied; past the end the index goes to the count, then stays.
  ChildResult r = Inspect("n n n n n c");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out,
            P + S1 + P + S2 + P + S3 + P + Outside(4, 4) + P + Outside(5, 4) + P + kReturned);
}

TEST(DiagnosticsInspector, StaticAndAutomaticSwitchTablesKeepingTheIndex) {
  ChildResult r = Inspect("s n a x c");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, P + T0 + P + T1 + P + S2 + P + S3 + P + kReturned);
}

TEST(DiagnosticsInspector, PositionReadsAnIndexThenPrintsAndAdvances) {
  ChildResult r = Inspect("p 3 x p -1 x c");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, P + kKey + S3 + P + Outside(4, 4) + P + kKey + Outside(-1, 4) + P + S0 + P +
                       kReturned);
}

TEST(DiagnosticsInspector, NextFromANegativeIndexStartsAtTheFirstSlot) {
  ChildResult r = Inspect("p -3\nn\nc");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, P + kKey + Outside(-3, 4) + P + S1 + P + kReturned);
}

TEST(DiagnosticsInspector, PositionWithoutANumberKeepsTheIndexAndDropsTheLine) {
  ChildResult r = Inspect("x p abc q q\nx c");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, P + S0 + P + kKey + S1 + P + S2 + P + kReturned);
}

TEST(DiagnosticsInspector, PositionAtEndOfInputReturns) {
  ChildResult r = Inspect("x p");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, P + S0 + P + kKey + kReturned);
}

TEST(DiagnosticsInspector, DumpListsBothTablesWithoutMovingTheIndex) {
  ChildResult r = Inspect("x d x c");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, P + S0 + P + kAutomatic + kStatic + P + S1 + P + kReturned);
  EXPECT_EQ(r.err, kHeadings);
}

}  // namespace diagnosticstest
