// Exchange files (ISO 10303-21) with the in-memory provider: reading into a
// fully resolved population, writing, a deep copy of the whole population and
// the collection of it, at 1e5 and 1e6 instances.
//
// The data is made here: a schema shaped like the building-model schemas
// (points, directions, placements, loops, products, property values carried
// by a select, relations with sets of references; single inheritance three
// levels deep) and a file that repeats one realistic block of 20 instances
// with shifted numbers, so that every block refers to its own instances and
// to those of the block before.  About 90 bytes an instance, as in real
// files.
//
// Counters: bytes/s of the exchange text; bytes_per_instance, the heap
// (malloc) bytes the population holds per instance after the read, the
// file's bytes excluded.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <cstdio>
#include <string>
#include <vector>

#include "QL0KRN.h"
#include "QL0KRNMem.h"

namespace {

const char kSchema[] = R"(
SCHEMA BENCH_P21;
TYPE label = STRING; END_TYPE;
TYPE text = STRING; END_TYPE;
TYPE length_measure = REAL; END_TYPE;
TYPE count_measure = INTEGER; END_TYPE;
TYPE identifier = STRING(22) FIXED; END_TYPE;
TYPE value = SELECT (label, text, length_measure, count_measure); END_TYPE;
TYPE change_action = ENUMERATION OF (nochange, modified, added, deleted, notdefined); END_TYPE;
ENTITY representation_item ABSTRACT SUPERTYPE; END_ENTITY;
ENTITY cartesian_point SUBTYPE OF (representation_item); coordinates : LIST [1:3] OF length_measure; END_ENTITY;
ENTITY direction SUBTYPE OF (representation_item); ratios : LIST [2:3] OF REAL; END_ENTITY;
ENTITY placement ABSTRACT SUPERTYPE SUBTYPE OF (representation_item); location : cartesian_point; END_ENTITY;
ENTITY axis2_placement_3d SUBTYPE OF (placement); axis : OPTIONAL direction; ref_direction : OPTIONAL direction; END_ENTITY;
ENTITY local_placement; relative_to : OPTIONAL local_placement; relative_placement : axis2_placement_3d; END_ENTITY;
ENTITY poly_loop SUBTYPE OF (representation_item); polygon : LIST [3:?] OF UNIQUE cartesian_point; END_ENTITY;
ENTITY owner_history; state : OPTIONAL change_action; change : change_action; modified : OPTIONAL INTEGER; created : INTEGER; END_ENTITY;
ENTITY root ABSTRACT SUPERTYPE; global_id : identifier; owner : OPTIONAL owner_history; name : OPTIONAL label; description : OPTIONAL text; END_ENTITY;
ENTITY object ABSTRACT SUPERTYPE SUBTYPE OF (root); object_type : OPTIONAL label; END_ENTITY;
ENTITY product SUBTYPE OF (object); placement : OPTIONAL local_placement; outline : OPTIONAL poly_loop; tag : OPTIONAL identifier; END_ENTITY;
ENTITY property_single_value; name : identifier; description : OPTIONAL text; nominal_value : OPTIONAL value; END_ENTITY;
ENTITY property_set SUBTYPE OF (root); has_properties : SET [1:?] OF property_single_value; END_ENTITY;
ENTITY rel_defines SUBTYPE OF (root); related_objects : SET [1:?] OF product; relating : property_set; END_ENTITY;
END_SCHEMA;
)";

// One block of 20 instances numbered from b + 1; b - 20 .. b is the block
// before (the first block refers to itself instead).
void Block(std::string& out, long b, long prev) {
  char line[320];
  auto n = [&](int i) { return b + i; };
  auto gid = [&](int i) {
    static const char digits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz_$";
    std::string g(22, '0');
    unsigned long v = static_cast<unsigned long>(b * 31 + i);
    for (int k = 21; k >= 0 && v; --k, v >>= 6) g[k] = digits[v & 63];
    return g;
  };
  const double x = static_cast<double>(b % 1000) * 0.125;
  std::snprintf(line, sizeof line, "#%ld=OWNER_HISTORY(.NOCHANGE.,.ADDED.,$,%ld);\n", n(1), 1700000000 + b);
  out += line;
  std::snprintf(line, sizeof line, "#%ld=CARTESIAN_POINT((%.3f,%.3f,0.));\n", n(2), x, x + 2.5);
  out += line;
  std::snprintf(line, sizeof line, "#%ld=CARTESIAN_POINT((%.3f,0.,3.05));\n", n(3), x + 0.3);
  out += line;
  std::snprintf(line, sizeof line, "#%ld=CARTESIAN_POINT((0.,%.4f,3.05));\n", n(4), x * 1.5);
  out += line;
  std::snprintf(line, sizeof line, "#%ld=CARTESIAN_POINT((%.2f,%.2f,%.2f));\n", n(5), x, x, x);
  out += line;
  std::snprintf(line, sizeof line, "#%ld=DIRECTION((0.,0.,1.));\n", n(6));
  out += line;
  std::snprintf(line, sizeof line, "#%ld=DIRECTION((1.,0.,0.));\n", n(7));
  out += line;
  std::snprintf(line, sizeof line, "#%ld=AXIS2_PLACEMENT_3D(#%ld,#%ld,#%ld);\n", n(8), n(2), n(6), n(7));
  out += line;
  std::snprintf(line, sizeof line, "#%ld=LOCAL_PLACEMENT(#%ld,#%ld);\n", n(9), prev + 9, n(8));
  out += line;
  std::snprintf(line, sizeof line, "#%ld=POLY_LOOP((#%ld,#%ld,#%ld,#%ld));\n", n(10), n(2), n(3), n(4), n(5));
  out += line;
  std::snprintf(line, sizeof line,
                "#%ld=PRODUCT('%s',#%ld,'Wall-%ld','Basic Wall:Exterior - 300mm',$,#%ld,#%ld,'%s');\n",
                n(11), gid(11).c_str(), n(1), b, n(9), n(10), gid(12).c_str());
  out += line;
  std::snprintf(line, sizeof line, "#%ld=PRODUCT('%s',#%ld,'Door-%ld',$,'Single-Flush',#%ld,$,$);\n",
                n(12), gid(13).c_str(), n(1), b, n(9));
  out += line;
  std::snprintf(line, sizeof line, "#%ld=PROPERTY_SINGLE_VALUE('Reference_____________',$,LABEL('Exterior - 300mm'));\n", n(13));
  out += line;
  std::snprintf(line, sizeof line, "#%ld=PROPERTY_SINGLE_VALUE('Width_________________',$,LENGTH_MEASURE(%.1f));\n", n(14), 300.0 + static_cast<double>(b % 7));
  out += line;
  std::snprintf(line, sizeof line, "#%ld=PROPERTY_SINGLE_VALUE('Count_________________','Number of layers',COUNT_MEASURE(%ld));\n", n(15), b % 5 + 1);
  out += line;
  std::snprintf(line, sizeof line, "#%ld=PROPERTY_SINGLE_VALUE('IsExternal____________',$,TEXT('yes'));\n", n(16));
  out += line;
  std::snprintf(line, sizeof line, "#%ld=PROPERTY_SET('%s',#%ld,'Pset_WallCommon',$,(#%ld,#%ld,#%ld,#%ld));\n",
                n(17), gid(17).c_str(), n(1), n(13), n(14), n(15), n(16));
  out += line;
  std::snprintf(line, sizeof line, "#%ld=REL_DEFINES('%s',#%ld,$,$,(#%ld,#%ld,#%ld),#%ld);\n", n(18),
                gid(18).c_str(), n(1), n(11), n(12), prev + 11, n(17));
  out += line;
  std::snprintf(line, sizeof line, "#%ld=CARTESIAN_POINT((%.6f,%.6f));\n", n(19), x / 3, x / 7);
  out += line;
  std::snprintf(line, sizeof line, "#%ld=AXIS2_PLACEMENT_3D(#%ld,$,$);\n", n(20), n(19));
  out += line;
}

std::string MakeFile(long instances) {
  std::string out =
      "ISO-10303-21;\nHEADER;\nFILE_DESCRIPTION(('generated'),'2;1');\n"
      "FILE_NAME('bench.p21','',(''),(''),'','','');\nFILE_SCHEMA(('BENCH_P21'));\nENDSEC;\nDATA;\n";
  out.reserve(static_cast<std::size_t>(instances) * 95);
  for (long b = 0; b < instances; b += 20) Block(out, b, b == 0 ? 0 : b - 20);
  out += "ENDSEC;\nEND-ISO-10303-21;\n";
  return out;
}

ZORQelIModeler Schema() {
  std::vector<ZORQelIModeler> schemas;
  std::vector<ZORQelIMemDiagnostic> messages;
  if (ZORQelIMemWrapper::Default().LoadSchemasText(kSchema, "bench.exp", schemas, messages) !=
      ZORQelI::Itrue) {
    std::fprintf(stderr, "%s\n", messages.empty() ? "?" : messages[0].Text().c_str());
    std::abort();
  }
  return schemas.at(0);
}

const std::string& FileOf(long instances) {
  static std::string small, large;
  std::string& f = instances <= 100000 ? small : large;
  if (f.empty()) f = MakeFile(instances);
  return f;
}

std::size_t HeapInUse() { return mallinfo2().uordblks; }

void ReadOnce(ZORQelIModeler& m, const std::string& file) {
  ZORQelIMemExchangeResult r = ZORQelIMemExchangeReader::Read(m, file.data(), file.size());
  if (!r.ok) {
    std::fprintf(stderr, "%s\n", r.diagnostics.empty() ? "?" : r.diagnostics[0].Text().c_str());
    std::abort();
  }
}

void BM_Read(benchmark::State& state) {
  const std::string& file = FileOf(state.range(0));
  double perInstance = 0;
  for (auto _ : state) {
    state.PauseTiming();
    {
      ZORQelIModeler m = Schema();
      ZORQelIVariable::GarbageCollect();
      const std::size_t before = HeapInUse();
      state.ResumeTiming();
      ReadOnce(m, file);
      state.PauseTiming();
      perInstance = static_cast<double>(HeapInUse() - before) /
                    static_cast<double>(m.GetInstances().Size());
    }
    ZORQelIVariable::GarbageCollect();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.size()));
  state.counters["bytes_per_instance"] = perInstance;
  state.counters["file_MB"] = static_cast<double>(file.size()) / 1e6;
}
BENCHMARK(BM_Read)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Write(benchmark::State& state) {
  const std::string& file = FileOf(state.range(0));
  ZORQelIModeler m = Schema();
  ReadOnce(m, file);
  std::size_t bytes = 0;
  for (auto _ : state) {
    std::string out = ZORQelIMemExchangeWriter::Write(m);
    bytes += out.size();
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(bytes));
}
BENCHMARK(BM_Write)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DeepCopy(benchmark::State& state) {
  const std::string& file = FileOf(state.range(0));
  ZORQelIModeler m = Schema();
  ReadOnce(m, file);
  ZORQelIInstanceListUnique source;
  ZORQelIInstances pop = m.GetInstances();
  for (int i = 0, n = pop.Size(); i < n; ++i) source.Add(pop.Get(i));
  for (auto _ : state) {
    state.PauseTiming();
    {
      ZORQelIModeler target = Schema();
      ZORQelIInstanceListUnique copy;
      copy.SetTargetModeler(target);
      state.ResumeTiming();
      copy.Copy(source);
      state.PauseTiming();
      if (copy.Size() != source.Size()) std::abort();
    }
    ZORQelIVariable::GarbageCollect();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * source.Size()));
}
BENCHMARK(BM_DeepCopy)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CollectPopulation(benchmark::State& state) {
  const std::string& file = FileOf(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    {
      ZORQelIModeler m = Schema();
      ReadOnce(m, file);
    }
    state.ResumeTiming();
    ZORQelIVariable::GarbageCollect();
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * state.range(0)));
}
BENCHMARK(BM_CollectPopulation)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
