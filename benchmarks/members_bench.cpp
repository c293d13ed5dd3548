// Collections of heaps whose references are handle members, the way clients
// write them, beside the Boehm-Demers-Weiser collector's on the same shapes
// (boehm_peer.cpp, run in the same round by run_all.sh):
//  - a whole collection of a live chain (48-byte nodes, one handle member)
//    and a live random graph of out-degree 2 (72-byte nodes, two handle
//    members), at 10^5 and 10^6 nodes, built in two ways: every node made
//    first and then linked, or each linked as the next is made;
//  - 10^5 unreachable 40-byte objects collected, against deleting as many;
//  - a live chain of 10^5 handle-member nodes that lie all over memory (as
//    a heap that reuses freed memory leaves them), collected after a larger
//    heap made in order beside it has died: no object is made between the
//    measured collections.
// With --history the process first does the work of History() (containers
// built and dropped, a million handles that lived and died below one that
// stays); without it the program should be run one benchmark per process
// for a fresh process's figure (run_all.sh does).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <memory>
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

// The unreachable objects' row of the collector, run in this program's
// processes (fresh, or after the handle-member heaps above): 40-byte leaves
// without members, so that a fresh process and one with history can be
// told apart on the same work.
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

// A chain node placed by a pool: nodes made one after another lie all over
// the pool, 64 bytes apart at the least, never in sequence.
struct alignas(64) PoolSlot {
  unsigned char bytes[64];
};
PoolSlot* pool = nullptr;
std::size_t poolSlots = 0;  // a power of two
std::size_t poolNext = 0;
class ScatteredNodeIMP : public ZORQelIObjectIMP {
  ZORQELI_DECLARE_IMP(ScatteredNodeIMP, ZORQelIObjectIMP)
 public:
  static void* operator new(std::size_t size) {
    if (size > sizeof(PoolSlot) || poolNext == poolSlots) throw std::bad_alloc();
    // i * an odd number, modulo a power of two: every slot once, scattered.
    return &pool[(poolNext++ * 40503u) & (poolSlots - 1)];
  }
  static void operator delete(void*) {}
  ZORQelIObjectIMP* Clone() const override { return new ScatteredNodeIMP(*this); }
  void Text(ZORQelIPrint&) const override {}
  void GarbageCollectorMemberCheck() override { GarbageCollectorScan(first); }
  ZORQelIObject first;
};
ZORQELI_DEFINE_IMP(ScatteredNodeIMP, ZORQelIObjectIMP)

// The scattered chain, linked as made, then a chain of 10^6 nodes made in
// order beside it, collected together (the list reads as in order) and
// dropped: the collections measured are the scattered chain's alone.
void BM_MemberCollectScatteredAfterHeap(benchmark::State& state) {
  const std::int64_t n = state.range(0);
  CollectAll();
  poolSlots = 1;
  while (poolSlots < static_cast<std::size_t>(n)) poolSlots *= 2;
  std::unique_ptr<PoolSlot[]> storage(new PoolSlot[poolSlots]);
  pool = storage.get();
  poolNext = 0;
  {
    ScatteredNodeIMP* head = new ScatteredNodeIMP();
    ZORQelIObject keep(head);
    for (ScatteredNodeIMP* last = head; static_cast<std::int64_t>(poolNext) < n;) {
      ScatteredNodeIMP* p = new ScatteredNodeIMP();
      last->first = p;
      last = p;
    }
    {
      ZORQelIObject big(MemberChain(1000000, true));
      for (int i = 0; i < 2; ++i) ZORQelIVariable::GarbageCollect();
    }
    ZORQelIVariable::GarbageCollect();
    for (auto _ : state) ZORQelIVariable::GarbageCollect();
  }
  SetRate(state, n);
  CollectAll();
  pool = nullptr;
}
BENCHMARK(BM_MemberCollectScatteredAfterHeap)->Arg(100000)->Unit(benchmark::kMillisecond);

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
