// The in-memory provider's populations and instances: numbering, positions,
// values, references, aggregates, and their errors.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CoreTestSupport.h"
#include "QL0KRNMem.h"
#include "TestSupport.h"

namespace {

using qtest::ExpectRaise;
using qtest::Str;
using ZORQelI::Ifalse;
using ZORQelI::Itrue;
using ZORQelI::Mint;

// Figure(name String, tag Binary), Polyline subtype of Figure (points List of
// Real, closed Boolean), Group(members Set of Figure, count Integer, parent
// Group optional).
struct Drawing {
  ZORQelIModeler m = ZORQelIMemWrapper::Default().NewModeler("Drawing");
  ZORQelIEntity figure = m.MakeEntity("Figure");
  ZORQelIEntity polyline = m.MakeEntity("Polyline");
  ZORQelIEntity group = m.MakeEntity("Group");
  ZORQelIAttr name = figure.CreateAttr("name", m.MakeString(), Ifalse);
  ZORQelIAttr tag = figure.CreateAttr("tag", m.MakeBinary(Mint::UNSET, Ifalse), Itrue);
  ZORQelIAttr points =
      polyline.CreateAttr("points", m.MakeList(m.MakeReal(), Mint::UNSET, Mint::UNSET, Ifalse), Ifalse);
  ZORQelIAttr closed = polyline.CreateAttr("closed", m.MakeBoolean(), Ifalse);
  ZORQelIAttr members = group.CreateAttr("members", m.MakeSet(figure, Mint::UNSET, Mint::UNSET), Ifalse);
  ZORQelIAttr count = group.CreateAttr("count", m.MakeInteger(), Ifalse);
  ZORQelIAttr parent = group.CreateAttr("parent", group, Itrue);
  ZORQelIInstances pop = m.GetInstances();

  Drawing() { polyline.Super(figure); }

  ZORQelIInstance Text(const char* s) const { return m.InstanciateString().PutString(s); }
};

// Every test starts from a drawing schema of its own, `d`.
class DrawingTest : public ::testing::Test {
 protected:
  Drawing d;
};
using MemPopulation = DrawingTest;
using MemValues = DrawingTest;
using MemAttributes = DrawingTest;
using MemReferences = DrawingTest;
using MemAggregates = DrawingTest;

TEST_F(MemPopulation, InstancesAreNumberedFromOneAndFoundByNumber) {
  ZORQelIInstance a = d.m.Instanciate("Figure");
  ZORQelIInstance b = d.m.Instanciate(d.polyline);
  ZORQelIInstance c = d.pop.Instanciate("Group");
  d.m.InstanciateInteger();  // values are not members
  ASSERT_EQ(3, d.pop.Size());
  EXPECT_EQ(1, a.GetInstanceId());
  EXPECT_EQ(3, c.GetInstanceId());
  EXPECT_EQ(Itrue, d.pop.Get(1).Equal(b));
  EXPECT_EQ(Itrue, d.pop.LookById(2).Equal(b));
  EXPECT_EQ(Ifalse, d.pop.LookById(4).IsValid());
  EXPECT_EQ(2, d.pop.Look(c));
  EXPECT_FALSE(d.pop.Look(ZORQelIInstance()).IsSet());
  EXPECT_EQ(Itrue, b.GetType().Equal(d.polyline));
}

TEST_F(MemPopulation, PositionsChangeButNumbersStay) {
  ZORQelIInstance a = d.m.Instanciate("Figure");
  ZORQelIInstance b = d.m.Instanciate("Figure");
  ZORQelIInstance c = d.m.Instanciate("Figure");
  d.pop.Remove(0);
  EXPECT_EQ(2, d.pop.Size());
  EXPECT_FALSE(d.pop.Look(a).IsSet());
  EXPECT_EQ(Ifalse, d.pop.LookById(1).IsValid());
  EXPECT_EQ(Itrue, a.IsValid());  // removed, not deleted
  d.pop.Append(a);                // now out of number order
  EXPECT_EQ(2, d.pop.Look(a));
  EXPECT_EQ(Itrue, d.pop.LookById(1).Equal(a));
  EXPECT_EQ(Itrue, d.pop.LookById(3).Equal(c));
  EXPECT_EQ(1, a.GetInstanceId());
  ExpectRaise<ZORQelI::Exception>([&] { d.pop.Append(a); }, "already");
  ExpectRaise<ZORQelI::Exception>([&] { d.pop.Put(0, c); }, "already");

  ZORQelIInstance x = d.m.Instanciate("Figure");  // number 4, appended
  d.pop.Remove(3);
  d.pop.Put(0, x);  // replaces b, which leaves the population
  EXPECT_EQ(Itrue, d.pop.Get(0).Equal(x));
  EXPECT_FALSE(d.pop.Look(b).IsSet());
  EXPECT_EQ(3, d.pop.Size());
  d.pop.Put(0, x);  // its own position: nothing changes
  EXPECT_EQ(3, d.pop.Size());
}

TEST_F(MemPopulation, BadPositionsAndCandidatesAreRefused) {
  ZORQelIInstance a = d.m.Instanciate("Figure");
  ExpectRaise<ZORQelI::BoundError>([&] { d.pop.Get(1); });
  ExpectRaise<ZORQelI::BoundError>([&] { d.pop.Remove(-1); });
  ExpectRaise<ZORQelI::BoundError>([&] { d.pop.Put(1, a); });
  ExpectRaise<ZORQelI::NullPtrAccess>([&] { d.pop.Append(ZORQelIInstance()); });
  ExpectRaise<ZORQelI::InvalidType>([&] { d.pop.Append(d.pop.InstanciateInteger(3)); });
  Drawing other;
  ZORQelIInstance stranger = other.m.Instanciate("Figure");
  other.pop.Remove(0);
  ExpectRaise<ZORQelI::InvalidType>([&] { d.pop.Append(stranger); });
  ExpectRaise<ZORQelI::InvalidType>([&] { d.pop.Instanciate(other.figure); });
  ExpectRaise<ZORQelI::NullPtrAccess>([&] { d.pop.Instanciate(ZORQelIType()); });
  ExpectRaise<ZORQelI::Exception>([&] { d.pop.Instanciate("Circle"); }, "no type named");
  EXPECT_EQ(1, d.pop.Size());
  ExpectRaise<ZORQelI::InvalidType>([&] { d.pop.Rename("x"); });
}

TEST_F(MemValues, ValuesAreTypedStartUnsetAndAreCopied) {
  ZORQelIInstance i = d.m.InstanciateInteger();
  EXPECT_EQ(Ifalse, i.IsValid());
  EXPECT_EQ("$", Str(i.GetSymbolicName()));
  ExpectRaise<ZORQelI::Exception>([&] { i.GetInt(); }, "unset");
  EXPECT_EQ(7, i.PutInt(7).GetInteger());
  ExpectRaise<ZORQelI::InvalidType>([&] { i.GetReal(); });
  ExpectRaise<ZORQelI::InvalidType>([&] { i.PutString("7"); });
  ExpectRaise<ZORQelI::InvalidType>([&] { i.Remove(); });
  EXPECT_EQ(7, i.GetInt());

  ZORQelIInstance logical = d.pop.Instanciate("Logical").PutBoolean(Ifalse);
  EXPECT_EQ(Ifalse, logical.GetBoolean());
  ZORQelIInstance copy = d.m.InstanciateInteger();
  copy.PutObject(i);
  i.PutInt(8);
  EXPECT_EQ(7, copy.GetInt());  // values are copied, never shared
  copy.Unset();
  EXPECT_EQ(Ifalse, copy.IsValid());

  // A Void value carries any object.
  ZORQelIInstance v = d.pop.Instanciate(d.m.MakeType(ZORQelI::Ivoid));
  v.PutObject(ZORQelIObject(d.m));
  EXPECT_EQ(Itrue, v.GetObject().Equal(d.m));
  v.PutObject(ZORQelIObject());
  EXPECT_EQ(Ifalse, v.IsValid());
  ExpectRaise<ZORQelI::InvalidType>([&] { d.m.InstanciateInteger().PutObject(ZORQelIObject(d.m)); });
}

TEST_F(MemAttributes, ValuesOfEveryKindReadBackThroughTheHandles) {
  ZORQelIInstance p = d.m.Instanciate("Polyline");
  p.PutAttr(d.name, d.Text("route"));
  p.GetAttr("tag").PutString("0A1B");
  p.GetAttr(d.closed).PutBoolean(Itrue);
  p.GetAttr("points").Append(d.pop.InstanciateReal(1.5));
  p.GetAttr("points").Append(d.pop.InstanciateReal(2));

  EXPECT_EQ("route", Str(p.GetAttr("name").GetString()));  // inherited, by name
  EXPECT_EQ("0A1B", Str(p.GetAttr(d.tag).GetString()));
  EXPECT_EQ(Itrue, p.GetAttr(d.closed).GetBoolean());
  ZORQelIInstance points = p.GetAttr(d.points);
  ASSERT_EQ(2, points.Size());
  EXPECT_DOUBLE_EQ(2.0, points.GetInstance(1).GetReal());
  EXPECT_EQ(Itrue, points.GetType().IsAList());

  // Two cells on one attribute see the same value.
  ZORQelIInstance cell = p.GetAttr("name");
  p.GetAttr("name").PutString("renamed");
  EXPECT_EQ("renamed", Str(cell.GetString()));
  cell.Unset();
  EXPECT_EQ(Ifalse, p.GetAttr("name").IsValid());
  ExpectRaise<ZORQelI::Exception>([&] { p.GetAttr("name").GetString(); }, "unset");
}

TEST_F(MemAttributes, UnknownAttributesGiveEmptyHandles) {
  ZORQelIInstance f = d.m.Instanciate("Figure");
  EXPECT_EQ(Ifalse, f.GetAttr("points").IsValid());     // a sub-entity's attribute
  EXPECT_EQ(Ifalse, f.GetAttr(d.count).IsValid());      // another entity's attribute
  EXPECT_EQ(Ifalse, f.GetAttr("Name").IsValid());       // case-sensitive
  ExpectRaise<ZORQelI::NullPtrAccess>([&] { f.PutAttr(d.count, d.pop.InstanciateInteger(1)); });
  ExpectRaise<ZORQelI::NullPtrAccess>([&] { f.GetAttr(ZORQelIAttr()); });
  // Another schema's attribute of the same name reaches this one's (the deep
  // copy between schemas passes the source's attributes).
  Drawing other;
  ZORQelIInstance o = other.m.Instanciate("Figure");
  o.PutAttr(d.name, d.Text("x"));
  EXPECT_EQ("x", Str(o.GetAttr(other.name).GetString()));
}

TEST_F(MemAttributes, WritesOfAnotherKindOrWidthChangeNothing) {
  ZORQelIEntity e = d.m.MakeEntity("Coded");
  ZORQelIAttr code = e.CreateAttr("code", d.m.MakeString(3, Ifalse), Ifalse);
  ZORQelIAttr pair = e.CreateAttr("pair", d.m.MakeString(2, Itrue), Ifalse);
  ZORQelIAttr none = e.CreateAttr("none", ZORQelIType(), Itrue);
  ZORQelIInstance x = d.m.Instanciate("Coded");
  x.GetAttr(code).PutString("abc");
  ExpectRaise<ZORQelI::BoundError>([&] { x.GetAttr(code).PutString("abcd"); });
  ExpectRaise<ZORQelI::BoundError>([&] { x.PutAttr(code, d.Text("wxyz")); });
  EXPECT_EQ("abc", Str(x.GetAttr(code).GetString()));
  ExpectRaise<ZORQelI::BoundError>([&] { x.GetAttr(pair).PutString("a"); });
  x.GetAttr(pair).PutString("ab");
  ExpectRaise<ZORQelI::InvalidType>([&] { x.GetAttr(code).PutInt(1); });
  ExpectRaise<ZORQelI::InvalidType>([&] { x.PutAttr(code, d.pop.InstanciateReal(1)); });
  ExpectRaise<ZORQelI::InvalidType>([&] { x.GetAttr(none).PutObject(d.Text("a")); });
  EXPECT_EQ("abc", Str(x.GetAttr(code).GetString()));
  // The entity instance itself holds no primitive value.
  ExpectRaise<ZORQelI::InvalidType>([&] { x.GetInt(); });
  ExpectRaise<ZORQelI::InvalidType>([&] { x.Rename("y"); });
}

TEST_F(MemAttributes, WholeInstancesCopyTheirValues) {
  ZORQelIInstance a = d.m.Instanciate("Polyline");
  ZORQelIInstance b = d.m.Instanciate("Polyline");
  a.PutAttr(d.name, d.Text("a"));
  a.GetAttr(d.points).Append(d.pop.InstanciateReal(1));
  b.PutObject(a);
  a.GetAttr(d.name).PutString("changed");
  a.GetAttr(d.points).Append(d.pop.InstanciateReal(2));
  EXPECT_EQ("a", Str(b.GetAttr(d.name).GetString()));
  EXPECT_EQ(1, b.GetAttr(d.points).Size());
  ExpectRaise<ZORQelI::InvalidType>([&] { b.PutObject(d.m.Instanciate("Figure")); });

  ZORQelIInstance clone(static_cast<ZORQelIInstanceIMP*>(b.IMP()->Clone()));
  EXPECT_EQ(d.pop.Size(), clone.GetInstanceId());  // numbered and appended
  EXPECT_EQ("a", Str(clone.GetAttr(d.name).GetString()));
}

TEST_F(MemAttributes, TextsAndSymbolicNamesUseTheInstanceNotation) {
  ZORQelIInstance f = d.m.Instanciate("Figure");
  f.PutAttr(d.name, d.Text("it's"));
  ZORQelIInstance p = d.m.Instanciate("Polyline");
  p.GetAttr(d.points).Append(d.pop.InstanciateReal(1.5));
  EXPECT_EQ("Figure#1", Str(f.GetSymbolicName()));
  EXPECT_EQ("#2", Str(p.ToString()));
  EXPECT_EQ("'it's'", Str(f.GetAttr(d.name).GetSymbolicName()));
  EXPECT_EQ("-7", Str(d.pop.InstanciateInteger(-7).GetSymbolicName()));
  EXPECT_EQ("$", Str(p.GetAttr(d.tag).ToString()));
  EXPECT_EQ("#1=Figure('it's',$);\n#2=Polyline($,$,(1.500000),$);\n", Str(d.pop.ToString()));
}

TEST_F(MemReferences, AReferenceAnswersAsTheInstanceItRefersTo) {
  ZORQelIInstance g1 = d.m.Instanciate("Group");
  ZORQelIInstance g2 = d.m.Instanciate("Group");
  g1.PutAttr(d.parent, g2);
  g2.PutAttr(d.parent, g1);  // a cycle
  g2.GetAttr(d.count).PutInt(42);
  ZORQelIInstance ref = g1.GetAttr(d.parent);
  EXPECT_EQ(2, ref.GetInstanceId());
  EXPECT_EQ(Itrue, ref.Equal(g2));
  EXPECT_EQ(g2.HashCode(), ref.HashCode());
  EXPECT_EQ(42, ref.GetAttr("count").GetInt());
  EXPECT_EQ(1, ref.GetAttr(d.parent).GetInstanceId());  // around the cycle
  EXPECT_EQ(1, d.pop.Look(ref));

  // Hashed containers find the referred instance through the reference.
  ZORQelIListUnique seen;
  seen.Add(g2);
  EXPECT_EQ(Itrue, seen.Look(ZORQelIObject(ref)).Equal(g2));
  seen.Add(ref);
  EXPECT_EQ(1, seen.Size());

  // A reference copied from a reference refers to the same instance.
  ZORQelIInstance g3 = d.m.Instanciate("Group");
  g3.PutAttr(d.parent, ref);
  EXPECT_EQ(Itrue, g3.GetAttr(d.parent).Equal(g2));
  g1.PutAttr(d.parent, g1);  // a reference to itself
  EXPECT_EQ(1, g1.GetAttr(d.parent).GetInstanceId());
}

TEST_F(MemReferences, ReferencesAcceptSubEntitiesOnly) {
  ZORQelIInstance g = d.m.Instanciate("Group");
  ZORQelIInstance p = d.m.Instanciate("Polyline");
  ExpectRaise<ZORQelI::InvalidType>([&] { g.PutAttr(d.parent, p); });
  ExpectRaise<ZORQelI::InvalidType>([&] { g.PutAttr(d.parent, d.pop.InstanciateInteger(1)); });
  EXPECT_EQ(Ifalse, g.GetAttr(d.parent).IsValid());
  EXPECT_EQ(Itrue, g.GetAttr(d.members).Append(p));  // a Polyline is a Figure
  ExpectRaise<ZORQelI::InvalidType>([&] { g.GetAttr(d.members).Append(g); });
  ExpectRaise<ZORQelI::InvalidType>([&] { g.GetAttr(d.parent).GetInt(); });
  ExpectRaise<ZORQelI::Exception>([&] { g.GetAttr(d.parent).GetAttr("count"); }, "unset");
}

TEST_F(MemReferences, DeletedInstancesReadAsUnsetWhereverReferred) {
  ZORQelIInstance f = d.m.Instanciate("Figure");
  ZORQelIInstance g = d.m.Instanciate("Group");
  g.GetAttr(d.members).Append(f);
  f.PutAttr(d.name, d.Text("doomed"));
  f.Delete();
  EXPECT_EQ(Ifalse, f.IsValid());
  EXPECT_EQ(1, d.pop.Size());
  EXPECT_FALSE(d.pop.Look(f).IsSet());
  ZORQelIInstance element = g.GetAttr(d.members).GetInstance(0);
  EXPECT_EQ(Ifalse, element.IsValid());
  EXPECT_FALSE(element.GetInstanceId().IsSet());
  g.PutAttr(d.parent, g);
  g.PutAttr(d.parent, f);  // a deleted instance is written as unset
  EXPECT_EQ(Ifalse, g.GetAttr(d.parent).IsValid());

  // Remove only takes an instance out of the population; Unset clears it.
  g.Remove();
  EXPECT_EQ(0, d.pop.Size());
  EXPECT_EQ(Itrue, g.IsValid());
  g.GetAttr(d.count).PutInt(1);
  g.Unset();
  EXPECT_EQ(Ifalse, g.GetAttr(d.count).IsValid());
  EXPECT_EQ(Itrue, g.GetAttr(d.members).IsEmpty());
}

TEST_F(MemAggregates, SetsHoldDistinctElementsAndGrowAtBothEnds) {
  ZORQelIInstance g = d.m.Instanciate("Group");
  ZORQelIInstance a = d.m.Instanciate("Figure");
  ZORQelIInstance b = d.m.Instanciate("Figure");
  ZORQelIInstance members = g.GetAttr(d.members);
  EXPECT_EQ(Ifalse, members.IsValid());  // unset until written
  EXPECT_EQ(0, members.Size());
  EXPECT_EQ(Itrue, members.Append(a));
  members.Prepend(b);
  EXPECT_EQ(Ifalse, members.Append(a));
  EXPECT_EQ(2, members.Size());
  EXPECT_EQ(Itrue, members.GetInstance(0).Equal(b));
  EXPECT_EQ(1, members.Look(a));
  ExpectRaise<ZORQelI::Exception>([&] { members.PutInstance(0, a); }, "equal element");
  ExpectRaise<ZORQelI::BoundError>([&] { members.GetInstance(2); });
  members.GetInstance(0).Remove();
  EXPECT_EQ(1, members.Size());
  EXPECT_EQ(Itrue, members.GetInstance(0).Equal(a));
}

TEST_F(MemAggregates, ShortAndLongTextsCompareAndCopyAlike) {
  const char* longText = "a text longer than a slot";
  ZORQelIInstance set = d.pop.Instanciate(d.m.MakeSet(d.m.MakeString(), Mint::UNSET, Mint::UNSET));
  EXPECT_EQ(Itrue, set.Append(d.Text("short")));
  EXPECT_EQ(Itrue, set.Append(d.Text(longText)));
  EXPECT_EQ(Itrue, set.Append(d.Text("shorter")));
  EXPECT_EQ(Ifalse, set.Append(d.Text(longText)));
  EXPECT_EQ(Ifalse, set.Append(d.Text("short")));
  EXPECT_EQ(1, set.Look(d.Text(longText)));
  EXPECT_EQ(longText, Str(set.GetInstance(1).GetString()));
  ZORQelIInstance copy = d.pop.Instanciate(set.GetType());
  copy.PutObject(set);
  set.GetInstance(1).PutString("changed");
  EXPECT_EQ(longText, Str(copy.GetInstance(1).GetString()));
}

TEST_F(MemAggregates, BoundedArraysHaveTheirSizeAndListsTheirLimit) {
  ZORQelIType integer = d.m.MakeInteger();
  ZORQelIInstance array = d.pop.Instanciate(d.m.MakeArray(integer, 1, 3, Itrue, Ifalse));
  ASSERT_EQ(3, array.Size());
  EXPECT_EQ(Ifalse, array.GetInstance(2).IsValid());
  array.PutInstance(1, d.pop.InstanciateInteger(7));
  EXPECT_EQ(7, array.GetInstance(1).GetInt());
  ExpectRaise<ZORQelI::BoundError>([&] { array.Append(d.pop.InstanciateInteger(1)); });
  ExpectRaise<ZORQelI::BoundError>([&] { array.PutInstance(3, d.pop.InstanciateInteger(1)); });
  array.GetInstance(1).Remove();  // a fixed array unsets instead
  EXPECT_EQ(3, array.Size());
  EXPECT_EQ(Ifalse, array.GetInstance(1).IsValid());
  ExpectRaise<ZORQelI::Exception>([&] { d.pop.Instanciate(d.m.MakeArray(integer, 3, 1, Ifalse, Ifalse)); },
                                  "inverted");

  ZORQelIInstance list = d.pop.Instanciate(d.m.MakeList(integer, Mint::UNSET, 2, Itrue));
  ExpectRaise<ZORQelI::InvalidType>([&] { list.Append(d.Text("x")); });
  EXPECT_EQ(0, list.Size());
  list.PutInstance(0, d.pop.InstanciateInteger(1));  // position Size() appends
  list.Append(d.pop.InstanciateInteger(2));
  ExpectRaise<ZORQelI::BoundError>([&] { list.Append(d.pop.InstanciateInteger(3)); });
  ExpectRaise<ZORQelI::BoundError>([&] { list.PutInstance(3, d.pop.InstanciateInteger(3)); });
  ExpectRaise<ZORQelI::Exception>([&] { list.PutInstance(0, d.pop.InstanciateInteger(2)); });
  EXPECT_EQ(1, list.GetInstance(0).GetInt());
}

TEST_F(MemAggregates, AggregateValuesAreCopiedAndNest) {
  ZORQelIInstance p = d.m.Instanciate("Polyline");
  ZORQelIInstance free = d.pop.Instanciate(d.points.GetType());
  free.Append(d.pop.InstanciateReal(1));
  p.PutAttr(d.points, free);
  free.Append(d.pop.InstanciateReal(2));
  EXPECT_EQ(1, p.GetAttr(d.points).Size());  // the attribute got a copy
  EXPECT_EQ(Itrue, p.GetAttr(d.points).Look(d.pop.InstanciateReal(1)).IsSet());

  ZORQelIType inner = d.m.MakeList(d.m.MakeInteger(), Mint::UNSET, Mint::UNSET, Ifalse);
  ZORQelIInstance nested = d.pop.Instanciate(d.m.MakeList(inner, Mint::UNSET, Mint::UNSET, Ifalse));
  ZORQelIInstance row = d.pop.Instanciate(inner);
  row.Append(d.pop.InstanciateInteger(1));
  nested.Append(row);
  nested.Append(row);
  nested.GetInstance(1).Append(d.pop.InstanciateInteger(2));
  EXPECT_EQ(1, nested.GetInstance(0).Size());
  EXPECT_EQ(2, nested.GetInstance(1).Size());
  EXPECT_EQ(0, nested.Look(row));  // equal element by element
}

// Collects the values walked, stopping after `limit` of them.
class Collect : public ZORQelIWalker {
 public:
  explicit Collect(int limit) : limit_(limit) {}
  ZORQelI::boolean Walk(ZORQelIInstance o, integer pos) override {
    positions.push_back(pos);
    kinds.push_back(o.GetType().IsValid() == Itrue ? o.GetType().PrimitiveType() : -1);
    return static_cast<int>(positions.size()) < limit_ ? Itrue : Ifalse;
  }
  std::vector<int> positions;
  std::vector<int> kinds;

 private:
  int limit_;
};

TEST_F(MemAggregates, ForEachWalksValuesInOrderAndStops) {
  ZORQelIInstance p = d.m.Instanciate("Polyline");
  Collect all(100);
  EXPECT_EQ(Itrue, p.ForEach(all));
  // Figure's attributes first, then Polyline's.
  EXPECT_EQ((std::vector<int>{ZORQelI::Istring, ZORQelI::Ibinary, ZORQelI::Ilist, ZORQelI::Iboolean}),
            all.kinds);
  Collect two(2);
  EXPECT_EQ(Ifalse, p.ForEach(two, 1, 4));
  EXPECT_EQ((std::vector<int>{1, 2}), two.positions);
  ExpectRaise<ZORQelI::BoundError>([&] { p.ForEach(all, 0, 5); });
  ZORQelIInstance points = p.GetAttr(d.points);
  Collect none(1);
  EXPECT_EQ(Itrue, points.ForEach(none));  // unset: nothing to walk
  EXPECT_TRUE(none.positions.empty());
}

}  // namespace
