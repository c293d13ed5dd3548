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
//   look     N lookups of held identifiers in a ZORQelIListUnique of 1,000,
//            through handles (Look(id).IsValid())
//   find     the same N lookups in a std::unordered_set with the
//            identifiers' own HashCode and Equal, the peer of look
//   add      N additions of identifiers to ZORQelIListUniques, 1,000 to a
//            list (the lists are made before the count starts)
//   insert   the same N insertions into std::unordered_sets, the peer of add
//   isvalid  IsValid() on an empty handle
//   isvalid1 IsValid() on a handle on an object that keeps the root's IsValid
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

__attribute__((noinline)) int LookAll(const ZORQelIListUnique& list,
                                      const std::vector<ZORQelIObject>& ids) {
  int found = 0;
  for (const ZORQelIObject& id : ids) found += list.Look(id).IsValid();
  return found;
}
__attribute__((noinline)) int FindAll(const PeerSet& set,
                                      const std::vector<ZORQelIObjectIMP*>& ids) {
  int found = 0;
  for (ZORQelIObjectIMP* p : ids) found += set.find(p) != set.end();
  return found;
}
__attribute__((noinline)) int AddAll(ZORQelIListUnique& list,
                                     const std::vector<ZORQelIObject>& ids) {
  int added = 0;
  for (const ZORQelIObject& id : ids) added += list.Add(id);
  return added;
}
__attribute__((noinline)) int InsertAll(PeerSet& set, const std::vector<ZORQelIObjectIMP*>& ids) {
  int added = 0;
  for (ZORQelIObjectIMP* p : ids) added += set.insert(p).second;
  return added;
}

__attribute__((noinline)) void TracedNoOp() {
  ZORQELI_TRACE("void Probe::TracedNoOp()");
  asm volatile("");
}

// The handle is read through a volatile pointer so that the call is made
// every time.
__attribute__((noinline)) int IsValidAll(const ZORQelIObject* volatile* h, long n) {
  int valid = 0;
  for (long i = 0; i < n; ++i) valid += (*h)->IsValid();
  return valid;
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
    std::cerr << "usage: callgrind_probe empty|traced|isvalid|isvalid1|handle|collect|delete|chain|look|find|add|insert N\n";
    return 2;
  }
  const long n = std::atol(argv[2]);
  ZORQelIObject h(new LeafIMP());
  if (std::strcmp(argv[1], "empty") == 0) {
    for (long i = 0; i < n; ++i) EmptyCall();
  } else if (std::strcmp(argv[1], "traced") == 0) {
    for (long i = 0; i < n; ++i) TracedNoOp();
  } else if (std::strcmp(argv[1], "isvalid") == 0 || std::strcmp(argv[1], "isvalid1") == 0) {
    ZORQelIObject empty;
    const ZORQelIObject* volatile which = argv[1][7] == '1' ? &h : &empty;
    if (IsValidAll(&which, n) != (argv[1][7] == '1' ? n : 0)) return 1;
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
  } else if (std::strcmp(argv[1], "look") == 0 || std::strcmp(argv[1], "find") == 0) {
    const Identifiers ids(1000);
    const std::vector<ZORQelIObjectIMP*> raw = ids.Raw(false);
    ZORQelIListUnique list;
    PeerSet set;
    for (const ZORQelIObject& id : ids.Handles()) list.Add(id);
    for (ZORQelIObjectIMP* p : raw) set.insert(p);
    const bool look = argv[1][0] == 'l';
    for (long done = 0; done < n; done += 1000)
      if ((look ? LookAll(list, ids.Handles()) : FindAll(set, raw)) != 1000) return 1;
  } else if (std::strcmp(argv[1], "add") == 0 || std::strcmp(argv[1], "insert") == 0) {
    const Identifiers ids(1000);
    const std::vector<ZORQelIObjectIMP*> raw = ids.Raw(false);
    const long rounds = n / 1000;
    if (argv[1][0] == 'a') {
      std::vector<ZORQelIListUnique> lists(static_cast<std::size_t>(rounds));
      for (ZORQelIListUnique& list : lists)
        if (AddAll(list, ids.Handles()) != 1000) return 1;
    } else {
      std::vector<PeerSet> sets(static_cast<std::size_t>(rounds));
      for (PeerSet& set : sets)
        if (InsertAll(set, raw) != 1000) return 1;
    }
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
