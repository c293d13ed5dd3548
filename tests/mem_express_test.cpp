// The in-memory provider's schema reader and writer: ISO 10303-11 EXPRESS
// and the library's own schema text, the mapping onto the dictionary, the
// located errors, the round trips and the collector.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "ExpressSchemas.h"
#include "MemSupport.h"
#include "TestSupport.h"

namespace {

using qtest::LoadSchemas;
using qtest::ReadFile;
using qtest::Str;
using ZORQelI::Ifalse;
using ZORQelI::Itrue;
using ZORQelI::Mint;

ZORQelIMemModelerIMP* Imp(const ZORQelIModeler& m) { return ZORQelIMemModelerIMP::DownCast(m); }

std::string TempPath(const std::string& name) { return testing::TempDir() + "ql0krn_" + name; }

// Deep-copies the whole population of `from` into `to` (a schema with the
// same entities) and returns the text of to's population.
std::string CopiedPopulation(const ZORQelIModeler& from, const ZORQelIModeler& to) {
  ZORQelIInstanceListUnique source;
  for (ZORQelI::integer i = 0; i < from.GetInstances().Size(); ++i) source.Add(from.GetInstances().Get(i));
  ZORQelIInstanceListUnique copy;
  copy.SetTargetModeler(to);
  copy.Copy(source);
  ZORQelIExpressForm copied;
  copied.Print(to.GetInstances());
  return Str(copied.Get());
}

const char* const kClauseKinds[] = {"derive", "inverse", "unique", "where", "redeclared"};
const char* const kForms[] = {"plain", "defined", "enumeration", "select"};

// Everything the dictionary holds of a schema read from EXPRESS, one fact a
// line, to compare two dictionaries.
std::string Describe(const ZORQelIModeler& m) {
  ZORQelIMemModelerIMP* s = Imp(m);
  std::string out = "schema " + Str(m.Name()) + "\n";
  for (const ZORQelIMemEntityIMP* e : s->Entities()) {
    const auto& x = e->ExpressInfo();
    out += "entity " + Str(e->Name()) + (x.abstract ? " abstract" : "") + " super(" +
           Str(x.supertypeExpr) + ") of";
    for (const ZORQelIMemEntityIMP* p : e->Supers()) out += " " + Str(p->Name());
    out += "\n";
    for (int i = 0; i < e->NumberOfAttributes(); ++i) {
      ZORQelIAttr a = e->GetAttr(i);
      out += "  attr " + Str(a.Name()) + " : " + Str(a.GetType().FullTypeName()) +
             (a.IsOptional() == Itrue ? " optional" : "") + "\n";
    }
    for (const ZORQelIMemClause& c : x.clauses) {
      out += "  " + std::string(kClauseKinds[c.kind]) + " " + Str(c.name) + " = " + Str(c.text) + "\n";
    }
  }
  for (const ZORQelIMemTypeIMP* t : s->Types()) {
    const auto& x = t->ExpressInfo();
    out += "type " + Str(t->Name()) + " " + kForms[x.form] + " " + Str(t->FullTypeName()) +
           (x.number ? " number" : "") + (x.extensible ? " extensible" : "") +
           (x.genericEntity ? " generic_entity" : "") + " [" + Str(x.lowText) + ":" +
           Str(x.highText) + "] (" + Str(x.widthText) + ")";
    for (const ZORQelITypeIMP* e = t->SubType(); e != nullptr; e = e->SubType()) {
      const auto* ei = dynamic_cast<const ZORQelIMemTypeIMP*>(e);
      if (ei != nullptr) out += " [" + Str(ei->ExpressInfo().lowText) + ":" + Str(ei->ExpressInfo().highText) + "]";
    }
    if (x.basedOn) out += " based_on " + Str(x.basedOn->Name());
    if (x.underlying) out += " from " + Str(x.underlying->Name());
    for (const ZORQelI::string& i : x.items) out += " ." + Str(i);
    for (const ZORQelITypeIMP* i : x.members) out += " |" + Str(i->Name());
    for (const ZORQelIMemClause& c : x.clauses) out += " {" + Str(c.name) + "|" + Str(c.text) + "}";
    out += "\n";
  }
  for (const ZORQelIMemDeclaration& d : s->Declarations()) {
    if (d.kind != ZORQelIMemDeclaration::Entity && d.kind != ZORQelIMemDeclaration::Type) {
      out += "kept " + std::to_string(d.kind) + " " + Str(d.name) + " " +
             std::to_string(d.text.GetLengthInChar()) + "\n";
    }
  }
  return out;
}

TEST(MemExpressRead, EveryConstructOfTheGrammarIsReadAndMapped) {
  std::vector<ZORQelIMemDiagnostic> messages;
  std::vector<ZORQelIModeler> schemas = LoadSchemas(qtest::GrammarSchemas(), "test.exp", &messages);
  ASSERT_EQ(2u, schemas.size());
  ZORQelIModeler m = schemas[0];
  ZORQelIMemModelerIMP* s = Imp(m);
  EXPECT_EQ("grammar_check", Str(m.Name()));
  EXPECT_EQ("version 1", Str(s->Version()));
  EXPECT_EQ(8, m.GetNumberOfEntities());
  EXPECT_EQ(18u, s->Types().size());
  EXPECT_EQ("helper_entity", Str(schemas[1].GetEntity(0).Name()));
  EXPECT_EQ(Itrue, schemas[1].GetEntity(0).Super().Equal(m.LookEntity("SHAPE")));  // case ignored

  // Missing schemas: warnings that name them; their items become entities.
  ASSERT_EQ(2u, messages.size());
  EXPECT_EQ("test.exp:3:12: warning: schema 'support_schema' is not supplied: the items "
            "interfaced from it become placeholder entities without attributes",
            messages[0].Text());
  EXPECT_EQ("test.exp:4:18: warning: schema 'units_schema' is not supplied: names not declared "
            "otherwise become placeholder entities without attributes",
            messages[1].Text());
  ZORQelIEntity group = m.LookEntity("group");
  EXPECT_EQ("support_schema.thing", Str(group.GetAttr("owner").GetType().FullTypeName()));
  EXPECT_EQ("support_schema.other_thing", Str(group.GetAttr("alias_use").GetType().FullTypeName()));

  EXPECT_EQ(
      "schema grammar_check\n"
      "entity shape abstract super(ONEOF (circle, polygon) ANDOR coloured) of\n"
      "  attr name : String(255)\n"
      "  attr tags : Set [0:?] of String(255) optional\n"
      "  attr grid : Bag of List [1:2] of Integer\n"
      "  derive tag_count = tag_count : INTEGER := SIZEOF(tags)\n"
      "  inverse groups = groups : SET [0:?] OF group FOR members\n"
      "  unique ur1 = ur1 : name\n"
      "  where wr1 = wr1 : EXISTS(name) AND (LENGTH(name) > 0)\n"
      "  where wr2 = wr2 : NOT (SIZEOF(QUERY(t <* tags | t = '')) > 0)\n"
      "entity coloured super() of shape\n"
      "  attr colour_value : String\n"
      "entity circle super() of shape\n"
      "  attr radius : Real\n"
      "  attr centre : Array [1:2] of Real\n"
      "  derive area = area : REAL := PI * radius ** 2\n"
      "  where wr1 = wr1 : {0.0 < radius <= 1.0E9}\n"
      "  where wr2 = wr2 : radius >= 0.\n"
      "entity polygon super() of shape\n"
      "  attr points : List [3:?] of Array [1:2] of Real\n"
      "entity coloured_circle super() of coloured circle\n"
      "  attr alpha : Real\n"
      "  redeclared SELF\\circle.radius = SELF\\circle.radius : positive_radius\n"
      "entity group super() of\n"
      "  attr members : Set [1:?] of grammar_check.shape\n"
      "  attr owner : support_schema.thing optional\n"
      "  attr alias_use : support_schema.other_thing\n"
      "  unique  = members, owner\n"
      "entity abstract_only abstract super() of\n"
      "  attr x : Boolean\n"
      "entity old_style abstract super() of\n"
      "type label defined String(255) [:] ()\n"
      "type code defined String(8) Fixed [:] ()\n"
      "type blob defined Binary(32) Fixed [:] ()\n"
      "type ratio defined Real number [:] ()\n"
      "type precise defined Real [:] (12)\n"
      "type flag defined Logical [:] ()\n"
      "type yes defined Boolean [:] ()\n"
      "type count defined Integer [:] () {positive|positive : SELF >= 0} {|SELF < 100000}\n"
      "type positive_count defined Integer [:] () from count\n"
      "type matrix defined Array [1:3] of Array [1:?] of unique optional Real [:] () [:max_points] [:]\n"
      "type names defined List [0:?] of unique String(255) [:] () [:]\n"
      "type colour enumeration String [:] () .red .green .blue\n"
      "type more_colour enumeration String extensible [:] ()\n"
      "type extra_colour enumeration String [:] () based_on more_colour .cyan .magenta\n"
      "type shape_or_label select Void [:] () |shape |label\n"
      "type any_shape select Void extensible generic_entity [:] ()\n"
      "type some_shape select Void [:] () based_on any_shape |circle\n"
      "type positive_radius defined Real [:] () {|SELF > 0.0}\n"
      "kept 0 support_schema 61\n"
      "kept 1 units_schema 27\n"
      "kept 1 grammar_helper 45\n"
      "kept 8 max_points 131\n"
      "kept 7 shape_kinds 145\n"
      "kept 4 ring_area 1188\n"
      "kept 5 touch 75\n"
      "kept 6 unique_names 127\n",
      Describe(m));

  // Several super entities: Super() is the first; instances carry the
  // attributes in the ISO 10303-21 order.
  auto* cc = ZORQelIMemEntityIMP::DownCast(m.LookEntity("Coloured_Circle"));
  EXPECT_EQ("coloured", Str(cc->Super().Name()));
  std::string order;
  for (ZORQelIMemAttrIMP* a : cc->ExchangeOrder()) order += Str(a->Name()) + " ";
  EXPECT_EQ("name tags grid colour_value radius centre alpha ", order);
  EXPECT_EQ(Itrue, cc->IsAKindOf(m.LookEntity("circle")));
  auto* label = s->FindType("LABEL");
  ASSERT_NE(nullptr, label);
  EXPECT_EQ(ZORQelI::Istring, label->PrimitiveType());
  EXPECT_EQ(255, label->Width());
}

TEST(MemExpressRead, LoadTakesTheSchemaThatNoOtherOneInterfaces) {
  const std::string text =
      "SCHEMA resources; ENTITY point; x, y : REAL; END_ENTITY; END_SCHEMA;\n"
      "SCHEMA drawing; USE FROM resources (point AS vertex);\n"
      "ENTITY polyline; points : LIST [2:?] OF vertex; END_ENTITY; END_SCHEMA;\n";
  const std::string path = TempPath("two.exp");
  qtest::WriteFile(path, text);
  ZORQelIModeler m = ZORQelIMemWrapper::Default().NewModeler("Placeholder name");
  ASSERT_EQ(Itrue, m.Load(path.c_str()));
  EXPECT_EQ("drawing", Str(m.Name()));
  ASSERT_EQ(1, m.GetNumberOfEntities());
  ZORQelIType points = m.GetEntity(0).GetAttr("points").GetType();
  EXPECT_EQ("List [2:?] of resources.point", Str(points.FullTypeName()));
  EXPECT_EQ(2, ZORQelIEntity::DownCast(points.SubType()).NumberOfAttributes());
  // The rename is written back as it was read.
  EXPECT_NE(std::string::npos,
            Str(Imp(m)->ExpressText()).find("  points : LIST [2:?] OF vertex;\n"));
  std::remove(path.c_str());
}

TEST(MemExpressRead, InterfacedItemsChainThroughSchemasThatInterfaceEachOther) {
  // a sees c's point as vertex through b; a and b use each other whole.
  std::vector<ZORQelIModeler> schemas = LoadSchemas(
      "SCHEMA a; USE FROM b; ENTITY shape; corner : vertex; spot : mark; END_ENTITY; END_SCHEMA;\n"
      "SCHEMA b; USE FROM a; REFERENCE FROM c (point AS vertex); TYPE mark = c_label; END_TYPE;\n"
      "  USE FROM c (label AS c_label); END_SCHEMA;\n"
      "SCHEMA c; ENTITY point; x : REAL; END_ENTITY; TYPE label = STRING(4); END_TYPE; END_SCHEMA;\n");
  ASSERT_EQ(3u, schemas.size());
  ZORQelIEntity shape = schemas[0].LookEntity("shape");
  EXPECT_EQ("c.point", Str(shape.GetAttr("corner").GetType().FullTypeName()));
  EXPECT_EQ(Itrue, shape.GetAttr("corner").GetType().Equal(schemas[2].LookEntity("point")));
  EXPECT_EQ("mark", Str(shape.GetAttr("spot").GetType().Name()));
  EXPECT_EQ(4, shape.GetAttr("spot").GetType().Width());
}

TEST(MemExpressRead, InheritedNamesAreCheckedAlongLongChainsSiblingsAndDiamonds) {
  // A chain of 5,000 entities, each with its own attribute, and a chain of
  // 5,000 defined types: both load; siblings may share attribute names.
  std::string chain = "SCHEMA chain;\nTYPE t0 = REAL; END_TYPE;\nENTITY e0; a0 : t4999; END_ENTITY;\n";
  for (int i = 1; i < 5000; ++i) {
    const std::string n = std::to_string(i), p = std::to_string(i - 1);
    chain += "TYPE t" + n + " = t" + p + "; END_TYPE;\nENTITY e" + n + " SUBTYPE OF (e" + p +
             "); a" + n + " : INTEGER; END_ENTITY;\nENTITY s" + n + " SUBTYPE OF (e" + p +
             "); a" + n + " : REAL; END_ENTITY;\n";
  }
  std::vector<ZORQelIModeler> ok = LoadSchemas(chain + "END_SCHEMA;\n");
  ASSERT_EQ(1u, ok.size());
  EXPECT_EQ(9999, ok[0].GetNumberOfEntities());
  EXPECT_EQ(ZORQelI::Ireal, ok[0].LookEntity("e0").GetAttr("a0").GetType().PrimitiveType());
  EXPECT_EQ(5000u, ZORQelIMemEntityIMP::DownCast(ok[0].LookEntity("e4999"))->ExchangeOrder().size());

  // The same name deep down the chain, and below a diamond.
  ZORQelIModeler m = ZORQelIMemWrapper::Default().NewModeler("x");
  EXPECT_EQ(Ifalse, Imp(m)->LoadText(chain + "ENTITY deep SUBTYPE OF (e4999); A17 : REAL; END_ENTITY;\n"
                                             "END_SCHEMA;\n", "c.exp"));
  ASSERT_EQ(1u, Imp(m)->Diagnostics().size());
  EXPECT_EQ("c.exp:15001:33: error: attribute 'A17' of entity 'deep' is already inherited from 'e17'",
            Imp(m)->Diagnostics()[0].Text());
  EXPECT_EQ(Ifalse, Imp(m)->LoadText("SCHEMA d; ENTITY a; x : INTEGER; END_ENTITY;\n"
                                     "ENTITY b SUBTYPE OF (a); END_ENTITY; ENTITY c SUBTYPE OF (a); END_ENTITY;\n"
                                     "ENTITY d SUBTYPE OF (b, c); y : INTEGER; END_ENTITY;\n"
                                     "ENTITY e SUBTYPE OF (d); X : REAL; END_ENTITY; END_SCHEMA;\n", "d.exp"));
  ASSERT_EQ(1u, Imp(m)->Diagnostics().size());
  EXPECT_EQ("d.exp:4:26: error: attribute 'X' of entity 'e' is already inherited from 'a'",
            Imp(m)->Diagnostics()[0].Text());
  EXPECT_EQ(0, m.GetNumberOfEntities());
}

TEST(MemExpressRead, MalformedSchemasFailWithLocatedErrorsAndChangeNothing) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"SCHEMA s;\nENTITY a;\n  x : INTEGER\nEND_ENTITY;\nEND_SCHEMA;\n",
       "4:1: error: expected ';', found 'END_ENTITY'"},
      {"SCHEMA s;\nENTITY a;\n  x : missing_type;\nEND_ENTITY;\nEND_SCHEMA;\n",
       "3:7: error: 'missing_type' is not declared in schema 's'"},
      {"SCHEMA s;\nENTITY a SUBTYPE OF (nobody);\nEND_ENTITY;\nEND_SCHEMA;\n",
       "2:22: error: 'nobody' is not declared in schema 's'"},
      {"SCHEMA s;\nENTITY a;\nEND_ENTITY;\nTYPE A = INTEGER;\nEND_TYPE;\nEND_SCHEMA;\n",
       "4:6: error: 'A' is declared twice in schema 's'"},
      {"SCHEMA s;\nENTITY a SUBTYPE OF (c);\nEND_ENTITY;\nENTITY b SUBTYPE OF (a);\nEND_ENTITY;\n"
       "ENTITY c SUBTYPE OF (b);\nEND_ENTITY;\nEND_SCHEMA;\n",
       "2:8: error: cyclic inheritance: entity 'a' is its own supertype"},
      {"SCHEMA s;\nTYPE t1 = t2;\nEND_TYPE;\nTYPE t2 = t1;\nEND_TYPE;\nEND_SCHEMA;\n",
       "2:6: error: type 't1' is defined through itself"},
      {"SCHEMA s;\nTYPE t = INTEGER;\nEND_TYPE;\nENTITY a SUBTYPE OF (t);\nEND_ENTITY;\nEND_SCHEMA;\n",
       "4:22: error: 't' is not an entity"},
      {"SCHEMA s;\nENTITY a;\n  x : INTEGER;\nEND_ENTITY;\nENTITY b SUBTYPE OF (a);\n  X : REAL;\n"
       "END_ENTITY;\nEND_SCHEMA;\n",
       "6:3: error: attribute 'X' of entity 'b' is already inherited from 'a'"},
      {"SCHEMA s;\nTYPE t = INTEGER;\nWHERE\n  wr1 : " + std::string(100000, '(') + "SELF" +
           std::string(100000, ')') + ";\nEND_TYPE;\nEND_SCHEMA;\n",
       "4:108: error: nesting deeper than 200 levels"},
      {"SCHEMA s;\nTYPE t = " + [] { std::string l; for (int i = 0; i < 1000; ++i) l += "LIST OF "; return l; }() +
           "INTEGER;\nEND_TYPE;\nEND_SCHEMA;\n",
       "2:1602: error: nesting deeper than 200 levels"},
      {std::string("SCHEMA s;\nENTITY a;\0\nEND_ENTITY;\nEND_SCHEMA;\n", 42),
       "2:10: error: bytes that are not text"},
      {"SCHEMA s; (* caf\xc3\xa9 *)\nENTITY a; -- bad \xff\nEND_ENTITY;\nEND_SCHEMA;\n",
       "2:18: error: bytes that are not text in a remark"},
      {"SCHEMA s;\n(* never (* closed *)\nEND_SCHEMA;\n", "2:1: error: unterminated remark"},
      {"", "1:1: error: no schema in the text"},
      {"SCHEMA s; ENTITY a; END_ENTITY; END_SCHEMA; SCHEMA S; END_SCHEMA;",
       "1:52: error: schema 'S' is declared twice"},
      {"SCHEMA s; USE FROM s2 (b); END_SCHEMA; SCHEMA s2; END_SCHEMA;",
       "1:24: error: 'b' is not declared in schema 's2'"},
      {"SCHEMA s; ENTITY Existing; END_ENTITY; END_SCHEMA;",
       "1:18: error: schema 'Kept' already holds a declaration named 'Existing'"},
  };
  for (const auto& [text, expected] : cases) {
    ZORQelIModeler m = ZORQelIMemWrapper::Default().NewModeler("Kept");
    ZORQelIEntity existing = m.MakeEntity("Existing");
    existing.CreateAttr("n", m.MakeInteger(), Ifalse);
    const std::string before = Str(m.ToString());
    ZORQelIMemModelerIMP* s = Imp(m);
    EXPECT_EQ(Ifalse, s->LoadText(text, "bad.exp")) << expected;
    ASSERT_FALSE(s->Diagnostics().empty()) << expected;
    EXPECT_EQ("bad.exp:" + expected, s->Diagnostics()[0].Text());
    EXPECT_EQ(before, Str(m.ToString()));
    EXPECT_EQ("Kept", Str(m.Name()));
    EXPECT_EQ(0u, s->Types().size());
    EXPECT_EQ(1, m.GetNumberOfEntities());
  }
  ZORQelIModeler m = ZORQelIMemWrapper::Default().NewModeler("Missing");
  EXPECT_EQ(Ifalse, m.Load(TempPath("no/such/file.exp").c_str()));
  EXPECT_EQ(TempPath("no/such/file.exp") + ":1:1: error: cannot read the file",
            Imp(m)->Diagnostics()[0].Text());
}

// A schema built by code with every kind of type the provider makes.
ZORQelIModeler BuildByCode(const char* name) {
  ZORQelIModeler m = ZORQelIMemWrapper::Default().NewModeler(name);
  ZORQelIEntity figure = m.MakeEntity("Figure");
  ZORQelIEntity poly = m.MakeEntity("Polyline");
  ZORQelIEntity later = m.MakeEntity("Later");
  poly.Super(figure);
  figure.CreateAttr("name", m.MakeString(), Ifalse);
  figure.CreateAttr("code", m.MakeString(8, Itrue), Itrue);
  figure.CreateAttr("blob", m.MakeBinary(4, Ifalse), Ifalse);
  figure.CreateAttr("any", m.MakeType(ZORQelI::Ivoid), Itrue);
  figure.CreateAttr("none", ZORQelIType(), Ifalse);
  poly.CreateAttr("points", m.MakeArray(m.MakeReal(), 1, 8, Itrue, Ifalse), Ifalse);
  poly.CreateAttr("tags", m.MakeSet(m.MakeString(16, Itrue), Mint::UNSET, Mint::UNSET), Ifalse);
  poly.CreateAttr("grid", m.MakeList(m.MakeBag(m.MakeType(ZORQelI::Ilogical), Mint::UNSET, 5), 0,
                                     Mint::UNSET, Itrue),
                  Ifalse);
  poly.CreateAttr("next", later, Itrue);
  poly.CreateAttr("closed", m.MakeBoolean(), Itrue);
  ZORQelIType label = m.MakeInteger();
  label.Rename("Label");
  later.CreateAttr("label", label, Ifalse);
  later.CreateAttr("back", m.MakeList(poly, 0, 3, Ifalse), Ifalse);
  return m;
}

TEST(MemExpressRead, TheLibrarysOwnTextSavedLoadedAndSavedIsByteIdentical) {
  std::vector<ZORQelIModeler> sources = {BuildByCode("Drawing"),
                                         ZORQelIMemWrapper::Default().NewModeler("Empty"),
                                         LoadSchemas(qtest::GrammarSchemas())[0]};
  for (ZORQelIModeler& source : sources) {
    const std::string first = TempPath("own1.txt"), second = TempPath("own2.txt");
    ASSERT_EQ(Itrue, source.Save(first.c_str()));
    ZORQelIModeler copy = ZORQelIMemWrapper::Default().NewModeler("fresh");
    ASSERT_EQ(Itrue, copy.Load(first.c_str()))
        << (Imp(copy)->Diagnostics().empty() ? "" : Imp(copy)->Diagnostics()[0].Text());
    EXPECT_EQ(source.Name(), copy.Name());
    EXPECT_EQ(0u, Imp(copy)->Types().size());
    ASSERT_EQ(Itrue, copy.Save(second.c_str()));
    EXPECT_EQ(ReadFile(first), ReadFile(second)) << Str(source.Name());
    std::remove(first.c_str());
    std::remove(second.c_str());
  }
  // The types read back are those the code made, entities referred to
  // before their declaration included.
  ZORQelIModeler m = ZORQelIMemWrapper::Default().NewModeler("x");
  ASSERT_EQ(Itrue, Imp(m)->LoadText(Str(BuildByCode("Drawing").ToString()), "own"));
  ZORQelIEntity poly = m.LookEntity("Polyline");
  EXPECT_EQ("Figure", Str(poly.Super().Name()));
  EXPECT_EQ("Array [1:8] of optional Real", Str(poly.GetAttr("points").GetType().FullTypeName()));
  EXPECT_EQ("List [0:?] of unique Bag [?:5] of Logical", Str(poly.GetAttr("grid").GetType().FullTypeName()));
  EXPECT_EQ(Itrue, poly.GetAttr("next").GetType().Equal(m.LookEntity("Later")));
  EXPECT_EQ("String(8) Fixed", Str(m.LookEntity("Figure").GetAttr("code").GetType().FullTypeName()));
  EXPECT_EQ(Itrue, m.LookEntity("Figure").GetAttr("code").IsOptional());
}

TEST(MemExpressWrite, WrittenEXPRESSReadsBackToAnEqualDictionaryAndTheSameText) {
  ZORQelIModeler first = LoadSchemas(qtest::GrammarSchemas())[0];
  const std::string text = Str(Imp(first)->ExpressText());
  std::vector<ZORQelIMemDiagnostic> messages;
  std::vector<ZORQelIModeler> again = LoadSchemas(text, "test.exp", &messages);
  ASSERT_EQ(1u, again.size());
  EXPECT_EQ(Describe(first), Describe(again[0]));
  EXPECT_EQ(text, Str(Imp(again[0])->ExpressText()));
  // Kept clauses and declarations are written verbatim.
  EXPECT_NE(std::string::npos, text.find("\n WHERE\n  wr1 : {0.0 < radius <= 1.0E9};\n"));
  EXPECT_NE(std::string::npos, text.find("\nPROCEDURE touch (VAR x : INTEGER; y : INTEGER);\n  x := x + y;\nEND_PROCEDURE;\n"));
  EXPECT_NE(std::string::npos, text.find("ENTITY coloured_circle\n SUBTYPE OF (coloured, circle);\n"
                                         "  alpha : ratio;\n  SELF\\circle.radius : positive_radius;\nEND_ENTITY;\n"));
}

TEST(MemExpressWrite, AnEnumerationOrSelectWithoutItemsIsWrittenAsItReadsBack) {
  const std::string source =
      "SCHEMA bare;\nTYPE e = ENUMERATION; END_TYPE;\nTYPE s = SELECT; END_TYPE;\nEND_SCHEMA;\n";
  std::vector<ZORQelIModeler> first = LoadSchemas(source, "bare.exp");
  ASSERT_EQ(1u, first.size());
  const std::string text = Str(Imp(first[0])->ExpressText());
  EXPECT_NE(std::string::npos, text.find("TYPE e = ENUMERATION;\nEND_TYPE;\n")) << text;
  EXPECT_NE(std::string::npos, text.find("TYPE s = SELECT;\nEND_TYPE;\n")) << text;
  std::vector<ZORQelIMemDiagnostic> messages;
  std::vector<ZORQelIModeler> again = LoadSchemas(text, "again.exp", &messages);
  ASSERT_EQ(1u, again.size()) << (messages.empty() ? "" : messages[0].Text());
  EXPECT_EQ(text, Str(Imp(again[0])->ExpressText()));
}

TEST(MemExpressWrite, ASchemaBuiltByCodeGetsTheDeclarationsItsTypesImply) {
  ZORQelIModeler m = BuildByCode("Drawing");
  const std::string text = Str(Imp(m)->ExpressText());
  EXPECT_EQ(
      "SCHEMA Drawing;\n\n"
      "TYPE Void = EXTENSIBLE GENERIC_ENTITY SELECT;\nEND_TYPE;\n\n"
      "TYPE Label = INTEGER;\nEND_TYPE;\n\n"
      "ENTITY Figure;\n"
      "  name : STRING;\n"
      "  code : OPTIONAL STRING(8) FIXED;\n"
      "  blob : BINARY(4);\n"
      "  any : OPTIONAL Void;\n"
      "  none : Void;\n"
      "END_ENTITY;\n\n"
      "ENTITY Polyline\n SUBTYPE OF (Figure);\n"
      "  points : ARRAY [1:8] OF OPTIONAL REAL;\n"
      "  tags : SET OF STRING(16) FIXED;\n"
      "  grid : LIST [0:?] OF UNIQUE BAG [?:5] OF LOGICAL;\n"
      "  next : OPTIONAL Later;\n"
      "  closed : OPTIONAL BOOLEAN;\n"
      "END_ENTITY;\n\n"
      "ENTITY Later;\n"
      "  label : Label;\n"
      "  back : LIST [0:3] OF Polyline;\n"
      "END_ENTITY;\n\n"
      "END_SCHEMA;\n",
      text);
  std::vector<ZORQelIModeler> read = LoadSchemas(text);
  ASSERT_EQ(1u, read.size());
  ZORQelIEntity poly = read[0].LookEntity("polyline");
  EXPECT_EQ("Figure", Str(poly.Super().Name()));
  EXPECT_EQ("List [0:?] of unique Bag [?:5] of Logical", Str(poly.GetAttr("grid").GetType().FullTypeName()));
  EXPECT_EQ("Label", Str(read[0].LookEntity("Later").GetAttr("label").GetType().Name()));
  EXPECT_EQ(ZORQelI::Iinteger, read[0].LookEntity("Later").GetAttr("label").GetType().PrimitiveType());
}

// Loads the grammar schemas, makes instances and prints them; returns the
// number of objects alive while the schema was held.
ZORQelI::integer LoadAndUse(ZORQelI::integer before) {
  std::vector<ZORQelIModeler> schemas = LoadSchemas(qtest::GrammarSchemas());
  ZORQelIModeler m = schemas[0];
  schemas.clear();
  qtest::CollectAll();
  const ZORQelI::integer held = ZORQelIVariable::GetInstancesCount__();
  EXPECT_GT(held, before + 50);
  // An attribute inherited from the second super entity holds a value.
  ZORQelIInstance c = m.Instanciate(ZORQelI::string("coloured_circle"));
  c.PutAttr(m.LookEntity("circle").GetAttr("radius"), m.InstanciateReal().PutReal(2.5));
  c.PutAttr(m.LookEntity("shape").GetAttr("name"), m.InstanciateString().PutString("disc"));
  EXPECT_DOUBLE_EQ(2.5, c.GetAttr("radius").GetReal());
  m.Instanciate(ZORQelI::string("group"));
  EXPECT_EQ(2, m.GetInstances().Size());
  // The library's instance text takes the attributes of every super entity,
  // in the ISO 10303-21 order (name tags grid colour_value radius centre
  // alpha): the value inherited from the second super entity, circle, too.
  ZORQelIExpressForm printer;
  printer.Print(m.GetInstances());
  EXPECT_EQ("#1=coloured_circle('disc',$,$,$,2.500000,$,$);\n#2=group($,$,$);\n",
            Str(printer.Get()));
  // The handle path (taken by a printer of a derived class) prints the same.
  struct DerivedForm : ZORQelIExpressForm {};
  DerivedForm general;
  general.PrintLong(c);
  EXPECT_EQ("#1=coloured_circle('disc',$,$,$,2.500000,$,$);\n", Str(general.Get()));

  // A view registered before a load hears of every entity read; the deep
  // copy carries the instances into that second schema.
  int created = 0;
  ZORQelIModeler target = ZORQelIMemWrapper::Default().NewModeler("target");
  target.AddView(ZORQelIView(new qtest::FnViewIMP([&created](qtest::Notice kind, ZORQelIObject) {
    created += kind == qtest::Notice::Created;
  })));
  EXPECT_EQ(Itrue, Imp(target)->LoadText(qtest::GrammarSchemas(), "again.exp"));
  EXPECT_EQ(8, created);
  EXPECT_EQ(Str(printer.Get()), CopiedPopulation(m, target));
  EXPECT_EQ("disc", Str(target.GetInstances().Get(0).GetAttr("name").GetString()));
  EXPECT_DOUBLE_EQ(2.5, target.GetInstances().Get(0).GetAttr("radius").GetReal());
  return held;
}

TEST(MemExpressCollect, ALoadedDictionaryHoldsInstancesAndIsReclaimedWhenDropped) {
  // A first round makes what the process keeps for good (the provider, the
  // printer's lasting objects); the second must leave nothing behind.
  qtest::CollectAll();
  LoadAndUse(ZORQelIVariable::GetInstancesCount__());
  qtest::CollectAll();
  const ZORQelI::integer before = ZORQelIVariable::GetInstancesCount__();
  LoadAndUse(before);
  qtest::CollectAll();
  EXPECT_EQ(before, ZORQelIVariable::GetInstancesCount__());
}

}  // namespace
