// ql0krn check: one line per finding, the summary line, the reasons on
// standard error, and the exit statuses.
#include <gtest/gtest.h>

#include <string>

#include "MemSupport.h"
#include "TestSupport.h"

namespace {

const std::string kTool = QL0KRN_TOOL_PATH;

const char kSchema[] =
    "SCHEMA check_test;\n"
    "TYPE positive = INTEGER;\n"
    "WHERE\n"
    "  WR1 : SELF > 0;\n"
    "END_TYPE;\n"
    "ENTITY item;\n"
    "  n : positive;\n"
    "  parts : LIST [0:?] OF INTEGER;\n"
    "UNIQUE\n"
    "  UR1 : n;\n"
    "WHERE\n"
    "  WR1 : SIZEOF(parts) < 3;\n"
    "  WR2 : parts[1] DIV (n - 5) >= 0;\n"
    "END_ENTITY;\n"
    "RULE one_item FOR (item);\n"
    "WHERE\n"
    "  R1 : SIZEOF(item) <= 1;\n"
    "END_RULE;\n"
    "END_SCHEMA;\n";

std::string Data(const std::string& lines) { return qtest::ExchangeFile("CHECK_TEST", lines); }

TEST(Ql0krnCheck, ViolationsThenTheSummaryAndStatus) {
  const std::string dir = testing::TempDir();
  qtest::WriteFile(dir + "check_test.exp", kSchema);
  qtest::WriteFile(dir + "check_good.p21", Data("#1=ITEM(1,(1,2));\n"));
  qtest::ChildResult r =
      qtest::RunChild(kTool, {"check", dir + "check_test.exp", dir + "check_good.p21"});
  EXPECT_EQ(0, r.status) << r.err;
  EXPECT_EQ("1 instances, 5 rules evaluated, 0 violations, 0 unsupported\n", r.out);
  EXPECT_EQ("", r.err);

  qtest::WriteFile(dir + "check_bad.p21",
            Data("#1=ITEM(-1,(1,2,3));\n#2=ITEM(-1,());\n#3=ITEM(5,(4));\n"));
  r = qtest::RunChild(kTool, {"check", dir + "check_test.exp", dir + "check_bad.p21"});
  EXPECT_EQ(1, r.status);
  EXPECT_EQ(
      "#1=ITEM: WR1 violated\n"
      "#1=ITEM: POSITIVE.WR1 violated\n"
      "#2=ITEM: POSITIVE.WR1 violated\n"
      "#2=ITEM: UR1 violated\n"
      "#3=ITEM: WR2 violated\n"
      "RULE ONE_ITEM: R1 violated\n"
      "3 instances, 13 rules evaluated, 6 violations, 0 unsupported\n",
      r.out);
  // #2's parts[1] is indeterminate: WR2 is UNKNOWN and holds; #3 divides by 0.
  EXPECT_EQ("#2=ITEM: UR1: the same values as #1\n"
            "#3=ITEM: WR2: line 13, column 18: division by zero\n",
            r.err);
}

TEST(Ql0krnCheck, UnsupportedAloneFailsTheCheck) {
  const std::string dir = testing::TempDir();
  qtest::WriteFile(dir + "check_unsupported.exp",
            "SCHEMA check_test;\nENTITY item;\n  n : INTEGER;\nWHERE\n"
            "  WR1 : frobnicate(n);\nEND_ENTITY;\nEND_SCHEMA;\n");
  qtest::WriteFile(dir + "check_unsupported.p21", Data("#4=ITEM(1);\n"));
  qtest::ChildResult r = qtest::RunChild(
      kTool, {"check", dir + "check_unsupported.exp", dir + "check_unsupported.p21"});
  EXPECT_EQ(1, r.status);
  EXPECT_EQ("#4=ITEM: WR1 unsupported\n1 instances, 1 rules evaluated, 0 violations, 1 unsupported\n",
            r.out);
  EXPECT_EQ("#4=ITEM: WR1: line 5, column 9: unknown function FROBNICATE\n", r.err);
  // A usage error is status 2.
  r = qtest::RunChild(kTool, {"check", dir + "check_unsupported.exp"});
  EXPECT_EQ(2, r.status);
  EXPECT_EQ("ql0krn: check takes 2 arguments\nusage: ql0krn check [--lenient] SCHEMA DATA  (ql0krn --help)\n",
            r.err);
}

}  // namespace
