// Duplicate-free collections: the unique list, the set, and the typed hash
// table beneath them.
#include <climits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CoreTestSupport.h"
#include "QL0KRN.h"
#include "TestSupport.h"

namespace listtest {

using qtest::RaisedText;

// An object with value equality, a chosen hash code and a member function
// of the shape the typed table applies.
class ValueIMP : public ZORQelIObjectIMP {
  ZORQELI_DECLARE_IMP(ValueIMP, ZORQelIObjectIMP)
 public:
  ValueIMP(int v, int h) : value(v), hash(h) {}
  ZORQelIObjectIMP* Clone() const override { return new ValueIMP(*this); }
  void Text(ZORQelIPrint& ot) const override { ot.Print(static_cast<ZORQelI::integer>(value)); }
  ZORQelI::boolean Equal(ZORQelIObjectIMP* o) const override {
    if (o == nullptr || &o->Id() != &ClassId()) return ZORQelI::Ifalse;
    return static_cast<ValueIMP*>(o)->value == value ? ZORQelI::Itrue : ZORQelI::Ifalse;
  }
  ZORQelI::integer HashCode() const override { return hash; }
  // Counts its calls; nonzero once the value reaches the threshold.
  int Poke() {
    ++pokes;
    return value >= threshold ? value : 0;
  }

  int value;
  int hash;
  int pokes = 0;
  static int threshold;
};
ZORQELI_DEFINE_IMP(ValueIMP, ZORQelIObjectIMP)
int ValueIMP::threshold = INT_MAX;

ZORQelIObject Value(int v) { return ZORQelIObject(new ValueIMP(v, v)); }
ZORQelIObject Value(int v, int hash) { return ZORQelIObject(new ValueIMP(v, hash)); }
ValueIMP* ImpOf(ZORQelIObject o) { return static_cast<ValueIMP*>(o.RefMe()); }

std::vector<std::string> Names(const ZORQelIArray& a) {
  std::vector<std::string> out;
  for (int i = 0; i < a.Size(); ++i) out.push_back(std::string(a.Get(i).ToString()));
  return out;
}

// --- Unique list ------------------------------------------------------------------

TEST(ListUnique, RefusesAnEqualObjectEvenWhenItIsAnotherObject) {
  ZORQelIListUnique list;
  ZORQelIIdentifier a(ZORQelI::string("a"));
  EXPECT_EQ(list.Add(a), ZORQelI::Itrue);
  EXPECT_EQ(list.Add(a), ZORQelI::Ifalse);
  EXPECT_EQ(list.Add(ZORQelIIdentifier(ZORQelI::string("a"))), ZORQelI::Ifalse);
  EXPECT_EQ(list.Add(ZORQelIIdentifier(ZORQelI::string("b"))), ZORQelI::Itrue);
  EXPECT_EQ(list.Size(), 2);
  // Look gives the held object, not the one searched with.
  ZORQelIIdentifier probe(ZORQelI::string("a"));
  ZORQelIObject held = list.Look(probe);
  EXPECT_EQ(held.RefMe(), a.RefMe());
  EXPECT_NE(held.RefMe(), probe.RefMe());
  EXPECT_EQ(list.Look(ZORQelIIdentifier(ZORQelI::string("z"))).IsValid(), ZORQelI::Ifalse);
}

TEST(ListUnique, EmptyHandleIsRefusedQuietlyByAddButRaisesInLookAndRemove) {
  ZORQelIListUnique list;
  EXPECT_EQ(list.Add(ZORQelIObject()), ZORQelI::Ifalse);
  EXPECT_EQ(list.Size(), 0);
  // An object that is not valid is still an object: it is held.
  EXPECT_EQ(list.Add(ZORQelIObject(new ZORQelIDumbIMP())), ZORQelI::Itrue);
  EXPECT_EQ(list.Size(), 1);
  RaisedText<ZORQelI::NullPtrAccess>([&] { list.Look(ZORQelIObject()); });
  RaisedText<ZORQelI::NullPtrAccess>([&] { list.Remove(ZORQelIObject()); });
  ZORQelIListUnique none(static_cast<ZORQelIListUniqueIMP*>(nullptr));
  RaisedText<ZORQelI::NullPtrAccess>([&] { none.Add(Value(1)); });
  RaisedText<ZORQelI::NullPtrAccess>([&] { none.Look(1); });
}

TEST(ListUnique, RemovalKeepsTheOrderOfTheRestAndBadPositionsChangeNothing) {
  ZORQelIListUnique list;
  for (const char* n : {"a", "b", "c", "d"}) list.Add(ZORQelIIdentifier(ZORQelI::string(n)));
  EXPECT_EQ(list.Remove(ZORQelIIdentifier(ZORQelI::string("b"))), ZORQelI::Itrue);
  EXPECT_EQ(Names(list), (std::vector<std::string>{"a", "c", "d"}));
  EXPECT_EQ(list.Remove(ZORQelIIdentifier(ZORQelI::string("b"))), ZORQelI::Ifalse);
  EXPECT_EQ(list.Remove(ZORQelIIdentifier(ZORQelI::string("q"))), ZORQelI::Ifalse);
  EXPECT_EQ(list.Remove(2), ZORQelI::Itrue);  // by position
  EXPECT_EQ(Names(list), (std::vector<std::string>{"a", "c"}));
  EXPECT_EQ(RaisedText<ZORQelI::BoundError>([&] { list.Remove(2); }),
            "qualified exception : " + qtest::Source("ZORQelIArrayIMP") +
                " 348: BoundError\nindex 2 not in range [0..1]\n");
  RaisedText<ZORQelI::BoundError>([&] { list.Remove(-1); });
  // Both removals reached the set: the names are accepted again.
  EXPECT_EQ(list.Add(ZORQelIIdentifier(ZORQelI::string("b"))), ZORQelI::Itrue);
  EXPECT_EQ(list.Add(ZORQelIIdentifier(ZORQelI::string("d"))), ZORQelI::Itrue);
  EXPECT_EQ(list.Add(ZORQelIIdentifier(ZORQelI::string("a"))), ZORQelI::Ifalse);
  EXPECT_EQ(Names(list), (std::vector<std::string>{"a", "c", "b", "d"}));
  EXPECT_EQ(std::string(list.ToString()), "(a,c,b,d)");
}

TEST(ListUnique, RemoveAllEmptiesBothPartsKeepsTheStorageAndIsReachedThroughAnArrayHandle) {
  ZORQelIListUnique list;
  ZORQelIIdentifier a(ZORQelI::string("a"));
  for (int i = 0; i < 20; ++i) list.Add(ZORQelIIdentifier(ZORQelI::string(std::to_string(i).c_str())));
  list.Add(a);
  list.RemoveAll();
  EXPECT_EQ(list.Size(), 0);
  EXPECT_EQ(list.IMP()->Capacity(), 74);
  EXPECT_EQ(list.Look(a).IsValid(), ZORQelI::Ifalse);
  EXPECT_EQ(list.Add(a), ZORQelI::Itrue);
  // An array handle on the list reaches the list's own operations.
  ZORQelIArray asArray = ZORQelIArray::DownCast(list);
  asArray.RemoveAll();
  EXPECT_EQ(list.Add(a), ZORQelI::Itrue);
  EXPECT_EQ(asArray.Add(Value(1)), ZORQelI::Itrue);
  EXPECT_EQ(asArray.Add(Value(1)), ZORQelI::Ifalse);
  RaisedText<ZORQelI::InvalidType>([] { ZORQelIListUnique::DownCast(ZORQelIArray()); });
}

TEST(ListUnique, LookByKeyUsesTheAbsoluteHashCode) {
  ZORQelIListUnique list;
  ZORQelIObject negative = Value(1, -77);
  list.Add(negative);
  list.Add(Value(2, 12));
  EXPECT_EQ(list.Look(77).RefMe(), negative.RefMe());
  EXPECT_EQ(list.Look(-77).RefMe(), negative.RefMe());
  EXPECT_EQ(ImpOf(list.Look(-12))->value, 2);
  EXPECT_EQ(list.Look(13).IsValid(), ZORQelI::Ifalse);
  // The most negative hash code has an absolute value too.
  ZORQelIObject lowest = Value(3, INT_MIN);
  list.Add(lowest);
  EXPECT_EQ(list.Look(INT_MIN).RefMe(), lowest.RefMe());
  EXPECT_EQ(list.Look(lowest).RefMe(), lowest.RefMe());
  // Look(integer) is a key, not a position: position 0 holds hash -77.
  EXPECT_EQ(list.Look(0).IsValid(), ZORQelI::Ifalse);
}

TEST(ListUnique, AppendArrayBypassesTheSet) {
  ZORQelIListUnique list;
  ZORQelIObject one = Value(1);
  list.Add(one);
  ZORQelIArray extra;
  ZORQelIObject two = Value(2);
  extra.Add(Value(1));
  extra.Add(two);
  list.AppendArray(extra);
  EXPECT_EQ(list.Size(), 3);  // the duplicate 1 is not refused
  EXPECT_EQ(list.Look(two).IsValid(), ZORQelI::Ifalse);
  EXPECT_EQ(list.Remove(two), ZORQelI::Ifalse);
  EXPECT_EQ(list.Size(), 3);
  // Removing 1 through the set takes the first equal element of the array.
  EXPECT_EQ(list.Remove(Value(1)), ZORQelI::Itrue);
  EXPECT_EQ(list.Size(), 2);
  EXPECT_NE(list.Get(0).RefMe(), one.RefMe());  // the appended 1 stays
  EXPECT_EQ(ImpOf(list.Get(0))->value, 1);
}

TEST(ListUnique, CloneHasItsOwnArrayAndSet) {
  ZORQelIListUnique list(4);
  for (int i = 0; i < 3; ++i) list.Add(Value(i));
  ZORQelIListUnique copy(list);
  copy.SpecializeMe();
  EXPECT_EQ(copy.Add(Value(1)), ZORQelI::Ifalse);  // the clone's set has the elements
  EXPECT_EQ(copy.Add(Value(7)), ZORQelI::Itrue);
  EXPECT_EQ(copy.Remove(Value(0)), ZORQelI::Itrue);
  EXPECT_EQ(list.Size(), 3);
  EXPECT_EQ(list.Look(Value(7)).IsValid(), ZORQelI::Ifalse);
  EXPECT_EQ(list.Add(Value(7)), ZORQelI::Itrue);
  EXPECT_EQ(list.Look(Value(0)).IsValid(), ZORQelI::Itrue);
  EXPECT_EQ(std::string(list.IMP()->Id().Text()),
            "ZORQelIListUniqueIMP subtype of ZORQelIArrayIMP subtype of ZORQelIObjectIMP");
}

TEST(ListUnique, AnAddThatCannotGrowTheArrayLeavesTheSetAlone) {
  ZORQelIListUnique list;
  for (int i = 0; i < 10; ++i) list.Add(Value(i));  // full
  ZORQelIObject extra = Value(10);
  void* (*saved)(void*, std::size_t) = ZORQelIArrayIMP::allocator_;
  ZORQelIArrayIMP::allocator_ = [](void*, std::size_t) -> void* { return nullptr; };
  RaisedText<ZORQelI::NullPtrAccess>([&] { list.Add(extra); });
  ZORQelIArrayIMP::allocator_ = saved;
  EXPECT_EQ(list.Size(), 10);
  EXPECT_EQ(list.Look(extra).IsValid(), ZORQelI::Ifalse);
  EXPECT_EQ(list.Add(extra), ZORQelI::Itrue);
  EXPECT_EQ(list.Size(), 11);
}

// --- Set ------------------------------------------------------------------------------

TEST(Set, BucketCountsBelowTwoBecome109AndRehashKeepsEverything) {
  for (int asked : {1, 0, -4}) EXPECT_EQ(ZORQelISet(asked).BucketCount(), 109) << asked;
  EXPECT_EQ(ZORQelISet().BucketCount(), 109);
  EXPECT_EQ(ZORQelISet(2).BucketCount(), 2);
  ZORQelISet set(2);
  ZORQelIListUnique list;
  std::vector<ZORQelIObject> held;
  for (int i = 0; i < 50; ++i) {
    held.push_back(Value(i));
    set.Add(held.back());
    list.Add(held.back());
  }
  set.Rehash(1000);
  EXPECT_EQ(set.BucketCount(), 1000);
  set.Rehash(0);
  EXPECT_EQ(set.BucketCount(), 109);
  list.Rehash(3);
  list.Rehash(1000);
  EXPECT_EQ(set.Size(), 50);
  for (int i = 0; i < 50; ++i) {
    ASSERT_EQ(set.Look(Value(i)).RefMe(), held[i].RefMe());
    ASSERT_EQ(list.Look(Value(i)).RefMe(), held[i].RefMe());
    ASSERT_EQ(list.Get(i).RefMe(), held[i].RefMe());  // in order
  }
  EXPECT_EQ(list.Add(Value(10)), ZORQelI::Ifalse);
}

TEST(Set, AddLookRemoveUnderHeavyHashCollisions) {
  ZORQelISet set(2);
  std::vector<ZORQelIObject> held;
  for (int i = 0; i < 300; ++i) {
    held.push_back(Value(i, i % 3));  // three hash codes for 300 values
    ASSERT_EQ(set.Add(held.back()), ZORQelI::Itrue);
  }
  EXPECT_EQ(set.Size(), 300);
  EXPECT_EQ(set.Add(Value(150, 0)), ZORQelI::Ifalse);
  // An equal value under another hash code is a different element.
  EXPECT_EQ(set.Add(Value(150, 1)), ZORQelI::Itrue);
  EXPECT_EQ(set.Remove(Value(150, 1)), ZORQelI::Itrue);
  for (int i = 0; i < 300; i += 2) ASSERT_EQ(set.Remove(Value(i, i % 3)), ZORQelI::Itrue);
  EXPECT_EQ(set.Size(), 150);
  for (int i = 0; i < 300; ++i)
    ASSERT_EQ(set.Look(Value(i, i % 3)).IsValid(), i % 2 == 1 ? ZORQelI::Itrue : ZORQelI::Ifalse)
        << i;
  set.RemoveAll();
  EXPECT_EQ(set.Size(), 0);
  EXPECT_EQ(set.Add(held[0]), ZORQelI::Itrue);
}

TEST(Set, CopyIsIndependent) {
  ZORQelISet set;
  ZORQelIObject one = Value(1);
  set.Add(one);
  ZORQelISet copy(set);
  copy.Add(Value(2));
  EXPECT_EQ(copy.Remove(one), ZORQelI::Itrue);
  EXPECT_EQ(set.Size(), 1);
  EXPECT_EQ(set.Look(Value(1)).RefMe(), one.RefMe());
  EXPECT_EQ(set.Look(Value(2)).IsValid(), ZORQelI::Ifalse);
  EXPECT_EQ(copy.Size(), 1);
  EXPECT_EQ(set.Add(ZORQelIObject()), ZORQelI::Ifalse);
  RaisedText<ZORQelI::NullPtrAccess>([&] { set.Look(ZORQelIObject()); });
  RaisedText<ZORQelI::NullPtrAccess>([&] { set.Remove(ZORQelIObject()); });
}

// --- Typed hash table -------------------------------------------------------------------

class TypedTable : public ::testing::Test {
 protected:
  void SetUp() override {
    table = ZORHashTabZORQelIObjectIMP::Allocate(0);
    for (int i = 1; i <= 6; ++i) {
      values.push_back(Value(i, i * 1000));
      table->Table().Insert(values.back().RefMe());
    }
  }
  void TearDown() override {
    delete table;
    ValueIMP::threshold = INT_MAX;
  }
  int TotalPokes() {
    int n = 0;
    for (auto& v : values) n += ImpOf(v)->pokes;
    return n;
  }

  ZORHashTabZORQelIObjectIMP* table = nullptr;
  std::vector<ZORQelIObject> values;
  int (ZORQelIObjectIMP::*poke)() = static_cast<int (ZORQelIObjectIMP::*)()>(&ValueIMP::Poke);
};

TEST_F(TypedTable, HashIsTheAbsoluteHashCodeAndCompareIsEquality) {
  // Implementation objects live on the heap only; the collector takes these.
  ValueIMP* a = new ValueIMP(1, -40);
  EXPECT_EQ(ZORHashTabZORQelIObjectIMP::Hash(a), 40u);
  EXPECT_EQ(ZORHashTabZORQelIObjectIMP::Hash(new ValueIMP(3, INT_MIN)), 2147483648u);
  EXPECT_EQ(ZORHashTabZORQelIObjectIMP::Compare(a, new ValueIMP(1, 40)), 0);
  EXPECT_EQ(ZORHashTabZORQelIObjectIMP::Compare(a, new ValueIMP(2, 40)), 1);
  EXPECT_EQ(table->Table().BucketCount(), 109);
}

TEST_F(TypedTable, ApplyCallsEveryElementOnceUntilOneAnswersNonzero) {
  ZORQelIObjectIMP* visited = reinterpret_cast<ZORQelIObjectIMP*>(1);
  int result = -1;
  EXPECT_EQ(table->ApplyMemberFunct(poke, nullptr, &visited, &result), 6);
  EXPECT_EQ(result, 0);
  EXPECT_NE(visited, nullptr);
  for (auto& v : values) EXPECT_EQ(ImpOf(v)->pokes, 1);

  ValueIMP::threshold = 1;  // every call answers nonzero: one call
  EXPECT_EQ(table->ApplyMemberFunct(poke, nullptr, &visited, &result), 1);
  EXPECT_EQ(result, static_cast<ValueIMP*>(visited)->value);
  EXPECT_EQ(TotalPokes(), 7);
  EXPECT_EQ(table->ApplyMemberFunct(poke, nullptr, nullptr, nullptr), 1);
}

TEST_F(TypedTable, ApplyStartsAtTheElementEqualToTheGivenOne) {
  // Table order: whatever Next gives; starting at the k-th element visits
  // the elements from it to the end.
  std::vector<ZORQelIObjectIMP*> order;
  int a = 1, b = 0;
  for (void* e = table->Table().Next(a, b); e != nullptr; e = table->Table().Next(a, b))
    order.push_back(static_cast<ZORQelIObjectIMP*>(e));
  ASSERT_EQ(order.size(), 6u);
  ValueIMP* probe = new ValueIMP(*static_cast<ValueIMP*>(order[2]));  // equal, another
  ZORQelIObjectIMP* visited = nullptr;
  EXPECT_EQ(table->ApplyMemberFunct(poke, probe, &visited, nullptr), 4);
  EXPECT_EQ(visited, order[5]);
  EXPECT_EQ(static_cast<ValueIMP*>(order[0])->pokes, 0);
  EXPECT_EQ(static_cast<ValueIMP*>(order[2])->pokes, 1);
  int result = 5;
  EXPECT_EQ(table->ApplyMemberFunct(poke, new ValueIMP(99, 99), &visited, &result), 0);
  EXPECT_EQ(visited, nullptr);
  EXPECT_EQ(result, 0);
}

TEST_F(TypedTable, ApplyConstUsesAConstMemberAndAnEmptyTableCallsNothing) {
  // HashCode is nonzero for every element: the first call stops the walk.
  int result = 0;
  EXPECT_EQ(table->ApplyMemberFunctConst(&ZORQelIObjectIMP::HashCode, nullptr, nullptr, &result),
            1);
  EXPECT_EQ(result % 1000, 0);
  EXPECT_NE(result, 0);
  table->Table().RemoveAll();
  ZORQelIObjectIMP* visited = reinterpret_cast<ZORQelIObjectIMP*>(1);
  EXPECT_EQ(table->ApplyMemberFunctConst(&ZORQelIObjectIMP::HashCode, nullptr, &visited, &result),
            0);
  EXPECT_EQ(visited, nullptr);
  EXPECT_EQ(result, 0);
}

// ApplyDelete deletes objects behind the collector's back, which leaves its
// list dangling: observed in a child process that ends right after.
TEST_F(TypedTable, ApplyDeleteDeletesEveryElementAndEmptiesTheTable) {
  EXPECT_EXIT(
      {
        int finalized = 0;
        ZORHashTabZORQelIObjectIMP* own = ZORHashTabZORQelIObjectIMP::Allocate(0);
        for (int i = 0; i < 4; ++i) own->Table().Insert(qtest::NewNode(&finalized, i));
        own->ApplyDelete();
        std::_Exit(finalized == 4 && own->Table().count == 0 ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace listtest
