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

#include "QL0KRN.h"

namespace {

class ProbeIMP : public ZORQelIObjectIMP {
  ZORQELI_DECLARE_IMP(ProbeIMP, ZORQelIObjectIMP)
 public:
  ZORQelIObjectIMP* Clone() const override { return new ProbeIMP(*this); }
  void Text(ZORQelIPrint&) const override {}
};
ZORQELI_DEFINE_IMP(ProbeIMP, ZORQelIObjectIMP)

__attribute__((noinline)) void EmptyCall() { asm volatile(""); }

__attribute__((noinline)) void TracedNoOp() {
  ZORQELI_TRACE("void Probe::TracedNoOp()");
  asm volatile("");
}

__attribute__((noinline)) void HandleCopy(const ZORQelIObject& h) {
  ZORQelIObject copy(h);
  asm volatile("" : : "r"(&copy) : "memory");
}

// The plain counterpart of a 40-byte implementation object.
struct Plain {
  virtual ~Plain() = default;
  long x[4] = {0, 0, 0, 0};
};

__attribute__((noinline)) void DeleteAll(Plain** objects, long n) {
  for (long i = n - 1; i >= 0; --i) delete objects[i];
}

class LeafIMP : public ZORQelIObjectIMP {
  ZORQELI_DECLARE_IMP(LeafIMP, ZORQelIObjectIMP)
 public:
  ZORQelIObjectIMP* Clone() const override { return new LeafIMP(*this); }
  void Text(ZORQelIPrint&) const override {}
  long a = 0, b = 0;
};
ZORQELI_DEFINE_IMP(LeafIMP, ZORQelIObjectIMP)
static_assert(sizeof(LeafIMP) == 40 && sizeof(Plain) == 40, "40-byte objects");

// A node of a live chain: one scanned raw reference, as in the benchmarks.
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

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: callgrind_probe empty|traced|handle|collect|delete|chain N\n";
    return 2;
  }
  const long n = std::atol(argv[2]);
  ZORQelIObject h(new ProbeIMP());
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
