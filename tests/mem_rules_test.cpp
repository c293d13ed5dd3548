// EXPRESS rules at run time on the in-memory provider: expressions and their
// three-valued logic, built-ins, user functions and their statements, reading
// DERIVE and INVERSE attributes, and the checker's findings for each kind of
// rule, holding and failing; hostile input gives located errors.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "MemSupport.h"
#include "TestSupport.h"
#include "ZORQelIMemRuleChecker.h"
#include "ZORQelIMemRuleUnitIMP.h"

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

// A population in which every rule holds.
const char kGood[] =
    "#1=POINT('a',1.,2.);\n"
    "#2=POINT($,3.,4.);\n"
    "#3=SEGMENT(#1,#2,.GREEN.,5,LABEL('x'));\n"
    "#4=POLY((#1,#2,#1));\n"
    "#5=OWNER(#1);\n";

ZORQelIModeler Load(const std::string& schema, const std::string& data) {
  ZORQelIModeler m = qtest::LoadSchemas(schema, "rules_test.exp").at(0);
  ZORQelIMemExchangeResult r = qtest::ReadExchange(m, qtest::ExchangeFile("RULES_TEST", data));
  EXPECT_TRUE(r.ok) << qtest::Messages(r.diagnostics);
  return m;
}

// A schema and population loaded, a checker on them and its first report.
struct Checked {
  Checked(const std::string& schema, const std::string& data)
      : m(Load(schema, data)), c(m), report(c.Check()) {}
  ZORQelIModeler m;
  ZORQelIMemRuleChecker c;
  ZORQelIMemRuleReport report;
};

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

// The message of the exception an evaluation raises.
std::string Failure(ZORQelIMemRuleChecker& c, const std::string& text,
                    ZORQelI::Mint self = ZORQelI::Mint()) {
  try {
    return "no failure: " + c.Evaluate(self, text);
  } catch (const ZORQelI::Exception& e) {
    return Str(e.Message());
  }
}

// An expression, the instance it is evaluated on (0: none) and its expected value text.
struct Row {
  const char* text;
  const char* expected;
  int self = 0;
};

class MemRules : public testing::Test {
 protected:
  ZORQelIModeler m = Load(kSchema, kGood);
  ZORQelIMemRuleChecker c{m};
  std::string E(const std::string& text, ZORQelI::Mint self = ZORQelI::Mint()) {
    return c.Evaluate(self, text);
  }
  void ExpectRows(std::initializer_list<Row> rows);
};

// Evaluates each row in order with `c`, a failure naming its expression.
void ExpectRows(ZORQelIMemRuleChecker& c, std::initializer_list<Row> rows) {
  for (const Row& r : rows)
    EXPECT_EQ(r.expected, c.Evaluate(r.self != 0 ? ZORQelI::Mint(r.self) : ZORQelI::Mint(), r.text)) << r.text;
}
void MemRules::ExpectRows(std::initializer_list<Row> rows) { ::ExpectRows(c, rows); }

TEST_F(MemRules, ArithmeticStringsAndIntervals) {
  ExpectRows({
      {"1 + 2 * 3", "7"}, {"-(4 + 5)", "-9"}, {"5 / 2", "2.5"}, {"5 DIV 2", "2"}, {"5 MOD 2", "1"},
      {"2 ** 10", "1024"},
      {"2 ** 3 ** 2", "512"},  // groups to the right
      {"4 + 0.5", "4.5"}, {"? + 1", "?"}, {"'ab' + 'cd'", "'abcd'"}, {"'it''s'", "'it's'"},
      {"'abc'[2]", "'b'"}, {"'abc'[2:3]", "'bc'"}, {"'A12' LIKE '@##'", ".T."},
      {"'a12' LIKE '^##'", ".F."}, {"'hello world' LIKE 'h*d'", ".T."}, {"{1 <= 1 < 2}", ".T."},
      {"{1 < 1 < 2}", ".F."}, {"{1 <= ? < 2}", ".U."}, {"'abc' < 'abd'", ".T."}
  });
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
  ExpectRows({
      {"NOT UNKNOWN", ".U."}, {"NOT TRUE", ".F."}, {"? = 1", ".U."}, {"1 < ?", ".U."},
      {"? AND TRUE", ".U."}, {"? AND FALSE", ".F."}, {"UNKNOWN < TRUE", ".T."}
  });
}

TEST_F(MemRules, AggregatesQueriesAndBuiltins) {
  ExpectRows({
      {"[1:3, 2]", "(1,1,1,2)"}, {"2 IN [1, 2]", ".T."}, {"3 IN [1, 2]", ".F."},
      {"? IN [1, 2]", ".U."}, {"[1, 2] + 3", "(1,2,3)"}, {"0 + [1, 2]", "(0,1,2)"},
      {"[1, 2, 3] - [2]", "(1,3)"}, {"[1, 2] * [2, 5]", "(2)"},
      {"QUERY(e <* [1, 2, 3, 4] | e > 2)", "(3,4)"}, {"SIZEOF([1, 2, 3])", "3"},
      {"HIINDEX([1, 2, 3])", "3"}, {"LOINDEX([1, 2, 3])", "1"}, {"SIZEOF(?)", "?"},
      {"ABS(-3)", "3"}, {"ABS(-1.5)", "1.5"}, {"SQRT(9)", "3."}, {"NVL(?, 5)", "5"},
      {"EXISTS(?)", ".F."}, {"VALUE('12')", "12"}, {"VALUE('x')", "?"},
      {"VALUE_IN([1, 2], 2)", ".T."}, {"VALUE_UNIQUE([1, 2, 1])", ".F."}, {"LENGTH('abc')", "3"},
      {"ODD(3)", ".T."}, {"TYPEOF(3)", "('INTEGER','NUMBER')"}, {"PI", "3.141592653589793"},
      {"1 / 10", "0.1"}, {"2 - 3.0", "-1."}, {"fact(5)", "120"}
  });
}

TEST_F(MemRules, FunctionsRunTheirStatements) {
  // total: the loop skips 2, escapes after 3, so seen holds 1 and 3: the CASE
  // keeps acc, two rounds of p1.x (1.0).
  EXPECT_EQ("2.", E("total(SELF)", 3));
  // edit: r[1] := 10, INSERT at the front, REMOVE the third, WHILE and UNTIL
  // count k to 5.
  EXPECT_EQ("(7,10,3,5)", E("edit([1, 2, 3])"));
}

TEST_F(MemRules, AttributesDerivedInverseAndInstances) {
  ExpectRows({
      {"SELF.name", "'a'", 1}, {"SELF\\named.name", "'a'", 1}, {"norm", "5.", 2},
      {"starts", "(#3)", 1}, {"starts", "()", 2}, {"SELF.p2.norm", "5.", 3},
      {"'RULES_TEST.NAMED' IN TYPEOF(SELF)", ".T.", 1},
      {"SIZEOF(USEDIN(SELF, 'RULES_TEST.SEGMENT.P1')) = 1", ".T.", 1}
  });
  // #3.p1, twice in #4.pts, #5.held: one per reference.
  EXPECT_EQ("4", E("SIZEOF(USEDIN(SELF, ''))", 1));
  EXPECT_EQ("('RULES_TEST.SEGMENT.P1','RULES_TEST.POLY.PTS','RULES_TEST.OWNER.HELD')",
            E("ROLESOF(SELF)", 1));
  ExpectRows({
      {"c = colour.green", ".T.", 3}, {"c = green", ".T.", 3},
      {"'RULES_TEST.LABEL' IN TYPEOF(extra)", ".T.", 3}
  });
  // Entity constructors, whole or joined by ||, compare by value.
  ExpectRows({
      {"named('n') || point(3.0, 4.0)", "NAMED(...)||POINT(...)"},
      {"(named('n') || point(3.0, 4.0)).y", "4."},
      {"'RULES_TEST.NAMED' IN TYPEOF(named('n') || point(3.0, 4.0))", ".T."},
      {"point('a', 1.0, 2.0) = named('a') || point(1.0, 2.0)", ".T."},
      {"SELF = point('a', 1.0, 2.0)", ".T.", 1}, {"SELF = point('a', 1.0, 2.5)", ".F.", 1},
      {"SELF :=: point('a', 1.0, 2.0)", ".F.", 2}
  });
  // An instance of the population joined with a constructed value.
  ExpectRows({
      {"(SELF || owner(SELF)).x", "1.", 1}, {"(SELF || owner(SELF)).held :=: SELF", ".T.", 1},
      {"'RULES_TEST.OWNER' IN TYPEOF(SELF || owner(SELF))", ".T.", 1},
      {"'RULES_TEST.OWNER' IN TYPEOF(SELF)", ".F.", 1}
  });
}

// The population's values are read in place (the texts of cells, aggregate
// stores): each operation answers as on a value made by the evaluator, and
// changing a copy changes neither the population nor later reads.
TEST_F(MemRules, PopulationValuesReadInPlace) {
  ExpectRows({
      {"pts", "(#1,#2,#1)", 4},
      {"[SIZEOF(pts), LOBOUND(pts), HIINDEX(pts), LOINDEX(pts)]", "(3,2,3,1)", 4},
      {"HIBOUND(pts)", "?", 4}, {"pts[2]", "#2", 4}, {"pts[4]", "?", 4}, {"pts[0]", "?", 4},
      {"QUERY(q <* pts | q :=: pts[1])", "(#1,#1)", 4}, {"pts = QUERY(q <* pts | TRUE)", ".T.", 4},
      {"VALUE_UNIQUE(pts)", ".F.", 4}, {"TYPEOF(pts)", "('LIST','AGGREGATE')", 4},
      {"pts - pts[1]", "(#2,#1)", 4},
      {"[SIZEOF(pts - pts[1]), SIZEOF(pts - pts[1]), SIZEOF(pts), SIZEOF(pts + pts[2])]", "(2,2,3,4)", 4},
      {"name + 'b'", "'ab'", 1}, {"c", ".GREEN.", 3}
  });
  // A text longer than a cell holds in place is allocated by the cell.
  ZORQelIModeler m2 = Load(kSchema, "#1=POINT('a name longer than seven',1.,2.);\n");
  ZORQelIMemRuleChecker c2(m2);
  EXPECT_EQ("'a name longer than seven!'", c2.Evaluate(1, "name + '!'"));
  EXPECT_EQ("('name',.T.,24)", c2.Evaluate(1, "[name[3:6], name LIKE 'a*n', LENGTH(name)]"));
}

TEST(MemRulesCheck, InstanceAndValueComparisonDiffer) {
  ZORQelIModeler m = Load(kSchema,
                          "#1=POINT($,1.,2.);\n#2=POINT($,1.,2.);\n"
                          "#3=SEGMENT(#1,#2,.GREEN.,5,$);\n#4=SEGMENT(#1,#1,.GREEN.,5,$);\n");
  ZORQelIMemRuleChecker c(m);
  ExpectRows(c, {{"p1 = p2", ".T.", 3}, {"p1 :=: p2", ".F.", 3}, {"p1 :<>: p2", ".T.", 3}, {"p1 :=: p2", ".T.", 4}});
  // #1 starts two segments; #2 repeats #1's x, y (UR1); #4 breaks distinct.
  EXPECT_EQ("#1=POINT: STARTS violated\n#2=POINT: UR1 violated\n#4=SEGMENT: distinct violated\n",
            Lines(c.Check()));
}

TEST(MemRulesCheck, APopulationThatKeepsEveryRule) {
  const ZORQelIMemRuleReport r = Checked(kSchema, kGood).report;
  EXPECT_EQ("", Lines(r));
  EXPECT_EQ(5u, r.instances);
  EXPECT_EQ(0u, r.violations);
  EXPECT_EQ(0u, r.unsupported);
}

TEST(MemRulesCheck, EachKindOfRuleFailsWhereItShould) {
  const ZORQelIMemRuleReport r = Checked(kSchema,
                                         "#1=POINT('',1.,2.);\n"              // NAMED.WR1: an empty name
                                         "#2=POINT($,300.,0.);\n"             // WR2 through DERIVE norm
                                         "#3=POINT($,1.,2.);\n"               // UR1: the values of #1
                                         "#4=SEGMENT(#1,#1,.RED.,-1,$);\n"    // distinct, notred, POSITIVE
                                         "#5=SEGMENT(#1,#3,.GREEN.,12,$);\n"  // SMALL; #1 starts two
                                         "#6=POLY((#1,#2));\n")               // closed; RULE R2 (n = 12)
                                     .report;
  EXPECT_EQ(
      "#1=POINT: NAMED.WR1 violated\n"
      "#1=POINT: STARTS violated\n"
      "#2=POINT: WR2 violated\n"
      "#3=POINT: UR1 violated\n"
      "#4=SEGMENT: distinct violated\n"
      "#4=SEGMENT: notred violated\n"
      "#4=SEGMENT: POSITIVE.WR1 violated\n"
      "#5=SEGMENT: SMALL.WR2 violated\n"
      "#6=POLY: closed violated\n"
      "RULE FEW_SEGMENTS: R2 violated\n",
      Lines(r));
  EXPECT_EQ(6u, r.instances);
  EXPECT_EQ(10u, r.violations);
  EXPECT_EQ(0u, r.unsupported);
  // Each point: 2 WHERE, 1 INVERSE, 1 UNIQUE; each segment 3 WHERE and its
  // type rules (small: 2, label: none); each poly 2; the global rule 2.
  EXPECT_EQ(3u * 4 + 2u * (3 + 2) + 1u * 2 + 2, r.evaluated);
  EXPECT_EQ("the same values as #1", r.findings[3].detail);
  EXPECT_EQ("UR1 : x, y", r.findings[3].text);
  EXPECT_EQ("SELF > 0", r.findings[6].text.substr(r.findings[6].text.find(':') + 2));
}

TEST(MemRulesCheck, FailedAndUnsupportedEvaluationsAreLocatedReports) {
  const std::string schema =
      "SCHEMA rules_test;\n"
      "ENTITY t;\n"
      "  a : LIST OF INTEGER;\n"
      "WHERE\n"
      "  bad_division : a[1] DIV 0 > 1;\n"
      "  missing : SELF.nothing = 1;\n"
      "  unknown_fn : frobnicate(a) > 0;\n"
      "  complex : (SELF || SELF) :=: SELF;\n"
      "  not_logical : SIZEOF(a);\n"
      "  fine : SIZEOF(a) > 0;\n"
      "END_ENTITY;\n"
      "FUNCTION forever(n : INTEGER) : INTEGER;\n"
      "  RETURN (forever(n + 1));\n"
      "END_FUNCTION;\n"
      "FUNCTION spin(n : INTEGER) : INTEGER;\n"
      "  REPEAT i := 1 TO n; END_REPEAT;\n"
      "  RETURN (n);\n"
      "END_FUNCTION;\n"
      "END_SCHEMA;\n";
  Checked checked(schema, "#7=T((1,2));\n");
  ZORQelIMemRuleChecker& c = checked.c;
  const ZORQelIMemRuleReport& r = checked.report;
  EXPECT_EQ(
      "#7=T: bad_division raised\n"
      "#7=T: missing raised\n"
      "#7=T: unknown_fn unsupported\n"
      "#7=T: complex raised\n"
      "#7=T: not_logical raised\n",
      Lines(r));
  ASSERT_EQ(5u, r.findings.size());
  EXPECT_EQ("line 5, column 23: division by zero", r.findings[0].detail);
  EXPECT_EQ("line 6, column 17: #7 (t) has no attribute NOTHING", r.findings[1].detail);
  EXPECT_EQ("line 7, column 16: unknown function FROBNICATE", r.findings[2].detail);
  EXPECT_EQ("line 8, column 19: || joins two partial values of T", r.findings[3].detail);
  EXPECT_EQ(4u, r.violations);
  EXPECT_EQ(1u, r.unsupported);
  EXPECT_EQ(6u, r.evaluated);

  // Runaway recursion and hostile nesting are refused, located, not crashes.
  EXPECT_EQ("FUNCTION FOREVER, line 2, column 23: evaluation nested too deep", Failure(c, "forever(1)"));
  EXPECT_EQ("FUNCTION SPIN, line 2, column 3: evaluation takes more than 1000000 loop rounds",
            Failure(c, "spin(2000000000)"));
  EXPECT_EQ("no failure: 1000", Failure(c, "spin(1000)"));
  EXPECT_EQ("line 1, column 21: integer overflow", Failure(c, "9223372036854775807 + 1"));
  EXPECT_EQ("line 1, column 1: integer overflow", Failure(c, "-(-9223372036854775807 - 1)"));
  EXPECT_EQ("line 1, column 1: VALUE_IN of a value that is no aggregate", Failure(c, "VALUE_IN(1, 1)"));
  const std::string deep = std::string(100000, '(') + "1" + std::string(100000, ')');
  EXPECT_EQ("line 1, column 101: nesting deeper than 200 levels near '('", Failure(c, deep));
  EXPECT_EQ("line 1, column 4: expected an expression near ')'", Failure(c, "1 +)"));
  EXPECT_EQ("line 1, column 1: unknown name NOWHERE", Failure(c, "nowhere"));
  EXPECT_EQ("no instance #99", Failure(c, "SELF", 99));
}

// FORMAT, VAR parameters written back, and assignment to an attribute of a
// value made by a constructor; a rule never writes the population.
TEST(MemRulesStatements, FormatVarParametersAndConstructedAttributes) {
  const std::string schema =
      "SCHEMA rules_test;\n"
      "ENTITY pt;\n  x : REAL;\n  y : REAL;\nEND_ENTITY;\n"
      "PROCEDURE swap(VAR l : LIST OF INTEGER; i, j : INTEGER);\n"
      "LOCAL\n  k : INTEGER;\nEND_LOCAL;\n"
      "  k := l[i]; l[i] := l[j]; l[j] := k; i := 0;\n"
      "END_PROCEDURE;\n"
      "FUNCTION swapped(l : LIST OF INTEGER) : LIST OF INTEGER;\n"
      "LOCAL\n  r : LIST OF INTEGER := l;\n  one : INTEGER := 1;\nEND_LOCAL;\n"
      "  swap(r, one, 2);\n"
      "  IF one <> 1 THEN RETURN (?); END_IF;\n"
      "  RETURN (r);\n"
      "END_FUNCTION;\n"
      "FUNCTION moved(q : pt) : pt;\n"
      "LOCAL\n  c : pt := pt(q.x, q.y);\nEND_LOCAL;\n"
      "  c.x := c.x + 1.0;\n"
      "  RETURN (c);\n"
      "END_FUNCTION;\n"
      "FUNCTION poke(q : pt) : BOOLEAN;\n"
      "  q.x := 0.0;\n"
      "  RETURN (TRUE);\n"
      "END_FUNCTION;\n"
      "ENTITY t;\n"
      "  a : LIST OF INTEGER;\n"
      "  p : pt;\n"
      "WHERE\n"
      "  fmt_holds : FORMAT(a[1], '+05I') = '+0042';\n"
      "  fmt_fails : FORMAT(a[1], '6.2F') = '42.00';\n"
      "  var_holds : swapped(a) = [a[2], a[1]];\n"
      "  var_fails : swapped(a) = a;\n"
      "  made_holds : moved(p).x = p.x + 1.0;\n"
      "  made_fails : moved(p).y <> p.y;\n"
      "  population : poke(p);\n"
      "END_ENTITY;\n"
      "END_SCHEMA;\n";
  Checked t(schema, "#1=PT(1.,2.);\n#7=T((42,5),#1);\n");
  EXPECT_EQ(
      "#7=T: fmt_fails violated\n"
      "#7=T: var_fails violated\n"
      "#7=T: made_fails violated\n"
      "#7=T: population unsupported\n",
      Lines(t.report));
  ASSERT_EQ(4u, t.report.findings.size());
  EXPECT_EQ("FUNCTION POKE, line 2, column 4: assignment to this kind of target (a rule does not "
            "change the population)",
            t.report.findings[3].detail);
  EXPECT_EQ("(5,42)", t.c.Evaluate(7, "swapped(a)"));
  EXPECT_EQ("1.", t.c.Evaluate(7, "p.x"));  // poke changed nothing

  // The symbolic formats, a picture, and what is neither.
  ExpectRows(t.c, {{"FORMAT(10, '+7I')", "'    +10'"}, {"FORMAT(10, '-5I')", "'10   '"},
                   {"FORMAT(2.5, '3I')", "'  3'"}, {"FORMAT(123.456789, '8.2F')", "'  123.46'"},
                   {"FORMAT(123.456789, '8.2E')", "'1.23E+02'"}, {"FORMAT(-1.5, '07.1F')", "'-0001.5'"},
                   {"FORMAT(3.14159, '##.##')", "' 3.14'"}, {"FORMAT(12345, '##')", "'12345'"},
                   {"FORMAT(?, '3I')", "?"}});
  EXPECT_EQ("unsupported: line 1, column 1: FORMAT with the format '3.1I'", Failure(t.c, "FORMAT(1, '3.1I')"));
  EXPECT_EQ("unsupported: line 1, column 1: FORMAT with the format 'x#'", Failure(t.c, "FORMAT(1, 'x#')"));
  EXPECT_EQ("line 1, column 1: FORMAT of a number that is no integer, with an integer format",
            Failure(t.c, "FORMAT(1.0e300, '3I')"));
  EXPECT_EQ("line 1, column 1: FORMAT of a value that is no number", Failure(t.c, "FORMAT('1', '3I')"));
}

// Every pairing of schema and exchange file beside the checkout: every rule
// evaluates (nothing unsupported).
TEST(MemRulesCheck, RealFilesBesideTheCheckout) {
  const std::string root = QL0KRN_REAL_DATA;
  std::vector<std::string> names;
  if (!qtest::ListFiles(root + "/p21", &names)) GTEST_SKIP() << "no real exchange files at " << root << "/p21";
  for (const std::string& n : names) {
    if (n.find("README") != std::string::npos || n.find("fail") != std::string::npos) continue;
    const std::string data = qtest::ReadFile(root + "/p21/" + n);
    ZORQelI::string schemaName;
    if (!ZORQelIMemExchangeReader::FileSchema(data.data(), data.size(), schemaName)) continue;
    ZORQelIModeler schema = qtest::LoadSchemaNamed(root + "/schemas", Str(schemaName));
    if (!schema.IsValid()) continue;
    ZORQelIMemExchangeOptions o;
    o.fileName = n.c_str();
    if (!ZORQelIMemExchangeReader::Read(schema, data.data(), data.size(), o).ok) continue;
    ZORQelIMemRuleChecker c(schema);
    ZORQelIMemRuleReport r = c.Check();
    std::string unsupported;
    for (const ZORQelIMemRuleFinding& f : r.findings) {
      if (f.kind == ZORQelIMemRuleFinding::Unsupported && unsupported.size() < 4000) {
        unsupported += f.entity + ": " + f.label + ": " + f.detail + "\n";
      }
    }
    EXPECT_EQ(0u, r.unsupported) << n << "\n" << unsupported;
  }
}

// A rule reading a DERIVE attribute of an entity no rule has touched yet
// makes the engine parse that entity's clauses in the middle of the
// evaluation, adding far more nodes to the parsed rules than they had: the
// evaluation under way must go on correctly after them (the sanitizer runs
// catch a node read after the nodes moved).
TEST(MemRulesCheck, ClausesParsedDuringAnEvaluation) {
  auto sum = [](int terms) {
    std::string s = "1";
    for (int k = 1; k < terms; ++k) s += " + 1";
    return s;
  };
  const std::string schema =
      "SCHEMA rules_test;\n"
      "ENTITY holder;\n"
      "  ref : far;\n"
      "WHERE\n"
      "  w1 : ref.big + 1 > 0;\n"
      "  w2 : via(ref) * 1 < 0;\n"
      "END_ENTITY;\n"
      "ENTITY far;\n"
      "  v : INTEGER;\n"
      "DERIVE\n"
      "  big : INTEGER := " + sum(300) + ";\n"
      "  big2 : INTEGER := v + " + sum(300) + ";\n"
      "WHERE\n"
      "  f1 : v + " + sum(200) + " > 0;\n"
      "  f2 : v + " + sum(200) + " > 0;\n"
      "END_ENTITY;\n"
      "FUNCTION via(x : far) : INTEGER;\n"
      "  RETURN (x.big2 * 2 + 0);\n"
      "END_FUNCTION;\n"
      "END_SCHEMA;\n";
  const std::string data = "#1=HOLDER(#2);\n#2=FAR(5);\n";
  const ZORQelIMemRuleReport r = Checked(schema, data).report;  // its own modeler and checker
  EXPECT_EQ("#1=HOLDER: w2 violated\n", Lines(r));
  EXPECT_EQ(4u, r.evaluated);
  EXPECT_EQ(0u, r.unsupported);
  {
    ZORQelIModeler m = Load(schema, data);
    ZORQelIMemRuleChecker c(m);
    ExpectRows(c, {{"ref.big + 1", "301", 1}, {"via(ref) + 0", "610", 1}, {"big2 - v = big", ".T.", 2}});
  }
}

// The behaviour model's hooks: a unit checks a population and keeps the
// findings as its errors; Eval gives values of the population.
TEST(MemRulesUnit, CheckEvalAndErrorsThroughTheParsableHooks) {
  ZORQelIModeler m = Load(kSchema, "#1=POINT('',1.,2.);\n#2=POINT($,300.,0.);\n");
  ZORQelIExpression unit = ZORQelIMemRuleUnitIMP::Make(m, "fact(4) + 0");
  EXPECT_EQ(ZORQelI::Ifalse, unit.Check(m.GetInstances()));
  ASSERT_EQ(2, unit.NumberOfErrors());
  EXPECT_EQ("#1=POINT: NAMED.WR1 violated", Str(unit.GetError(0).GetMessage()));
  EXPECT_EQ(1, unit.GetError(0).GetPosition());
  EXPECT_EQ("#2=POINT: WR2 violated", Str(unit.GetError(1).GetMessage()));
  EXPECT_THROW(unit.GetError(2), ZORQelI::BoundError);

  ZORQelIInstance v = unit.Eval(m.GetInstances());
  EXPECT_EQ(0, unit.NumberOfErrors());
  EXPECT_EQ(24, v.GetInteger());

  // Another schema's population is refused, by result and error.
  ZORQelIModeler other = Load(kSchema, "");
  EXPECT_EQ(ZORQelI::Ifalse, unit.Check(other.GetInstances()));
  ASSERT_EQ(1, unit.NumberOfErrors());
  EXPECT_EQ("not the population of schema rules_test", Str(unit.GetError(0).GetMessage()));
  EXPECT_EQ(ZORQelI::Itrue, ZORQelIMemRuleUnitIMP::Make(other, "").Check(other.GetInstances()));

  // Load keeps a text that parses; Save writes it back.
  const std::string dir = testing::TempDir();
  qtest::WriteFile(dir + "unit_good.exp", "'ab' + 'c'\n");
  qtest::WriteFile(dir + "unit_bad.exp", "1 +\n  * 2\n");
  EXPECT_EQ(ZORQelI::Itrue, unit.Load((dir + "unit_good.exp").c_str()));
  EXPECT_EQ("abc", Str(unit.Eval(m.GetInstances()).GetString()));
  EXPECT_EQ(ZORQelI::Ifalse, unit.Parse((dir + "unit_bad.exp").c_str()));
  ASSERT_EQ(1, unit.NumberOfErrors());
  EXPECT_EQ("expected an expression near '*'", Str(unit.GetError(0).GetMessage()));
  EXPECT_EQ(6, unit.GetError(0).GetPosition());  // the '*', byte 6
  EXPECT_EQ(ZORQelI::Itrue, unit.Save((dir + "unit_saved.exp").c_str()));
  const std::string saved = qtest::ReadFile(dir + "unit_saved.exp");
  EXPECT_EQ("'ab' + 'c'", saved.substr(0, saved.find('\n')));

  // An evaluation that fails leaves an empty handle and says why.
  ZORQelIExpression bad = ZORQelIMemRuleUnitIMP::Make(m, "1 DIV 0");
  EXPECT_EQ(ZORQelI::Ifalse, bad.Eval(m.GetInstances()).IsValid());
  ASSERT_EQ(1, bad.NumberOfErrors());
  EXPECT_EQ("line 1, column 3: division by zero", Str(bad.GetError(0).GetMessage()));
  EXPECT_EQ(0, bad.GetNumberOfParam());
  EXPECT_EQ(0, bad.GetNumberOfSubNode());
  EXPECT_THROW(bad.GetSubNode(0), ZORQelI::BoundError);
}

}  // namespace
