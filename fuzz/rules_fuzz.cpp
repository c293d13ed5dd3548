// The rule evaluator on arbitrary bytes: each input is evaluated as an
// expression with SELF an instance of a small population whose schema has
// functions and a procedure with every kind of statement.  Every input
// either gives a value or raises ZORQelI::Exception (a syntax error, a
// failed or unsupported evaluation); nothing else escapes, nothing crashes
// or runs away.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "QL0KRN.h"
#include "QL0KRNMem.h"
#include "ZORQelIMemRuleChecker.h"

namespace {

const char kSchema[] = R"(SCHEMA fuzz_rules;
TYPE colour = ENUMERATION OF (red, green); END_TYPE;
TYPE positive = INTEGER; WHERE WR1 : SELF > 0; END_TYPE;
ENTITY node;
  name : STRING;
  next : OPTIONAL node;
  values : LIST [0:?] OF REAL;
  c : colour;
  n : positive;
DERIVE
  size : INTEGER := SIZEOF(values);
INVERSE
  prev : SET [0:?] OF node FOR next;
WHERE
  WR1 : size >= 0;
END_ENTITY;
FUNCTION walk(x : node; k : INTEGER) : INTEGER;
LOCAL
  r : LIST OF INTEGER := [];
  i : INTEGER := 0;
END_LOCAL;
  REPEAT j := 1 TO k BY 2 WHILE j < 50 UNTIL j > 40;
    IF ODD(j) THEN r := r + j; ELSE SKIP; END_IF;
    CASE j OF 5 : ESCAPE; OTHERWISE : i := i + 1; END_CASE;
  END_REPEAT;
  ALIAS y FOR x.next; i := i + NVL(y.n, 0); END_ALIAS;
  IF EXISTS(x.next) AND (k > 0) THEN RETURN (walk(x.next, k - 1) + i); END_IF;
  RETURN (SIZEOF(r) + i);
END_FUNCTION;
PROCEDURE bump(VAR l : LIST OF INTEGER; k : INTEGER);
  INSERT(l, k, 0);
  IF SIZEOF(l) > 3 THEN REMOVE(l, 1); END_IF;
END_PROCEDURE;
FUNCTION shape(x : node) : STRING;
LOCAL
  r : LIST OF INTEGER := [];
  c : node := node(x.name, ?, [], x.c, x.n);
END_LOCAL;
  bump(r, x.n);
  bump(r, 2);
  c.name := FORMAT(SIZEOF(r), '+03I') + FORMAT(x.n, '#.#');
  RETURN (c.name);
END_FUNCTION;
END_SCHEMA;
)";

const char kData[] =
    "ISO-10303-21;\nHEADER;\nFILE_DESCRIPTION((''),'2;1');\n"
    "FILE_NAME('','',(''),(''),'','','');\nFILE_SCHEMA(('FUZZ_RULES'));\nENDSEC;\nDATA;\n"
    "#1=NODE('a',#2,(1.,2.5),.RED.,3);\n#2=NODE('b',#1,(),.GREEN.,7);\n#3=NODE('c',$,(0.),.RED.,1);\n"
    "ENDSEC;\nEND-ISO-10303-21;\n";

ZORQelIMemRuleChecker* Checker() {
  static ZORQelIModeler schema;
  static ZORQelIMemRuleChecker* checker = [] {
    std::vector<ZORQelIModeler> schemas;
    std::vector<ZORQelIMemDiagnostic> messages;
    if (ZORQelIMemWrapper::Default().LoadSchemasText(kSchema, "fuzz_rules.exp", schemas,
                                                     messages) != ZORQelI::Itrue) {
      std::fprintf(stderr, "the fuzz schema does not load\n");
      std::abort();
    }
    schema = schemas.at(0);
    ZORQelIMemExchangeOptions o;
    if (!ZORQelIMemExchangeReader::Read(schema, kData, sizeof kData - 1, o).ok) {
      std::fprintf(stderr, "the fuzz population does not read\n");
      std::abort();
    }
    return new ZORQelIMemRuleChecker(schema);
  }();
  return checker;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  ZORQelIMemRuleChecker* c = Checker();
  for (int self : {1, 3}) {
    try {
      c->Evaluate(self, text);
    } catch (const ZORQelI::Exception&) {
      // a located refusal: what the evaluator owes bad input
    }
  }
  return 0;
}
