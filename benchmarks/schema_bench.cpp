// Loading EXPRESS schemas (ZORQelIMemWrapper::LoadSchemasText, every schema
// of the text): a generated schema of the size of IFC4 (766 entities, about
// 400 TYPE declarations, rules and functions, 13,000 lines), 65 generated
// schemas that interface each other (800 KB), and, when they are present, the real schemas
// beside the checkout (QL0KRN_REAL_DATA/schemas/*.exp) or the file named by
// the environment variable QL0KRN_SCHEMA_FILE.  Reports lines per second,
// the heap a loaded dictionary holds, and that a collection after it is
// dropped reclaims every object of it.
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "QL0KRNMem.h"

#ifndef QL0KRN_REAL_DATA
#define QL0KRN_REAL_DATA "../shared/data/real"
#endif

namespace {

double HeapInUse() {
  struct mallinfo2 info = mallinfo2();
  return static_cast<double>(info.uordblks + info.hblkhd);
}

// A schema shaped like IFC4: measure types with rules, enumerations, selects,
// an inheritance forest with explicit, derived and inverse attributes and
// rules, and functions with statements.  Deterministic.
std::string Synthetic() {
  std::string s = "SCHEMA SYNTHETIC4;\n\n";
  unsigned seed = 12345;
  auto next = [&seed](unsigned n) {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 8) % n;
  };
  const int measures = 130, enums = 206, selects = 60, entities = 766, functions = 45;
  for (int i = 0; i < measures; ++i) {
    const char* base[] = {"REAL", "INTEGER", "STRING(255)", "NUMBER", "BOOLEAN", "LIST [3:3] OF INTEGER"};
    s += "TYPE Measure" + std::to_string(i) + " = " + base[i % 6] + ";\n";
    if (i % 3 == 0) s += " WHERE\n\t WR1 : SELF > 0.;\n";
    s += "END_TYPE;\n\n";
  }
  for (int i = 0; i < enums; ++i) {
    s += "TYPE Enum" + std::to_string(i) + " = ENUMERATION OF\n\t(";
    int n = 3 + static_cast<int>(next(12));
    for (int k = 0; k < n; ++k) s += (k ? "\n\t," : "") + std::string("ITEM_") + std::to_string(k);
    s += ");\nEND_TYPE;\n\n";
  }
  for (int i = 0; i < selects; ++i) {
    s += "TYPE Select" + std::to_string(i) + " = SELECT\n\t(Entity" + std::to_string(next(entities)) +
         "\n\t,Entity" + std::to_string(next(entities)) + "\n\t,Measure" +
         std::to_string(next(measures)) + ");\nEND_TYPE;\n\n";
  }
  for (int i = 0; i < entities; ++i) {
    std::string name = "Entity" + std::to_string(i);
    s += "ENTITY " + name;
    if (i % 7 == 0) s += "\n ABSTRACT SUPERTYPE OF (ONEOF\n\t(Entity" + std::to_string(i + 1) + "))";
    if (i > 0) s += "\n SUBTYPE OF (Entity" + std::to_string(next(i)) + ")";
    s += ";\n";
    int attrs = static_cast<int>(next(5));
    for (int k = 0; k < attrs; ++k) {
      std::string a = "\tA" + std::to_string(i) + "_" + std::to_string(k) + " : ";
      switch (next(5)) {
        case 0: a += "OPTIONAL Measure" + std::to_string(next(measures)); break;
        case 1: a += "Enum" + std::to_string(next(enums)); break;
        case 2: a += "SET [1:?] OF Entity" + std::to_string(next(entities)); break;
        case 3: a += "OPTIONAL Select" + std::to_string(next(selects)); break;
        default: a += "LIST [2:?] OF LIST [2:?] OF Measure" + std::to_string(next(measures)); break;
      }
      s += a + ";\n";
    }
    if (i % 4 == 0) {
      s += " DERIVE\n\tD" + std::to_string(i) +
           " : INTEGER := SIZEOF(QUERY(Temp <* SELF\\" + name + ".A" + std::to_string(i) +
           "_0 | NOT(EXISTS(Temp))));\n";
    }
    if (i % 5 == 0) {
      s += " INVERSE\n\tI" + std::to_string(i) + " : SET [0:?] OF Entity" +
           std::to_string(next(entities)) + " FOR Ref;\n";
    }
    if (i % 2 == 0) {
      s += " WHERE\n\tWR1 : (SIZEOF(SELF\\" + name +
           ".Items) > 0) OR ('SYNTHETIC4.ENTITY1' IN TYPEOF(SELF)) AND (HIINDEX(Items) <= 3);\n"
           "\tWR2 : NOT(EXISTS(Tag)) OR (Tag = Enum1.ITEM_0);\n";
    }
    s += "END_ENTITY;\n\n";
  }
  for (int i = 0; i < functions; ++i) {
    s += "FUNCTION Fn" + std::to_string(i) +
         "\n (Arg : AGGREGATE OF GENERIC:T; Dim : INTEGER)\n : LOGICAL;\n"
         "  LOCAL\n    Result : LOGICAL := TRUE;\n    Cnt : INTEGER := 0;\n  END_LOCAL;\n";
    for (int k = 0; k < 8; ++k) {
      s += "  REPEAT i := LOINDEX(Arg) TO HIINDEX(Arg);\n"
           "    IF (Arg[i] :<>: ?) AND ('SYNTHETIC4.ENTITY" + std::to_string(k) +
           "' IN TYPEOF(Arg[i])) THEN\n      Cnt := Cnt + 1;\n    ELSE\n"
           "      Result := Result AND (SIZEOF(QUERY(e <* Arg | e = Arg[i])) = 1);\n    END_IF;\n"
           "  END_REPEAT;\n";
    }
    s += "  RETURN (Result AND (Cnt = Dim));\nEND_FUNCTION;\n\n";
  }
  s += "RULE Rule1 FOR (Entity1);\nWHERE\n  WR1 : SIZEOF(Entity1) <= 1;\nEND_RULE;\n\nEND_SCHEMA;\n";
  return s;
}

// 65 schemas (the number of AP214's), each of 40 enumerations and a chain of
// 60 entities with rules, each interfacing six others (whole, or five named
// entities), in cycles: about 800 KB and 33,000 lines.  Deterministic.
std::string SyntheticMulti() {
  std::string s;
  unsigned seed = 777;
  auto next = [&seed](unsigned n) {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 8) % n;
  };
  const int schemas = 65;
  for (int i = 0; i < schemas; ++i) {
    const std::string n = std::to_string(i);
    s += "SCHEMA s" + n + ";\n";
    for (int k = 0; k < 6; ++k) {
      int u = static_cast<int>(next(schemas));
      if (u == i) continue;
      if (next(2) == 0) {
        s += "  USE FROM s" + std::to_string(u) + ";\n";
      } else {
        s += "  REFERENCE FROM s" + std::to_string(u) + " (";
        for (int j = 0; j < 5; ++j) s += (j ? ", e" : "e") + std::to_string(u) + "_" + std::to_string(next(60));
        s += ");\n";
      }
    }
    for (int t = 0; t < 40; ++t) {
      s += "TYPE t" + n + "_" + std::to_string(t) + " = ENUMERATION OF (a, b, c);\nEND_TYPE;\n";
    }
    for (int k = 0; k < 60; ++k) {
      const std::string e = n + "_" + std::to_string(k);
      s += "ENTITY e" + e;
      if (k > 0) s += "\n  SUBTYPE OF (e" + n + "_" + std::to_string(k - 1) + ")";
      s += ";\n  a" + e + " : OPTIONAL t" + n + "_" + std::to_string(k % 40) + ";\n  b" + e +
           " : SET [1:?] OF e" + n + "_" + std::to_string(next(60)) +
           ";\nWHERE\n  wr1 : SIZEOF(QUERY(x <* b" + e + " | NOT EXISTS(x))) = 0;\nEND_ENTITY;\n";
    }
    s += "END_SCHEMA;\n\n";
  }
  return s;
}

long Lines(const std::string& s) {
  long n = 0;
  for (char c : s) n += c == '\n';
  return n;
}

void LoadBench(benchmark::State& state, const std::string& text) {
  ZORQelIMemWrapper& w = ZORQelIMemWrapper::Default();
  double heap = 0;
  long objects = 0;
  bool reclaimed = true;
  for (auto _ : state) {
    state.PauseTiming();
    ZORQelIVariable::GarbageCollect();
    const ZORQelI::integer before = ZORQelIVariable::GetInstancesCount__();
    const double heapBefore = HeapInUse();
    {
      state.ResumeTiming();
      std::vector<ZORQelIModeler> all;
      std::vector<ZORQelIMemDiagnostic> messages;
      ZORQelI::boolean ok = w.LoadSchemasText(text, "bench.exp", all, messages);
      state.PauseTiming();
      if (ok != ZORQelI::Itrue) {
        state.SkipWithError(messages.empty() ? "load failed" : messages[0].Text().c_str());
        break;
      }
      ZORQelIVariable::GarbageCollect();
      heap = HeapInUse() - heapBefore;
      objects = ZORQelIVariable::GetInstancesCount__() - before;
    }
    ZORQelIVariable::GarbageCollect();
    ZORQelIVariable::GarbageCollect();
    reclaimed = reclaimed && ZORQelIVariable::GetInstancesCount__() == before;
    state.ResumeTiming();
  }
  const long lines = Lines(text);
  state.counters["lines"] = static_cast<double>(lines);
  state.counters["lines/s"] = benchmark::Counter(static_cast<double>(lines) * state.iterations(),
                                                 benchmark::Counter::kIsRate);
  state.counters["dict_bytes"] = heap;
  state.counters["objects"] = static_cast<double>(objects);
  state.counters["reclaimed"] = reclaimed ? 1 : 0;
  state.SetBytesProcessed(static_cast<std::int64_t>(text.size()) * state.iterations());
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace

int main(int argc, char** argv) {
  static const std::string synthetic = Synthetic();
  static const std::string multi = SyntheticMulti();
  benchmark::RegisterBenchmark("LoadSchema/synthetic_ifc4_size",
                               [](benchmark::State& st) { LoadBench(st, synthetic); })
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("LoadSchema/synthetic_65_schemas",
                               [](benchmark::State& st) { LoadBench(st, multi); })
      ->Unit(benchmark::kMillisecond);
  static std::vector<std::pair<std::string, std::string>> files;
  if (const char* f = std::getenv("QL0KRN_SCHEMA_FILE")) files.emplace_back(f, ReadFile(f));
  const std::string dir = std::string(QL0KRN_REAL_DATA) + "/schemas";
  if (DIR* d = opendir(dir.c_str())) {
    while (dirent* e = readdir(d)) {
      std::string n = e->d_name;
      if (n.size() > 4 && (n.substr(n.size() - 4) == ".exp" || n.substr(n.size() - 4) == ".EXP")) {
        files.emplace_back(dir + "/" + n, ReadFile(dir + "/" + n));
      }
    }
    closedir(d);
  } else {
    std::fprintf(stderr, "%s does not exist: only the generated schema is loaded\n", dir.c_str());
  }
  for (const auto& f : files) {
    const std::string* text = &f.second;
    benchmark::RegisterBenchmark(("LoadSchema/" + f.first.substr(f.first.rfind('/') + 1)).c_str(),
                                 [text](benchmark::State& st) { LoadBench(st, *text); })
        ->Unit(benchmark::kMillisecond);
  }
  if (std::getenv("QL0KRN_DUMP_SYNTHETIC")) std::fwrite(synthetic.data(), 1, synthetic.size(), stdout);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
