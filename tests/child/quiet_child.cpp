// The same container, collector and printer work, whatever tracing the
// parent set: with the variable absent the library takes its frameless
// paths wherever it can; with it set to "!" (nothing traced, nothing
// written) it takes the traced paths everywhere.  Standard output gets the
// results, which must be the same either way, together with how often the
// client classes' own operations ran.
#include <iostream>
#include <string>

#include "QL0KRN.h"

namespace {

long equalCalls = 0, hashCalls = 0, validCalls = 0, finalized = 0;

// A key class that declares its own Equal and HashCode through the macros:
// two keys are Equal when their values are.
class KeyIMP : public ZORQelIObjectIMP {
  ZORQELI_DECLARE_IMP(KeyIMP, ZORQelIObjectIMP)
 public:
  explicit KeyIMP(int v) : value(v) {}
  ZORQelIObjectIMP* Clone() const override { return new KeyIMP(value); }
  void Text(ZORQelIPrint& ot) const override { ot.Print(ZORQelI::integer(value)); }
  ZORQelI::boolean Equal(ZORQelIObjectIMP* o) const override {
    ++equalCalls;
    const KeyIMP* k = dynamic_cast<const KeyIMP*>(o);
    return k != nullptr && k->value == value ? ZORQelI::Itrue : ZORQelI::Ifalse;
  }
  ZORQelI::integer HashCode() const override {
    ++hashCalls;
    return value % 7;
  }
  int value;
};
ZORQELI_DEFINE_IMP(KeyIMP, ZORQelIObjectIMP)

// A subclass of a library class that does not use the macros: to the
// library it is unknown, whatever it inherits.
class LooseIdentifierIMP : public ZORQelIIdentifierIMP {
 public:
  using ZORQelIIdentifierIMP::ZORQelIIdentifierIMP;
  ZORQelI::boolean IsValid() const override {
    ++validCalls;
    return ZORQelI::Itrue;
  }
  ZORQelI::boolean Equal(ZORQelIObjectIMP* o) const override {
    ++equalCalls;
    return ZORQelIIdentifierIMP::Equal(o);
  }
};

// A node with a handle member and a finalizer of its own.
class NodeIMP : public ZORQelIObjectIMP {
  ZORQELI_DECLARE_IMP(NodeIMP, ZORQelIObjectIMP)
 public:
  ZORQelIObjectIMP* Clone() const override { return new NodeIMP(); }
  void Text(ZORQelIPrint&) const override {}
  void GarbageCollectorMemberCheck() override { GarbageCollectorScan(next); }
  void Finalizer() override {
    ++finalized;
    ZORQelIObjectIMP::Finalizer();
  }
  ZORQelIObject next;
};
ZORQELI_DEFINE_IMP(NodeIMP, ZORQelIObjectIMP)

// A leaf that keeps every operation of the root class.
class LeafIMP : public ZORQelIObjectIMP {
  ZORQELI_DECLARE_IMP(LeafIMP, ZORQelIObjectIMP)
 public:
  ZORQelIObjectIMP* Clone() const override { return new LeafIMP(); }
  void Text(ZORQelIPrint&) const override {}
};
ZORQELI_DEFINE_IMP(LeafIMP, ZORQelIObjectIMP)

ZORQelIObject Id(const char* name) { return ZORQelIObject(new ZORQelIIdentifierIMP(ZORQelI::string(name))); }

void Containers() {
  ZORQelIListUnique list;
  ZORQelISet set;
  int added = 0, found = 0;
  // Identifiers, some sharing hash codes (the hash reads at most eight
  // characters), keys of the client's, loose identifiers and leaves.
  const char* names[] = {"alpha", "beta", "alpha", "id0000001", "id0000011", "id0000001",
                         "gamma", "beta"};
  for (const char* n : names) {
    added += list.Add(Id(n));
    added += set.Add(Id(n));
  }
  for (int v = 0; v < 20; ++v) {
    added += list.Add(ZORQelIObject(new KeyIMP(v % 12)));
    added += set.Add(ZORQelIObject(new KeyIMP(v % 9)));
  }
  for (const char* n : {"alpha", "delta", "delta"}) {
    ZORQelIObject loose(new LooseIdentifierIMP(ZORQelI::string(n)));
    added += list.Add(loose);
    added += set.Add(loose);
    found += list.Look(loose).IsValid();
    found += set.Look(loose).IsValid();
  }
  ZORQelIObject leaf(new LeafIMP());
  added += list.Add(leaf) + list.Add(leaf) + set.Add(leaf);
  for (const char* n : {"alpha", "beta", "id0000011", "omega", "id0000021"}) {
    found += list.Look(Id(n)).IsValid();
    found += set.Look(Id(n)).IsValid();
  }
  for (int v = 0; v < 14; ++v) found += list.Look(ZORQelIObject(new KeyIMP(v))).IsValid();
  ZORQelIArray array;
  for (int i = 0; i < 100; ++i) array.Add(i % 3 == 0 ? ZORQelIObject(new KeyIMP(i)) : Id("x"));
  std::cout << "containers: added " << added << " found " << found << " list "
            << list.Size() << " array " << array.Size() << "\n";
  std::cout << "list text: " << static_cast<const char*>(list.ToString()) << "\n";
}

void Collector() {
  const ZORQelI::integer before = ZORQelIVariable::GetInstancesCount__();
  {
    ZORQelIObject head(new NodeIMP());
    NodeIMP* last = static_cast<NodeIMP*>(head.RefMe());
    for (int i = 0; i < 1000; ++i) {
      NodeIMP* n = new NodeIMP();
      last->next = n;
      last = n;
    }
    for (int i = 0; i < 500; ++i) new LeafIMP();
    ZORQelIVariable::GarbageCollect();
    std::cout << "collector: kept " << ZORQelIVariable::GetInstancesCount__() - before
              << " finalized " << finalized << "\n";
    ZORQelIObject empty;
    std::cout << "valid: " << static_cast<int>(head.IsValid()) << static_cast<int>(empty.IsValid()) << "\n";
  }
  ZORQelIVariable::GarbageCollect();
  ZORQelIVariable::GarbageCollect();
  std::cout << "collector: left " << ZORQelIVariable::GetInstancesCount__() - before
            << " finalized " << finalized << "\n";
}

}  // namespace

int main() {
  Containers();
  ZORQelIVariable::GarbageCollect();
  Collector();
  std::cout << "client calls: Equal " << equalCalls << " HashCode " << hashCalls << " IsValid "
            << validCalls << "\n";
  return 0;
}
