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

#include <cstdint>
#include <memory>
#include <sstream>
#include <vector>

#include "BenchMain.h"
#include "BenchSupport.h"
#include "QL0KRN.h"

namespace {

// --- Array Add vs vector<shared_ptr>::push_back ---------------------------------------

// The element of the array runs is one LeafIMP, the peer's one Plain (the
// same size, with a virtual destructor).
void BM_ArrayAdd(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  ZORQelIObject element(new LeafIMP());
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
  std::shared_ptr<Plain> element = std::make_shared<Plain>();
  for (auto _ : state) {
    std::vector<std::shared_ptr<Plain>> vector;
    for (int i = 0; i < n; ++i) vector.push_back(element);
    benchmark::DoNotOptimize(vector.data());
  }
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_VectorSharedPtrPushBack)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

// --- Unique list vs unordered_set of identifiers -------------------------------------------

// The runs below work on Identifiers(n) of their own ("id000000" ..,
// distinct hash codes), so that a collection inside a run marks only the
// objects that run works on; the peer set hashes and compares them as the
// list does (PeerSet).

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
BENCHMARK(BM_UnorderedSetInsert)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

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

int main(int argc, char** argv) { return RunBenchmarks(argc, argv); }
