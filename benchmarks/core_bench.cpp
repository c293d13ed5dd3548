// The object core under load:
//  - a handle copy-constructed and destroyed, against a std::shared_ptr
//    copied and destroyed;
//  - a collection of 10^5 and 10^6 unreachable objects, against deleting as
//    many 40-byte objects with a virtual destructor directly;
//  - marking a live chain of 10^6 objects and a live random graph of 10^6
//    objects of out-degree 2 (objects per second), and a whole cycle over
//    the live chain.
//
// main starts and joins one thread before the runs, as a multi-threaded
// client would (the standard library then counts shared_ptr references with
// atomic operations); --single-thread skips it, for the figures of a process
// that never started a thread.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "BenchMain.h"
#include "BenchSupport.h"
#include "QL0KRN.h"

namespace {

// --- Handle copies ---------------------------------------------------------------

void BM_HandleCopyDestroy(benchmark::State& state) {
  ZORQelIObject h(new LeafIMP());
  for (auto _ : state) {
    ZORQelIObject copy(h);
    benchmark::DoNotOptimize(&copy);
  }
}
BENCHMARK(BM_HandleCopyDestroy);

void BM_SharedPtrCopyDestroy(benchmark::State& state) {
  auto p = std::make_shared<Plain>();
  for (auto _ : state) {
    std::shared_ptr<Plain> copy(p);
    benchmark::DoNotOptimize(&copy);
  }
}
BENCHMARK(BM_SharedPtrCopyDestroy);

// --- Reclaiming unreachable objects --------------------------------------------------

void BM_CollectUnreachable(benchmark::State& state) {
  const std::int64_t n = state.range(0);
  CollectAll();
  for (auto _ : state) {
    state.PauseTiming();
    for (std::int64_t i = 0; i < n; ++i) new LeafIMP();
    state.ResumeTiming();
    ZORQelIVariable::GarbageCollect();
  }
  state.counters["objects/s"] =
      benchmark::Counter(static_cast<double>(n), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_CollectUnreachable)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_DeleteDirectly(benchmark::State& state) {
  const std::int64_t n = state.range(0);
  std::vector<Plain*> objects(static_cast<std::size_t>(n));
  for (auto _ : state) {
    state.PauseTiming();
    for (auto& p : objects) p = new Plain();
    state.ResumeTiming();
    // Newest first, the order in which the sweep meets its objects.
    for (std::int64_t i = n - 1; i >= 0; --i) delete objects[static_cast<std::size_t>(i)];
  }
  state.counters["objects/s"] =
      benchmark::Counter(static_cast<double>(n), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_DeleteDirectly)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// --- Marking live graphs ---------------------------------------------------------------

constexpr int kLive = 1000000;

// Marks everything reached from `root`, then clears the marks again
// (untimed); counts the objects marked.
void MarkFrom(benchmark::State& state, NodeIMP* root) {
  ZORQelIObject keep(root);
  std::int64_t marked = 0;
  for (auto _ : state) {
    CountedNodeIMP::checks = 0;
    root->GarbageCollectorScan();
    marked = CountedNodeIMP::checks;
    state.PauseTiming();
    for (ZORQelIObjectIMP* o = ZORQelIObjectIMP::list_.head; o != nullptr; o = o->Next())
      o->TestAndSetGarbageCollectorHit();
    state.ResumeTiming();
  }
  state.counters["marked"] = static_cast<double>(marked);
  state.counters["objects/s"] =
      benchmark::Counter(static_cast<double>(marked), benchmark::Counter::kIsIterationInvariantRate);
}

void BM_MarkLiveChain(benchmark::State& state) {
  CollectAll();
  MarkFrom(state, Chain<CountedNodeIMP>(kLive));
  CollectAll();
}
BENCHMARK(BM_MarkLiveChain)->Unit(benchmark::kMillisecond);

void BM_MarkLiveRandomGraph(benchmark::State& state) {
  CollectAll();
  MarkFrom(state, RandomGraph<CountedNodeIMP>(kLive));
  CollectAll();
}
BENCHMARK(BM_MarkLiveRandomGraph)->Unit(benchmark::kMillisecond);

// A whole cycle (both table scans, the marking and the sweep of survivors)
// over a live chain.
void BM_CycleLiveChain(benchmark::State& state) {
  CollectAll();
  {
    ZORQelIObject keep(Chain<CountedNodeIMP>(kLive));
    ZORQelIVariable::GarbageCollect();
    for (auto _ : state) ZORQelIVariable::GarbageCollect();
  }
  state.counters["objects/s"] =
      benchmark::Counter(static_cast<double>(kLive), benchmark::Counter::kIsIterationInvariantRate);
  CollectAll();
}
BENCHMARK(BM_CycleLiveChain)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  const bool singleThread = TakeFlag(argc, argv, "--single-thread");
  benchmark::AddCustomContext("threads started before the runs", singleThread ? "0" : "1");
  return RunBenchmarks(argc, argv, !singleThread);
}
