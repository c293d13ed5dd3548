// The in-memory provider's schemas: types, entities, the wrapper, interfaces.
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

ZORQelIModeler NewSchema(const char* name) { return ZORQelIMemWrapper::Default().NewModeler(name); }

TEST(MemTypes, MadeTypesAreNewObjectsSpelledByTheirFullTypeName) {
  ZORQelIModeler m = NewSchema("Drawing");
  ZORQelIEntity figure = m.MakeEntity("Figure");
  ZORQelIType real = m.MakeReal();
  ZORQelIType list = m.MakeList(real, 0, Mint::UNSET, Itrue);
  EXPECT_EQ(Itrue, list.SubType().Equal(real));
  EXPECT_EQ(Ifalse, m.MakeReal().Equal(real));  // every Make call makes its own object
  EXPECT_FALSE(m.MakeString().Width().IsSet());
  const std::vector<std::pair<ZORQelIType, std::string>> cases = {
      {m.MakeInteger(), "Integer"},
      {m.MakeString(16, Itrue), "String(16) Fixed"},
      {m.MakeBinary(4, Ifalse), "Binary(4)"},
      {m.MakeArray(real, 1, 8, Itrue, Ifalse), "Array [1:8] of optional Real"},
      {m.MakeList(figure, 0, Mint::UNSET, Itrue), "List [0:?] of unique Drawing.Figure"},
      {m.MakeSet(m.MakeBag(m.MakeType(ZORQelI::Ilogical), Mint::UNSET, 5), Mint::UNSET, Mint::UNSET),
       "Set of Bag [?:5] of Logical"},
      {figure, "Drawing.Figure"}};
  for (const auto& [type, text] : cases) EXPECT_EQ(text, Str(type.FullTypeName()));
}

TEST(MemTypes, IsAComparesStructureAndEntitiesByIdentity) {
  ZORQelIModeler m = NewSchema("IsA");
  EXPECT_EQ(Itrue, m.MakeString(16, Itrue).IsA(m.MakeString(16, Itrue)));
  EXPECT_EQ(Ifalse, m.MakeString(16, Itrue).IsA(m.MakeString(16, Ifalse)));
  ZORQelIType a = m.MakeList(m.MakeArray(m.MakeReal(), 1, 3, Ifalse, Ifalse), 0, 4, Ifalse);
  ZORQelIType b = m.MakeList(m.MakeArray(m.MakeReal(), 1, 3, Ifalse, Ifalse), 0, 4, Ifalse);
  ZORQelIType c = m.MakeList(m.MakeArray(m.MakeReal(), 1, 4, Ifalse, Ifalse), 0, 4, Ifalse);
  EXPECT_EQ(Itrue, a.IsA(b));
  EXPECT_EQ(Ifalse, a.IsA(c));  // the element types differ in a bound

  ZORQelIModeler other = NewSchema("IsA2");
  ZORQelIEntity e1 = m.MakeEntity("Same");
  ZORQelIEntity e2 = other.MakeEntity("Same");
  EXPECT_EQ(Ifalse, e1.IsA(e2));
  EXPECT_EQ(Ifalse, m.MakeList(e1, 0, 1, Ifalse).IsA(m.MakeList(e2, 0, 1, Ifalse)));
}

TEST(MemTypes, TerminalTypeFollowsTheElementTypesAndRenamingNamesAType) {
  ZORQelIModeler m = NewSchema("Terminal");
  ZORQelIType real = m.MakeReal();
  EXPECT_EQ("Real", Str(real.Name()));
  ZORQelIType nested = m.MakeList(m.MakeArray(real, 1, 2, Ifalse, Ifalse), 0, 3, Ifalse);
  EXPECT_EQ(Itrue, nested.TerminalType().Equal(real));
  ZORQelIEntity e = m.MakeEntity("E");
  EXPECT_EQ(Itrue, e.TerminalType().Equal(e));
  real.Rename("Length");
  EXPECT_EQ("Length", Str(real.Name()));
  real.Rename("");
  EXPECT_EQ("Real", Str(real.Name()));
}

TEST(MemTypes, BadMakeArgumentsAndSettersAreRefused) {
  ZORQelIModeler m = NewSchema("Refusals");
  ExpectRaise<ZORQelI::InvalidType>([&] { m.MakeType(ZORQelI::Ientity); });
  ExpectRaise<ZORQelI::InvalidType>([&] { m.MakeType(static_cast<ZORQelI::Types>(1)); });
  ExpectRaise<ZORQelI::InvalidType>([&] { m.MakeField(ZORQelI::Iinteger, 3, Ifalse); });
  ExpectRaise<ZORQelI::BoundError>([&] { m.MakeString(-1, Ifalse); });
  ExpectRaise<ZORQelI::BoundError>([&] { m.MakeList(m.MakeReal(), -1, 3, Ifalse); });
  ExpectRaise<ZORQelI::NullPtrAccess>([&] { m.MakeSet(ZORQelIType(), 0, 1); });
  ZORQelIMemWrapper foreign("Foreign");
  ZORQelIModeler f = foreign.NewModeler("F");
  ExpectRaise<ZORQelI::InvalidType>([&] { m.MakeBag(f.MakeReal(), 0, 1); });
  // An attribute type may be empty but not foreign; nor may a super entity.
  ZORQelIEntity e = m.MakeEntity("E");
  ZORQelIAttr none = e.CreateAttr("none", ZORQelIType(), Ifalse);
  EXPECT_EQ(Ifalse, none.GetType().IsValid());
  ExpectRaise<ZORQelI::InvalidType>([&] { e.CreateAttr("x", f.MakeReal(), Ifalse); });
  ExpectRaise<ZORQelI::InvalidType>([&] { none.SetType(f.MakeReal()); });
  ExpectRaise<ZORQelI::InvalidType>([&] { e.Super(f.MakeEntity("G")); });
  EXPECT_EQ(1, e.NumberOfAttributes());

  ZORQelIType integer = m.MakeInteger();
  ExpectRaise<ZORQelI::InvalidType>([&] { integer.Width(3); });
  ZORQelIType field = m.MakeString(8, Ifalse);
  ExpectRaise<ZORQelI::InvalidType>([&] { field.Unique(Itrue); });
  ExpectRaise<ZORQelI::BoundError>([&] { field.Width(-2); });
  EXPECT_EQ(8, field.Width());  // unchanged by the refusal
  // Array bounds are indices and may be negative; counts may not.
  ZORQelIType array = m.MakeArray(integer, -3, -1, Ifalse, Ifalse);
  EXPECT_EQ(-3, array.LowerBound());
  ZORQelIType list = m.MakeList(integer, 0, 2, Ifalse);
  ExpectRaise<ZORQelI::BoundError>([&] { list.UpperBound(-1); });
  EXPECT_EQ(2, list.UpperBound());
}

TEST(MemEntities, AttributesKeepTheirOrderAndRemovalRenumbers) {
  ZORQelIModeler m = NewSchema("Attrs");
  ZORQelIEntity e = m.MakeEntity("Point");
  ZORQelIAttr x = e.CreateAttr("x", m.MakeReal(), Ifalse);
  ZORQelIAttr y = e.CreateAttr("y", m.MakeReal(), Itrue);
  ZORQelIAttr z = e.CreateAttr("z", m.MakeReal(), Ifalse);
  ASSERT_EQ(3, e.NumberOfAttributes());
  EXPECT_EQ(Itrue, e.GetAttr(1).Equal(y));
  EXPECT_EQ(Itrue, e.GetAttr("z").Equal(z));
  EXPECT_EQ(2, e.GetAttrIndex("z"));
  EXPECT_EQ(Itrue, x.Parent().Equal(e));

  EXPECT_EQ(Itrue, e.RemoveAttr("y"));
  EXPECT_EQ(2, e.NumberOfAttributes());
  EXPECT_EQ(1, e.GetAttrIndex("z"));
  EXPECT_EQ(Ifalse, y.Parent().IsValid());
  EXPECT_EQ(Ifalse, e.RemoveAttr("y"));
  EXPECT_EQ(Itrue, e.RemoveAttr(0));
  EXPECT_EQ(Itrue, e.GetAttr(0).Equal(z));

  EXPECT_FALSE(e.GetAttrIndex("Z").IsSet());  // names are case-sensitive
  ExpectRaise<ZORQelI::BoundError>([&] { e.GetAttr(1); });
}

TEST(MemEntities, EntityNamesAreUniqueAndLookedUpIgnoringCase) {
  ZORQelIModeler m = NewSchema("Names");
  ZORQelIEntity a = m.MakeEntity("Figure");
  ZORQelIEntity b = m.MakeEntity("Group");
  ExpectRaise<ZORQelI::Exception>([&] { m.MakeEntity("Figure"); }, "already has an entity");
  ExpectRaise<ZORQelI::Exception>([&] { m.MakeEntity(""); });
  ExpectRaise<ZORQelI::Exception>([&] { b.Rename("Figure"); });
  EXPECT_EQ("Group", Str(b.Name()));
  EXPECT_EQ(Itrue, m.LookEntity("Figure").Equal(a));
  EXPECT_EQ(Itrue, m.LookEntity("fIGURE").Equal(a));  // as EXPRESS names
  ExpectRaise<ZORQelI::Exception>([&] { m.MakeEntity("FIGURE"); }, "already has an entity");
  b.Rename("GROUP");  // its own name in another case
  EXPECT_EQ(Itrue, m.LookEntity("group").Equal(b));
  b.Rename("Group");
  ASSERT_EQ(2, m.GetNumberOfEntities());
  EXPECT_EQ(Itrue, m.GetEntity(1).Equal(b));
  ExpectRaise<ZORQelI::BoundError>([&] { m.GetEntity(2); });
  EXPECT_EQ(Itrue, m.Scope("Group").Equal(b));
  EXPECT_EQ(ZORQelI::Iinteger, m.Scope("Integer").PrimitiveType());
  EXPECT_EQ(Ifalse, m.Scope("Nothing").IsValid());
}

TEST(MemEntities, SuperChainsInheritAndRefuseCycles) {
  ZORQelIModeler m = NewSchema("Chains");
  ZORQelIEntity a = m.MakeEntity("A");
  ZORQelIEntity b = m.MakeEntity("B");
  ZORQelIEntity c = m.MakeEntity("C");
  b.Super(a);
  c.Super(b);
  EXPECT_EQ(Itrue, c.IsAKindOf(a));
  EXPECT_EQ(Ifalse, a.IsAKindOf(c));

  ExpectRaise<ZORQelI::Exception>([&] { a.Super(c); }, "cycle");
  EXPECT_EQ(Ifalse, a.Super().IsValid());  // the refusals changed nothing
  EXPECT_EQ(Itrue, c.Super().Equal(b));

  c.Super(ZORQelIEntity());
  EXPECT_EQ(Ifalse, c.IsAKindOf(a));
}

TEST(MemEntities, AttributeNamesAreUniqueAlongInheritance) {
  ZORQelIModeler m = NewSchema("Clash");
  ZORQelIEntity figure = m.MakeEntity("Figure");
  ZORQelIEntity line = m.MakeEntity("Line");
  figure.CreateAttr("name", m.MakeString(), Ifalse);
  line.Super(figure);
  ExpectRaise<ZORQelI::Exception>([&] { line.CreateAttr("name", m.MakeString(), Ifalse); });
  line.CreateAttr("length", m.MakeReal(), Ifalse);
  // The super entity cannot take a name a sub-entity already uses...
  ExpectRaise<ZORQelI::Exception>([&] { figure.CreateAttr("length", m.MakeReal(), Ifalse); });
  // ...and an entity cannot become the super of one that repeats its names.
  ZORQelIEntity other = m.MakeEntity("Other");
  other.CreateAttr("length", m.MakeReal(), Ifalse);
  line.Super(ZORQelIEntity());
  ExpectRaise<ZORQelI::Exception>([&] { line.Super(other); }, "declared twice");
  EXPECT_EQ(Ifalse, line.Super().IsValid());
  ZORQelIAttr length = line.GetAttr("length");
  line.Super(figure);
  ExpectRaise<ZORQelI::Exception>([&] { length.Rename("name"); });
  EXPECT_EQ("length", Str(length.Name()));
}

TEST(MemEntities, AnInstanceFreezesTheLayoutOfItsEntityChain) {
  ZORQelIModeler m = NewSchema("Frozen");
  ZORQelIEntity base = m.MakeEntity("Base");
  ZORQelIEntity derived = m.MakeEntity("Derived");
  ZORQelIAttr a = base.CreateAttr("a", m.MakeInteger(), Ifalse);
  derived.Super(base);
  derived.CreateAttr("b", m.MakeInteger(), Ifalse);
  ZORQelIEntity unrelated = m.MakeEntity("Unrelated");
  m.Instanciate("Derived");

  ExpectRaise<ZORQelI::Exception>([&] { base.CreateAttr("c", m.MakeInteger(), Ifalse); },
                                  "instances");
  ExpectRaise<ZORQelI::Exception>([&] { derived.RemoveAttr("b"); });
  ExpectRaise<ZORQelI::Exception>([&] { derived.Super(ZORQelIEntity()); });
  ExpectRaise<ZORQelI::Exception>([&] { a.SetType(m.MakeReal()); });
  EXPECT_EQ(1, base.NumberOfAttributes());
  // Names and unrelated entities stay editable.
  base.Rename("Root");
  a.Rename("alpha");
  EXPECT_EQ("alpha", Str(a.Name()));
  unrelated.CreateAttr("free", m.MakeInteger(), Ifalse);
  // A new sub-entity of a frozen entity adds its own attributes after.
  ZORQelIEntity more = m.MakeEntity("More");
  more.Super(derived);
  more.CreateAttr("c", m.MakeInteger(), Ifalse);
  ZORQelIInstance x = m.Instanciate("More");
  x.GetAttr("c").PutInt(3);
  x.GetAttr("alpha").PutInt(1);
  EXPECT_EQ(3, x.GetAttr("c").GetInt());
  EXPECT_EQ(1, x.GetAttr(a).GetInt());
}

TEST(MemWrapper, StatesItsCapabilitiesAndOwnsItsObjectsOnly) {
  ZORQelIMemWrapper w("Store");
  EXPECT_EQ(Itrue, w.HasInstances());
  EXPECT_EQ(Itrue, w.HasEditableDictionnary());
  EXPECT_EQ(Ifalse, w.HasExpression());
  EXPECT_EQ(Ifalse, w.NewExpression().IsValid());

  ZORQelIModeler mine = w.NewModeler("Mine");
  ZORQelIModeler theirs = NewSchema("Theirs");
  EXPECT_EQ(Itrue, w.Owns(mine.IMP()));
  EXPECT_EQ(Ifalse, w.Owns(theirs.IMP()));
  EXPECT_EQ(Itrue, w.Owns(mine.InstanciateInteger().IMP()));
  EXPECT_EQ(Ifalse, w.Owns(nullptr));
  EXPECT_EQ(&w, &mine.MakeEntity("E").Wrapper());
  ExpectRaise<ZORQelI::Exception>([&] { w.NewModeler(""); });
  EXPECT_EQ(Ifalse, mine.Load("/nonexistent"));
}

TEST(MemInterfaces, FunctionsAndMethodsAreMadeAndFound) {
  ZORQelIModeler m = NewSchema("Shapes");
  ZORQelIEntity shape = m.MakeEntity("Shape");
  ZORQelIEntity circle = m.MakeEntity("Circle");
  circle.Super(shape);
  ZORQelIInterface api = ZORQelIMemWrapper::Default().NewInterface("Geometry");

  ZORQelIFunction pi = api.MakeFunction("pi", m.MakeReal());
  ZORQelIFunction piCount = api.MakeFunction("pi", m.MakeInteger());  // overload by result
  ExpectRaise<ZORQelI::Exception>([&] { api.MakeFunction("pi", m.MakeReal()); });
  EXPECT_EQ(2, api.GetNumberOfFunctions());
  EXPECT_EQ(Itrue, api.SearchFunction("pi", m.MakeInteger()).Equal(piCount));
  EXPECT_EQ(Itrue, api.SearchFunction("pi").Equal(pi));

  ZORQelIMethod area = api.MakeMethod(shape, "area", m.MakeReal());
  ZORQelIMethod radius = api.MakeMethod(circle, "radius", m.MakeReal());
  EXPECT_EQ(Itrue, area.ImplementsEntity().Equal(shape));
  EXPECT_EQ(1, api.NumberOfModelers());  // MakeMethod adds the schema once
  EXPECT_EQ(2, api.GetNumberOfEntity());
  EXPECT_EQ(1, api.GetNumberOfMethods(circle));
  EXPECT_EQ(Itrue, api.GetMethod(circle, 0).Equal(radius));
  ExpectRaise<ZORQelI::BoundError>([&] { api.GetMethod(circle, 1); });
  // A method of the super entity is found from the sub-entity.
  EXPECT_EQ(Itrue, api.SearchMethod(circle, "area", m.MakeReal()).Equal(area));
  EXPECT_EQ(Ifalse, api.SearchMethod(shape, "radius", m.MakeReal()).IsValid());
  EXPECT_EQ(Ifalse, api.SearchMethod(circle, "area", m.MakeInteger()).IsValid());

  EXPECT_EQ(Itrue, api.RemoveMethod(area));
  EXPECT_EQ(Ifalse, api.RemoveMethod(area));
  EXPECT_EQ(Ifalse, api.SearchMethod("area").IsValid());
}

TEST(MemInterfaces, SearchesReachUsedInterfacesEvenInACycle) {
  ZORQelIMemWrapper& w = ZORQelIMemWrapper::Default();
  ZORQelIInterface first = w.NewInterface("First");
  ZORQelIInterface second = w.NewInterface("Second");
  ZORQelIFunction f = second.MakeFunction("helper", ZORQelIType());
  EXPECT_EQ(Itrue, first.Use(second));
  EXPECT_EQ(Ifalse, first.Use(second));
  EXPECT_EQ(Ifalse, first.Use(first));
  EXPECT_EQ(Itrue, second.Use(first));
  EXPECT_EQ(Itrue, first.SearchFunction("helper", ZORQelIType()).Equal(f));
  EXPECT_EQ(Ifalse, first.SearchFunction("absent").IsValid());  // ends despite the cycle
}

TEST(MemInterfaces, ParametersAndVisibility) {
  ZORQelIModeler m = NewSchema("Params");
  ZORQelIInterface api = ZORQelIMemWrapper::Default().NewInterface("Api");
  ZORQelIFunction f = api.MakeFunction("scale", m.MakeReal());
  f.MakeParam("factor", Itrue, Ifalse, m.MakeReal());
  f.MakeParam("out", Ifalse, Itrue, m.MakeInteger());
  ASSERT_EQ(2, f.NumberOfParams());
  ZORQelIParamDesc out = f.GetParam(1);
  EXPECT_EQ("out", Str(out.Name()));
  EXPECT_EQ(Itrue, out.IsOut());
  ExpectRaise<ZORQelI::Exception>([&] { f.AddParam(out); });
  ZORQelIEntity e = m.MakeEntity("E");
  f.AddParam(e.CreateAttr("attr", m.MakeReal(), Ifalse));  // an attribute is a parameter
  EXPECT_EQ(3, f.NumberOfParams());
  f.RemoveParam(out);
  EXPECT_EQ("attr", Str(f.GetParam(1).Name()));
  ExpectRaise<ZORQelI::BoundError>([&] { f.RemoveParam(2); });

  EXPECT_EQ(Itrue, f.IsPublic());
  f.SetPrivate();
  EXPECT_EQ(Itrue, f.IsPrivate());
  ExpectRaise<ZORQelI::Exception>([&] { f.IMP()->SetVisibility(7); });
  EXPECT_EQ(Itrue, f.IsPrivate());
}

TEST(MemInterfaces, ParsableSideReadsNothingAndEvaluatesNothing) {
  ZORQelIModeler m = NewSchema("Parsable");
  ZORQelIMemWrapper foreign("Foreign");
  ZORQelIInterface api = ZORQelIMemWrapper::Default().NewInterface("Api");
  EXPECT_EQ(Ifalse, api.Load("/nonexistent"));
  ASSERT_EQ(1, api.NumberOfErrors());
  EXPECT_FALSE(Str(api.GetError(0).GetMessage()).empty());
  ExpectRaise<ZORQelI::BoundError>([&] { api.GetError(1); });
  ExpectRaise<ZORQelI::InvalidType>([&] { api.AddModeler(foreign.NewModeler("F")); });
  EXPECT_EQ(Ifalse, api.Check(m.GetInstances()));
  api.AddModeler(m);
  api.AddModeler(m);
  EXPECT_EQ(1, api.NumberOfModelers());
  EXPECT_EQ(Itrue, api.Check(m.GetInstances()));
  ExpectRaise<ZORQelI::NotYetImplemented>([&] { api.Eval(m.GetInstances()); });
  api.RemoveModeler(m);
  EXPECT_EQ(0, api.NumberOfModelers());
  ExpectRaise<ZORQelI::BoundError>([&] { api.GetModeler(0); });
}

}  // namespace
