// The collector against a reference model.  The input is a program of
// handle creations, copies, assignments, member links between objects,
// handle destructions, collection scopes and collections.  The model keeps
// its own graph of the objects and computes reachability by itself; after
// every collection each object must be alive exactly when the model says so
// (nothing reachable freed, nothing unreachable kept longer than the
// member-handle rule allows) and GetInstancesCount__ must match.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "FuzzSupport.h"
#include "QL0KRN.h"

namespace {

constexpr int kMembers = 2;

// Set by the destructor: the model's object ids that have been finalized.
std::vector<bool>* g_freed = nullptr;

class FuzzNodeIMP : public ZORQelIObjectIMP {
  ZORQELI_DECLARE_IMP(FuzzNodeIMP, ZORQelIObjectIMP)
 public:
  explicit FuzzNodeIMP(std::size_t id) : id(id) {}
  ~FuzzNodeIMP() override { (*g_freed)[id] = true; }
  ZORQelIObjectIMP* Clone() const override { std::abort(); }
  void Text(ZORQelIPrint&) const override {}
  void GarbageCollectorMemberCheck() override {
    ZORQelIObjectIMP::GarbageCollectorMemberCheck();
    for (auto& m : link) GarbageCollectorScan(m);
    GarbageCollectorScan(raw);
  }
  std::size_t id;
  ZORQelIObject link[kMembers];  // handle members
  FuzzNodeIMP* raw = nullptr;    // raw member, scanned
};
ZORQELI_DEFINE_IMP(FuzzNodeIMP, ZORQelIObjectIMP)

[[noreturn]] void Fail(const char* what, std::size_t id) {
  std::fprintf(stderr, "collector model mismatch: %s (object %zu)\n", what, id);
  std::abort();
}

// The model of one object: its outgoing references and whether its handle
// members have been taken out of the static table by a scan of it.
struct ModelNode {
  FuzzNodeIMP* imp = nullptr;
  long link[kMembers] = {-1, -1};
  long raw = -1;
  bool scanned = false;
  bool alive = true;
};

struct Program {
  std::vector<ModelNode> nodes;
  std::vector<bool> freed;
  // Heap handles (static table) and the model's view of their referents.
  std::vector<std::unique_ptr<ZORQelIObject>> handles;
  std::vector<long> handleTarget;
  std::vector<std::unique_ptr<ZORQelIGCState>> scopes;
  ZORQelI::integer baseline = 0;

  long NewObject() {
    std::size_t id = nodes.size();
    freed.push_back(false);
    g_freed = &freed;
    ModelNode n;
    n.imp = new FuzzNodeIMP(id);
    nodes.push_back(n);
    return static_cast<long>(id);
  }

  // One collection as the model sees it, then the comparison.
  void Collected() {
    FuzzMarking m(nodes.size());
    for (long t : handleTarget) m.Reach(t);
    // Handle members of objects never scanned are still static-table roots,
    // whether their owner is reachable or not.
    for (const ModelNode& n : nodes)
      if (n.alive && !n.scanned)
        for (long l : n.link) m.Reach(l);
    for (long id; m.Next(id);) {
      ModelNode& n = nodes[id];
      if (!n.alive) Fail("a reference to a finalized object in the model", id);
      n.scanned = true;
      for (long l : n.link) m.Reach(l);
      m.Reach(n.raw);
    }
    const std::vector<bool>& marked = m.marked;
    ZORQelI::integer expected = baseline;
    for (std::size_t i = 0; i < nodes.size(); ++i) {
      ModelNode& n = nodes[i];
      if (!n.alive) {
        if (!freed[i]) Fail("a finalized object came back", i);
        continue;
      }
      if (marked[i]) {
        if (freed[i]) Fail("a reachable object was freed", i);
        ++expected;
      } else {
        if (!freed[i]) Fail("an unreachable object was kept", i);
        n.alive = false;
      }
    }
    if (ZORQelIVariable::GetInstancesCount__() != expected) {
      std::fprintf(stderr, "instances: %ld, model: %ld\n",
                   static_cast<long>(ZORQelIVariable::GetInstancesCount__()),
                   static_cast<long>(expected));
      Fail("GetInstancesCount__", 0);
    }
  }

  void Collect() {
    ZORQelIVariable::GarbageCollect();
    Collected();
  }

  // A live object the model knows, picked by a byte (or -1).
  long LiveObject(std::uint8_t b) {
    if (handles.empty()) return -1;
    return handleTarget[b % handles.size()];
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ZORQelIVariable::GarbageCollect();
  ZORQelIVariable::GarbageCollect();
  Program p;
  p.baseline = ZORQelIVariable::GetInstancesCount__();

  std::size_t i = 0;
  auto next = [&]() -> std::uint8_t { return i < size ? data[i++] : 0; };
  while (i < size && p.nodes.size() < 4096) {
    std::uint8_t op = next() % 10;
    std::uint8_t a = next(), b = next();
    std::size_t h = p.handles.size();
    switch (op) {
      case 0: {  // a new object and a handle to it
        long id = p.NewObject();
        p.handles.emplace_back(new ZORQelIObject(p.nodes[id].imp));
        p.handleTarget.push_back(id);
        break;
      }
      case 1:  // copy of a handle
        if (h) {
          p.handles.emplace_back(new ZORQelIObject(*p.handles[a % h]));
          p.handleTarget.push_back(p.handleTarget[a % h]);
        } else {
          p.handles.emplace_back(new ZORQelIObject());
          p.handleTarget.push_back(-1);
        }
        break;
      case 2:  // assignment between handles (an empty one when b says so)
        if (h) {
          if (b & 0x80) {
            *p.handles[a % h] = ZORQelIObject();
            p.handleTarget[a % h] = -1;
          } else {
            *p.handles[a % h] = *p.handles[b % h];
            p.handleTarget[a % h] = p.handleTarget[b % h];
          }
        }
        break;
      case 3:  // a handle member of one object set to another (or emptied)
      case 4: {
        long owner = p.LiveObject(a);
        if (owner >= 0) {
          long target = (b & 0x80) ? -1 : p.LiveObject(b);
          int k = op - 3;
          ModelNode& n = p.nodes[owner];
          n.link[k] = target;
          n.imp->link[k] = target >= 0 ? static_cast<ZORQelIObjectIMP*>(p.nodes[target].imp)
                                       : static_cast<ZORQelIObjectIMP*>(nullptr);
        }
        break;
      }
      case 5: {  // the raw member
        long owner = p.LiveObject(a);
        if (owner >= 0) {
          long target = (b & 0x80) ? -1 : p.LiveObject(b);
          p.nodes[owner].raw = target;
          p.nodes[owner].imp->raw = target >= 0 ? p.nodes[target].imp : nullptr;
        }
        break;
      }
      case 6:  // destroy a handle (any position)
      case 7:
        if (h) {
          std::size_t k = a % h;
          p.handles.erase(p.handles.begin() + static_cast<long>(k));
          p.handleTarget.erase(p.handleTarget.begin() + static_cast<long>(k));
        }
        break;
      case 8:  // open or close a collection scope
        if ((a & 1) && p.scopes.size() < 8) {
          p.scopes.emplace_back(new ZORQelIGCState());
          p.Collected();
        } else if (!p.scopes.empty()) {
          p.scopes.pop_back();
          p.Collected();
        }
        break;
      case 9:
        p.Collect();
        break;
    }
  }
  while (!p.scopes.empty()) {
    p.scopes.pop_back();
    p.Collected();
  }
  // With no handle left, two cycles free everything (the first turns the
  // remaining handle members into members).
  p.handles.clear();
  p.handleTarget.clear();
  p.Collect();
  p.Collect();
  if (ZORQelIVariable::GetInstancesCount__() != p.baseline) Fail("objects left at the end", 0);
  g_freed = nullptr;
  return 0;
}
