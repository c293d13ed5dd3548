// The parts of the dictionary the library implements itself, run on the
// provider of DictionaryDoubles.h.
#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CoreTestSupport.h"
#include "DictionaryDoubles.h"
#include "QL0KRN.h"
#include "TestSupport.h"

namespace dicttest {

using namespace doubles;
using qtest::CaptureStderr;
using qtest::RaisedText;

class DictionaryTest : public qtest::CollectedTest {
 protected:
  ZORQelIType Kind(int k, Provider* w = nullptr) {
    return ZORQelIType(new Type(w ? *w : wrapper, ZORQelIModeler(), static_cast<ZORQelI::Types>(k)));
  }
  ZORQelIInstance Value(int kind, Mint id, const char* text = "") {
    ZORQelIInstance v(new Instance(wrapper, Kind(kind), id));
    v.Rename(text);
    return v;
  }
  Provider wrapper{"test"};
  ZORQelIModeler modeler{new Modeler(wrapper, "m")};
};

TEST_F(DictionaryTest, NameOfEveryKindAndTheEntityDiagnostic) {
  const std::vector<std::pair<int, std::string>> names = {
      {0, "Void"},    {2, "Boolean"}, {3, "Logical"}, {4, "Integer"}, {5, "Real"},
      {6, "String"},  {7, "Binary"},  {8, "Array"},   {9, "List"},    {10, "Set"},
      {11, "Bag"},    {1, "UncknowType"}, {-1, "UncknowType"}, {13, "UncknowType"},
      {INT_MIN, "UncknowType"}};
  for (const auto& [kind, name] : names) {
    CaptureStderr err;
    EXPECT_EQ(std::string(Kind(kind).Name()), name) << "kind " << kind;
    EXPECT_EQ(err.Take(), "") << "kind " << kind;
    // The one table the type, the schema text and the provider read.
    const char* table = ZORQelI::KindName(kind);
    EXPECT_EQ(table == nullptr ? std::string("UncknowType") : std::string(table), name) << "kind " << kind;
  }
  EXPECT_EQ(ZORQelI::KindName(ZORQelI::Ientity), nullptr);
  CaptureStderr err;
  EXPECT_EQ(std::string(Kind(ZORQelI::Ientity).Name()), "UncknowType");
  EXPECT_EQ(err.Take(), " Can't Get Entity name.\n");
}

TEST_F(DictionaryTest, KindPredicatesForEveryKind) {
  using ZORQelI::Types;
  using Is = ZORQelI::boolean (ZORQelIType::*)() const;
  // Each predicate and the kinds it answers Itrue for; every other kind
  // (-1 .. 13) gets Ifalse.
  const std::vector<std::pair<Is, std::vector<int>>> predicates = {
      {&ZORQelIType::IsABoolean, {ZORQelI::Iboolean}},
      {&ZORQelIType::IsAnInteger, {ZORQelI::Iinteger}},
      {&ZORQelIType::IsAReal, {ZORQelI::Ireal}},
      {&ZORQelIType::IsAnEntity, {ZORQelI::Ientity}},
      {&ZORQelIType::IsAField, {ZORQelI::Istring, ZORQelI::Ibinary}},
      {&ZORQelIType::IsAString, {ZORQelI::Istring}},
      {&ZORQelIType::IsABinary, {ZORQelI::Ibinary}},
      {&ZORQelIType::IsAggr, {ZORQelI::Iarray, ZORQelI::Ilist, ZORQelI::Iset, ZORQelI::Ibag}},
      {&ZORQelIType::IsAnArray, {ZORQelI::Iarray}},
      {&ZORQelIType::IsAList, {ZORQelI::Ilist}},
      {&ZORQelIType::IsASet, {ZORQelI::Iset}},
      {&ZORQelIType::IsABag, {ZORQelI::Ibag}},
      {&ZORQelIType::IsOrdered, {ZORQelI::Iarray, ZORQelI::Ilist}}};
  for (int kind = -1; kind <= 13; ++kind) {
    const ZORQelIType t = Kind(kind);
    for (std::size_t p = 0; p < predicates.size(); ++p) {
      const auto& [is, kinds] = predicates[p];
      const bool expected = std::find(kinds.begin(), kinds.end(), kind) != kinds.end();
      EXPECT_EQ((t.*is)(), expected ? Itrue : Ifalse) << "kind " << kind << ", predicate " << p;
    }
  }
}

TEST_F(DictionaryTest, InRangeAtItsEdges) {
  ZORQelIType t = Kind(ZORQelI::Iarray);
  for (int i : {INT_MIN, INT_MAX}) EXPECT_EQ(t.InRange(i), Itrue) << i;  // no bounds
  t.Range(2, 7);
  EXPECT_EQ(static_cast<int>(t.UpperBound()), 7);
  for (int i : {1, 2, 7, 8}) EXPECT_EQ(t.InRange(i), B(i == 2 || i == 7)) << i;
  t.Range(5, 3);
  for (int i : {3, 4, 5}) EXPECT_EQ(t.InRange(i), Ifalse) << i;
  t.Range(-5, Mint::UNSET);
  for (int i : {-6, -5, INT_MAX}) EXPECT_EQ(t.InRange(i), B(i != -6)) << i;
  t.Range(Mint::UNSET, 0);
  for (int i : {INT_MIN, 1}) EXPECT_EQ(t.InRange(i), B(i == INT_MIN)) << i;
}

TEST_F(DictionaryTest, IsAPassesTheOtherTypeAndChecksBothHandles) {
  const ZORQelIType t = Kind(ZORQelI::Ireal);
  EXPECT_EQ(t.IsA(Kind(ZORQelI::Ireal)), Itrue);
  EXPECT_EQ(t.IsA(Kind(ZORQelI::Iinteger)), Ifalse);
  EXPECT_THROW(t.IsA(ZORQelIType()), ZORQelI::NullPtrAccess);
  EXPECT_THROW(ZORQelIType().IsA(t), ZORQelI::NullPtrAccess);
}

TEST_F(DictionaryTest, EntityAnswersTheTypeQuestionsAsAPlainRecord) {
  ZORQelIEntity e = modeler.MakeEntity("Point");
  e.Fixed(Itrue);
  e.Width(10);
  e.Unique(Itrue);
  e.Optional(Itrue);
  e.Range(1, 2);
  EXPECT_EQ(e.IsAnEntity(), Itrue);
  for (ZORQelI::boolean b : {e.IsAggr(), e.IsAField(), e.IsOrdered(), e.IsFixed(), e.IsUnique(), e.IsOptional()})
    EXPECT_EQ(b, Ifalse);
  for (Mint m : {e.Width(), e.LowerBound(), e.UpperBound()}) EXPECT_EQ(static_cast<int>(m), INT_MIN);
  EXPECT_EQ(e.InRange(INT_MAX), Itrue);
  EXPECT_EQ(e.TerminalType().IMP(), e.IMP());
  EXPECT_EQ(e.SubType().IsValid(), Ifalse);
  // Neither a plain type nor an entity is a kind of an entity by default.
  EXPECT_EQ(e.IsAKindOf(e), Ifalse);
  EXPECT_EQ(Kind(ZORQelI::Iinteger).IsAKindOf(e), Ifalse);
  EXPECT_EQ(e.CreateAttr("x", modeler.MakeInteger(), Ifalse).IsInverse(), Ifalse);
}

TEST_F(DictionaryTest, HashCodeIsTheInstanceNumberAndEqualityStaysIdentity) {
  const ZORQelIInstance a = Value(ZORQelI::Iinteger, 7), b = Value(ZORQelI::Iinteger, 7);
  EXPECT_EQ(a.HashCode(), 7);
  EXPECT_EQ(b.HashCode(), 7);
  EXPECT_EQ(a.Equal(b), Ifalse);
  EXPECT_EQ(Value(ZORQelI::Iinteger, Mint::UNSET).HashCode(), INT_MIN);
}

TEST_F(DictionaryTest, GetAttrByAttributeAsksByNameAndPutAttrReturnsTheOwner) {
  ZORQelIEntity box = modeler.MakeEntity("Box");
  box.CreateAttr("width", modeler.MakeInteger(), Ifalse);
  ZORQelIInstance owner(new Instance(wrapper, box, 1));
  // An attribute of the same name, of no entity, reaches the same value.
  const ZORQelIAttr width(new Attr(wrapper, "width"));
  EXPECT_EQ(owner.GetAttr(width).IMP(), owner.GetAttr("width").IMP());
  const ZORQelIInstance value = Value(ZORQelI::Iinteger, 3);
  EXPECT_EQ(owner.PutAttr(width, value).IMP(), owner.IMP());
  EXPECT_EQ(owner.GetAttr("width").GetObject().RefMe(), value.IMP());
  // An attribute without a value: the write reaches an empty handle.
  const ZORQelIAttr depth(new Attr(wrapper, "depth"));
  EXPECT_THROW(owner.PutAttr(depth, value), ZORQelI::NullPtrAccess);
  EXPECT_THROW(owner.GetAttr(ZORQelIAttr()), ZORQelI::NullPtrAccess);
}

TEST_F(DictionaryTest, WritersChainAndAppendPrependInsertAtEitherEnd) {
  ZORQelIInstance v = Value(ZORQelI::Iinteger, 1);
  EXPECT_EQ(v.PutInt(7).GetInt(), 7);
  EXPECT_EQ(v.PutInt(1).PutInteger(8).PutReal(2.5).PutBoolean(Itrue).PutString("s").IMP(), v.IMP());
  EXPECT_EQ(v.GetInteger(), 8);
  EXPECT_EQ(v.GetReal(), 2.5);
  EXPECT_EQ(v.GetBoolean(), Itrue);
  EXPECT_EQ(std::string(v.GetString()), "s");

  ZORQelIInstance list = Value(ZORQelI::Ilist, 2);
  const ZORQelIInstance x = Value(ZORQelI::Iinteger, 3), y = Value(ZORQelI::Iinteger, 4);
  EXPECT_EQ(list.Append(x), Itrue);
  EXPECT_EQ(list.Append(x), Ifalse);  // the provider's refusal comes back
  list.Prepend(y);
  list.Prepend(y);                    // refused, and not reported
  ASSERT_EQ(list.Size(), 2);
  EXPECT_EQ(list.GetInstance(0).IMP(), y.IMP());
  EXPECT_EQ(list.GetInstance(1).IMP(), x.IMP());
}

TEST_F(DictionaryTest, ProxyOperationsRefuseWithTheirLines) {
  ZORQelIInstance v = Value(ZORQelI::Iinteger, 1);
  EXPECT_EQ(RaisedText<ZORQelI::InvalidType>([&] { v.GetMnum(); }),
            qtest::InvalidText("ZORQelIInstanceIMP", 142));
  EXPECT_EQ(RaisedText<ZORQelI::InvalidType>([&] { v.GetJele(); }),
            qtest::InvalidText("ZORQelIInstanceIMP", 159));
  CaptureStderr err;
  EXPECT_EQ(RaisedText<ZORQelI::InvalidType>([&] { v.CreateProxy(3, 42); }),
            qtest::InvalidText("ZORQelIInstanceIMP", 177));
  EXPECT_EQ(err.Take(), "can't create proxy for *42 in 3\n");
}

// The modeler's type makers, through the provider's general operations, give
// the kind, width and fixedness asked for.
TEST_F(DictionaryTest, TypeMakersGiveTheKindWidthAndFixednessAskedFor) {
  const std::vector<std::pair<ZORQelIType, ZORQelI::Types>> made = {
      {modeler.MakeInteger(), ZORQelI::Iinteger}, {modeler.MakeReal(), ZORQelI::Ireal},
      {modeler.MakeString(), ZORQelI::Istring},   {modeler.MakeBoolean(), ZORQelI::Iboolean},
      {modeler.MakeString(10, Itrue), ZORQelI::Istring},
      {modeler.MakeBinary(Mint::UNSET, Ifalse), ZORQelI::Ibinary}};
  for (const auto& [type, kind] : made) EXPECT_EQ(type.PrimitiveType(), kind);
  EXPECT_EQ(static_cast<int>(made[4].first.Width()), 10);
  EXPECT_EQ(made[4].first.IsFixed(), Itrue);
  EXPECT_FALSE(made[5].first.Width().IsSet());
}

TEST_F(DictionaryTest, CapabilitiesAreExactNamesWithoutDuplicates) {
  auto all = [&] {
    return std::vector<ZORQelI::boolean>{wrapper.HasInstances(), wrapper.HasPersistantInstances(),
                                         wrapper.HasEditableDictionnary(),
                                         wrapper.HasPersistantDictionnary(), wrapper.HasExpression()};
  };
  EXPECT_EQ(all(), std::vector<ZORQelI::boolean>(5, Ifalse));
  wrapper.AddCapability("Instances");
  wrapper.AddCapability("Instances");
  EXPECT_EQ(wrapper.CapabilityCount(), 1);
  EXPECT_EQ(all(), (std::vector<ZORQelI::boolean>{Itrue, Ifalse, Ifalse, Ifalse, Ifalse}));
  EXPECT_EQ(wrapper.Has("instances"), Ifalse);
  for (const char* c : {"PersistantInstances", "EditableDictionnary", "PersistantDictionnary",
                        "Expression", "Versioning"})
    wrapper.AddCapability(c);
  EXPECT_EQ(all(), std::vector<ZORQelI::boolean>(5, Itrue));
  EXPECT_EQ(wrapper.Has("Versioning"), Itrue);
  EXPECT_EQ(wrapper.Has(""), Ifalse);
  // A provider that makes nothing by default gives empty handles.
  EXPECT_EQ(wrapper.NewModeler("schema").IsValid(), Ifalse);
  EXPECT_EQ(wrapper.NewExpression().IsValid(), Ifalse);
}

TEST_F(DictionaryTest, OwnershipChecksFollowTheProvider) {
  Provider other("other");
  const ZORQelIType mine = Kind(ZORQelI::Iinteger);
  ZORQelIWrapperObject alsoMine = Kind(ZORQelI::Ireal);
  ZORQelIWrapperObject theirs = Kind(ZORQelI::Ireal, &other);
  EXPECT_NO_THROW(wrapper.CheckWrapper(mine.IMP()));
  EXPECT_EQ(RaisedText<ZORQelI::InvalidType>([&] { wrapper.CheckWrapper(theirs.IMP()); }),
            qtest::InvalidText("ZORQelIWrapper", 214));
  EXPECT_EQ(mine.IMP()->SameWrapper(alsoMine), Itrue);
  EXPECT_EQ(mine.IMP()->SameWrapper(theirs.IMP()), Ifalse);
  ZORQelIWrapperObject empty;
  EXPECT_THROW(mine.IMP()->SameWrapper(empty), ZORQelI::NullPtrAccess);
}

}  // namespace dicttest
