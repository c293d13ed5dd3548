// Deterministic checks of the collector, for ci_check.sh (which builds this
// file against the library; it is not part of the CMake build):
//
//   ci_probe allocs       objects made, then one collection cycle over live
//                         chains, a random graph and garbage: prints the
//                         number of allocations made during the cycles
//   ci_probe chain N      marks a live chain of N objects from the main
//                         thread's stack, then collects it
//   ci_probe thread N K   the same on a thread with a K KiB stack
//   ci_probe stackuse     the most stack the cycle uses (KiB) over a chain
//                         and a random graph of 10^6 objects, measured on a
//                         painted thread stack
//
// Exit status 0 when the run completed and the objects ended as expected.
#include <pthread.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "BenchSupport.h"
#include "QL0KRN.h"

extern "C" {
void* __libc_malloc(std::size_t);
void* __libc_calloc(std::size_t, std::size_t);
void* __libc_realloc(void*, std::size_t);
void* __libc_memalign(std::size_t, std::size_t);
}

namespace {
// Allocations counted while `armed`.
volatile bool armed = false;
volatile long allocations = 0;
inline void Count() {
  if (armed) allocations = allocations + 1;
}
}  // namespace

// Every allocation of the process goes through these (the library's
// operator new included, which calls malloc).
extern "C" void* malloc(std::size_t n) {
  Count();
  return __libc_malloc(n);
}
extern "C" void* calloc(std::size_t n, std::size_t m) {
  Count();
  return __libc_calloc(n, m);
}
extern "C" void* realloc(void* p, std::size_t n) {
  Count();
  return __libc_realloc(p, n);
}
extern "C" void* memalign(std::size_t a, std::size_t n) {
  Count();
  return __libc_memalign(a, n);
}
extern "C" void* aligned_alloc(std::size_t a, std::size_t n) {
  Count();
  return __libc_memalign(a, n);
}
extern "C" int posix_memalign(void** p, std::size_t a, std::size_t n) {
  Count();
  *p = __libc_memalign(a, n);
  return *p != nullptr ? 0 : 12;
}
void* operator new(std::size_t n) {
  Count();
  void* p = __libc_malloc(n != 0 ? n : 1);
  if (p == nullptr) throw std::bad_alloc();
  return p;
}
void* operator new[](std::size_t n) { return operator new(n); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace {

// Marks a chain of n objects held by a handle on the calling thread's stack
// (one cycle: every object checked once, none finalized), then collects it.
bool ChainCheck(std::int64_t n) {
  CountedNodeIMP::checks = CountedNodeIMP::finalized = 0;
  {
    ZORQelIObject keep(Chain<CountedNodeIMP>(n));
    ZORQelIVariable::GarbageCollect();
    if (CountedNodeIMP::checks != n || CountedNodeIMP::finalized != 0) return false;
  }
  ZORQelIVariable::GarbageCollect();
  return CountedNodeIMP::finalized == n;
}

struct ThreadJob {
  std::int64_t n;
  bool ok;
  int mode;  // 0: chain check; 1: cycles over a chain and a graph
};

void* ThreadBody(void* arg) {
  auto* job = static_cast<ThreadJob*>(arg);
  if (job->mode == 0) {
    job->ok = ChainCheck(job->n);
  } else {
    ZORQelIObject chain(Chain<CountedNodeIMP>(job->n));
    ZORQelIObject graph(RandomGraph<CountedNodeIMP>(job->n));
    ZORQelIVariable::GarbageCollect();
    ZORQelIVariable::GarbageCollect();
    job->ok = true;
  }
  return nullptr;
}

bool OnThread(std::size_t stackBytes, void* stack, ThreadJob* job) {
  pthread_attr_t attr;
  pthread_attr_init(&attr);
  if (stack != nullptr)
    pthread_attr_setstack(&attr, stack, stackBytes);
  else
    pthread_attr_setstacksize(&attr, stackBytes);
  pthread_t t;
  if (pthread_create(&t, &attr, ThreadBody, job) != 0) return false;
  pthread_join(t, nullptr);
  pthread_attr_destroy(&attr);
  return job->ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && std::strcmp(argv[1], "allocs") == 0) {
    ZORQelIVariable::GarbageCollect();
    // The counting itself works: making an object is seen.
    armed = true;
    new CountedNodeIMP();
    armed = false;
    if (allocations == 0) {
      std::fprintf(stderr, "ci_probe: the allocation counter sees nothing\n");
      return 1;
    }
    long total = 0;
    {
      ZORQelIObject chain(Chain<CountedNodeIMP>(100000));
      ZORQelIObject graph(RandomGraph<CountedNodeIMP>(100000));
      for (int i = 0; i < 100000; ++i) new CountedNodeIMP();
      for (int cycle = 0; cycle < 3; ++cycle) {
        allocations = 0;
        armed = true;
        ZORQelIVariable::GarbageCollect();
        armed = false;
        total += allocations;
      }
    }
    allocations = 0;
    armed = true;
    ZORQelIVariable::GarbageCollect();  // everything garbage now
    armed = false;
    total += allocations;
    std::printf("%ld\n", total);
    return 0;
  }
  if (argc >= 3 && std::strcmp(argv[1], "chain") == 0) {
    return ChainCheck(std::atoll(argv[2])) ? 0 : 1;
  }
  if (argc >= 4 && std::strcmp(argv[1], "thread") == 0) {
    ThreadJob job{std::atoll(argv[2]), false, 0};
    return OnThread(static_cast<std::size_t>(std::atoll(argv[3])) * 1024, nullptr, &job) ? 0 : 1;
  }
  if (argc >= 2 && std::strcmp(argv[1], "stackuse") == 0) {
    // An 8 MiB stack painted with a pattern; the untouched part at its low
    // end tells how deep the thread went.
    const std::size_t size = 8u << 20;
    void* stack = nullptr;
    if (posix_memalign(&stack, 4096, size) != 0) return 1;
    std::memset(stack, 0xA5, size);
    ThreadJob job{1000000, false, 1};
    if (!OnThread(size, stack, &job)) return 1;
    const auto* bytes = static_cast<const unsigned char*>(stack);
    std::size_t untouched = 0;
    while (untouched < size && bytes[untouched] == 0xA5) ++untouched;
    std::printf("%zu\n", (size - untouched + 1023) / 1024);
    return 0;
  }
  std::fprintf(stderr, "usage: ci_probe allocs | chain N | thread N KIB | stackuse\n");
  return 2;
}
