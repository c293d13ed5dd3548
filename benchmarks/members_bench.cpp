// Collections of heaps whose references are handle members, the way clients
// write them, beside the Boehm-Demers-Weiser collector's on the same shapes
// (boehm_peer.cpp, run in the same round by run_all.sh):
//  - a whole collection of a live chain (48-byte nodes, one handle member)
//    and a live random graph of out-degree 2 (72-byte nodes, two handle
//    members), at 10^5 and 10^6 nodes, built in two ways: every node made
//    first and then linked, or each linked as the next is made;
//  - 10^5 unreachable 40-byte objects collected, against deleting as many.
// With --history the process first does the work of History() (containers
// built and dropped, a million handles that lived and died below one that
// stays); without it the program should be run one benchmark per process
// for a fresh process's figure (run_all.sh does).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "BenchSupport.h"
#include "QL0KRN.h"

namespace {

void SetRate(benchmark::State& state, std::int64_t n) {
  state.counters["objects/s"] =
      benchmark::Counter(static_cast<double>(n), benchmark::Counter::kIsIterationInvariantRate);
}

// shape 0: chain, 1: graph; made 1: made first then linked, 0: linked as made.
void BM_MemberCollect(benchmark::State& state) {
  const bool graph = state.range(0) == 1;
  const bool madeFirst = state.range(1) == 1;
  const std::int64_t n = state.range(2);
  CollectAll();
  {
    ZORQelIObject keep(graph ? static_cast<ZORQelIObjectIMP*>(MemberGraph(n, madeFirst))
                             : static_cast<ZORQelIObjectIMP*>(MemberChain(n, madeFirst)));
    // The first collection turns the members into members (out of the
    // static table); the measured ones are those a long-lived heap sees.
    ZORQelIVariable::GarbageCollect();
    for (auto _ : state) ZORQelIVariable::GarbageCollect();
  }
  SetRate(state, n);
  CollectAll();
}
void MemberArgs(benchmark::internal::Benchmark* b) {
  b->ArgNames({"shape", "made_first", "n"});
  for (int shape : {0, 1})
    for (int made : {1, 0})
      for (int n : {100000, 1000000}) b->Args({shape, made, n});
  b->Unit(benchmark::kMillisecond);
}
BENCHMARK(BM_MemberCollect)->Apply(MemberArgs);

void BM_MemberCollectUnreachable(benchmark::State& state) {
  const std::int64_t n = state.range(0);
  CollectAll();
  for (auto _ : state) {
    state.PauseTiming();
    for (std::int64_t i = 0; i < n; ++i) new LeafIMP();
    state.ResumeTiming();
    ZORQelIVariable::GarbageCollect();
  }
  SetRate(state, n);
}
BENCHMARK(BM_MemberCollectUnreachable)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_MemberDeleteDirectly(benchmark::State& state) {
  const std::int64_t n = state.range(0);
  std::vector<Plain*> objects(static_cast<std::size_t>(n));
  for (auto _ : state) {
    state.PauseTiming();
    for (Plain*& p : objects) p = new Plain();
    state.ResumeTiming();
    for (std::int64_t i = n - 1; i >= 0; --i) delete objects[static_cast<std::size_t>(i)];
  }
  SetRate(state, n);
}
BENCHMARK(BM_MemberDeleteDirectly)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  bool history = false;
  int kept = 1;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--history") == 0)
      history = true;
    else
      argv[kept++] = argv[i];
  }
  argc = kept;
  ZORQelIObject* stays = history ? History() : nullptr;
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  delete stays;
  return 0;
}
