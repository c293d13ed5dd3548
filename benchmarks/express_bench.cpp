// The EXPRESS instance text and the deep copy on a population of 10^5
// entity instances with five attributes each, against writing the same text
// with snprintf into a preallocated buffer.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "QL0KRN.h"
#include "QL0KRNMem.h"

namespace {

constexpr int kInstances = 100000;

struct Population {
  ZORQelIModeler m;
  std::string text;  // the population's text, for the byte count
};

// Item(name String, code Integer, weight Real, ok Boolean, next Item).
Population& Shared() {
  static Population* p = [] {
    auto* pop = new Population;
    ZORQelIModeler m = ZORQelIMemWrapper::Default().NewModeler("Items");
    ZORQelIEntity item = m.MakeEntity("Item");
    ZORQelIAttr name = item.CreateAttr("name", m.MakeString(), ZORQelI::Ifalse);
    ZORQelIAttr code = item.CreateAttr("code", m.MakeInteger(), ZORQelI::Ifalse);
    ZORQelIAttr weight = item.CreateAttr("weight", m.MakeReal(), ZORQelI::Ifalse);
    ZORQelIAttr ok = item.CreateAttr("ok", m.MakeBoolean(), ZORQelI::Ifalse);
    ZORQelIAttr next = item.CreateAttr("next", item, ZORQelI::Itrue);
    ZORQelIInstances population = m.GetInstances();
    ZORQelIInstance previous;
    for (int i = 0; i < kInstances; ++i) {
      ZORQelIInstance x = m.Instanciate(ZORQelI::string("Item"));
      x.PutAttr(name, population.InstanciateString("item"));
      x.PutAttr(code, population.InstanciateInteger(i));
      x.PutAttr(weight, population.InstanciateReal(i * 0.5));
      x.PutAttr(ok, population.InstanciateBoolean(i % 2 ? ZORQelI::Itrue : ZORQelI::Ifalse));
      if (previous.IsValid() == ZORQelI::Itrue) x.PutAttr(next, previous);
      previous = x;
    }
    pop->m = m;
    ZORQelIExpressForm printer;
    printer.Print(population);
    pop->text = static_cast<const char*>(printer.Get());
    ZORQelIVariable::GarbageCollect();
    return pop;
  }();
  return *p;
}

void BM_PrintPopulation(benchmark::State& state) {
  Population& p = Shared();
  for (auto _ : state) {
    ZORQelIExpressForm printer;
    printer.Print(p.m.GetInstances());
    ZORQelI::string text = printer.Get();
    benchmark::DoNotOptimize(text);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * p.text.size());
}
BENCHMARK(BM_PrintPopulation)->Unit(benchmark::kMillisecond);

// The same lines written with snprintf into a buffer allocated once.
void BM_SnprintfPeer(benchmark::State& state) {
  Population& p = Shared();
  std::vector<char> buffer(p.text.size() + 64);
  for (auto _ : state) {
    char* out = buffer.data();
    char* end = out + buffer.size();
    for (int i = 0; i < kInstances; ++i) {
      int n = i == 0 ? std::snprintf(out, end - out, "#%d=Item('%s',%d,%f,%s,$);\n", i + 1, "item",
                                     i, i * 0.5, i % 2 ? ".T." : ".F.")
                     : std::snprintf(out, end - out, "#%d=Item('%s',%d,%f,%s,#%d);\n", i + 1,
                                     "item", i, i * 0.5, i % 2 ? ".T." : ".F.", i);
      out += n;
    }
    benchmark::DoNotOptimize(buffer.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * p.text.size());
}
BENCHMARK(BM_SnprintfPeer)->Unit(benchmark::kMillisecond);

void BM_DeepCopy(benchmark::State& state) {
  Population& p = Shared();
  ZORQelIInstanceListUnique source;
  ZORQelIInstances population = p.m.GetInstances();
  for (int i = 0; i < population.Size(); ++i) source.Add(population.Get(i));
  int round = 0;
  for (auto _ : state) {
    state.PauseTiming();
    ZORQelIModeler target = ZORQelIMemWrapper::Default().NewModeler(
        ZORQelI::string(("Copy" + std::to_string(round++)).c_str()));
    ZORQelIEntity item = target.MakeEntity("Item");
    item.CreateAttr("name", target.MakeString(), ZORQelI::Ifalse);
    item.CreateAttr("code", target.MakeInteger(), ZORQelI::Ifalse);
    item.CreateAttr("weight", target.MakeReal(), ZORQelI::Ifalse);
    item.CreateAttr("ok", target.MakeBoolean(), ZORQelI::Ifalse);
    item.CreateAttr("next", item, ZORQelI::Itrue);
    ZORQelIInstanceListUnique copy;
    copy.SetTargetModeler(target);
    state.ResumeTiming();
    copy.Copy(source);
    state.PauseTiming();
    copy = ZORQelIInstanceListUnique();
    target = ZORQelIModeler();
    ZORQelIVariable::GarbageCollect();
    ZORQelIVariable::GarbageCollect();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kInstances);
}
BENCHMARK(BM_DeepCopy)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
