// The parts of the dictionary that the library implements itself, against
// small test doubles: type names and kind predicates, bounds, the entity's
// fixed answers, the instance's symbolic name, hash code, attribute access
// and refusing proxy operations, the population and modeler conveniences,
// and the wrapper's capabilities and ownership checks.
#include <climits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CoreTestSupport.h"
#include "QL0KRN.h"
#include "TestSupport.h"

namespace dicttest {

using qtest::CaptureStderr;
using qtest::CollectAll;
using qtest::RaisedText;
using qtest::Source;
using ZORQelI::Ifalse;
using ZORQelI::Itrue;
using ZORQelI::Mint;

std::string InvalidTypeText(const char* cls, int line) {
  return "qualified exception : " + Source(cls) + " " + std::to_string(line) +
         ": attempt to convert incompatible object\n";
}

// A provider that owns the objects made with it.
class TestWrapper : public ZORQelIWrapper {
 public:
  ZORQelI::string WrapperName() const override { return "test"; }
  ZORQelI::boolean Owns(const ZORQelIWrapperObjectIMP* e) const override {
    return e != nullptr && &e->Wrapper() == this ? Itrue : Ifalse;
  }
  ZORQelI::integer CapabilityCount() const { return capabilities.Size(); }
};

// A type of any kind value, logging its bound reads (l, u) and writes (L, U)
// and counting its kind reads.
class KindType : public ZORQelITypeIMP {
  ZORQELI_DECLARE_IMP(KindType, ZORQelITypeIMP)
 public:
  KindType(ZORQelIWrapper& w, int k) : wrapper(&w), kind(k) {}
  ZORQelIObjectIMP* Clone() const override { return new KindType(*this); }
  void Text(ZORQelIPrint& ot) const override { ot.Print(ZORQelI::string("type")); }
  ZORQelIWrapper& Wrapper() const override { return *wrapper; }
  void Rename(ZORQelI::string) override {}
  ZORQelI::boolean IsA(ZORQelITypeIMP* x) const override {
    lastIsA = x;
    return x == this ? Itrue : Ifalse;
  }
  ZORQelI::string FullTypeName() const override { return "full"; }
  ZORQelIModeler GetModeler() const override { return ZORQelIModeler(); }
  ZORQelI::Types PrimitiveType() const override {
    ++kindReads;
    return static_cast<ZORQelI::Types>(kind);
  }
  ZORQelI::boolean IsFixed() const override { return Ifalse; }
  void Fixed(ZORQelI::boolean) override {}
  Mint Width() const override { return Mint::UNSET; }
  void Width(Mint) override {}
  ZORQelITypeIMP* TerminalType() const override { return nullptr; }
  ZORQelITypeIMP* SubType() const override { return nullptr; }
  void Unique(ZORQelI::boolean) override {}
  void Optional(ZORQelI::boolean) override {}
  ZORQelI::boolean IsUnique() const override { return Ifalse; }
  ZORQelI::boolean IsOptional() const override { return Ifalse; }
  Mint LowerBound() const override {
    log += "l";
    return low;
  }
  Mint UpperBound() const override {
    log += "u";
    return up;
  }
  void LowerBound(Mint v) override {
    log += "L";
    low = v;
  }
  void UpperBound(Mint v) override {
    log += "U";
    up = v;
  }

  ZORQelIWrapper* wrapper;
  int kind;
  Mint low, up;
  mutable int kindReads = 0;
  mutable std::string log;
  mutable ZORQelITypeIMP* lastIsA = nullptr;
};
ZORQELI_DEFINE_IMP(KindType, ZORQelITypeIMP)

// An entity that implements only what an entity must; its name is the
// library's default.
class PlainEntity : public ZORQelIEntityIMP {
  ZORQELI_DECLARE_IMP(PlainEntity, ZORQelIEntityIMP)
 public:
  explicit PlainEntity(ZORQelIWrapper& w) : wrapper(&w) {}
  ZORQelIObjectIMP* Clone() const override { return new PlainEntity(*this); }
  void Text(ZORQelIPrint& ot) const override { ot.Print(ZORQelI::string("entity")); }
  ZORQelIWrapper& Wrapper() const override { return *wrapper; }
  void Rename(ZORQelI::string) override {}
  ZORQelI::boolean IsA(ZORQelITypeIMP* x) const override { return x == this ? Itrue : Ifalse; }
  ZORQelI::string FullTypeName() const override { return "entity"; }
  ZORQelIModeler GetModeler() const override { return ZORQelIModeler(); }
  int NumberOfAttributes() const override { return 0; }
  ZORQelIAttr CreateAttr(ZORQelI::string, ZORQelIType, ZORQelI::boolean) override {
    return ZORQelIAttr();
  }
  ZORQelIAttr GetAttr(ZORQelI::string) const override { return ZORQelIAttr(); }
  ZORQelIAttr GetAttr(int) const override { return ZORQelIAttr(); }
  Mint GetAttrIndex(ZORQelI::string) const override { return Mint::UNSET; }
  ZORQelI::boolean RemoveAttr(ZORQelI::string) override { return Ifalse; }
  ZORQelI::boolean RemoveAttr(int) override { return Ifalse; }
  ZORQelIEntity Super() const override { return ZORQelIEntity(); }
  void Super(ZORQelIEntity) override {}

  ZORQelIWrapper* wrapper;
};
ZORQELI_DEFINE_IMP(PlainEntity, ZORQelIEntityIMP)

// An entity that names itself.
class NamedEntity : public PlainEntity {
 public:
  NamedEntity(ZORQelIWrapper& w, const char* n) : PlainEntity(w), name(n) {}
  ZORQelIObjectIMP* Clone() const override { return new NamedEntity(*this); }
  ZORQelI::string Name() const override { return name; }
  ZORQelI::string name;
};

// An attribute named by the test; nothing else of it is used.
class NameAttr : public ZORQelIAttrIMP {
  ZORQELI_DECLARE_IMP(NameAttr, ZORQelIAttrIMP)
 public:
  NameAttr(ZORQelIWrapper& w, const char* n) : wrapper(&w), name(n) {}
  ZORQelIObjectIMP* Clone() const override { return new NameAttr(*this); }
  void Text(ZORQelIPrint&) const override {}
  ZORQelIWrapper& Wrapper() const override { return *wrapper; }
  ZORQelI::string Name() const override { return name; }
  void Rename(ZORQelI::string x) override { name = x; }
  ZORQelI::boolean IsIn() const override { return Ifalse; }
  ZORQelI::boolean IsOut() const override { return Ifalse; }
  ZORQelI::boolean IsOptional() const override { return Ifalse; }
  ZORQelIType GetType() const override { return ZORQelIType(); }
  void SetType(ZORQelIType) override {}
  void SetIn(ZORQelI::boolean) override {}
  void SetOut(ZORQelI::boolean) override {}
  void SetOptional(ZORQelI::boolean) override {}
  const ZORQelIEntity Parent() override { return ZORQelIEntity(); }

  ZORQelIWrapper* wrapper;
  ZORQelI::string name;
};
ZORQELI_DEFINE_IMP(NameAttr, ZORQelIAttrIMP)

// An instance of a given type and number whose text is fixed by the test.
// It records the attribute names asked for, what PutObject and Insert
// receive, and answers GetAttr with `holder`.
class ValueInstance : public ZORQelIInstanceIMP {
  ZORQELI_DECLARE_IMP(ValueInstance, ZORQelIInstanceIMP)
 public:
  ValueInstance(ZORQelIWrapper& w, ZORQelIType t, Mint n, const char* txt = "")
      : wrapper(&w), type(t), id(n), text(txt) {}
  ZORQelIObjectIMP* Clone() const override { return new ValueInstance(*this); }
  void Text(ZORQelIPrint& ot) const override { ot.Print(text); }
  ZORQelI::boolean IsValid() const override { return valid; }
  void GarbageCollectorMemberCheck() override {
    ZORQelIInstanceIMP::GarbageCollectorMemberCheck();
    GarbageCollectorScan(type);
    GarbageCollectorScan(holder);
    GarbageCollectorScan(received);
  }
  ZORQelIWrapper& Wrapper() const override { return *wrapper; }
  ZORQelI::string Name() const override { return "value"; }
  void Rename(ZORQelI::string) override {}
  ZORQelIType GetType() const override { return type; }
  void Unset() override {}
  void Delete() override {}
  ZORQelI::integer GetInt() const override { return number; }
  ZORQelI::real GetReal() const override { return realValue; }
  ZORQelI::boolean GetBoolean() const override { return flag; }
  ZORQelI::string GetString() const override { return text; }
  Mint GetInstanceId() const override { return id; }
  void PutInt(ZORQelI::integer v) override { number = v; }
  void PutReal(ZORQelI::real v) override { realValue = v; }
  void PutBoolean(ZORQelI::boolean bo) override { flag = bo; }
  void PutString(ZORQelI::string s) override { text = s; }
  ZORQelIObject GetObject() const override { return received; }
  void PutObject(ZORQelIObject) override {}
  void PutObject(ZORQelIInstance obj) override { received = obj; }
  int Size() const override { return 0; }
  ZORQelIInstance GetInstance(int) const override { return ZORQelIInstance(); }
  void PutInstance(int, ZORQelIInstance) override {}
  using ZORQelIInstanceIMP::GetAttr;
  ZORQelIInstance GetAttr(ZORQelI::string key) const override {
    askedFor.push_back(static_cast<const char*>(key));
    return holder;
  }
  ZORQelI::boolean ForEach(ZORQelIWalker&, int, int) override { return Itrue; }
  ZORQelI::boolean ForEach(ZORQelIWalker&) override { return Itrue; }
  ZORQelI::boolean IsEmpty() const override { return Itrue; }
  ZORQelI::boolean Insert(ZORQelIInstance inst, ZORQelI::boolean atEnd) override {
    received = inst;
    inserts.push_back(atEnd);
    return insertResult;
  }
  void Remove() override {}
  Mint Look(ZORQelIInstance) const override { return Mint::UNSET; }

  ZORQelIWrapper* wrapper;
  ZORQelIType type;
  Mint id;
  ZORQelI::string text;
  ZORQelI::boolean valid = Itrue;
  ZORQelI::integer number = 0;
  ZORQelI::real realValue = 0;
  ZORQelI::boolean flag = Ifalse;
  ZORQelIInstance holder, received;
  ZORQelI::boolean insertResult = Itrue;
  std::vector<ZORQelI::boolean> inserts;
  mutable std::vector<std::string> askedFor;
};
ZORQELI_DEFINE_IMP(ValueInstance, ZORQelIInstanceIMP)

// A population that makes ValueInstances of primitive KindTypes.
class Population : public ZORQelIInstancesIMP {
  ZORQELI_DECLARE_IMP(Population, ZORQelIInstancesIMP)
 public:
  explicit Population(ZORQelIWrapper& w) : wrapper(&w) {}
  ZORQelIObjectIMP* Clone() const override { return new Population(*this); }
  void Text(ZORQelIPrint&) const override {}
  ZORQelIWrapper& Wrapper() const override { return *wrapper; }
  ZORQelI::string Name() const override { return "population"; }
  void Rename(ZORQelI::string) override {}
  ZORQelIInstance Make(int kind) const {
    ++made;
    return ZORQelIInstance(new ValueInstance(*wrapper, ZORQelIType(new KindType(*wrapper, kind)), made));
  }
  ZORQelIInstance InstanciateString() const override { return Make(ZORQelI::Istring); }
  ZORQelIInstance InstanciateBoolean() const override { return Make(ZORQelI::Iboolean); }
  ZORQelIInstance InstanciateReal() const override { return Make(ZORQelI::Ireal); }
  ZORQelIInstance InstanciateInteger() const override { return Make(ZORQelI::Iinteger); }
  ZORQelIInstance Instanciate(ZORQelI::string) const override { return Make(ZORQelI::Ivoid); }
  ZORQelIInstance Instanciate(ZORQelIType T) const override { return Make(T.PrimitiveType()); }
  ZORQelIInstance Get(ZORQelI::integer) const override { return ZORQelIInstance(); }
  void Put(ZORQelI::integer, ZORQelIInstance) override {}
  void Append(ZORQelIInstance) override {}
  Mint Look(ZORQelIInstance) const override { return Mint::UNSET; }
  ZORQelIInstance LookById(ZORQelI::integer) const override { return ZORQelIInstance(); }
  void Remove(ZORQelI::integer) override {}
  ZORQelI::integer Size() const override { return made; }

  ZORQelIWrapper* wrapper;
  mutable int made = 0;
};
ZORQELI_DEFINE_IMP(Population, ZORQelIInstancesIMP)

// A modeler that logs its make calls and counts GetInstances.
class LogModeler : public ZORQelIModelerIMP {
  ZORQELI_DECLARE_IMP(LogModeler, ZORQelIModelerIMP)
 public:
  explicit LogModeler(ZORQelIWrapper& w) : wrapper(&w), population(new Population(w)) {}
  ZORQelIObjectIMP* Clone() const override { return new LogModeler(*this); }
  void Text(ZORQelIPrint&) const override {}
  void GarbageCollectorMemberCheck() override {
    ZORQelIModelerIMP::GarbageCollectorMemberCheck();
    GarbageCollectorScan(population);
  }
  ZORQelIWrapper& Wrapper() const override { return *wrapper; }
  ZORQelI::string Name() const override { return "log"; }
  void Rename(ZORQelI::string) override {}
  ZORQelIType Made(std::string call, int kind) const {
    log.push_back(call);
    return ZORQelIType(new KindType(*wrapper, kind));
  }
  ZORQelIType Parent() const override { return ZORQelIType(); }
  ZORQelIType Scope(ZORQelI::string) const override { return ZORQelIType(); }
  ZORQelI::boolean Load(ZORQelI::string) override { return Ifalse; }
  ZORQelIType MakeType(ZORQelI::Types t) const override {
    return Made("MakeType(" + std::to_string(t) + ")", t);
  }
  ZORQelIType MakeField(ZORQelI::Types t, Mint width, ZORQelI::boolean fixed) const override {
    return Made("MakeField(" + std::to_string(t) + "," + std::to_string(width) + "," +
                    std::to_string(fixed) + ")",
                t);
  }
  ZORQelIType MakeList(ZORQelIType, Mint, Mint, ZORQelI::boolean) const override {
    return Made("MakeList", ZORQelI::Ilist);
  }
  ZORQelIType MakeBag(ZORQelIType, Mint, Mint) const override { return Made("MakeBag", 11); }
  ZORQelIType MakeSet(ZORQelIType, Mint, Mint) const override { return Made("MakeSet", 10); }
  ZORQelIType MakeArray(ZORQelIType, Mint, Mint, ZORQelI::boolean, ZORQelI::boolean) const override {
    return Made("MakeArray", ZORQelI::Iarray);
  }
  ZORQelIEntity MakeEntity(ZORQelI::string) override { return ZORQelIEntity(); }
  ZORQelIEntity LookEntity(ZORQelI::string) const override { return ZORQelIEntity(); }
  ZORQelIEntity GetEntity(int) const override { return ZORQelIEntity(); }
  int GetNumberOfEntities() const override { return 0; }
  ZORQelIInstances GetInstances() const override {
    ++populationReads;
    return population;
  }
  void AddView(ZORQelIView) override {}
  void RemoveView(ZORQelIView) override {}

  ZORQelIWrapper* wrapper;
  ZORQelIInstances population;
  mutable std::vector<std::string> log;
  mutable int populationReads = 0;
};
ZORQELI_DEFINE_IMP(LogModeler, ZORQelIModelerIMP)

class DictionaryTest : public ::testing::Test {
 protected:
  void SetUp() override { CollectAll(); }
  void TearDown() override { CollectAll(); }
  ZORQelIType Kind(int k) { return ZORQelIType(new KindType(wrapper, k)); }
  TestWrapper wrapper;
};

// --- Type names and kind predicates -------------------------------------------------

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
  }
  CaptureStderr err;
  EXPECT_EQ(std::string(Kind(ZORQelI::Ientity).Name()), "UncknowType");
  EXPECT_EQ(err.Take(), " Can't Get Entity name.\n");
}

TEST_F(DictionaryTest, KindPredicatesForEveryKind) {
  // Letters of the predicates that answer Itrue, in the order below.
  const char* const order = "BIREFSYGALTKO";
  const std::vector<std::pair<int, std::string>> expected = {
      {-1, ""},    {0, ""},    {1, ""},     {2, "B"},    {3, ""},     {4, "I"},  {5, "R"},
      {6, "FS"},   {7, "FY"},  {8, "GAO"},  {9, "GLO"},  {10, "GT"},  {11, "GK"}, {12, "E"},
      {13, ""}};
  for (const auto& [kind, truths] : expected) {
    const ZORQelIType t = Kind(kind);
    const ZORQelI::boolean answers[] = {
        t.IsABoolean(), t.IsAnInteger(), t.IsAReal(), t.IsAnEntity(), t.IsAField(),
        t.IsAString(),  t.IsABinary(),   t.IsAggr(),  t.IsAnArray(),  t.IsAList(),
        t.IsASet(),     t.IsABag(),      t.IsOrdered()};
    std::string got;
    for (int i = 0; i < 13; ++i) {
      ASSERT_TRUE(answers[i] == Itrue || answers[i] == Ifalse);
      if (answers[i] == Itrue) got += order[i];
    }
    EXPECT_EQ(got, truths) << "kind " << kind;
  }
}

TEST_F(DictionaryTest, CompoundPredicatesStopAtTheFirstTrueAnswer) {
  auto reads = [&](int kind, ZORQelI::boolean (ZORQelITypeIMP::*predicate)() const) {
    KindType* t = new KindType(wrapper, kind);
    ZORQelIType keep(t);
    (t->*predicate)();
    return t->kindReads;
  };
  EXPECT_EQ(reads(ZORQelI::Iarray, &ZORQelITypeIMP::IsAggr), 1);
  EXPECT_EQ(reads(ZORQelI::Ibag, &ZORQelITypeIMP::IsAggr), 4);
  EXPECT_EQ(reads(ZORQelI::Iinteger, &ZORQelITypeIMP::IsAggr), 4);
  EXPECT_EQ(reads(ZORQelI::Istring, &ZORQelITypeIMP::IsAField), 1);
  EXPECT_EQ(reads(ZORQelI::Ibinary, &ZORQelITypeIMP::IsAField), 2);
  EXPECT_EQ(reads(ZORQelI::Ilist, &ZORQelITypeIMP::IsOrdered), 2);
}

// --- Bounds ------------------------------------------------------------------------------

TEST_F(DictionaryTest, InRangeAtItsEdges) {
  KindType* imp = new KindType(wrapper, ZORQelI::Iarray);
  ZORQelIType t(imp);
  for (int i : {INT_MIN, -1, 0, INT_MAX}) EXPECT_EQ(t.InRange(i), Itrue) << i;

  t.Range(2, 7);
  EXPECT_EQ(t.InRange(1), Ifalse);
  EXPECT_EQ(t.InRange(2), Itrue);
  EXPECT_EQ(t.InRange(7), Itrue);
  EXPECT_EQ(t.InRange(8), Ifalse);
  EXPECT_EQ(t.InRange(INT_MIN), Ifalse);

  t.Range(5, 3);
  for (int i : {2, 3, 4, 5, 6}) EXPECT_EQ(t.InRange(i), Ifalse) << i;

  t.Range(-5, Mint::UNSET);
  EXPECT_EQ(t.InRange(-6), Ifalse);
  EXPECT_EQ(t.InRange(-5), Itrue);
  EXPECT_EQ(t.InRange(INT_MAX), Itrue);

  t.Range(Mint::UNSET, 0);
  EXPECT_EQ(t.InRange(INT_MIN), Itrue);
  EXPECT_EQ(t.InRange(1), Ifalse);
}

TEST_F(DictionaryTest, RangeStoresLowerFirstAndInRangeReadsUpperOnlyWhenNeeded) {
  KindType* imp = new KindType(wrapper, ZORQelI::Ilist);
  ZORQelIType t(imp);
  t.Range(1, 3);
  EXPECT_EQ(imp->log, "LU");
  imp->log.clear();
  t.InRange(0);
  EXPECT_EQ(imp->log, "l");
  imp->log.clear();
  t.InRange(2);
  EXPECT_EQ(imp->log, "lu");
}

// --- Entities and attributes -------------------------------------------------------------

TEST_F(DictionaryTest, EntityAnswersTheTypeQuestionsAsAPlainRecord) {
  PlainEntity* imp = new PlainEntity(wrapper);
  ZORQelIEntity e(imp);
  e.Fixed(Itrue);
  e.Width(10);
  e.Unique(Itrue);
  e.Optional(Itrue);
  e.Range(1, 2);
  EXPECT_EQ(e.PrimitiveType(), ZORQelI::Ientity);
  EXPECT_EQ(e.IsAnEntity(), Itrue);
  EXPECT_EQ(e.IsAggr(), Ifalse);
  EXPECT_EQ(e.IsAField(), Ifalse);
  EXPECT_EQ(e.IsOrdered(), Ifalse);
  EXPECT_EQ(imp->IsOrdered(), Ifalse);
  EXPECT_EQ(e.IsFixed(), Ifalse);
  EXPECT_EQ(e.IsUnique(), Ifalse);
  EXPECT_EQ(e.IsOptional(), Ifalse);
  EXPECT_EQ(static_cast<int>(e.Width()), INT_MIN);
  EXPECT_EQ(static_cast<int>(e.LowerBound()), INT_MIN);
  EXPECT_EQ(static_cast<int>(e.UpperBound()), INT_MIN);
  EXPECT_EQ(e.InRange(INT_MIN), Itrue);
  EXPECT_EQ(e.InRange(INT_MAX), Itrue);

  const ZORQelIType terminal = e.TerminalType();
  EXPECT_EQ(terminal.IMP(), imp);
  const ZORQelIType sub = e.SubType();
  EXPECT_EQ(sub.IsValid(), Ifalse);
  EXPECT_THROW(sub.PrimitiveType(), ZORQelI::NullPtrAccess);

  // Neither a plain type nor an entity is a kind of an entity by default.
  EXPECT_EQ(e.IsAKindOf(e), Ifalse);
  EXPECT_EQ(Kind(ZORQelI::Iinteger).IsAKindOf(e), Ifalse);

  CaptureStderr err;
  EXPECT_EQ(std::string(e.Name()), "UncknowType");
  EXPECT_EQ(err.Take(), " Can't Get Entity name.\n");
}

TEST_F(DictionaryTest, IsAPassesTheOtherImplementationAndChecksBothHandles) {
  KindType* imp = new KindType(wrapper, ZORQelI::Ireal);
  ZORQelIType t(imp);
  const ZORQelIType other = Kind(ZORQelI::Ireal);
  EXPECT_EQ(t.IsA(other), Ifalse);
  EXPECT_EQ(imp->lastIsA, other.IMP());
  EXPECT_EQ(t.IsA(t), Itrue);
  EXPECT_THROW(t.IsA(ZORQelIType()), ZORQelI::NullPtrAccess);
  EXPECT_THROW(ZORQelIType().IsA(t), ZORQelI::NullPtrAccess);
}

TEST_F(DictionaryTest, AttributeIsNotInverseByDefault) {
  ZORQelIAttr a(new NameAttr(wrapper, "x"));
  EXPECT_EQ(a.IsInverse(), Ifalse);
}

// --- Instances ---------------------------------------------------------------------------

TEST_F(DictionaryTest, SymbolicNameOfEntityIntegerAndUnsetInstances) {
  const ZORQelIType point(new NamedEntity(wrapper, "Point"));
  ZORQelIInstance entityInstance(new ValueInstance(wrapper, point, 7, "#7"));
  ZORQelIInstance integer(new ValueInstance(wrapper, Kind(ZORQelI::Iinteger), 1, "42"));
  ValueInstance* unsetImp = new ValueInstance(wrapper, point, 9, "#9");
  unsetImp->valid = Ifalse;
  ZORQelIInstance unset(unsetImp);

  EXPECT_EQ(std::string(entityInstance.GetSymbolicName()), "Point#7");
  EXPECT_EQ(std::string(integer.GetSymbolicName()), "42");
  EXPECT_EQ(std::string(unset.GetSymbolicName()), "$");
}

TEST_F(DictionaryTest, HashCodeIsTheInstanceNumber) {
  const ZORQelIType t = Kind(ZORQelI::Iinteger);
  ZORQelIInstance a(new ValueInstance(wrapper, t, 7));
  ZORQelIInstance b(new ValueInstance(wrapper, t, 7));
  ZORQelIInstance none(new ValueInstance(wrapper, t, Mint::UNSET));
  EXPECT_EQ(a.HashCode(), 7);
  EXPECT_EQ(a.HashCode(), b.HashCode());
  EXPECT_EQ(a.Equal(b), Ifalse);  // equality stays identity
  EXPECT_EQ(none.HashCode(), INT_MIN);
}

TEST_F(DictionaryTest, GetAttrByAttributeAsksByNameAndPutAttrReturnsTheOwner) {
  const ZORQelIType t = Kind(ZORQelI::Iinteger);
  ValueInstance* ownerImp = new ValueInstance(wrapper, t, 1);
  ValueInstance* holderImp = new ValueInstance(wrapper, t, 2);
  ownerImp->holder = ZORQelIInstance(holderImp);
  ZORQelIInstance owner(ownerImp);
  const ZORQelIAttr width(new NameAttr(wrapper, "width"));

  EXPECT_EQ(owner.GetAttr(width).IMP(), holderImp);
  EXPECT_EQ(ownerImp->askedFor, std::vector<std::string>{"width"});

  const ZORQelIInstance value(new ValueInstance(wrapper, t, 3));
  const ZORQelIInstance result = owner.PutAttr(width, value);
  EXPECT_EQ(result.IMP(), ownerImp);
  EXPECT_EQ(holderImp->received.IMP(), value.IMP());

  // An attribute without a holder: the write reaches an empty handle.
  ownerImp->holder = ZORQelIInstance();
  EXPECT_THROW(owner.PutAttr(width, value), ZORQelI::NullPtrAccess);
  EXPECT_THROW(owner.GetAttr(ZORQelIAttr()), ZORQelI::NullPtrAccess);
}

TEST_F(DictionaryTest, WritersReturnTheSameObjectAndAliasesReachTheSameOperation) {
  ValueInstance* imp = new ValueInstance(wrapper, Kind(ZORQelI::Iinteger), 1);
  ZORQelIInstance v(imp);
  const ZORQelIInstance chained = v.PutInt(7);
  EXPECT_EQ(chained.IMP(), imp);
  EXPECT_EQ(chained.GetInt(), 7);
  EXPECT_EQ(v.PutInteger(8).GetInteger(), 8);
  EXPECT_EQ(v.PutReal(2.5).PutBoolean(Itrue).PutString("s").IMP(), imp);
  EXPECT_EQ(imp->realValue, 2.5);
  EXPECT_EQ(imp->flag, Itrue);
  EXPECT_EQ(std::string(imp->text), "s");
}

TEST_F(DictionaryTest, AppendAndPrependInsertAtEitherEnd) {
  const ZORQelIType t = Kind(ZORQelI::Ilist);
  ValueInstance* imp = new ValueInstance(wrapper, t, 1);
  ZORQelIInstance list(imp);
  const ZORQelIInstance element(new ValueInstance(wrapper, t, 2));
  EXPECT_EQ(list.Append(element), Itrue);
  imp->insertResult = Ifalse;
  EXPECT_EQ(list.Append(element), Ifalse);
  list.Prepend(element);  // the refused insertion is not reported
  EXPECT_EQ(imp->inserts, (std::vector<ZORQelI::boolean>{Itrue, Itrue, Ifalse}));
  EXPECT_EQ(imp->received.IMP(), element.IMP());
}

TEST_F(DictionaryTest, ProxyOperationsRefuseWithTheirLines) {
  ZORQelIInstance v(new ValueInstance(wrapper, Kind(ZORQelI::Iinteger), 1));
  EXPECT_EQ(RaisedText<ZORQelI::InvalidType>([&] { v.GetMnum(); }),
            InvalidTypeText("ZORQelIInstanceIMP", 142));
  EXPECT_EQ(RaisedText<ZORQelI::InvalidType>([&] { v.GetJele(); }),
            InvalidTypeText("ZORQelIInstanceIMP", 159));
  CaptureStderr err;
  EXPECT_EQ(RaisedText<ZORQelI::InvalidType>([&] { v.CreateProxy(3, 42); }),
            InvalidTypeText("ZORQelIInstanceIMP", 177));
  EXPECT_EQ(err.Take(), "can't create proxy for *42 in 3\n");
}

// --- Population and modeler conveniences -------------------------------------------------

TEST_F(DictionaryTest, PopulationMakesAndFillsInOneStep) {
  ZORQelIInstances p(new Population(wrapper));
  EXPECT_EQ(p.InstanciateInteger(5).GetInteger(), 5);
  EXPECT_EQ(p.InstanciateReal(1.5).GetReal(), 1.5);
  EXPECT_EQ(p.InstanciateBoolean(Itrue).GetBoolean(), Itrue);
  const ZORQelIInstance s = p.InstanciateString("abc");
  EXPECT_EQ(std::string(s.GetString()), "abc");
  EXPECT_EQ(s.GetType().PrimitiveType(), ZORQelI::Istring);
  EXPECT_EQ(p.Size(), 4);
}

TEST_F(DictionaryTest, ModelerConveniencesReachTheGeneralOperations) {
  LogModeler* imp = new LogModeler(wrapper);
  const ZORQelIModeler m(imp);
  EXPECT_EQ(m.MakeInteger().PrimitiveType(), ZORQelI::Iinteger);
  m.MakeReal();
  m.MakeString();
  m.MakeBoolean();
  m.MakeString(10, Itrue);
  m.MakeBinary(Mint::UNSET, Ifalse);
  EXPECT_EQ(imp->log, (std::vector<std::string>{"MakeType(4)", "MakeType(5)", "MakeType(6)",
                                                "MakeType(2)", "MakeField(6,10,1)",
                                                "MakeField(7,-2147483648,0)"}));

  EXPECT_EQ(m.InstanciateInteger().GetType().PrimitiveType(), ZORQelI::Iinteger);
  EXPECT_EQ(m.InstanciateReal().GetType().PrimitiveType(), ZORQelI::Ireal);
  EXPECT_EQ(m.InstanciateBoolean().GetType().PrimitiveType(), ZORQelI::Iboolean);
  EXPECT_EQ(m.InstanciateString().GetType().PrimitiveType(), ZORQelI::Istring);
  m.Instanciate(ZORQelI::string("Point"));
  EXPECT_EQ(m.Instanciate(m.MakeInteger()).GetType().PrimitiveType(), ZORQelI::Iinteger);
  EXPECT_EQ(imp->populationReads, 6);  // the population is asked for at each call
  EXPECT_EQ(m.GetInstances().Size(), 6);
}

// --- Wrappers ----------------------------------------------------------------------------

TEST_F(DictionaryTest, CapabilitiesAreExactNamesWithoutDuplicates) {
  EXPECT_EQ(wrapper.HasInstances(), Ifalse);
  EXPECT_EQ(wrapper.HasPersistantInstances(), Ifalse);
  EXPECT_EQ(wrapper.HasEditableDictionnary(), Ifalse);
  EXPECT_EQ(wrapper.HasPersistantDictionnary(), Ifalse);
  EXPECT_EQ(wrapper.HasExpression(), Ifalse);

  wrapper.AddCapability("Instances");
  wrapper.AddCapability("Instances");
  EXPECT_EQ(wrapper.CapabilityCount(), 1);
  EXPECT_EQ(wrapper.HasInstances(), Itrue);
  EXPECT_EQ(wrapper.Has("instances"), Ifalse);
  EXPECT_EQ(wrapper.HasPersistantInstances(), Ifalse);

  wrapper.AddCapability("PersistantInstances");
  wrapper.AddCapability("EditableDictionnary");
  wrapper.AddCapability("PersistantDictionnary");
  wrapper.AddCapability("Expression");
  wrapper.AddCapability("Versioning");
  EXPECT_EQ(wrapper.CapabilityCount(), 6);
  EXPECT_EQ(wrapper.HasPersistantInstances(), Itrue);
  EXPECT_EQ(wrapper.HasEditableDictionnary(), Itrue);
  EXPECT_EQ(wrapper.HasPersistantDictionnary(), Itrue);
  EXPECT_EQ(wrapper.HasExpression(), Itrue);
  EXPECT_EQ(wrapper.Has("Versioning"), Itrue);
  EXPECT_EQ(wrapper.Has(""), Ifalse);
}

TEST_F(DictionaryTest, DefaultFactoriesGiveEmptyHandles) {
  EXPECT_EQ(wrapper.NewModeler("schema").IsValid(), Ifalse);
  EXPECT_EQ(wrapper.NewExpression().IsValid(), Ifalse);
}

TEST_F(DictionaryTest, OwnershipChecksFollowTheProvider) {
  TestWrapper other;
  const ZORQelIType mine = Kind(ZORQelI::Iinteger);
  ZORQelIWrapperObject alsoMine = Kind(ZORQelI::Ireal);
  ZORQelIWrapperObject theirs = ZORQelIType(new KindType(other, ZORQelI::Ireal));

  EXPECT_NO_THROW(wrapper.CheckWrapper(mine.IMP()));
  EXPECT_EQ(RaisedText<ZORQelI::InvalidType>([&] { wrapper.CheckWrapper(theirs.IMP()); }),
            InvalidTypeText("ZORQelIWrapper", 214));
  EXPECT_EQ(mine.IMP()->SameWrapper(alsoMine), Itrue);
  EXPECT_EQ(mine.IMP()->SameWrapper(theirs.IMP()), Ifalse);
  ZORQelIWrapperObject empty;
  EXPECT_THROW(mine.IMP()->SameWrapper(empty), ZORQelI::NullPtrAccess);
  EXPECT_EQ(&theirs.Wrapper(), &other);
}

}  // namespace dicttest
