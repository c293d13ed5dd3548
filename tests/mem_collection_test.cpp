// The in-memory provider's views and its life under the collector: a held
// schema keeps everything it made, a dropped one is reclaimed entirely.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "QL0KRNMem.h"
#include "TestSupport.h"

namespace {

using qtest::Str;
using ZORQelI::Ifalse;
using ZORQelI::Itrue;
using ZORQelI::Mint;

// What a view was told: the notice and the object's address (only compared).
struct Event {
  qtest::Notice kind;
  const void* object;
  bool operator==(const Event& o) const { return kind == o.kind && object == o.object; }
};

// A view recording what it was told.
ZORQelIView RecordingView(std::vector<Event>* log) {
  return ZORQelIView(new qtest::FnViewIMP([log](qtest::Notice kind, ZORQelIObject o) { log->push_back({kind, o.RefMe()}); }));
}

const void* Address(const ZORQelIObject& o) { return o.RefMe(); }

TEST(MemViews, ViewsHearOfEntitiesAndInstances) {
  std::vector<Event> log;
  ZORQelIModeler m = ZORQelIMemWrapper::Default().NewModeler("Watched");
  ZORQelIView view = RecordingView(&log);
  m.AddView(view);
  m.AddView(ZORQelIView());  // ignored

  ZORQelIEntity e = m.MakeEntity("Item");
  ZORQelIAttr size = e.CreateAttr("size", m.MakeInteger(), Ifalse);
  ZORQelIAttr tags = e.CreateAttr("tags", m.MakeList(m.MakeString(), Mint::UNSET, Mint::UNSET, Ifalse), Ifalse);
  ZORQelIInstance x = m.Instanciate("Item");
  x.GetAttr(size).PutInt(3);
  x.GetAttr(tags).Append(m.InstanciateString().PutString("t"));
  x.Delete();
  const void* E = Address(e);
  const void* X = Address(x);
  const void* P = Address(m.GetInstances());
  using qtest::Notice;
  std::vector<Event> expected = {{Notice::Created, E}, {Notice::Updated, E}, {Notice::Updated, E},
                                 {Notice::Created, X}, {Notice::Updated, X}, {Notice::Updated, X},
                                 {Notice::Updated, P}, {Notice::Deleted, X}};
  // (the deletion takes the instance out of the population first)
  EXPECT_EQ(expected, log);

  log.clear();
  m.InstanciateInteger().PutInt(1);  // free values tell nobody
  EXPECT_TRUE(log.empty());
  m.RemoveView(view);
  m.MakeEntity("Unheard");
  EXPECT_TRUE(log.empty());
  EXPECT_THROW(m.RemoveView(ZORQelIView()), ZORQelI::NullPtrAccess);
}

// A schema with every kind of object the provider makes, references in a
// cycle and in aggregates, a view, and an interface reached through a Void value.
ZORQelIModeler BuildEverything(ZORQelIMemWrapper& w, std::vector<Event>* log) {
  ZORQelIModeler m = w.NewModeler("Everything");
  m.AddView(RecordingView(log));
  ZORQelIEntity node = m.MakeEntity("Node");
  ZORQelIEntity leaf = m.MakeEntity("Leaf");
  leaf.Super(node);
  node.CreateAttr("label", m.MakeString(32, Ifalse), Ifalse);
  node.CreateAttr("next", node, Itrue);
  node.CreateAttr("links", m.MakeSet(node, Mint::UNSET, Mint::UNSET), Itrue);
  leaf.CreateAttr("weights", m.MakeArray(m.MakeReal(), 0, 2, Itrue, Ifalse), Ifalse);
  ZORQelIInstances pop = m.GetInstances();
  ZORQelIInstance previous;
  for (int i = 0; i < 20; ++i) {
    ZORQelIInstance x = m.Instanciate(i % 2 == 0 ? "Node" : "Leaf");
    x.GetAttr("label").PutString(("n" + std::to_string(i)).c_str());
    if (previous.IsValid() == Itrue) {
      x.PutAttr(node.GetAttr("next"), previous);
      x.GetAttr("links").Append(previous);
      x.GetAttr("links").Append(x);
    }
    if (i % 2 == 1) x.GetAttr("weights").PutInstance(1, pop.InstanciateReal(0.5 * i));
    previous = x;
  }
  pop.Get(0).PutAttr(node.GetAttr("next"), previous);  // close the cycle
  pop.Get(1).GetAttr("weights").PutInstance(0, pop.InstanciateReal(1));
  ZORQelIInterface api = w.NewInterface("Api");
  ZORQelIMethod walk = api.MakeMethod(node, "walk", node);
  walk.MakeParam("steps", Itrue, Ifalse, m.MakeInteger());
  ZORQelIEntity holder = m.MakeEntity("Holder");
  holder.CreateAttr("thing", m.MakeType(ZORQelI::Ivoid), Ifalse);
  m.Instanciate("Holder").GetAttr("thing").PutObject(ZORQelIObject(api));
  return m;
}

// Both end with the object count back where it started.
using MemCollection = qtest::CountedTest;

TEST_F(MemCollection, AHeldSchemaKeepsEverythingItMadeAndADroppedOneIsReclaimed) {
  ZORQelIMemWrapper w("Held");
  std::vector<Event> log;
  ZORQelIModeler m = BuildEverything(w, &log);
  qtest::CollectAll();
  EXPECT_GT(ZORQelIVariable::GetInstancesCount__(), before_ + 50);  // many objects kept alive

  ZORQelIInstances pop = m.GetInstances();
  ASSERT_EQ(21, pop.Size());
  EXPECT_EQ("n19", Str(pop.Get(0).GetAttr("next").GetAttr("label").GetString()));
  EXPECT_EQ(1, pop.Get(1).GetAttr("next").GetInstanceId());
  EXPECT_EQ(2, pop.Get(5).GetAttr("links").Size());
  EXPECT_EQ(5, pop.Get(5).GetAttr("links").GetInstance(0).GetInstanceId());
  EXPECT_DOUBLE_EQ(2.5, pop.Get(5).GetAttr("weights").GetInstance(1).GetReal());
  EXPECT_DOUBLE_EQ(1.0, pop.Get(1).GetAttr("weights").GetInstance(0).GetReal());
  ZORQelIObject api = pop.Get(20).GetAttr("thing").GetObject();
  EXPECT_EQ(1, ZORQelIInterface::DownCast(api).SearchMethod("walk").NumberOfParams());
  // The view is still registered and alive.
  std::size_t heard = log.size();
  m.MakeEntity("Late");
  EXPECT_EQ(heard + 1, log.size());
}

TEST_F(MemCollection, AnyHeldObjectKeepsItsSchema) {
  ZORQelIMemWrapper w("Partial");
  ZORQelIInstance cell;
  {
    ZORQelIModeler m = w.NewModeler("Kept");
    ZORQelIEntity e = m.MakeEntity("E");
    e.CreateAttr("values", m.MakeList(m.MakeInteger(), Mint::UNSET, Mint::UNSET, Ifalse), Ifalse);
    ZORQelIInstance x = m.Instanciate("E");
    x.GetAttr("values").Append(m.GetInstances().InstanciateInteger(9));
    cell = x.GetAttr("values").GetInstance(0);  // an element of an attribute's list
  }
  qtest::CollectAll();
  EXPECT_EQ(9, cell.GetInt());
  EXPECT_EQ("Kept", Str(cell.GetType().GetModeler().Name()));
  EXPECT_EQ(1, cell.GetType().GetModeler().GetInstances().Size());
}

}  // namespace
