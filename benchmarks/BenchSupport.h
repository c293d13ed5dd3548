// What the benchmark programs and the probes share: the 40-byte objects that
// the collector figures are measured on, their plain C++ counterpart, the
// live chains and random graphs they are marked over, a full collection, and
// the identifiers with the hash and equality of the container peers.
//
// Each program includes this header from its one source file; the classes
// are defined here (ZORQELI_DEFINE_IMP included) inside an unnamed namespace,
// so every program has its own copy.  Nothing here depends on Google
// Benchmark: ci_probe.cpp and callgrind_probe.cpp are built without it.
#ifndef BenchSupport_h
#define BenchSupport_h

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <random>
#include <unordered_set>
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
static_assert(sizeof(LeafIMP) == 40, "the comparisons are with 40-byte objects");

// The plain C++ counterpart: 40 bytes with a virtual destructor.
struct Plain {
  virtual ~Plain() = default;
  std::int64_t x[4] = {0, 0, 0, 0};
};
static_assert(sizeof(Plain) == 40, "the comparisons are with 40-byte objects");

// A node of a live chain or graph: 40 bytes, two scanned raw references
// (a chain uses `first` only).
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
static_assert(sizeof(NodeIMP) == 40, "the comparisons are with 40-byte objects");

// A node that counts the member checks (one per object a cycle marks) and
// the destructions (one per object it reclaims), for the programs that check
// or report those numbers; the instruction counts and the peer comparisons
// use the plain NodeIMP, whose member check does nothing else.
class CountedNodeIMP : public NodeIMP {
  ZORQELI_DECLARE_IMP(CountedNodeIMP, NodeIMP)
 public:
  ~CountedNodeIMP() override { ++finalized; }
  ZORQelIObjectIMP* Clone() const override { return new CountedNodeIMP(*this); }
  void GarbageCollectorMemberCheck() override {
    ++checks;
    NodeIMP::GarbageCollectorMemberCheck();
  }
  static std::int64_t checks, finalized;
};
ZORQELI_DEFINE_IMP(CountedNodeIMP, NodeIMP)
std::int64_t CountedNodeIMP::checks = 0;
std::int64_t CountedNodeIMP::finalized = 0;

// A chain of n nodes of type Node, each referring through `first` to the
// one made after it; returns the head, the first made.  Every node is made
// first, its address kept in an array, then the nodes are linked: the
// construction every published figure of the library was measured on.
// (Linking each node as it is made measured 3-4x slower to collect at 10^6
// inside peers_bench, though not in a process of its own; see the README.)
template <class Node>
Node* Chain(std::int64_t n) {
  std::vector<Node*> nodes(static_cast<std::size_t>(n));
  for (Node*& p : nodes) p = new Node();
  for (std::size_t i = 0; i + 1 < nodes.size(); ++i) nodes[i]->first = nodes[i + 1];
  return nodes[0];
}

// n nodes of type Node, each referring to two nodes drawn at random (the
// same graph for the same n on every run); returns the first node.
template <class Node>
Node* RandomGraph(std::int64_t n) {
  std::vector<Node*> nodes(static_cast<std::size_t>(n));
  for (auto& p : nodes) p = new Node();
  std::mt19937 random(12345);
  std::uniform_int_distribution<std::int64_t> pick(0, n - 1);
  for (Node* p : nodes) {
    p->first = nodes[static_cast<std::size_t>(pick(random))];
    p->second = nodes[static_cast<std::size_t>(pick(random))];
  }
  return nodes[0];
}

// The nodes a client writes: references held as handle members, the way
// the README teaches.  A chain node holds one (48 bytes), a graph node two
// (72 bytes).  Each member is a root of the static holder table until its
// owner is first scanned.
class MemberNodeIMP : public ZORQelIObjectIMP {
  ZORQELI_DECLARE_IMP(MemberNodeIMP, ZORQelIObjectIMP)
 public:
  ZORQelIObjectIMP* Clone() const override { return new MemberNodeIMP(*this); }
  void Text(ZORQelIPrint&) const override {}
  void GarbageCollectorMemberCheck() override { GarbageCollectorScan(first); }
  ZORQelIObject first;
};
ZORQELI_DEFINE_IMP(MemberNodeIMP, ZORQelIObjectIMP)
static_assert(sizeof(MemberNodeIMP) == 48, "a chain node with one handle member");

class MemberNode2IMP : public ZORQelIObjectIMP {
  ZORQELI_DECLARE_IMP(MemberNode2IMP, ZORQelIObjectIMP)
 public:
  ZORQelIObjectIMP* Clone() const override { return new MemberNode2IMP(*this); }
  void Text(ZORQelIPrint&) const override {}
  void GarbageCollectorMemberCheck() override {
    GarbageCollectorScan(first);
    GarbageCollectorScan(second);
  }
  ZORQelIObject first, second;
};
ZORQELI_DEFINE_IMP(MemberNode2IMP, ZORQelIObjectIMP)
static_assert(sizeof(MemberNode2IMP) == 72, "a graph node with two handle members");

// A chain of n handle-member nodes; returns the first.  Made first, then
// linked (madeFirst), or each linked to the next as that one is made.
inline MemberNodeIMP* MemberChain(std::int64_t n, bool madeFirst) {
  if (madeFirst) {
    std::vector<MemberNodeIMP*> nodes(static_cast<std::size_t>(n));
    for (MemberNodeIMP*& p : nodes) p = new MemberNodeIMP();
    for (std::size_t i = 0; i + 1 < nodes.size(); ++i) nodes[i]->first = nodes[i + 1];
    return nodes[0];
  }
  MemberNodeIMP* head = new MemberNodeIMP();
  MemberNodeIMP* last = head;
  for (std::int64_t i = 1; i < n; ++i) {
    MemberNodeIMP* p = new MemberNodeIMP();
    last->first = p;
    last = p;
  }
  return head;
}

// A random graph of n handle-member nodes of out-degree 2.  Made first: each
// node refers to two nodes drawn at random.  Linked as made: each new node
// refers to the one made before it and to one drawn among those made so far.
// Returns the node every other is reached from (the first made, resp. the
// last).
inline MemberNode2IMP* MemberGraph(std::int64_t n, bool madeFirst) {
  std::vector<MemberNode2IMP*> nodes(static_cast<std::size_t>(n));
  std::mt19937 random(12345);
  if (madeFirst) {
    for (auto& p : nodes) p = new MemberNode2IMP();
    std::uniform_int_distribution<std::int64_t> pick(0, n - 1);
    for (MemberNode2IMP* p : nodes) {
      p->first = nodes[static_cast<std::size_t>(pick(random))];
      p->second = nodes[static_cast<std::size_t>(pick(random))];
    }
    return nodes[0];
  }
  for (std::int64_t i = 0; i < n; ++i) {
    MemberNode2IMP* p = new MemberNode2IMP();
    nodes[static_cast<std::size_t>(i)] = p;
    if (i > 0) {
      p->first = nodes[static_cast<std::size_t>(i - 1)];
      p->second = nodes[static_cast<std::size_t>(
          std::uniform_int_distribution<std::int64_t>(0, i - 1)(random))];
    }
  }
  return nodes[static_cast<std::size_t>(n - 1)];
}

// Work a process has done before the measured heap is built, as a new user
// tries the library: containers built and dropped, a million handles that
// lived and died in the static table below one that stays, then
// collections.  Returns the handle that stays (the caller keeps it alive
// for the rest of the process).
inline ZORQelIObject* History() {
  {
    ZORQelIArray array;
    for (int i = 0; i < 100000; ++i) array.Add(ZORQelIObject(new LeafIMP()));
    ZORQelIListUnique list;
    for (int i = 0; i < 10000; ++i) list.Add(ZORQelIObject(new LeafIMP()));
  }
  auto* handles = new std::vector<ZORQelIObject>();
  handles->reserve(1000000);
  for (int i = 0; i < 1000000; ++i) handles->push_back(ZORQelIObject(new LeafIMP()));
  auto* stays = new ZORQelIObject(new LeafIMP());
  delete handles;
  for (int i = 0; i < 3; ++i) ZORQelIVariable::GarbageCollect();
  return stays;
}

// Collects until the count of objects stops falling (at most 8 cycles), so
// that a run starts without the previous run's garbage.
inline void CollectAll() {
  ZORQelI::integer before = -1;
  for (int i = 0; i < 8 && before != ZORQelIVariable::GetInstancesCount__(); ++i) {
    before = ZORQelIVariable::GetInstancesCount__();
    ZORQelIVariable::GarbageCollect();
  }
}

// n identifiers "id" followed by i on `digits` digits, for i = 0 .. n - 1,
// kept alive by their handles until destroyed, when they are collected.
// With 6 digits (n at most 1e6) their hash codes are all distinct: the
// identifier hash weighs each of the six digits by its own power of 16, and
// digits differ only in their low four bits.
class Identifiers {
 public:
  explicit Identifiers(int n, int digits = 6) {
    handles_.reserve(static_cast<std::size_t>(n));
    char name[32];
    for (int i = 0; i < n; ++i) {
      std::snprintf(name, sizeof name, "id%0*d", digits, i);
      handles_.push_back(ZORQelIObject(new ZORQelIIdentifierIMP(ZORQelI::string(name))));
    }
  }
  ~Identifiers() {
    handles_.clear();
    ZORQelIVariable::GarbageCollect();
  }
  Identifiers(const Identifiers&) = delete;
  Identifiers& operator=(const Identifiers&) = delete;

  const std::vector<ZORQelIObject>& Handles() const { return handles_; }
  // The objects of the first n handles (all when n is negative), in creation
  // order or shuffled (so that no container is helped by hash codes that
  // follow the insertion order).
  std::vector<ZORQelIObjectIMP*> Raw(bool shuffled, int n = -1) const {
    const std::size_t count = n < 0 ? handles_.size() : static_cast<std::size_t>(n);
    std::vector<ZORQelIObjectIMP*> raw;
    raw.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
      raw.push_back(const_cast<ZORQelIObjectIMP*>(handles_[i].RefMe()));
    if (shuffled) std::shuffle(raw.begin(), raw.end(), std::mt19937(12345));
    return raw;
  }

 private:
  std::vector<ZORQelIObject> handles_;
};

// The hash and equality of the library's unique lists and sets, for the
// standard peers: the objects' own virtual HashCode (absolute value) and
// Equal.
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

}  // namespace

#endif
