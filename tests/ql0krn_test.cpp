// The ql0krn program, run as a child process: the schema verb's output,
// errors and exit statuses, the help text, and every real schema beside the
// checkout when that folder exists.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "ExpressSchemas.h"
#include "QL0KRNMem.h"
#include "TestSupport.h"

namespace {

using qtest::ChildResult;
using qtest::RunChild;

ChildResult Ql0krn(const std::vector<std::string>& args) { return RunChild(QL0KRN_TOOL_PATH, args); }

std::string Write(const std::string& name, const std::string& text) {
  const std::string path = testing::TempDir() + "ql0krn_tool_" + name;
  qtest::WriteFile(path, text);
  return path;
}

TEST(Ql0krnSchema, PrintsOneCountLinePerSchemaOfEveryFile) {
  std::string a = Write("a.exp", qtest::GrammarSchemas());
  std::string b = Write("b.exp", "SCHEMA single; TYPE t = INTEGER; END_TYPE; ENTITY e; END_ENTITY; END_SCHEMA;");
  ChildResult r = Ql0krn({"schema", a, b});
  EXPECT_EQ(0, r.status);
  EXPECT_EQ("schema grammar_check: 8 entities, 18 types\n"
            "schema grammar_helper: 1 entities, 0 types\n"
            "schema single: 1 entities, 1 types\n",
            r.out);
  // The warnings about the schemas the file does not hold.
  EXPECT_EQ(a + ":3:12: warning: schema 'support_schema' is not supplied: the items interfaced "
                "from it become placeholder entities without attributes\n" +
                a + ":4:18: warning: schema 'units_schema' is not supplied: names not declared "
                    "otherwise become placeholder entities without attributes\n",
            r.err);
}

TEST(Ql0krnSchema, PrintAndExpressFollowEachLineWithTheSchemaText) {
  std::string path = Write("small.exp",
                           "SCHEMA Small;\nTYPE label = STRING(8) FIXED; END_TYPE;\n"
                           "ENTITY Figure; name : label; END_ENTITY;\n"
                           "ENTITY Square SUBTYPE OF (Figure); side : OPTIONAL REAL; END_ENTITY;\nEND_SCHEMA;\n");
  ChildResult print = Ql0krn({"schema", "--print", path});
  EXPECT_EQ(0, print.status);
  EXPECT_EQ("schema Small: 2 entities, 1 types\n"
            "Schema Small;\n\n    Entity Figure;\n    \n        name : String(8) Fixed ;\n        \n"
            "    End_Entity (*Figure*);\n    Entity Squaresubtype of (  Figure );\n    \n"
            "        side : Real Optional;\n        \n    End_Entity (*Square*);\n    \n"
            "End_Schema (*Small*);\n",
            print.out);
  // The library's own text is read back: no TYPE declarations in it.
  std::string own = Write("small.txt", print.out.substr(print.out.find('\n') + 1));
  ChildResult again = Ql0krn({"schema", "--print", own});
  EXPECT_EQ(0, again.status);
  EXPECT_EQ("schema Small: 2 entities, 0 types\n" + print.out.substr(print.out.find('\n') + 1),
            again.out);

  ChildResult express = Ql0krn({"schema", "--express", path});
  EXPECT_EQ(0, express.status);
  EXPECT_EQ("schema Small: 2 entities, 1 types\n"
            "SCHEMA Small;\n\nTYPE label = STRING(8) FIXED;\nEND_TYPE;\n\n"
            "ENTITY Figure;\n  name : label;\nEND_ENTITY;\n\n"
            "ENTITY Square\n SUBTYPE OF (Figure);\n  side : OPTIONAL REAL;\nEND_ENTITY;\n\nEND_SCHEMA;\n",
            express.out);
}

TEST(Ql0krnSchema, AnInputErrorIsLocatedOnStandardErrorAndGivesStatusOne) {
  std::string bad = Write("bad.exp", "SCHEMA s;\nENTITY a;\n  x : nothing;\nEND_ENTITY;\nEND_SCHEMA;\n");
  std::string good = Write("good.exp", "SCHEMA g; END_SCHEMA;");
  ChildResult r = Ql0krn({"schema", bad, good});
  EXPECT_EQ(1, r.status);
  EXPECT_EQ("schema g: 0 entities, 0 types\n", r.out);  // the other files still load
  EXPECT_EQ(bad + ":3:7: error: 'nothing' is not declared in schema 's'\n", r.err);
  ChildResult missing = Ql0krn({"schema", "/nonexistent/x.exp"});
  EXPECT_EQ(1, missing.status);
  EXPECT_EQ("/nonexistent/x.exp:1:1: error: cannot read the file\n", missing.err);
}

TEST(Ql0krnSchema, UsageErrorsGiveStatusTwoAndHelpDescribesEveryVerb) {
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{}, {"frobnicate"}, {"schema"}, {"schema", "--bogus", "x"},
                                             {"schema", "--print", "--express", "x"}}) {
    ChildResult r = Ql0krn(args);
    EXPECT_EQ(2, r.status) << (args.empty() ? "(none)" : args[0]);
    EXPECT_EQ("", r.out);
    EXPECT_NE(std::string::npos, r.err.find("usage: ql0krn schema"));
  }
  ChildResult help = Ql0krn({"--help"});
  EXPECT_EQ(0, help.status);
  EXPECT_NE(std::string::npos, help.out.find("  schema [--print | --express] FILE...\n"));
  EXPECT_NE(std::string::npos, help.out.find("schema NAME: E entities, T types"));
  EXPECT_EQ(help.out, Ql0krn({"schema", "--help"}).out);
}

// An independent count of a text's ENTITY and TYPE declarations per schema:
// remarks and strings removed, then the words counted outside FUNCTION,
// PROCEDURE and RULE bodies (which may declare their own).
std::vector<std::string> CountDeclarations(const std::string& text) {
  std::string words;
  int depth = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (depth > 0 || (c == '(' && i + 1 < text.size() && text[i + 1] == '*')) {
      if (c == '(' && i + 1 < text.size() && text[i + 1] == '*') { ++depth; ++i; }
      else if (c == '*' && i + 1 < text.size() && text[i + 1] == ')') { --depth; ++i; }
      continue;
    }
    if (c == '-' && i + 1 < text.size() && text[i + 1] == '-') {
      while (i < text.size() && text[i] != '\n') ++i;
      words += ' ';
      continue;
    }
    if (c == '\'') {
      for (++i; i < text.size(); ++i) {
        if (text[i] == '\'' && !(i + 1 < text.size() && text[i + 1] == '\'')) break;
        if (text[i] == '\'') ++i;
      }
      words += ' ';
      continue;
    }
    words += std::isalnum(static_cast<unsigned char>(c)) || c == '_' ? static_cast<char>(std::toupper(c)) : ' ';
  }
  std::vector<std::string> lines;
  std::istringstream in(words);
  std::string w, name;
  int entities = 0, types = 0, body = 0;
  bool wantName = false;
  while (in >> w) {
    if (wantName) {
      name = w;
      wantName = false;
      continue;
    }
    if (w == "SCHEMA") { wantName = true; entities = types = body = 0; }
    else if (w == "FUNCTION" || w == "PROCEDURE" || w == "RULE") ++body;
    else if (w == "END_FUNCTION" || w == "END_PROCEDURE" || w == "END_RULE") --body;
    else if (w == "ENTITY" && body == 0) ++entities;
    else if (w == "TYPE" && body == 0) ++types;
    else if (w == "END_SCHEMA") lines.push_back("schema " + name + ": " + std::to_string(entities) +
                                                " entities, " + std::to_string(types) + " types");
  }
  return lines;
}

TEST(Ql0krnSchema, EveryRealSchemaLoadsWithTheCountsOfAnIndependentCount) {
  const std::string dir = std::string(QL0KRN_REAL_DATA) + "/schemas";
  std::vector<std::string> names, files;
  if (!qtest::ListFiles(dir, &names)) GTEST_SKIP() << dir << " does not exist on this machine";
  for (const std::string& n : names)
    if (n.size() > 4 && (n.substr(n.size() - 4) == ".exp" || n.substr(n.size() - 4) == ".EXP")) files.push_back(dir + "/" + n);
  ASSERT_FALSE(files.empty());
  int failed = 0;
  for (const std::string& f : files) {
    ChildResult r = Ql0krn({"schema", f});
    if (r.status == 1) {
      // Bad input: every error line is located.
      ++failed;
      EXPECT_TRUE(std::regex_search(r.err, std::regex("^" + std::regex_replace(f, std::regex(R"([.^$|()\[\]{}*+?\\])"), R"(\$&)") +
                                                      R"(:[0-9]+:[0-9]+: error: )")))
          << f << "\n" << r.err;
      continue;
    }
    ASSERT_EQ(0, r.status) << f << "\n" << r.err;
    std::string expected;
    for (const std::string& l : CountDeclarations(qtest::ReadFile(f))) expected += l + "\n";
    EXPECT_EQ(expected, r.out) << f;
  }
  EXPECT_LE(failed, 1) << "only the schema marked as bad input may fail";
}

}  // namespace
