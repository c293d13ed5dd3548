// Collector diagnostics and the inspector, run in tests/child/inspector_child on
// tables it fills itself (this process's tables depend on what ran before).
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "QL0KRN.h"
#include "TestSupport.h"

namespace diagnosticstest {

using qtest::ChildProgram;
using qtest::ChildResult;
using qtest::RunChild;

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

TEST(DiagnosticsInspector, CommandsDrivenThroughStandardInput) {
  const int kTop = std::numeric_limits<int>::max();
  struct Case {
    const char* what;
    std::string input;
    int status;
    std::string out;
  };
  const Case cases[] = {
      {"end of input returns to the caller", "", 0, P + kReturned},
      {"c returns and leaves the rest of the input", "c x x", 0, P + kReturned},
      {"q ends the process with status 1", "x q c", 1, P + S0 + P},
      {"any other key steps through the table and past its end", "x 7 ? . z c", 0,
       P + S0 + P + S1 + P + S2 + P + S3 + P + Outside(4, 4) + P + kReturned},
      {"white space between commands is skipped", "\n\n  x\t\n \nx\n", 0,
       P + S0 + P + S1 + P + kReturned},
      // Slot 0 is free and skipped; the empty handle in slot 2 counts as
      // occupied; past the end the index goes to the count, then stays.
      {"n finds occupied slots and stops at the end", "n n n n n c", 0,
       P + S1 + P + S2 + P + S3 + P + Outside(4, 4) + P + Outside(5, 4) + P + kReturned},
      {"s and a switch tables keeping the index", "s n a x c", 0,
       P + T0 + P + T1 + P + S2 + P + S3 + P + kReturned},
      {"p reads an index, then prints and advances", "p 3 x p -1 x c", 0,
       P + kKey + S3 + P + Outside(4, 4) + P + kKey + Outside(-1, 4) + P + S0 + P + kReturned},
      {"n from a negative index starts at the first slot", "p -3\nn\nc", 0,
       P + kKey + Outside(-3, 4) + P + S1 + P + kReturned},
      {"p without a number keeps the index and drops the line", "x p abc q q\nx c", 0,
       P + S0 + P + kKey + S1 + P + S2 + P + kReturned},
      {"p at end of input returns", "x p", 0, P + S0 + P + kKey + kReturned},
      {"d lists both tables without moving the index", "x d x c", 0,
       P + S0 + P + kAutomatic + kStatic + P + S1 + P + kReturned},
      // Stepping on from INT_MAX used to overflow: the sanitizers stopped the
      // child, a plain build wrapped the index round to INT_MIN.
      {"the index stays at the largest int instead of overflowing", "p 2147483647 x n x c", 0,
       P + kKey + Outside(kTop, 4) + P + Outside(kTop, 4) + P + Outside(kTop, 4) + P +
           Outside(kTop, 4) + P + kReturned},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ChildResult r = RunChild(ChildProgram("inspector_child"), {"debug"}, {}, c.input);
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.out, c.out);
    EXPECT_EQ(r.err, c.input.find('d') != std::string::npos ? kHeadings : "");
  }
}

}  // namespace diagnosticstest
