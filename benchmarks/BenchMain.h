// The main of the Google Benchmark programs that need more than
// BENCHMARK_MAIN: a thread started first, and flags of their own.
#ifndef BenchMain_h
#define BenchMain_h

#include <cstring>
#include <thread>

#include <benchmark/benchmark.h>

namespace {

// Whether flag is among the arguments; when it is, it is taken out of them,
// so that Google Benchmark does not report it as unrecognized.
inline bool TakeFlag(int& argc, char** argv, const char* flag) {
  bool found = false;
  int kept = 1;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], flag) == 0)
      found = true;
    else
      argv[kept++] = argv[i];
  }
  argc = kept;
  return found;
}

// Runs the registered benchmarks.  With startThread, a thread is started and
// joined first: shared_ptr counts atomically from then on, as in any program
// that uses threads, which is what the peers are measured as.
inline int RunBenchmarks(int argc, char** argv, bool startThread = true) {
  if (startThread) std::thread([] {}).join();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

}  // namespace

#endif
