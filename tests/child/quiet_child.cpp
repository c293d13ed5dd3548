// The same container, collector and printer work, whatever tracing the
// parent set: with the variable absent the library takes its frameless
// paths wherever it can; with it set to "!" (nothing traced, nothing
// written) it takes the traced paths everywhere.  Standard output gets the
// results, which must be the same either way, together with how often the
// client classes' own operations ran.
//
// The printer's work is done twice in each run: by a plain
// ZORQelIExpressForm, which takes its direct path when tracing is off, and
// by a subclass that overrides nothing, which never does.  The child says
// whether the two texts agree and writes the plain one, so a quiet run's
// direct text is compared with its own general text and with the text of a
// traced run.
#include <iostream>
#include <string>
#include <vector>

#include "QL0KRN.h"
#include "QL0KRNMem.h"

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

  // The set after removals, by hash code, rehashed and copied: what it
  // holds, seen through lookups of every kind of key.
  int removed = 0;
  for (const char* n : {"beta", "omega", "id0000011"}) removed += set.Remove(Id(n));
  removed += set.Remove(ZORQelIObject(new KeyIMP(3))) + set.Remove(leaf);
  set.Rehash(3);
  ZORQelISet copy(set);
  std::string held;
  for (const char* n : {"alpha", "beta", "id0000001", "id0000011", "gamma", "delta", "x"}) {
    held += copy.Look(Id(n)).IsValid() ? "+" : "-";
    held += set.Look(Id(n)).IsValid() ? "+" : "-";
  }
  for (int v = 0; v < 10; ++v) held += set.Look(ZORQelIObject(new KeyIMP(v))).IsValid() ? "+" : "-";
  held += set.Look(leaf).IsValid() ? "+" : "-";
  for (ZORQelI::integer h : {0, 1, 6, -6, 7}) held += set.Look(h).IsValid() ? "+" : "-";
  std::cout << "set: removed " << removed << " size " << set.Size() << " copy " << copy.Size()
            << " held " << held << "\n";
}

// The printer's general path: the printer cannot tell a subclass that
// overrides nothing from one that sees every piece through its own text
// operations.
class GeneralForm : public ZORQelIExpressForm {};

const char kSchema[] =
    "SCHEMA QUIET;\n"
    "TYPE label = STRING; END_TYPE;\n"
    "ENTITY shape ABSTRACT SUPERTYPE; name : label; END_ENTITY;\n"
    "ENTITY point SUBTYPE OF (shape); coords : LIST [1:3] OF REAL; visible : BOOLEAN;\n"
    "END_ENTITY;\n"
    "ENTITY record; n : INTEGER; target : OPTIONAL shape; ratio : OPTIONAL REAL;\n"
    "  texts : LIST [0:?] OF STRING; flags : LIST [0:?] OF BOOLEAN;\n"
    "  blobs : LIST [0:?] OF BINARY; counts : LIST [0:?] OF INTEGER; END_ENTITY;\n"
    "END_SCHEMA;\n";

// Runs of one entity and changes between entities, unset values, long
// aggregates, the extreme integers.
std::string Population() {
  std::string data =
      "ISO-10303-21;\nHEADER;\nFILE_DESCRIPTION((''),'2;1');\n"
      "FILE_NAME('quiet','',(''),(''),'','','');\nFILE_SCHEMA(('QUIET'));\nENDSEC;\nDATA;\n";
  int id = 1;
  for (int i = 0; i < 40; ++i) {
    const std::string n = std::to_string(id++);
    if (i % 7 == 3) {
      data += "#" + n + "=POINT('p" + n + "',(" + std::to_string(i) + ".5,-1.E-3),." +
              (i % 2 ? "T" : "F") + ".);\n";
      continue;
    }
    std::string counts;
    for (int k = 0; k < (i == 0 ? 120 : i % 3); ++k)
      counts += (k ? "," : "") + std::to_string(k * 7919 - 400000);
    data += "#" + n + "=RECORD(" + (i == 1 ? "-2147483648" : i == 2 ? "2147483647" : n) + "," +
            (i > 3 && i % 4 == 0 ? "#4" : "$") + "," + (i % 3 ? "0.25" : "$") + ",('t" + n +
            "','it''s')," + "(.T.,.F.),(\"0A\"" + (i % 2 ? ",\"3F\"" : "") + "),(" + counts +
            "));\n";
  }
  return data + "ENDSEC;\nEND-ISO-10303-21;\n";
}

// What one printer makes of the population: all lines (indented), then
// each instance's line and value text alone.
std::string Printed(ZORQelIExpressForm& form, const ZORQelIInstances& population) {
  form.Print(population);
  form.Nest();
  for (ZORQelI::integer i = 0; i < population.Size(); ++i) {
    const ZORQelIInstance x = population.Get(i);
    form.PrintLong(x);
    form.PrintInstance(x);
    form.Print(x);
  }
  form.Unnest();
  return static_cast<const char*>(form.Get());
}

void Printer() {
  std::vector<ZORQelIModeler> schemas;
  std::vector<ZORQelIMemDiagnostic> messages;
  if (ZORQelIMemWrapper::Default().LoadSchemasText(kSchema, "quiet.exp", schemas, messages) !=
      ZORQelI::Itrue) {
    std::cout << "printer: schema not read\n";
    return;
  }
  const std::string data = Population();
  const ZORQelIMemExchangeResult r =
      ZORQelIMemExchangeReader::Read(schemas.at(0), data.data(), data.size());
  std::cout << "printer: read " << r.ok << " instances " << r.instances << "\n";
  ZORQelIExpressForm plain;
  GeneralForm general;
  const std::string a = Printed(plain, schemas.at(0).GetInstances());
  const std::string b = Printed(general, schemas.at(0).GetInstances());
  std::cout << "printer: plain and general " << (a == b ? "agree" : "differ") << "\n" << a << "\n";
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
  Printer();
  std::cout << "client calls: Equal " << equalCalls << " HashCode " << hashCalls << " IsValid "
            << validCalls << "\n";
  return 0;
}
