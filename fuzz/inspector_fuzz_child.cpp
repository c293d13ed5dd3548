// The process that inspector_fuzz starts once per input: a small heap of
// objects in both holder tables, then ZORQelIVariable::Debugger() reading its
// commands from standard input.
//
// The heap, after one collection has taken member handles out of the tables:
//   static table:    chain head c0 (c0 -> c1 -> c2 through member handles),
//                    cycle entry k0 (k0 <-> k1), an empty handle, a hole
//                    left by a dropped handle, and the member slots freed by
//                    the collection
//   automatic table: a hole, leaf l1, an empty handle, the middle of the
//                    chain (c1), the other half of the cycle (k1), leaf l5
// Unreachable garbage (an object dropped before the collection) is gone.
//
// Exit statuses, which the fuzz target relies on:
//   0  the inspector returned (command 'c' or end of input); "returned" is
//      then the last line of standard output
//   1  the inspector's quit command
//   3  the inspector changed the tables or the set of live objects
// Anything else (a signal, the sanitizers' own status) is a fault.
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <vector>

#include "QL0KRN.h"

namespace {

class FuzzNodeIMP : public ZORQelIObjectIMP {
  ZORQELI_DECLARE_IMP(FuzzNodeIMP, ZORQelIObjectIMP)
 public:
  explicit FuzzNodeIMP(const char* label) : label(label) {}
  ZORQelIObjectIMP* Clone() const override { return new FuzzNodeIMP(*this); }
  // The label and the next node's label only: following the link further
  // would never end on the cycle.
  void Text(ZORQelIPrint& ot) const override {
    ot.Print(ZORQelI::string(label));
    if (next.IsValid() == ZORQelI::Itrue) {
      const FuzzNodeIMP* n = FuzzNodeIMP::DownCast(next);
      ot.Print(ZORQelI::string(" -> "));
      ot.Print(ZORQelI::string(n->label));
    }
  }
  void GarbageCollectorMemberCheck() override {
    ZORQelIObjectIMP::GarbageCollectorMemberCheck();
    GarbageCollectorScan(next);
  }
  const char* label;
  ZORQelIObject next;  // member handle: found through this object once scanned
};
ZORQELI_DEFINE_IMP(FuzzNodeIMP, ZORQelIObjectIMP)

FuzzNodeIMP* Node(const ZORQelIObject& h) { return FuzzNodeIMP::DownCast(h); }

// Heap handles live in the static table; kept reachable from here so that a
// quit (exit from inside the inspector) reports no leak.
std::vector<ZORQelIObject*>* g_heapHandles = nullptr;

ZORQelIObject* HeapHandle(ZORQelIObjectIMP* imp) {
  ZORQelIObject* h = imp != nullptr ? new ZORQelIObject(imp) : new ZORQelIObject();
  g_heapHandles->push_back(h);
  return h;
}

// What the inspector must leave as it found it.  Printing an object makes
// temporary handles (DownCast takes one by value), which leave free slots past
// the old end of the automatic table until the next registration trims them:
// those trailing free slots are not a change.
struct Snapshot {
  ZORQelI::integer instances = 0;
  std::vector<ZORQelIObjectIMP*> tables[2];

  static Snapshot Take() {
    Snapshot s;
    s.instances = ZORQelIVariable::GetInstancesCount__();
    for (int t = 0; t < 2; ++t) {
      const ZORQelIGholder& h = ZORQelIVariable::holder[t];
      s.tables[t].assign(h.table, h.table + h.count);
      while (!s.tables[t].empty() && s.tables[t].back() == nullptr) s.tables[t].pop_back();
    }
    return s;
  }
  bool operator==(const Snapshot& o) const {
    return instances == o.instances && tables[0] == o.tables[0] && tables[1] == o.tables[1];
  }
};

}  // namespace

int main() {
  std::vector<ZORQelIObject*> heapHandles;
  g_heapHandles = &heapHandles;

  // Static table.
  ZORQelIObject* chain = HeapHandle(new FuzzNodeIMP("c0"));
  Node(*chain)->next = ZORQelIObject(new FuzzNodeIMP("c1"));
  Node(Node(*chain)->next)->next = ZORQelIObject(new FuzzNodeIMP("c2"));
  ZORQelIObject* cycle = HeapHandle(new FuzzNodeIMP("k0"));
  Node(*cycle)->next = ZORQelIObject(new FuzzNodeIMP("k1"));
  Node(Node(*cycle)->next)->next = *cycle;
  HeapHandle(nullptr);
  ZORQelIObject* dropped = new ZORQelIObject(new FuzzNodeIMP("g0"));  // garbage once dropped

  // Automatic table.
  std::optional<ZORQelIObject> hole;
  hole.emplace(new FuzzNodeIMP("g1"));
  ZORQelIObject leaf1(new FuzzNodeIMP("l1"));
  ZORQelIObject empty;
  ZORQelIObject middle = Node(*chain)->next;
  ZORQelIObject half = Node(*cycle)->next;
  ZORQelIObject leaf5(new FuzzNodeIMP("l5"));
  hole.reset();
  delete dropped;

  ZORQelIVariable::GarbageCollect();
  const Snapshot before = Snapshot::Take();

  ZORQelIVariable::Debugger();

  if (!(Snapshot::Take() == before)) {
    std::fflush(stdout);
    std::cerr << "inspector changed the holder tables or the object count" << std::endl;
    return 3;
  }
  // Everything the inspector listed is still reachable: a collection frees
  // nothing.
  ZORQelIVariable::GarbageCollect();
  if (ZORQelIVariable::GetInstancesCount__() != before.instances) {
    std::cerr << "objects lost after the inspector" << std::endl;
    return 3;
  }
  std::cout << "returned" << std::endl;
  for (ZORQelIObject* h : heapHandles) delete h;
  return 0;
}
