// Instruction counts of the cheapest operations, for callgrind:
//
//   valgrind --tool=callgrind callgrind_probe MODE N
//
// runs N iterations of one operation, MODE being
//   empty    an empty function called out of line (the loop's own cost)
//   traced   a traced no-op: an operation with a trace frame and nothing else
//   handle   a handle copy-constructed and destroyed
//   collect  N unreachable 40-byte implementation objects made, then one
//            collection (count it alone with
//            --toggle-collect='ZORQelIVariable::GarbageCollect()')
//   delete   N 40-byte objects with a virtual destructor made, then deleted
//            newest first (--toggle-collect='*DeleteAll*')
//   chain    a live chain of N objects held by one handle, then one
//            collection that keeps them all (count it alone as for collect)
// Running each mode at two values of N and dividing the difference of the
// total instruction counts by the difference of N cancels start-up and exit;
// the traced no-op's frame is then the traced figure less the empty one.
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "BenchSupport.h"
#include "QL0KRN.h"

namespace {

__attribute__((noinline)) void EmptyCall() { asm volatile(""); }

__attribute__((noinline)) void TracedNoOp() {
  ZORQELI_TRACE("void Probe::TracedNoOp()");
  asm volatile("");
}

__attribute__((noinline)) void HandleCopy(const ZORQelIObject& h) {
  ZORQelIObject copy(h);
  asm volatile("" : : "r"(&copy) : "memory");
}

__attribute__((noinline)) void DeleteAll(Plain** objects, long n) {
  for (long i = n - 1; i >= 0; --i) delete objects[i];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: callgrind_probe empty|traced|handle|collect|delete|chain N\n";
    return 2;
  }
  const long n = std::atol(argv[2]);
  ZORQelIObject h(new LeafIMP());
  if (std::strcmp(argv[1], "empty") == 0) {
    for (long i = 0; i < n; ++i) EmptyCall();
  } else if (std::strcmp(argv[1], "traced") == 0) {
    for (long i = 0; i < n; ++i) TracedNoOp();
  } else if (std::strcmp(argv[1], "handle") == 0) {
    for (long i = 0; i < n; ++i) HandleCopy(h);
  } else if (std::strcmp(argv[1], "collect") == 0) {
    for (long i = 0; i < n; ++i) new LeafIMP();
    ZORQelIVariable::GarbageCollect();
  } else if (std::strcmp(argv[1], "chain") == 0) {
    NodeIMP* head = new NodeIMP();
    for (long i = 1; i < n; ++i) {
      NodeIMP* p = new NodeIMP();
      p->first = head;
      head = p;
    }
    ZORQelIObject keep(head);
    ZORQelIVariable::GarbageCollect();
  } else if (std::strcmp(argv[1], "delete") == 0) {
    Plain** objects = new Plain*[n];
    for (long i = 0; i < n; ++i) objects[i] = new Plain();
    DeleteAll(objects, n);
    delete[] objects;
  } else {
    return 2;
  }
  return 0;
}
