// The demonstration program's output, as a newcomer sees it.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

#include "ExpressTexts.h"
#include "MemSupport.h"
#include "TestSupport.h"

#ifdef QL0KRN_DEMO_PATH

namespace {

const char* const kSchema = qtest::kDrawingText;

// The part of the model the demonstration copies and writes out.
const std::string kGeometry = qtest::ExchangeFile(
    "HOUSE", "#1=POINT(0.,0.);\n#2=POINT(8.,0.);\n#3=POINT(8.,6.);\n#4=POINT(0.,6.);\n"
             "#5=OUTLINE((#1,#2,#3));\n#6=OUTLINE((#2,#3,#4,#1));\n");

std::string Expected(const std::string& directory) {
  return std::string(
             "== 1. handles and the collector ==\n"
             "a is 'node a'\n"
             "qualified exception : QelInfrastructure/QL0KRN.m/src/ZORQelIObjectIMP 199: "
             "attempt to convert incompatible object\n"
             "  finalized garbage\n"
             "dropping a\n"
             "  finalized a\n"
             "  finalized b\n"
             "== 2. the Drawing schema ==\n") +
         kSchema + qtest::kStoreText +
         "== 3. a population ==\n"
         "#1=Figure('outline',$);\n"
         "#2=Polyline('route',\"0A1B\",(1.500000,2.000000),.T.);\n"
         "#3=Group((#1,#2),2);\n"
         "== 4. saving the Drawing schema ==\n"
         "saved to " + directory + "/Drawing.exp\n"
         "== 5. a deep copy into a second schema ==\n"
         "#1=Spacer();\n"
         "#2=Figure('outline',$);\n"
         "#3=Polyline('route',\"0A1B\",(1.500000,2.000000),.T.);\n"
         "#4=Group((#2,#3),2);\n"
         "== 6. a model read from an exchange file ==\n"
         "read 16 instances of schema HOUSE\n"
         "  point 4\n  outline 2\n  wall 5\n  window 1\n  storey 2\n  property 2\n"
         "the geometry, 6 instances, written to " + directory + "/geometry.p21:\n" +
         kGeometry +
         "view: #15 changed\n"
         "gable height now 2.1\n"
         "== 7. everything dropped, one collection ==\n"
         "objects beyond those at start: 0\n"
         "collector status (standard error)\n";
}

using DemoTest = qtest::TempDirTest;

TEST_F(DemoTest, PrintsEverySectionAndSavesTheSchema) {
  qtest::ChildResult r = qtest::RunChild(QL0KRN_DEMO_PATH, {dir_},
                                         {{"ZORQelITracerContext", qtest::kUnset}});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, Expected(dir_));
  // The provider and its capability list stay; the demonstration's own
  // objects are all gone.
  EXPECT_EQ(r.err.substr(0, r.err.find("ZORQelIGholder")),
            "instances := \t4\ninstances (real size) := \t4\n");
  EXPECT_EQ(qtest::ReadFile(dir_ + "/Drawing.exp"), kSchema);
  EXPECT_EQ(qtest::ReadFile(dir_ + "/geometry.p21"), kGeometry);
}

TEST_F(DemoTest, TracesThePrinterWhenAskedTo) {
  qtest::ChildResult r = qtest::RunChild(QL0KRN_DEMO_PATH, {dir_},
                                         {{"ZORQelITracerContext", "ZORQelIExpressForm"}});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, Expected(dir_));
  EXPECT_NE(r.err.find("start :ZORQelIStream& ZORQelIExpressForm::Print(const ZORQelIModeler& M)"),
            std::string::npos);
  EXPECT_NE(r.err.find("stop :void ZORQelIExpressForm::PrintLong(const ZORQelIInstance& X)"),
            std::string::npos);
  // Only the printer's operations are traced.
  std::istringstream lines(r.err);
  std::string line;
  int traced = 0;
  while (std::getline(lines, line)) {
    if (line.find(" :") == std::string::npos || line.find("instances") == 0) continue;
    if (line.find("ZORQelIGholder.count") != std::string::npos) continue;
    ++traced;
    EXPECT_NE(line.find("ZORQelIExpressForm"), std::string::npos) << line;
  }
  EXPECT_GT(traced, 100);
}

}  // namespace

#endif
