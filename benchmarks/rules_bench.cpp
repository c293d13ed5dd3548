// Rule checking with the in-memory provider: reading a generated exchange
// file, then checking its population against the schema's rules, at 1e4 and
// 1e5 instances.
//
// The schema has the rule shapes of the building-model schemas: WHERE rules
// of entities and supertypes using SIZEOF, TYPEOF, QUERY, EXISTS and a user
// function with a loop, WHERE rules of defined types on attribute values,
// an INVERSE attribute with its cardinality and a UNIQUE rule.  The file
// repeats a block of 10 instances that keeps every rule.
//
// Counters: rules/s, rule evaluations a second (the "R rules evaluated" of
// ql0krn check); the read benchmark gives the time to compare with.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "QL0KRN.h"
#include "QL0KRNMem.h"
#include "ZORQelIMemRuleChecker.h"

namespace {

const char kSchema[] = R"(
SCHEMA BENCH_RULES;
TYPE positive_length = REAL; WHERE WR1 : SELF > 0.0; END_TYPE;
TYPE label = STRING; WHERE WR1 : LENGTH(SELF) < 256; END_TYPE;
TYPE dimension_count = INTEGER; WHERE WR1 : {0 < SELF <= 3}; END_TYPE;
ENTITY representation_item ABSTRACT SUPERTYPE; END_ENTITY;
ENTITY cartesian_point SUBTYPE OF (representation_item);
  coordinates : LIST [1:3] OF REAL;
DERIVE
  dim : dimension_count := HIINDEX(coordinates);
WHERE
  WR1 : HIINDEX(coordinates) >= 2;
END_ENTITY;
ENTITY direction SUBTYPE OF (representation_item);
  ratios : LIST [2:3] OF REAL;
WHERE
  WR1 : norm(ratios) > 0.0;
END_ENTITY;
ENTITY placement SUBTYPE OF (representation_item);
  location : cartesian_point;
  axis : OPTIONAL direction;
WHERE
  WR1 : location.dim = 3;
  WR2 : NOT EXISTS(axis) OR (SIZEOF(axis.ratios) = 3);
END_ENTITY;
ENTITY root ABSTRACT SUPERTYPE;
  global_id : STRING;
  name : OPTIONAL label;
UNIQUE
  UR1 : global_id;
WHERE
  WR1 : LENGTH(global_id) = 22;
END_ENTITY;
ENTITY product SUBTYPE OF (root);
  placement : OPTIONAL placement;
  width : positive_length;
INVERSE
  defined_by : SET [0:?] OF rel_defines FOR related;
WHERE
  WR2 : SIZEOF(QUERY(t <* TYPEOF(SELF) | t = 'BENCH_RULES.PRODUCT')) = 1;
  WR3 : SIZEOF(defined_by) <= 1;
END_ENTITY;
ENTITY rel_defines SUBTYPE OF (root);
  related : SET [1:?] OF product;
WHERE
  WR2 : SIZEOF(QUERY(p <* related | NOT('BENCH_RULES.PRODUCT' IN TYPEOF(p)))) = 0;
END_ENTITY;
FUNCTION norm(v : LIST OF REAL) : REAL;
LOCAL
  s : REAL := 0.0;
END_LOCAL;
  REPEAT i := 1 TO SIZEOF(v);
    s := s + v[i] * v[i];
  END_REPEAT;
  RETURN (SQRT(s));
END_FUNCTION;
END_SCHEMA;
)";

std::string Id(long n) {
  std::string s = std::to_string(n);
  return std::string(22 - s.size(), '0') + s;
}

// Blocks of 10 instances numbered from b + 1.
std::string File(long instances) {
  std::string out =
      "ISO-10303-21;\nHEADER;\nFILE_DESCRIPTION((''),'2;1');\n"
      "FILE_NAME('','',(''),(''),'','','');\nFILE_SCHEMA(('BENCH_RULES'));\nENDSEC;\nDATA;\n";
  for (long b = 0; b + 10 <= instances; b += 10) {
    auto n = [&](int i) { return "#" + std::to_string(b + i); };
    out += n(1) + "=CARTESIAN_POINT((0.,1.,2.));\n";
    out += n(2) + "=DIRECTION((0.,0.,1.));\n";
    out += n(3) + "=PLACEMENT(" + n(1) + "," + n(2) + ");\n";
    out += n(4) + "=CARTESIAN_POINT((3.,4.,5.));\n";
    out += n(5) + "=PLACEMENT(" + n(4) + ",$);\n";
    out += n(6) + "=PRODUCT('" + Id(b + 6) + "','wall'," + n(3) + ",0.2);\n";
    out += n(7) + "=PRODUCT('" + Id(b + 7) + "','slab'," + n(5) + ",0.3);\n";
    out += n(8) + "=PRODUCT('" + Id(b + 8) + "',$,$,1.5);\n";
    out += n(9) + "=REL_DEFINES('" + Id(b + 9) + "',$,(" + n(6) + "," + n(7) + "));\n";
    out += n(10) + "=DIRECTION((1.,0.));\n";
  }
  return out + "ENDSEC;\nEND-ISO-10303-21;\n";
}

ZORQelIModeler Schema() {
  std::vector<ZORQelIModeler> schemas;
  std::vector<ZORQelIMemDiagnostic> messages;
  ZORQelIMemWrapper::Default().LoadSchemasText(kSchema, "bench_rules.exp", schemas, messages);
  return schemas.at(0);
}

bool Read(ZORQelIModeler m, const std::string& data) {
  ZORQelIMemExchangeOptions o;
  o.fileName = "bench.p21";
  return ZORQelIMemExchangeReader::Read(m, data.data(), data.size(), o).ok;
}

void BM_Read(benchmark::State& state) {
  const std::string data = File(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    {
      ZORQelIModeler m = Schema();
      state.ResumeTiming();
      if (!Read(m, data)) state.SkipWithError("the file did not read");
      state.PauseTiming();
    }
    ZORQelIVariable::GarbageCollect();
    state.ResumeTiming();
  }
}

void BM_Check(benchmark::State& state) {
  const std::string data = File(state.range(0));
  ZORQelIModeler m = Schema();
  if (!Read(m, data)) state.SkipWithError("the file did not read");
  std::size_t evaluated = 0;
  for (auto _ : state) {
    ZORQelIMemRuleChecker checker(m);
    ZORQelIMemRuleReport r = checker.Check();
    if (r.violations != 0 || r.unsupported != 0) state.SkipWithError("the file breaks a rule");
    evaluated += r.evaluated;
    benchmark::DoNotOptimize(r);
  }
  state.counters["rules/s"] =
      benchmark::Counter(static_cast<double>(evaluated), benchmark::Counter::kIsRate);
}

BENCHMARK(BM_Read)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Check)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
