// The peers the other benchmark files leave out, each beside the library's
// figure on the same shape, in the same process:
//  - a whole collection (ZORQelIVariable::GarbageCollect) on a live chain, a
//    live random graph of out-degree 2 and all garbage, at 10^5 and 10^6
//    objects of 40 bytes: the shapes boehm_peer.cpp gives the
//    Boehm-Demers-Weiser collector (built and run by run_all.sh);
//  - a traced no-op (tracing off) against an untraced out-of-line call;
//  - ZORQelIArray::Add against std::vector<void*>::push_back;
//  - ZORQelIListUnique and ZORQelISet add then look, 10^4 to 10^6 identifiers,
//    against std::unordered_set with the identifiers' own HashCode/Equal.
//
// main starts and joins one thread first, as a threaded client would.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "BenchMain.h"
#include "BenchSupport.h"
#include "QL0KRN.h"

namespace {

enum Shape { kChain = 0, kGraph = 1, kGarbage = 2 };

// Builds a heap of n nodes of the given shape; returns the root (nullptr for
// all garbage).
NodeIMP* Build(Shape shape, std::int64_t n) {
  if (shape == kChain) return Chain<NodeIMP>(n);
  if (shape == kGraph) return RandomGraph<NodeIMP>(n);
  for (std::int64_t i = 0; i < n; ++i) new NodeIMP();
  return nullptr;
}

void SetRate(benchmark::State& state, std::int64_t n) {
  state.counters["objects/s"] =
      benchmark::Counter(static_cast<double>(n), benchmark::Counter::kIsIterationInvariantRate);
}

// Library: a whole cycle over a live heap held by one handle; for all
// garbage, the heap is rebuilt (untimed) before each cycle.
void BM_LibCollect(benchmark::State& state) {
  const auto shape = static_cast<Shape>(state.range(0));
  const std::int64_t n = state.range(1);
  CollectAll();
  if (shape == kGarbage) {
    for (auto _ : state) {
      state.PauseTiming();
      Build(shape, n);
      state.ResumeTiming();
      ZORQelIVariable::GarbageCollect();
    }
  } else {
    ZORQelIObject keep(Build(shape, n));
    ZORQelIVariable::GarbageCollect();
    for (auto _ : state) ZORQelIVariable::GarbageCollect();
  }
  SetRate(state, n);
  CollectAll();
}

void CollectArgs(benchmark::internal::Benchmark* b) {
  b->ArgNames({"shape", "n"});
  for (int shape : {kChain, kGraph, kGarbage})
    for (int n : {100000, 1000000}) b->Args({shape, n});
  b->Unit(benchmark::kMillisecond);
}
BENCHMARK(BM_LibCollect)->Apply(CollectArgs);

// --- A traced no-op against an untraced out-of-line call ----------------------------------

__attribute__((noinline)) void EmptyCall() { asm volatile(""); }

__attribute__((noinline)) void TracedNoOp() {
  ZORQELI_TRACE("void Peers::TracedNoOp()");
  asm volatile("");
}

void BM_TracedNoOp(benchmark::State& state) {
  for (auto _ : state) TracedNoOp();
}
BENCHMARK(BM_TracedNoOp);

void BM_EmptyCall(benchmark::State& state) {
  for (auto _ : state) EmptyCall();
}
BENCHMARK(BM_EmptyCall);

// --- Array Add vs vector<void*>::push_back ---------------------------------------------

void BM_VectorVoidPushBack(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  int target = 0;
  for (auto _ : state) {
    std::vector<void*> vector;
    for (int i = 0; i < n; ++i) vector.push_back(&target);
    benchmark::DoNotOptimize(vector.data());
  }
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_VectorVoidPushBack)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

// --- Unique list and set vs unordered_set, add then look ---------------------------------

// The identifiers "id0000000".."id0999999", made once and kept for the
// whole process.
const Identifiers& AllIdentifiers() {
  static const Identifiers* ids = new Identifiers(1000000, 7);
  return *ids;
}

// Every round of the three benchmarks below ends with one collection outside
// the timing.  The unique list needs it to release its storage; and since a
// collection walks every object of the process (a million identifiers here),
// the next round starts with its caches filled by the collection: the peer
// gets the same collection so that every container's round starts from the
// same state.
void CollectUntimed(benchmark::State& state) {
  state.PauseTiming();
  ZORQelIVariable::GarbageCollect();
  state.ResumeTiming();
}

// Adds the first n identifiers to a new Container, then looks each one up,
// the container's release included.
template <class Container>
void AddThenLook(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const std::vector<ZORQelIObject>& ids = AllIdentifiers().Handles();
  for (auto _ : state) {
    int found = 0;
    {
      Container container;
      for (int i = 0; i < n; ++i) container.Add(ids[static_cast<std::size_t>(i)]);
      for (int i = 0; i < n; ++i)
        found += container.Look(ids[static_cast<std::size_t>(i)]).IsValid();
    }
    if (found != n) state.SkipWithError("an identifier was not found");
    CollectUntimed(state);
  }
  state.SetItemsProcessed(state.iterations() * n);
}

void BM_ListUniqueAddLook(benchmark::State& state) { AddThenLook<ZORQelIListUnique>(state); }

void BM_SetAddLook(benchmark::State& state) { AddThenLook<ZORQelISet>(state); }

void BM_UnorderedSetAddLook(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const std::vector<ZORQelIObjectIMP*> raw = AllIdentifiers().Raw(false, n);
  for (auto _ : state) {
    int found = 0;
    {
      PeerSet set;
      for (ZORQelIObjectIMP* p : raw) set.insert(p);
      for (ZORQelIObjectIMP* p : raw) found += set.find(p) != set.end();
    }
    if (found != n) state.SkipWithError("an identifier was not found");
    CollectUntimed(state);
  }
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_ListUniqueAddLook)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SetAddLook)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UnorderedSetAddLook)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) { return RunBenchmarks(argc, argv); }
