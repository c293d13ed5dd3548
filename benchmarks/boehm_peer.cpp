// The Boehm-Demers-Weiser collector (Debian's libgc-dev) on the heap shapes
// of peers_bench.cpp's BM_LibCollect: GC_gcollect() over a live chain, a live
// random graph of out-degree 2 and all garbage, at 10^5 and 10^6 objects of
// 40 bytes.  Not part of the CMake build (it needs libgc); run_all.sh builds
// it with
//   c++ -O2 boehm_peer.cpp -lgc -lbenchmark -lpthread
// and runs it with GC_MARKERS=1 (one marker thread, as the library has).
#include <benchmark/benchmark.h>
#include <gc.h>

#include <cstdint>
#include <random>
#include <vector>

namespace {

// Three words of payload stand for the library node's vtable pointer and
// collector words.
struct GcNode {
  GcNode* first;
  GcNode* second;
  std::int64_t payload[3];
};
static_assert(sizeof(GcNode) == 40, "the comparison is with 40-byte objects");

// The root of the heap, in static data (which the collector scans).
GcNode* volatile root = nullptr;

enum Shape { kChain = 0, kGraph = 1, kGarbage = 2 };

GcNode* NewNode() {
  auto* n = static_cast<GcNode*>(GC_MALLOC(sizeof(GcNode)));
  n->first = n->second = nullptr;
  return n;
}

// Every node stays reachable from `root` while the heap is built (a
// collection may run during any allocation).
GcNode* Build(Shape shape, std::int64_t n) {
  GcNode* head = nullptr;
  if (shape == kChain) {
    // Built back to front so that every node is reachable while allocating.
    for (std::int64_t i = 0; i < n; ++i) {
      GcNode* p = NewNode();
      p->first = head;
      head = p;
      root = head;
    }
    return head;
  }
  // Random graph or garbage: keep the nodes alive through a GC-scanned array.
  auto** all = static_cast<GcNode**>(GC_MALLOC(static_cast<std::size_t>(n) * sizeof(GcNode*)));
  root = reinterpret_cast<GcNode*>(all);
  for (std::int64_t i = 0; i < n; ++i) all[i] = NewNode();
  if (shape == kGarbage) {
    root = nullptr;
    return nullptr;
  }
  std::mt19937 random(12345);
  std::uniform_int_distribution<std::int64_t> pick(0, n - 1);
  for (std::int64_t i = 0; i < n; ++i) {
    all[i]->first = all[pick(random)];
    all[i]->second = all[pick(random)];
  }
  head = all[0];
  root = head;
  return head;
}

void BM_BoehmCollect(benchmark::State& state) {
  const auto shape = static_cast<Shape>(state.range(0));
  const std::int64_t n = state.range(1);
  root = nullptr;
  GC_gcollect();
  if (shape == kGarbage) {
    for (auto _ : state) {
      state.PauseTiming();
      Build(shape, n);
      state.ResumeTiming();
      GC_gcollect();
    }
  } else {
    root = Build(shape, n);
    GC_gcollect();
    for (auto _ : state) GC_gcollect();
    root = nullptr;
  }
  state.counters["objects/s"] =
      benchmark::Counter(static_cast<double>(n), benchmark::Counter::kIsIterationInvariantRate);
  GC_gcollect();
}
void CollectArgs(benchmark::internal::Benchmark* b) {
  b->ArgNames({"shape", "n"});
  for (int shape : {kChain, kGraph, kGarbage})
    for (int n : {100000, 1000000}) b->Args({shape, n});
  b->Unit(benchmark::kMillisecond);
}
BENCHMARK(BM_BoehmCollect)->Apply(CollectArgs);

// The shapes of members_bench.cpp: a chain of 48-byte nodes and a random
// graph of 72-byte nodes (the library's nodes with one and two handle
// members), each built in its two ways (made first then linked, or linked
// as made).  The nodes are kept reachable through a GC-scanned array while
// they are built.
template <int Words>
struct GcMemberNode {
  GcMemberNode* first;
  GcMemberNode* second;
  std::int64_t payload[Words - 2];
};
static_assert(sizeof(GcMemberNode<6>) == 48, "the library's chain node");
static_assert(sizeof(GcMemberNode<9>) == 72, "the library's graph node");

template <int Words>
void* BuildMembers(bool graph, bool madeFirst, std::int64_t n) {
  using Node = GcMemberNode<Words>;
  auto** all = static_cast<Node**>(GC_MALLOC(static_cast<std::size_t>(n) * sizeof(Node*)));
  root = reinterpret_cast<GcNode*>(all);
  std::mt19937 random(12345);
  for (std::int64_t i = 0; i < n; ++i) {
    all[i] = static_cast<Node*>(GC_MALLOC(sizeof(Node)));
    all[i]->first = all[i]->second = nullptr;
    if (!madeFirst && i > 0) {
      if (graph) {
        all[i]->first = all[i - 1];
        all[i]->second = all[std::uniform_int_distribution<std::int64_t>(0, i - 1)(random)];
      } else {
        all[i - 1]->first = all[i];
      }
    }
  }
  if (madeFirst) {
    std::uniform_int_distribution<std::int64_t> pick(0, n - 1);
    for (std::int64_t i = 0; i < n; ++i) {
      if (graph) {
        all[i]->first = all[pick(random)];
        all[i]->second = all[pick(random)];
      } else if (i + 1 < n) {
        all[i]->first = all[i + 1];
      }
    }
  }
  return (graph && !madeFirst) ? all[n - 1] : all[0];
}

void BM_BoehmMemberCollect(benchmark::State& state) {
  const bool graph = state.range(0) == 1;
  const bool madeFirst = state.range(1) == 1;
  const std::int64_t n = state.range(2);
  root = nullptr;
  GC_gcollect();
  void* head = graph ? BuildMembers<9>(true, madeFirst, n) : BuildMembers<6>(false, madeFirst, n);
  root = static_cast<GcNode*>(head);  // the array is dropped: the heap hangs from its root
  GC_gcollect();
  for (auto _ : state) GC_gcollect();
  root = nullptr;
  state.counters["objects/s"] =
      benchmark::Counter(static_cast<double>(n), benchmark::Counter::kIsIterationInvariantRate);
  GC_gcollect();
}
void MemberArgs(benchmark::internal::Benchmark* b) {
  b->ArgNames({"shape", "made_first", "n"});
  for (int shape : {0, 1})
    for (int made : {1, 0})
      for (int n : {100000, 1000000}) b->Args({shape, made, n});
  b->Unit(benchmark::kMillisecond);
}
BENCHMARK(BM_BoehmMemberCollect)->Apply(MemberArgs);

}  // namespace

int main(int argc, char** argv) {
  GC_INIT();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
