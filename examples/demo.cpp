// The library at work, from a client's point of view:
//   1. handles over implementation objects of the client's own class, a
//      checked down-cast and an exception printed in its fixed layout;
//   2. the Drawing schema built with the in-memory provider and printed as
//      EXPRESS-like schema text, and a provider's capability block;
//   3. a population of instances printed one line per instance;
//   4. the schema saved to a file with the modeler's default Save;
//   5. the population deep-copied into a second schema, references mapped
//      to the new instances;
//   6. a model read from an exchange file (examples/model/): counts by
//      entity, a part deep-copied into a second population and written out
//      as an exchange file, a view told of a change;
//   7. everything dropped, a collection, and the collector's status.
//
// Usage: demo [directory]   (the saved schema goes there; default: a new
// temporary directory).  With ZORQelITracerContext=ZORQelIExpressForm in the
// environment, the printer's calls are traced on standard error.
#include <cstdlib>
#include <iostream>
#include <string>

#include "QL0KRN.h"
#include "QL0KRNMem.h"

namespace {

using ZORQelI::Mint;

const char* Narrow(const ZORQelI::string& s) { return static_cast<const char*>(s); }

// --- 1. A client implementation class --------------------------------------

// A named node that may point to another node.
class DemoNodeIMP : public ZORQelIObjectIMP {
  ZORQELI_DECLARE_IMP(DemoNodeIMP, ZORQelIObjectIMP)
 public:
  explicit DemoNodeIMP(const char* name) : name(name) {}
  DemoNodeIMP(const DemoNodeIMP& o) : ZORQelIObjectIMP(o), name(o.name), next(o.next) {}
  ~DemoNodeIMP() override { std::cout << "  finalized " << Narrow(name) << "\n"; }

  ZORQelIObjectIMP* Clone() const override { return new DemoNodeIMP(*this); }
  void Text(ZORQelIPrint& ot) const override {
    ot.Print(ZORQelI::string("node "));
    ot.Print(name);
  }
  // The collector contract: scan every reference, and the base's.
  void GarbageCollectorMemberCheck() override {
    ZORQelIObjectIMP::GarbageCollectorMemberCheck();
    GarbageCollectorScan(next);
  }

  ZORQelI::string name;
  ZORQelIObject next;  // a handle member: keeps its target alive
};

ZORQELI_DEFINE_IMP(DemoNodeIMP, ZORQelIObjectIMP)

void Handles() {
  std::cout << "== 1. handles and the collector ==\n";
  ZORQelIObject a(new DemoNodeIMP("a"));
  DemoNodeIMP::DownCast(a)->next = new DemoNodeIMP("b");  // a -> b
  ZORQelIObject(new DemoNodeIMP("garbage"));              // unreachable at once
  std::cout << "a is '" << Narrow(a.ToString()) << "'\n";
  try {
    ZORQelIDumbIMP::DownCast(a);  // a is not a placeholder
  } catch (ZORQelI::InvalidType& e) {
    e.Print(std::cout);
  }
  ZORQelIVariable::GarbageCollect();  // frees "garbage"
  std::cout << "dropping a\n";
  a = ZORQelIObject();
  ZORQelIVariable::GarbageCollect();  // frees a and b
}

// --- 2. The Drawing schema ------------------------------------------------

ZORQelIModeler DrawingSchema(ZORQelIWrapper& provider) {
  ZORQelIModeler m = provider.NewModeler("Drawing");
  ZORQelIEntity figure = m.MakeEntity("Figure");
  figure.CreateAttr("name", m.MakeString(), ZORQelI::Ifalse);
  ZORQelIEntity polyline = m.MakeEntity("Polyline");
  polyline.Super(figure);
  polyline.CreateAttr("points", m.MakeArray(m.MakeReal(), 1, 8, ZORQelI::Itrue, ZORQelI::Ifalse),
                      ZORQelI::Ifalse);
  polyline.CreateAttr("tags", m.MakeSet(m.MakeString(16, ZORQelI::Itrue), Mint(), Mint()),
                      ZORQelI::Ifalse);
  polyline.CreateAttr("closed", m.MakeBoolean(), ZORQelI::Itrue);
  return m;
}

// A provider of the demonstration's own: a name and two capabilities.
class StoreWrapper : public ZORQelIWrapper {
 public:
  StoreWrapper() {
    AddCapability(Instances);
    AddCapability(Expression);
  }
  ZORQelI::string WrapperName() const override { return ZORQelI::string("Store"); }
  ZORQelI::boolean Owns(const ZORQelIWrapperObjectIMP*) const override { return ZORQelI::Ifalse; }
};

// --- 3. A population ------------------------------------------------------

// Figure(name, tag), Polyline subtype of Figure (points, closed), Group
// (members, count): the same entities in any schema made by this function.
ZORQelIModeler ShapesSchema(ZORQelIWrapper& provider, const char* name) {
  ZORQelIModeler m = provider.NewModeler(name);
  ZORQelIEntity figure = m.MakeEntity("Figure");
  figure.CreateAttr("name", m.MakeString(), ZORQelI::Ifalse);
  figure.CreateAttr("tag", m.MakeBinary(Mint(), ZORQelI::Ifalse), ZORQelI::Itrue);
  ZORQelIEntity polyline = m.MakeEntity("Polyline");
  polyline.Super(figure);
  polyline.CreateAttr("points", m.MakeList(m.MakeReal(), Mint(), Mint(), ZORQelI::Ifalse),
                      ZORQelI::Ifalse);
  polyline.CreateAttr("closed", m.MakeBoolean(), ZORQelI::Ifalse);
  ZORQelIEntity group = m.MakeEntity("Group");
  group.CreateAttr("members", m.MakeSet(figure, Mint(), Mint()), ZORQelI::Ifalse);
  group.CreateAttr("count", m.MakeInteger(), ZORQelI::Ifalse);
  return m;
}

void Populate(const ZORQelIModeler& m) {
  ZORQelIInstances population = m.GetInstances();
  ZORQelIEntity figure = m.LookEntity("Figure"), polyline = m.LookEntity("Polyline");
  ZORQelIEntity group = m.LookEntity("Group");

  ZORQelIInstance outline = m.Instanciate(ZORQelI::string("Figure"));
  outline.PutAttr(figure.GetAttr("name"), population.InstanciateString("outline"));

  ZORQelIInstance route = m.Instanciate(ZORQelI::string("Polyline"));
  route.PutAttr(figure.GetAttr("name"), population.InstanciateString("route"));
  route.PutAttr(figure.GetAttr("tag"),
                m.Instanciate(figure.GetAttr("tag").GetType()).PutString("0A1B"));
  ZORQelIInstance points = m.Instanciate(polyline.GetAttr("points").GetType());
  points.Append(population.InstanciateReal(1.5));
  points.Append(population.InstanciateReal(2));
  route.PutAttr(polyline.GetAttr("points"), points);
  route.PutAttr(polyline.GetAttr("closed"), population.InstanciateBoolean(ZORQelI::Itrue));

  ZORQelIInstance both = m.Instanciate(ZORQelI::string("Group"));
  ZORQelIInstance members = m.Instanciate(group.GetAttr("members").GetType());
  members.Append(outline);
  members.Append(route);
  both.PutAttr(group.GetAttr("members"), members);
  both.PutAttr(group.GetAttr("count"), population.InstanciateInteger(2));
}

void Print(const ZORQelIInstances& population) {
  ZORQelIExpressForm printer;
  printer.Print(population);
  std::cout << Narrow(printer.Get());
}

// A view that says what it is told about instances.
class WatchIMP : public ZORQelIViewIMP {
  ZORQELI_DECLARE_IMP(WatchIMP, ZORQelIViewIMP)
 public:
  ZORQelIObjectIMP* Clone() const override { return new WatchIMP(*this); }
  void Text(ZORQelIPrint& ot) const override { ot.Print(ZORQelI::string("Watch")); }
  void NotifyUpdate(ZORQelIObject o) override { Tell("changed", o); }
  void NotifyDeleted(ZORQelIObject o) override { Tell("deleted", o); }
  void NotifyCreated(ZORQelIObject o) override { Tell("made", o); }

 private:
  static void Tell(const char* what, ZORQelIObject o) {
    ZORQelIInstance x = ZORQelIInstance::DownCast(o);
    if (x.IsValid()) std::cout << "view: #" << x.GetInstanceId() << " " << what << "\n";
  }
};

ZORQELI_DEFINE_IMP(WatchIMP, ZORQelIViewIMP)

// The house schema of examples/model/, loaded afresh.
ZORQelIModeler House(ZORQelIMemWrapper& provider) {
  ZORQelIModeler m = provider.NewModeler("House");
  if (m.Load(QL0KRN_DEMO_MODEL "/house.exp") != ZORQelI::Itrue) {
    for (const ZORQelIMemDiagnostic& d : ZORQelIMemModelerIMP::DownCast(m)->Diagnostics())
      std::cerr << d.Text() << "\n";
  }
  return m;
}

void ExchangeFile(ZORQelIMemWrapper& provider, const std::string& directory) {
  std::cout << "== 6. a model read from an exchange file ==\n";
  ZORQelIModeler house = House(provider);
  ZORQelIMemExchangeResult r =
      ZORQelIMemExchangeReader::ReadFile(house, QL0KRN_DEMO_MODEL "/house.p21");
  for (const ZORQelIMemDiagnostic& d : r.diagnostics) std::cerr << d.Text() << "\n";
  std::cout << "read " << r.instances << " instances of schema " << Narrow(r.header.schemas.at(0))
            << "\n";
  ZORQelIInstances all = house.GetInstances();
  for (int e = 0; e < house.GetNumberOfEntities(); ++e) {
    ZORQelIEntity entity = house.GetEntity(e);
    int count = 0;
    for (ZORQelI::integer i = 0; i < all.Size(); ++i)
      count += all.Get(i).GetType().IsA(entity) == ZORQelI::Itrue ? 1 : 0;
    if (count > 0) std::cout << "  " << Narrow(entity.Name()) << " " << count << "\n";
  }

  // The geometry (points and outlines) copied into a second population: the
  // outlines of the copy refer to the copied points.
  ZORQelIModeler part = House(provider);
  ZORQelIInstanceListUnique geometry;
  for (ZORQelI::integer i = 0; i < all.Size(); ++i) {
    ZORQelIInstance x = all.Get(i);
    std::string name = Narrow(x.GetType().Name());
    if (name == "point" || name == "outline") geometry.Add(x);
  }
  ZORQelIInstanceListUnique copy;
  copy.SetTargetModeler(part);
  copy.Copy(geometry);
  std::string file = directory + "/geometry.p21";
  ZORQelIMemExchangeWriter::WriteFile(part, file.c_str());
  std::cout << "the geometry, " << copy.Size() << " instances, written to " << file << ":\n"
            << ZORQelIMemExchangeWriter::Write(part);

  // A view on the model hears of a change.
  house.AddView(ZORQelIView(new WatchIMP()));
  ZORQelIInstance gable = all.LookById(15);
  gable.GetAttr("height").PutReal(2.1);
  std::cout << "gable height now " << gable.GetAttr("height").GetReal() << "\n";
}

}  // namespace

int main(int argc, char** argv) {
  ZORQelIMemWrapper& provider = ZORQelIMemWrapper::Default();
  ZORQelI::integer base = ZORQelIVariable::GetInstancesCount__();

  Handles();

  std::string directory;
  if (argc > 1) {
    directory = argv[1];
  } else {
    char pattern[] = "/tmp/ql0krn-demo-XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
      std::cerr << "demo: cannot make a temporary directory\n";
      return 1;
    }
    directory = pattern;
  }

  {
    std::cout << "== 2. the Drawing schema ==\n";
    ZORQelIModeler drawing = DrawingSchema(provider);
    std::cout << Narrow(drawing.ToString());
    StoreWrapper store;
    ZORQelIExpressForm printer;
    store.Text(printer);
    std::cout << Narrow(printer.Get());

    std::cout << "== 3. a population ==\n";
    ZORQelIModeler shapes = ShapesSchema(provider, "Shapes");
    Populate(shapes);
    Print(shapes.GetInstances());

    std::cout << "== 4. saving the Drawing schema ==\n";
    std::string file = directory + "/Drawing.exp";
    ZORQelI::boolean saved = drawing.Save(ZORQelI::string(file.c_str()));
    std::cout << (saved == ZORQelI::Itrue ? "saved to " : "could not save to ") << file << "\n";

    std::cout << "== 5. a deep copy into a second schema ==\n";
    ZORQelIModeler copySchema = ShapesSchema(provider, "ShapesCopy");
    copySchema.MakeEntity("Spacer");  // the copies get other numbers...
    copySchema.Instanciate(ZORQelI::string("Spacer"));
    ZORQelIInstanceListUnique source;
    for (ZORQelI::integer i = 0; i < shapes.GetInstances().Size(); ++i)
      source.Add(shapes.GetInstances().Get(i));
    ZORQelIInstanceListUnique copy;
    copy.SetTargetModeler(copySchema);
    copy.Copy(source);  // ...and the references follow them
    Print(copySchema.GetInstances());

    ExchangeFile(provider, directory);
  }

  std::cout << "== 7. everything dropped, one collection ==\n";
  ZORQelIVariable::GarbageCollect();
  ZORQelIVariable::GarbageCollect();  // member handles stop being roots at the first
  std::cout << "objects beyond those at start: " << ZORQelIVariable::GetInstancesCount__() - base
            << "\n";
  std::cout << "collector status (standard error)" << std::endl;
  ZORQelIObjectIMP::Status();
  ZORQelIVariable::holder[0].Status();
  std::cerr << std::endl;
  ZORQelIVariable::holder[1].Status();
  std::cerr << std::endl;
  return 0;
}
