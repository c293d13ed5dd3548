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
#include <cstdio>
#include <cstdlib>
#include <random>
#include <thread>
#include <unordered_set>
#include <vector>

#include "QL0KRN.h"

namespace {

// The library's node: 40 bytes, two scanned raw references.
class NodeIMP : public ZORQelIObjectIMP {
  ZORQELI_DECLARE_IMP(NodeIMP, ZORQelIObjectIMP)
 public:
  ZORQelIObjectIMP* Clone() const override { return new NodeIMP(*this); }
  void Text(ZORQelIPrint&) const override {}
  void GarbageCollectorMemberCheck() override {
    GarbageCollectorScan(first);
    GarbageCollectorScan(second);
  }
  NodeIMP* first = nullptr;
  NodeIMP* second = nullptr;
};
ZORQELI_DEFINE_IMP(NodeIMP, ZORQelIObjectIMP)
static_assert(sizeof(NodeIMP) == 40, "the comparison is with 40-byte objects");

void CollectAll() {
  ZORQelI::integer before = -1;
  for (int i = 0; i < 8 && before != ZORQelIVariable::GetInstancesCount__(); ++i) {
    before = ZORQelIVariable::GetInstancesCount__();
    ZORQelIVariable::GarbageCollect();
  }
}

enum Shape { kChain = 0, kGraph = 1, kGarbage = 2 };

// Builds a heap of n nodes of the given shape with either node type; returns
// the root (nullptr for all garbage).
template <class Node, class New>
Node* Build(Shape shape, std::int64_t n, New make) {
  std::vector<Node*> nodes(static_cast<std::size_t>(n));
  for (auto& p : nodes) p = make();
  if (shape == kGarbage) return nullptr;
  if (shape == kChain) {
    for (std::int64_t i = 0; i + 1 < n; ++i)
      nodes[static_cast<std::size_t>(i)]->first = nodes[static_cast<std::size_t>(i + 1)];
  } else {
    std::mt19937 random(12345);
    std::uniform_int_distribution<std::int64_t> pick(0, n - 1);
    for (Node* p : nodes) {
      p->first = nodes[static_cast<std::size_t>(pick(random))];
      p->second = nodes[static_cast<std::size_t>(pick(random))];
    }
  }
  return nodes[0];
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
      Build<NodeIMP>(shape, n, [] { return new NodeIMP(); });
      state.ResumeTiming();
      ZORQelIVariable::GarbageCollect();
    }
  } else {
    ZORQelIObject keep(Build<NodeIMP>(shape, n, [] { return new NodeIMP(); }));
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

class PayloadIMP : public ZORQelIObjectIMP {
  ZORQELI_DECLARE_IMP(PayloadIMP, ZORQelIObjectIMP)
 public:
  ZORQelIObjectIMP* Clone() const override { return new PayloadIMP(*this); }
  void Text(ZORQelIPrint&) const override {}
  int value = 0;
};
ZORQELI_DEFINE_IMP(PayloadIMP, ZORQelIObjectIMP)

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

const std::vector<ZORQelIObject>& Identifiers() {
  static std::vector<ZORQelIObject>* ids = [] {
    auto* v = new std::vector<ZORQelIObject>();
    v->reserve(1000000);
    char name[32];
    for (int i = 0; i < 1000000; ++i) {
      std::snprintf(name, sizeof name, "id%07d", i);
      v->push_back(ZORQelIObject(new ZORQelIIdentifierIMP(ZORQelI::string(name))));
    }
    return v;
  }();
  return *ids;
}

struct VirtualHash {
  std::size_t operator()(ZORQelIObjectIMP* p) const {
    const ZORQelI::integer h = p->HashCode();
    const unsigned u = static_cast<unsigned>(h);
    return h < 0 ? 0u - u : u;
  }
};
struct VirtualEqual {
  bool operator()(ZORQelIObjectIMP* a, ZORQelIObjectIMP* b) const {
    return a->Equal(b) == ZORQelI::Itrue;
  }
};
using PeerSet = std::unordered_set<ZORQelIObjectIMP*, VirtualHash, VirtualEqual>;

void BM_ListUniqueAddLook(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const std::vector<ZORQelIObject>& ids = Identifiers();
  for (auto _ : state) {
    int found = 0;
    {
      ZORQelIListUnique list;
      for (int i = 0; i < n; ++i) list.Add(ids[static_cast<std::size_t>(i)]);
      for (int i = 0; i < n; ++i) found += list.Look(ids[static_cast<std::size_t>(i)]).IsValid();
    }
    if (found != n) state.SkipWithError("an identifier was not found");
    state.PauseTiming();
    ZORQelIVariable::GarbageCollect();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * n);
}

void BM_SetAddLook(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const std::vector<ZORQelIObject>& ids = Identifiers();
  for (auto _ : state) {
    int found = 0;
    {
      ZORQelISet set;
      for (int i = 0; i < n; ++i) set.Add(ids[static_cast<std::size_t>(i)]);
      for (int i = 0; i < n; ++i) found += set.Look(ids[static_cast<std::size_t>(i)]).IsValid();
    }
    if (found != n) state.SkipWithError("an identifier was not found");
  }
  state.SetItemsProcessed(state.iterations() * n);
}

void BM_UnorderedSetAddLook(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  std::vector<ZORQelIObjectIMP*> raw;
  for (int i = 0; i < n; ++i)
    raw.push_back(const_cast<ZORQelIObjectIMP*>(Identifiers()[static_cast<std::size_t>(i)].RefMe()));
  for (auto _ : state) {
    int found = 0;
    PeerSet set;
    for (ZORQelIObjectIMP* p : raw) set.insert(p);
    for (ZORQelIObjectIMP* p : raw) found += set.find(p) != set.end();
    if (found != n) state.SkipWithError("an identifier was not found");
  }
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_ListUniqueAddLook)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SetAddLook)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UnorderedSetAddLook)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  std::thread([] {}).join();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
