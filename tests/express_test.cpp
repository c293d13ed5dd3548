// The EXPRESS-like text form of schemas, types, wrappers and instances; a modeler's default Save.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "CoreTestSupport.h"
#include "DictionaryDoubles.h"
#include "ExpressTexts.h"
#include "QL0KRN.h"
#include "QL0KRNMem.h"
#include "TestSupport.h"

namespace {

using qtest::Str;
using ZORQelI::Mint;

ZORQelIModeler NewSchema(const char* name) {
  return ZORQelIMemWrapper::Default().NewModeler(ZORQelI::string(name));
}

template <class T>
std::string TextOf(const T& x) {
  ZORQelIExpressForm printer;
  printer.Print(x);
  return Str(printer.Get());
}

// The schema of kDrawingText.
ZORQelIModeler DrawingSchema() {
  ZORQelIModeler m = NewSchema("Drawing");
  ZORQelIEntity figure = m.MakeEntity("Figure");
  figure.CreateAttr("name", m.MakeString(), ZORQelI::Ifalse);
  ZORQelIEntity polyline = m.MakeEntity("Polyline");
  polyline.Super(figure);
  polyline.CreateAttr("points", m.MakeArray(m.MakeReal(), 1, 8, ZORQelI::Itrue, ZORQelI::Ifalse),
                      ZORQelI::Ifalse);
  polyline.CreateAttr("tags", m.MakeSet(m.MakeString(16, ZORQelI::Itrue), Mint::UNSET, Mint::UNSET),
                      ZORQelI::Ifalse);
  polyline.CreateAttr("closed", m.MakeBoolean(), ZORQelI::Itrue);
  return m;
}

using qtest::kDrawingText;

TEST(ExpressSchemaText, WrapperBlockListsTheFiveCapabilities) {
  doubles::Provider store("Store");
  store.AddCapability("Instances");
  store.AddCapability("Expression");
  EXPECT_EQ(TextOf(store), qtest::kStoreText);
  ZORQelIExpressForm other;  // Text hands the wrapper to the printer's wrapper overload
  store.Text(other);
  EXPECT_EQ(Str(other.Get()), qtest::kStoreText);
}

TEST(ExpressSchemaText, EdgeSchemas) {
  EXPECT_EQ(TextOf(NewSchema("S")), "Schema S;\n\n    \nEnd_Schema (*S*);\n");
  ZORQelIModeler m = NewSchema("E");
  m.MakeEntity("Empty");
  EXPECT_EQ(TextOf(m),
            "Schema E;\n\n    Entity Empty;\n    \n        \n    End_Entity (*Empty*);\n    \n"
            "End_Schema (*E*);\n");
  // Inheritance through two levels names the direct super entity.
  ZORQelIModeler levels = NewSchema("Levels");
  ZORQelIEntity a = levels.MakeEntity("A"), b = levels.MakeEntity("B"), c = levels.MakeEntity("C");
  b.Super(a);
  c.Super(b);
  const std::string text = TextOf(levels);
  EXPECT_NE(text.find("    Entity Bsubtype of (  A );\n"), std::string::npos);
  EXPECT_NE(text.find("    Entity Csubtype of (  B );\n"), std::string::npos);
}

TEST(ExpressTypeText, BoundsFieldsNestingAndEmptyTypes) {
  ZORQelIModeler m = NewSchema("Types");
  ZORQelIType i = m.MakeInteger();
  const std::vector<std::pair<ZORQelIType, std::string>> cases = {
      {m.MakeList(i, Mint::UNSET, 5, ZORQelI::Ifalse), "List [?:5]of Integer"},
      {m.MakeBag(i, 0, Mint::UNSET), "Bag [0:?]of Integer"},
      {m.MakeSet(i, Mint::UNSET, Mint::UNSET), "Set of Integer"},
      {m.MakeList(i, 0, 3, ZORQelI::Itrue), "List [0:3]of unique Integer"},
      {m.MakeArray(i, 1, 2, ZORQelI::Itrue, ZORQelI::Itrue), "Array [1:2]of unique optional Integer"},
      {m.MakeString(), "String"}, {m.MakeString(Mint::UNSET, ZORQelI::Ifalse), "String"},
      {m.MakeString(12, ZORQelI::Ifalse), "String(12)"}, {m.MakeBinary(4, ZORQelI::Itrue), "Binary(4) Fixed "},
      {m.MakeBinary(Mint::UNSET, ZORQelI::Itrue), "Binary Fixed "},
      {m.MakeArray(m.MakeList(m.MakeReal(), 1, Mint::UNSET, ZORQelI::Ifalse), 0, 9, ZORQelI::Ifalse,
                   ZORQelI::Ifalse), "Array [0:9]of List [1:?]of Real"},
      {ZORQelIType(), "Void"}, {m.MakeType(ZORQelI::Ilogical), "Logical"}, {m.MakeType(ZORQelI::Ivoid), "Void"}};
  for (const auto& [type, text] : cases) EXPECT_EQ(TextOf(type), text);
  ZORQelIExpressForm printer;
  printer.Print(Mint());
  printer.Print(Mint(0));
  printer.Print(Mint(-7));
  EXPECT_EQ(Str(printer.Get()), "?0-7");
}

TEST(ExpressTypeText, AttributesPrintOptionalAfterTheType) {
  ZORQelIModeler m = NewSchema("Attrs");
  ZORQelIEntity e = m.MakeEntity("Holder");
  ZORQelIAttr blob = e.CreateAttr("blob", m.MakeBinary(4, ZORQelI::Itrue), ZORQelI::Itrue);
  EXPECT_EQ(TextOf(blob), "blob : Binary(4) Fixed  Optional");
  EXPECT_EQ(TextOf(e.CreateAttr("n", ZORQelIType(), ZORQelI::Ifalse)), "n : Void");
  EXPECT_EQ(TextOf(static_cast<const ZORQelIParamDesc&>(blob)), "");
}

TEST(ExpressTypeText, KindsWithoutANameRaiseInvalidTypeAfterEarlierText) {
  ZORQelIModeler m = NewSchema("Kinds");
  ZORQelIExpressForm printer;
  printer.Print(ZORQelI::string("before "));
  EXPECT_THROW(printer.Print(static_cast<ZORQelI::Types>(1)), ZORQelI::InvalidType);
  EXPECT_THROW(printer.Print(ZORQelI::Ientity), ZORQelI::InvalidType);
  EXPECT_THROW(printer.Print(static_cast<ZORQelI::Types>(13)), ZORQelI::InvalidType);
  EXPECT_EQ(Str(printer.Get()), "before ");
  ZORQelIEntity e = m.MakeEntity("Thing");  // given to the field printer: its kind has no name
  EXPECT_EQ(qtest::RaisedText<ZORQelI::InvalidType>([&] { printer.PrintField(e); }),
            qtest::InvalidText("ZORQelIExpressForm", 232));
  EXPECT_EQ(Str(printer.Get()), "before ");
}

TEST(ExpressLineDiscipline, NestedPrinterIndentsEveryFollowingLineAndStartKeepsTheIndentation) {
  ZORQelIExpressForm printer;
  printer.Print(ZORQelI::string("outer"));
  printer.Nest();
  printer.Print(DrawingSchema());
  printer.Unnest();
  std::string text = Str(printer.Get());  // every line end in the block is followed by 4 blanks
  EXPECT_EQ(text.substr(0, 10), "outer\n    ");
  EXPECT_NE(text.find("\n        Entity Figure;\n"), std::string::npos);
  EXPECT_NE(text.find("\n    End_Schema (*Drawing*);\n    \n"), std::string::npos);
  ZORQelIExpressForm nested;
  nested.Nest();
  nested.Print(ZORQelI::string("x"));
  nested.Start();
  EXPECT_EQ(Str(nested.Get()), "");
  nested.Nl2();
  EXPECT_EQ(Str(nested.Get()), ";\n    ");
}

TEST(ExpressInstanceText, EmptyPopulationAttributelessEntityAndNonEntities) {
  ZORQelIModeler m = NewSchema("Bare");
  EXPECT_EQ(TextOf(m.GetInstances()), "");
  m.MakeEntity("Point");
  ZORQelIExpressForm printer;
  printer.PrintLong(m.Instanciate(ZORQelI::string("Point")));
  EXPECT_EQ(Str(printer.Get()), "#1=Point();\n");
  // PrintLong of a value that is no entity instance raises after the number.
  ZORQelIExpressForm other;
  EXPECT_THROW(other.PrintLong(m.GetInstances().InstanciateInteger(3)), ZORQelI::InvalidType);
  EXPECT_EQ(Str(other.Get()).substr(0, 1), "#");
  ZORQelIExpressForm empty;
  EXPECT_THROW(empty.PrintLong(ZORQelIInstance()), ZORQelI::NullPtrAccess);
  EXPECT_EQ(Str(empty.Get()), "#");
}

TEST(ExpressInstanceText, ValuesPrintInTheirCompactNotation) {
  ZORQelIModeler m = NewSchema("Values");
  auto text = [](const ZORQelIInstance& v) {
    ZORQelIExpressForm printer;
    printer.PrintInstance(v);
    return Str(printer.Get());
  };
  EXPECT_EQ(text(m.InstanciateReal().PutReal(0.1)), "0.100000");
  EXPECT_EQ(text(m.InstanciateInteger().PutInteger(-7)), "-7");
  EXPECT_EQ(text(m.InstanciateString().PutString("it's")), "'it's'");
  EXPECT_EQ(text(m.InstanciateBoolean().PutBoolean(ZORQelI::Ifalse)), ".F.");
  EXPECT_EQ(text(ZORQelIInstance()), "$");
  ZORQelIType ints = m.MakeList(m.MakeInteger(), Mint::UNSET, Mint::UNSET, ZORQelI::Ifalse);
  ZORQelIType lists = m.MakeList(ints, Mint::UNSET, Mint::UNSET, ZORQelI::Ifalse);
  auto list = [&](std::initializer_list<int> values) {
    ZORQelIInstance l = m.Instanciate(ints);
    for (int v : values) l.Append(m.GetInstances().InstanciateInteger(v));
    return l;
  };
  EXPECT_EQ(text(list({})), "()");
  ZORQelIInstance outer = m.Instanciate(lists);
  outer.Append(list({1, 2}));
  outer.Append(list({3}));
  EXPECT_EQ(text(outer), "((1,2),(3))");
}

TEST(ExpressInstanceText, InheritedAttributesComeFirstAndReferencesPrintTheirNumber) {
  ZORQelIModeler m = NewSchema("Chain");
  ZORQelIEntity a = m.MakeEntity("A");
  ZORQelIAttr top = a.CreateAttr("top", m.MakeInteger(), ZORQelI::Ifalse);
  ZORQelIEntity b = m.MakeEntity("B");
  b.Super(a);
  ZORQelIAttr middle = b.CreateAttr("middle", m.MakeInteger(), ZORQelI::Ifalse);
  ZORQelIEntity c = m.MakeEntity("C");
  c.Super(b);
  ZORQelIAttr own = c.CreateAttr("own", a, ZORQelI::Ifalse);
  ZORQelIAttr second = c.CreateAttr("second", m.MakeInteger(), ZORQelI::Ifalse);
  ZORQelIInstance target = m.Instanciate(ZORQelI::string("A"));
  ZORQelIInstance x = m.Instanciate(ZORQelI::string("C"));
  ZORQelIInstances pop = m.GetInstances();
  x.PutAttr(top, pop.InstanciateInteger(1)).PutAttr(middle, pop.InstanciateInteger(2));
  x.PutAttr(own, target).PutAttr(second, pop.InstanciateInteger(4));
  ZORQelIExpressForm printer;
  printer.PrintLong(x);
  EXPECT_EQ(Str(printer.Get()), "#2=C(1,2,#1,4);\n");
}

// A missing directory, read-only ones and long names: fault_test.
class SaveTest : public qtest::TempDirTest {
 protected:
  void SetUp() override {
    TempDirTest::SetUp();
    path_ = dir_ + "/schema.exp";
  }
  std::string Read() const { return qtest::ReadFile(path_); }
  std::string path_;
};

// The schema text, printed, through ToString and saved to a new file or over an existing one.
TEST_F(SaveTest, SaveWritesTheSchemaTextToANewFileAndReplacesAnExistingOne) {
  ZORQelIModeler m = DrawingSchema();
  EXPECT_EQ(TextOf(m), kDrawingText);
  EXPECT_EQ(Str(m.ToString()), kDrawingText);
  EXPECT_EQ(m.Save(ZORQelI::string(path_.c_str())), ZORQelI::Itrue);
  EXPECT_EQ(Read(), kDrawingText);
  qtest::WriteFile(path_, std::string(4096, 'x'));
  EXPECT_EQ(m.Save(ZORQelI::string(path_.c_str())), ZORQelI::Itrue);
  EXPECT_EQ(Read(), kDrawingText);
}

TEST_F(SaveTest, SchemaWhoseTextRaisesLeavesTheFileCreatedAndEmpty) {
  // Its one entity handle refers to nothing: the text raises after "Schema Broken;".
  static doubles::Provider store("Store");
  auto* imp = new doubles::Modeler(store, "Broken");
  imp->entities.push_back(ZORQelIEntity());
  ZORQelIModeler broken(imp);
  qtest::WriteFile(path_, "old content");
  EXPECT_THROW(broken.Save(ZORQelI::string(path_.c_str())), ZORQelI::NullPtrAccess);
  EXPECT_EQ(Read(), "");
  EXPECT_THROW(ZORQelIModeler().Save(ZORQelI::string(path_.c_str())), ZORQelI::NullPtrAccess);
}

}  // namespace
