// ql0krn stats, convert and print: outputs, the schema found in a folder by
// FILE_SCHEMA, --lenient, located errors and exit statuses.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>

#include "TestSupport.h"

namespace {

const std::string kTool = QL0KRN_TOOL_PATH;
const std::string kData = QL0KRN_TEST_DATA;
const std::string kSchema = kData + "/exchange_sample.exp";
const std::string kSample = kData + "/exchange_sample.p21";

using qtest::ReadFile;
using qtest::WriteFile;

TEST(Ql0krnExchange, StatsCountsEntitiesByUpperCaseName) {
  qtest::ChildResult r = qtest::RunChild(kTool, {"stats", kSchema, kSample});
  EXPECT_EQ(0, r.status) << r.err;
  EXPECT_EQ("", r.err);
  // The complex instance #7 counts under BOTH, COLOURED and NAMED.
  EXPECT_EQ("9 instances\nBOTH 1\nCOLOURED 1\nGROUP 1\nNAMED 1\nPOINT 2\nPROP 4\nSPECIAL 1\n", r.out);
}

TEST(Ql0krnExchange, FolderIsSearchedForTheSchemaTheFileNames) {
  // The file name does not matter; the declaration does.
  const std::string dir = testing::TempDir() + "ql0krn_exchange_schemas";
  mkdir(dir.c_str(), 0700);
  WriteFile(dir + "/A_OTHER.exp", "SCHEMA other_one; ENTITY x; END_ENTITY; END_SCHEMA;\n");
  WriteFile(dir + "/SAMPLE_TC1.EXP", ReadFile(kSchema));
  qtest::ChildResult r = qtest::RunChild(kTool, {"stats", dir, kSample});
  EXPECT_EQ(0, r.status) << r.err;
  EXPECT_EQ(0u, r.out.find("9 instances\n"));

  std::string text = ReadFile(kSample);
  text.replace(text.find("'SAMPLE_P21'"), 12, "'NOWHERE {1 2 3}'");
  const std::string file = testing::TempDir() + "ql0krn_exchange_nowhere.p21";
  WriteFile(file, text);
  r = qtest::RunChild(kTool, {"stats", dir, file});
  EXPECT_EQ(1, r.status);
  EXPECT_EQ("ql0krn: no EXPRESS file of " + dir + " declares schema NOWHERE\n", r.err);
  // A schema file that is not the one named: refused, naming both.
  r = qtest::RunChild(kTool, {"stats", kSchema, file});
  EXPECT_EQ(1, r.status);
  EXPECT_EQ(file + ":1:1: error: FILE_SCHEMA names 'NOWHERE', but the schema is 'SAMPLE_P21'\n",
            r.err);
}

TEST(Ql0krnExchange, ConvertWritesWhatReadsBackToTheSameFile) {
  const std::string one = testing::TempDir() + "ql0krn_exchange_one.p21";
  const std::string two = testing::TempDir() + "ql0krn_exchange_two.p21";
  qtest::ChildResult r = qtest::RunChild(kTool, {"convert", kSchema, kSample, one});
  ASSERT_EQ(0, r.status) << r.err;
  r = qtest::RunChild(kTool, {"convert", kSchema, one, two});
  ASSERT_EQ(0, r.status) << r.err;
  EXPECT_EQ(ReadFile(one), ReadFile(two));
  EXPECT_NE(std::string::npos, ReadFile(one).find("#7=(BOTH(3.25)COLOURED(.RED.)NAMED('nm'));\n"));
}

TEST(Ql0krnExchange, PrintShowsTheInstanceText) {
  qtest::ChildResult r = qtest::RunChild(kTool, {"print", kSchema, kSample});
  EXPECT_EQ(0, r.status) << r.err;
  EXPECT_EQ(0u, r.out.find("#1=point('p1',\"0A1B\",(1.000000,-0.000500,2.500000),,.T.);\n"));
  EXPECT_NE(std::string::npos, r.out.find("#10=prop(,$,'green','QQQQ');\n"));
}

TEST(Ql0krnExchange, LenientReadsTheRestAndStillReportsTheErrors) {
  std::string text = ReadFile(kSample);
  text.replace(text.find(".blue."), 6, ".black.");
  const std::string file = testing::TempDir() + "ql0krn_exchange_bad.p21";
  WriteFile(file, text);
  const std::string message = file + ":14:36: error: #4: .black. is no item of colour\n";
  qtest::ChildResult strict = qtest::RunChild(kTool, {"stats", kSchema, file});
  EXPECT_EQ(1, strict.status);
  EXPECT_EQ("", strict.out);
  EXPECT_EQ(message, strict.err);
  qtest::ChildResult lenient = qtest::RunChild(kTool, {"stats", "--lenient", kSchema, file});
  EXPECT_EQ(1, lenient.status);
  EXPECT_EQ(message, lenient.err);
  EXPECT_EQ("8 instances\nBOTH 1\nCOLOURED 1\nGROUP 1\nNAMED 1\nPOINT 2\nPROP 3\nSPECIAL 1\n",
            lenient.out);
}

TEST(Ql0krnExchange, UsageErrors) {
  qtest::ChildResult r = qtest::RunChild(kTool, {"convert", kSchema, kSample});
  EXPECT_EQ(2, r.status);
  EXPECT_EQ("ql0krn: convert takes 3 arguments\n"
            "usage: ql0krn convert [--lenient] SCHEMA IN OUT  (ql0krn --help)\n",
            r.err);
  r = qtest::RunChild(kTool, {"stats", "--strict", kSchema, kSample});
  EXPECT_EQ(2, r.status);
  r = qtest::RunChild(kTool, {"stats", kSchema, kData + "/absent.p21"});
  EXPECT_EQ(1, r.status);
  EXPECT_EQ("ql0krn: cannot read " + kData + "/absent.p21\n", r.err);
}

}  // namespace
