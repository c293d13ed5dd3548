// Containers against their standard-library peers:
//  - ZORQelIArray::Add of n elements vs std::vector<std::shared_ptr<T>>::
//    push_back of a copy, in a process that has started a thread (so that
//    shared_ptr counts atomically, as it would in any real program);
//  - ZORQelIListUnique::Add and Look of 1e4, 1e5 and 1e6 distinct
//    identifiers vs std::unordered_set over the same objects with the same
//    hash and equality (their virtual HashCode and Equal);
//  - printing 1e5 and 1e6 integers through a ZORQelIStringStream
//    (bytes/second), with std::ostringstream for reference.
// Build Release: cmake -DQL0KRN_BUILD_BENCHMARKS=ON -DCMAKE_BUILD_TYPE=Release
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <unordered_set>
#include <vector>

#include "QL0KRN.h"

namespace {

// The element of the array runs: a minimal implementation object.
class PayloadIMP : public ZORQelIObjectIMP {
  ZORQELI_DECLARE_IMP(PayloadIMP, ZORQelIObjectIMP)
 public:
  ZORQelIObjectIMP* Clone() const override { return new PayloadIMP(*this); }
  void Text(ZORQelIPrint&) const override {}
  int value = 0;
};
ZORQELI_DEFINE_IMP(PayloadIMP, ZORQelIObjectIMP)

// The peer's element: an object of the same size with a virtual destructor.
struct Payload {
  virtual ~Payload() = default;
  int value = 0;
};

// --- Array Add vs vector<shared_ptr>::push_back ---------------------------------------

void BM_ArrayAdd(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  ZORQelIObject element(new PayloadIMP());
  for (auto _ : state) {
    {
      ZORQelIArray array;
      for (int i = 0; i < n; ++i) array.Add(element);
      benchmark::DoNotOptimize(array.Size());
    }
    // The array's release is the collector's: one cycle frees its storage,
    // as the vector's destructor does for the peer.
    ZORQelIVariable::GarbageCollect();
  }
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_ArrayAdd)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

void BM_VectorSharedPtrPushBack(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  std::shared_ptr<Payload> element = std::make_shared<Payload>();
  for (auto _ : state) {
    std::vector<std::shared_ptr<Payload>> vector;
    for (int i = 0; i < n; ++i) vector.push_back(element);
    benchmark::DoNotOptimize(vector.data());
  }
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_VectorSharedPtrPushBack)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMicrosecond);

// --- Unique list vs unordered_set of identifiers -------------------------------------------

// n identifiers "id000000".."id999999" (n at most 1e6), kept alive by their
// handles for the length of one run.  Their hash codes are all distinct: the
// identifier hash weighs each of the six digits by its own power of 16, and
// digits differ only in their low four bits.  Each run makes its own, so that
// a collection inside a run marks only the objects that run works on.
class Identifiers {
 public:
  explicit Identifiers(int n) {
    handles_.reserve(static_cast<std::size_t>(n));
    char name[32];
    for (int i = 0; i < n; ++i) {
      std::snprintf(name, sizeof name, "id%06d", i);
      handles_.push_back(ZORQelIObject(new ZORQelIIdentifierIMP(ZORQelI::string(name))));
    }
  }
  ~Identifiers() {
    handles_.clear();
    ZORQelIVariable::GarbageCollect();
  }
  const std::vector<ZORQelIObject>& Handles() const { return handles_; }
  // The objects, in creation order or shuffled (so that neither container is
  // helped by hash codes that follow the insertion order).
  std::vector<ZORQelIObjectIMP*> Raw(bool shuffled) const {
    std::vector<ZORQelIObjectIMP*> raw;
    raw.reserve(handles_.size());
    for (const ZORQelIObject& h : handles_)
      raw.push_back(const_cast<ZORQelIObjectIMP*>(h.RefMe()));
    if (shuffled) std::shuffle(raw.begin(), raw.end(), std::mt19937(12345));
    return raw;
  }

 private:
  std::vector<ZORQelIObject> handles_;
};

// The same hash and equality as the list's set: the objects' own virtual
// HashCode (absolute value) and Equal.
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

// Add: n identifiers into a new container, growth included.  The release of
// either container is left out of the timing: the list's is a collection,
// the set's its destructor.
void BM_ListUniqueAdd(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const Identifiers ids(n);
  for (auto _ : state) {
    {
      ZORQelIListUnique list;
      for (const ZORQelIObject& id : ids.Handles()) list.Add(id);
      benchmark::DoNotOptimize(list.Size());
      state.PauseTiming();
    }
    ZORQelIVariable::GarbageCollect();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_ListUniqueAdd)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_UnorderedSetInsert(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const Identifiers ids(n);
  const std::vector<ZORQelIObjectIMP*> raw = ids.Raw(false);
  for (auto _ : state) {
    auto* set = new PeerSet();
    for (ZORQelIObjectIMP* p : raw) set->insert(p);
    benchmark::DoNotOptimize(set->size());
    state.PauseTiming();
    delete set;
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_UnorderedSetInsert)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond);

// Look: each of the n held identifiers once, through a handle (the list's
// Look takes and returns handles), in insertion order (0) or shuffled (1).
void BM_ListUniqueLook(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const Identifiers ids(n);
  ZORQelIListUnique list;
  for (const ZORQelIObject& id : ids.Handles()) list.Add(id);
  std::vector<ZORQelIObject> order;
  order.reserve(static_cast<std::size_t>(n));
  for (ZORQelIObjectIMP* p : ids.Raw(state.range(1) != 0)) order.push_back(ZORQelIObject(p));
  for (auto _ : state) {
    int found = 0;
    for (const ZORQelIObject& id : order) found += list.Look(id).IsValid();
    if (found != n) state.SkipWithError("an identifier was not found");
  }
  state.SetItemsProcessed(state.iterations() * n);
}

void BM_UnorderedSetFind(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const Identifiers ids(n);
  PeerSet set;
  for (ZORQelIObjectIMP* p : ids.Raw(false)) set.insert(p);
  const std::vector<ZORQelIObjectIMP*> order = ids.Raw(state.range(1) != 0);
  for (auto _ : state) {
    int found = 0;
    for (ZORQelIObjectIMP* p : order) found += set.find(p) != set.end();
    if (found != n) state.SkipWithError("an identifier was not found");
  }
  state.SetItemsProcessed(state.iterations() * n);
}

void LookArgs(benchmark::internal::Benchmark* b) {
  for (int n : {10000, 100000, 1000000})
    for (int shuffled : {0, 1}) b->Args({n, shuffled});
  b->Unit(benchmark::kMillisecond);
}
BENCHMARK(BM_ListUniqueLook)->Apply(LookArgs);
BENCHMARK(BM_UnorderedSetFind)->Apply(LookArgs);

// --- Printing integers -----------------------------------------------------------------------

// Integers of every length, negative ones included.
ZORQelI::integer Sample(int i) {
  const auto v = static_cast<ZORQelI::integer>(static_cast<unsigned>(i) * 2654435761u % 1000000007u);
  return i % 2 == 0 ? v : -v;
}

void BM_StringStreamIntegers(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  ZORQelIStringStream stream;
  for (int i = 0; i < n; ++i) stream.Print(Sample(i));
  const std::int64_t bytes = stream.Get().GetLengthInChar();  // ASCII: one byte each
  for (auto _ : state) {
    stream.Start();
    for (int i = 0; i < n; ++i) stream.Print(Sample(i));
  }
  state.SetBytesProcessed(state.iterations() * bytes);
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_StringStreamIntegers)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// Reference: the same text through std::ostringstream.
void BM_OstringstreamIntegers(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  std::size_t bytes = 0;
  for (auto _ : state) {
    std::ostringstream stream;
    for (int i = 0; i < n; ++i) stream << Sample(i);
    bytes += stream.str().size();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_OstringstreamIntegers)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  // A process that has started a thread: shared_ptr counts atomically from
  // here on, as in any program that uses threads.
  std::thread([] {}).join();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
