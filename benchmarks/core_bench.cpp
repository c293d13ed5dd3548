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
#include <cstring>
#include <memory>
#include <random>
#include <thread>
#include <vector>

#include "QL0KRN.h"

namespace {

// An implementation object of 40 bytes: the collector's two words and the
// vtable pointer, plus two words of payload.
class LeafIMP : public ZORQelIObjectIMP {
  ZORQELI_DECLARE_IMP(LeafIMP, ZORQelIObjectIMP)
 public:
  ZORQelIObjectIMP* Clone() const override { return new LeafIMP(*this); }
  void Text(ZORQelIPrint&) const override {}
  std::int64_t a = 0, b = 0;
};
ZORQELI_DEFINE_IMP(LeafIMP, ZORQelIObjectIMP)
static_assert(sizeof(LeafIMP) == 40, "the comparison is with 40-byte objects");

// The plain C++ counterpart: 40 bytes with a virtual destructor.
struct Plain {
  virtual ~Plain() = default;
  std::int64_t x[4] = {0, 0, 0, 0};
};
static_assert(sizeof(Plain) == 40, "the comparison is with 40-byte objects");

// A node with two scanned raw references (chain: `first` only).
class NodeIMP : public ZORQelIObjectIMP {
  ZORQELI_DECLARE_IMP(NodeIMP, ZORQelIObjectIMP)
 public:
  ZORQelIObjectIMP* Clone() const override { return new NodeIMP(*this); }
  void Text(ZORQelIPrint&) const override {}
  void GarbageCollectorMemberCheck() override {
    ++checks;
    GarbageCollectorScan(first);
    GarbageCollectorScan(second);
  }
  NodeIMP* first = nullptr;
  NodeIMP* second = nullptr;
  static std::int64_t checks;
};
ZORQELI_DEFINE_IMP(NodeIMP, ZORQelIObjectIMP)
std::int64_t NodeIMP::checks = 0;

void CollectAll() {
  ZORQelI::integer before = -1;
  for (int i = 0; i < 8 && before != ZORQelIVariable::GetInstancesCount__(); ++i) {
    before = ZORQelIVariable::GetInstancesCount__();
    ZORQelIVariable::GarbageCollect();
  }
}

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

NodeIMP* MakeChain() {
  NodeIMP* head = new NodeIMP();
  NodeIMP* last = head;
  for (int i = 1; i < kLive; ++i) {
    last->first = new NodeIMP();
    last = last->first;
  }
  return head;
}

NodeIMP* MakeRandomGraph() {
  std::vector<NodeIMP*> nodes(kLive);
  for (auto& n : nodes) n = new NodeIMP();
  std::mt19937 random(12345);
  std::uniform_int_distribution<int> pick(0, kLive - 1);
  for (auto* n : nodes) {
    n->first = nodes[static_cast<std::size_t>(pick(random))];
    n->second = nodes[static_cast<std::size_t>(pick(random))];
  }
  return nodes[0];
}

// Marks everything reached from `root`, then clears the marks again
// (untimed); counts the objects marked.
void MarkFrom(benchmark::State& state, NodeIMP* root) {
  ZORQelIObject keep(root);
  std::int64_t marked = 0;
  for (auto _ : state) {
    NodeIMP::checks = 0;
    root->GarbageCollectorScan();
    marked = NodeIMP::checks;
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
  MarkFrom(state, MakeChain());
  CollectAll();
}
BENCHMARK(BM_MarkLiveChain)->Unit(benchmark::kMillisecond);

void BM_MarkLiveRandomGraph(benchmark::State& state) {
  CollectAll();
  MarkFrom(state, MakeRandomGraph());
  CollectAll();
}
BENCHMARK(BM_MarkLiveRandomGraph)->Unit(benchmark::kMillisecond);

// A whole cycle (both table scans, the marking and the sweep of survivors)
// over a live chain.
void BM_CycleLiveChain(benchmark::State& state) {
  CollectAll();
  {
    ZORQelIObject keep(MakeChain());
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
  bool singleThread = false;
  int kept = 1;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--single-thread") == 0)
      singleThread = true;
    else
      argv[kept++] = argv[i];
  }
  argc = kept;
  if (!singleThread) std::thread([] {}).join();
  benchmark::AddCustomContext("threads started before the runs", singleThread ? "0" : "1");
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
