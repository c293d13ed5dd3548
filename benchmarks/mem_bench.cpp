// The in-memory provider under load: a population of 10^6 entity instances
// with three attributes (Integer, Real, String), made, written and read
// through the handles, then dropped and collected; and the memory each
// instance costs against a plain C++ struct holding the same values.
//
// Each benchmark runs once (the population is the unit of work).  Heap use
// is read from the allocator (mallinfo2), as bytes in use, so it counts what
// the objects really take, allocator overhead included.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "QL0KRNMem.h"

namespace {

constexpr int kInstances = 1000000;

double HeapInUse() {
  struct mallinfo2 info = mallinfo2();
  return static_cast<double>(info.uordblks + info.hblkhd);
}

// The label of instance i: short enough for every string's small-buffer.
std::string Label(int i) { return "n" + std::to_string(i); }

struct Schema {
  ZORQelIModeler m = ZORQelIMemWrapper::Default().NewModeler("Bench");
  ZORQelIEntity item = m.MakeEntity("Item");
  ZORQelIAttr count = item.CreateAttr("count", m.MakeInteger(), ZORQelI::Ifalse);
  ZORQelIAttr weight = item.CreateAttr("weight", m.MakeReal(), ZORQelI::Ifalse);
  ZORQelIAttr label = item.CreateAttr("label", m.MakeString(), ZORQelI::Ifalse);
  ZORQelIInstances pop = m.GetInstances();

  void Create() {
    for (int i = 0; i < kInstances; ++i) pop.Instanciate(item);
  }
  void Write() {
    for (int i = 0; i < kInstances; ++i) {
      ZORQelIInstance x = pop.Get(i);
      x.GetAttr(count).PutInt(i);
      x.GetAttr(weight).PutReal(0.5 * i);
      x.GetAttr(label).PutString(Label(i).c_str());
    }
  }
  long long Read() {
    long long sum = 0;
    for (int i = 0; i < kInstances; ++i) {
      ZORQelIInstance x = pop.Get(i);
      sum += x.GetAttr(count).GetInt();
      sum += static_cast<long long>(x.GetAttr(weight).GetReal());
      sum += x.GetAttr(label).GetString().GetLengthInChar();
    }
    return sum;
  }
};

// What the provider is compared with: the same three values and the
// instance's place in its population (an index into a vector of pointers).
struct PlainItem {
  int count;
  double weight;
  std::string label;
};

void BM_PlainStructBaseline(benchmark::State& state) {
  for (auto _ : state) {
    double before = HeapInUse();
    std::vector<std::unique_ptr<PlainItem>> population;
    population.reserve(kInstances);
    for (int i = 0; i < kInstances; ++i) {
      population.emplace_back(new PlainItem{i, 0.5 * i, Label(i)});
    }
    state.counters["bytes_per_instance"] = (HeapInUse() - before) / kInstances;
    benchmark::DoNotOptimize(population.data());
  }
  state.counters["instances_per_s"] =
      benchmark::Counter(kInstances, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_MemCreate(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    CollectAll();
    double before = HeapInUse();
    auto s = std::make_unique<Schema>();
    state.ResumeTiming();
    s->Create();
    state.PauseTiming();
    state.counters["bytes_per_instance_empty"] = (HeapInUse() - before) / kInstances;
    s->Write();
    double peak = HeapInUse();  // the written values plus the cells made to write them
    CollectAll();
    state.counters["bytes_per_instance_written"] = (HeapInUse() - before) / kInstances;
    state.counters["peak_bytes_per_instance"] = (peak - before) / kInstances;
    s.reset();
    CollectAll();
    state.ResumeTiming();
  }
  state.counters["instances_per_s"] =
      benchmark::Counter(kInstances, benchmark::Counter::kIsIterationInvariantRate);
}

// Times `work` on a new schema that `prepare` readied; the schema's making
// and preparing, and its drop and collection, are left out of the timing.
template <class Prepare, class Work>
void OnNewSchema(benchmark::State& state, Prepare prepare, Work work) {
  for (auto _ : state) {
    state.PauseTiming();
    auto s = std::make_unique<Schema>();
    prepare(*s);
    state.ResumeTiming();
    work(*s);
    state.PauseTiming();
    s.reset();
    CollectAll();
    state.ResumeTiming();
  }
  state.counters["values_per_s"] =
      benchmark::Counter(3.0 * kInstances, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_MemWriteEveryAttribute(benchmark::State& state) {
  OnNewSchema(state, [](Schema& s) { s.Create(); }, [](Schema& s) { s.Write(); });
}

void BM_MemReadEveryAttribute(benchmark::State& state) {
  OnNewSchema(
      state,
      [](Schema& s) {
        s.Create();
        s.Write();
        CollectAll();
      },
      [](Schema& s) { benchmark::DoNotOptimize(s.Read()); });
}

// Collecting the dropped, written population: every instance, its string
// values, the schema.
void BM_MemCollectDropped(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    CollectAll();
    ZORQelI::integer floor = ZORQelIVariable::GetInstancesCount__();
    auto s = std::make_unique<Schema>();
    s->Create();
    s->Write();
    CollectAll();  // the write's cells, so what remains is the population
    ZORQelI::integer objects = ZORQelIVariable::GetInstancesCount__() - floor;
    s.reset();
    state.ResumeTiming();
    ZORQelIVariable::GarbageCollect();
    state.PauseTiming();
    state.counters["objects_reclaimed"] =
        static_cast<double>(objects - (ZORQelIVariable::GetInstancesCount__() - floor));
    state.ResumeTiming();
  }
  state.counters["objects_per_s"] =
      benchmark::Counter(kInstances, benchmark::Counter::kIsIterationInvariantRate);
}

BENCHMARK(BM_PlainStructBaseline)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemCreate)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemWriteEveryAttribute)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemReadEveryAttribute)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemCollectDropped)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
