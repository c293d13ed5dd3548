// Duplicate-free collections: the unique list, the set, and the typed hash
// table beneath them.
#include <climits>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CoreTestSupport.h"
#include "QL0KRN.h"
#include "internal/ZORQelITestSeams.h"
#include "TestSupport.h"

namespace listtest {

using qtest::RaisedText;

using qtest::Value;
using qtest::ValueIMP;
ValueIMP* ImpOf(ZORQelIObject o) { return qtest::ValueOf(o); }

std::vector<std::string> Names(const ZORQelIArray& a) {
  std::vector<std::string> out;
  for (int i = 0; i < a.Size(); ++i) out.push_back(std::string(a.Get(i).ToString()));
  return out;
}

// Keys that keep one of the root class's HashCode and Equal but override the
// other: every call the list makes to the overriding one is counted.
class CountingEqualIMP : public ZORQelIObjectIMP {
 public:
  ZORQelIObjectIMP* Clone() const override { return new CountingEqualIMP(*this); }
  void Text(ZORQelIPrint&) const override {}
  ZORQelI::boolean Equal(ZORQelIObjectIMP* o) const override {
    ++calls;
    return o == this ? ZORQelI::Itrue : ZORQelI::Ifalse;
  }
  static int calls;
};
int CountingEqualIMP::calls = 0;
class CountingHashIMP : public ZORQelIObjectIMP {
 public:
  ZORQelIObjectIMP* Clone() const override { return new CountingHashIMP(*this); }
  void Text(ZORQelIPrint&) const override {}
  ZORQelI::integer HashCode() const override { return ++calls, 7; }
  static int calls;
};
int CountingHashIMP::calls = 0;

TEST(ListUnique, OverriddenEqualityIsAlwaysAskedAndEqualHashesAreTold) {
  // Held again: the object's own Equal decides, even about itself.
  ZORQelIListUnique list;
  ZORQelIObject e(new CountingEqualIMP());
  EXPECT_EQ(list.Add(e), ZORQelI::Itrue);
  CountingEqualIMP::calls = 0;
  EXPECT_EQ(list.Add(e), ZORQelI::Ifalse);
  EXPECT_EQ(list.Look(e).RefMe(), e.RefMe());
  EXPECT_EQ(CountingEqualIMP::calls, 2);
  ZORQelIObject h(new CountingHashIMP());
  CountingHashIMP::calls = 0;
  EXPECT_EQ(list.Add(h), ZORQelI::Itrue);
  EXPECT_EQ(list.Look(h).RefMe(), h.RefMe());
  EXPECT_EQ(CountingHashIMP::calls, 2);
  ZORQelISet set;  // the same for the set's own Add and Look
  EXPECT_EQ(set.Add(e), ZORQelI::Itrue);
  EXPECT_EQ(set.Add(h), ZORQelI::Itrue);
  CountingEqualIMP::calls = CountingHashIMP::calls = 0;
  EXPECT_EQ(set.Add(e), ZORQelI::Ifalse);
  EXPECT_EQ(set.Look(e).RefMe(), e.RefMe());
  EXPECT_EQ(set.Add(h), ZORQelI::Ifalse);
  EXPECT_EQ(CountingEqualIMP::calls, 2);
  EXPECT_EQ(CountingHashIMP::calls, 1);
  // Identifiers of eight characters or more that differ only in the first
  // hash alike: each is held and found as itself, never as the other.
  ZORQelIIdentifier x(ZORQelI::string("xabcdefg")), y(ZORQelI::string("yabcdefg"));
  ASSERT_EQ(x.HashCode(), y.HashCode());
  EXPECT_EQ(list.Add(x), ZORQelI::Itrue);
  EXPECT_EQ(list.Add(y), ZORQelI::Itrue);
  EXPECT_EQ(list.Add(x), ZORQelI::Ifalse);
  EXPECT_EQ(list.Look(x).RefMe(), x.RefMe());
  EXPECT_EQ(list.Look(y).RefMe(), y.RefMe());
  EXPECT_EQ(list.Look(ZORQelIIdentifier(ZORQelI::string("yabcdefg"))).RefMe(), y.RefMe());
  EXPECT_EQ(list.Look(ZORQelIIdentifier(ZORQelI::string("zabcdefg"))).IsValid(), ZORQelI::Ifalse);
  EXPECT_EQ(list.Size(), 4);
  // Past the first capacities, in order, each element once.
  for (int i = 0; i < 200; ++i)
    ASSERT_EQ(list.Add(ZORQelIIdentifier(ZORQelI::string(("n" + std::to_string(i)).c_str()))),
              ZORQelI::Itrue);
  EXPECT_EQ(list.Size(), 204);
  EXPECT_EQ(Names(list)[4], "n0");
  EXPECT_EQ(Names(list)[203], "n199");
}

// An identifier of another class (qtest::TagIMP): same name and hash code,
// never Equal to a plain identifier, whichever of the two is held.
using qtest::TagIMP;

template <class Container>
void ExpectClassesApart() {
  ZORQelIObject tag(new TagIMP(ZORQelI::string("name")));
  ZORQelIIdentifier plain(ZORQelI::string("name")), again(ZORQelI::string("name"));
  ASSERT_EQ(tag.HashCode(), plain.HashCode());
  for (bool tagFirst : {true, false}) {
    Container c;
    const ZORQelIObject first = tagFirst ? tag : ZORQelIObject(plain);
    const ZORQelIObject second = tagFirst ? ZORQelIObject(plain) : tag;
    EXPECT_EQ(c.Look(second).IsValid(), ZORQelI::Ifalse);
    EXPECT_EQ(c.Add(first), ZORQelI::Itrue);
    EXPECT_EQ(c.Look(second).IsValid(), ZORQelI::Ifalse) << tagFirst;
    EXPECT_EQ(c.Add(second), ZORQelI::Itrue) << tagFirst;
    EXPECT_EQ(c.Look(tag).RefMe(), tag.RefMe());
    EXPECT_EQ(c.Look(again).RefMe(), plain.RefMe());
    EXPECT_EQ(c.Add(again), ZORQelI::Ifalse);
  }
}

TEST(ListUnique, IdentifiersOfAnotherClassAreToldApartFromPlainOnes) {
  ExpectClassesApart<ZORQelIListUnique>();
  ExpectClassesApart<ZORQelISet>();
}

// An identifier whose Id is the client's code (answering the identifier's
// descriptor, so that it is Equal to a plain identifier of the same name):
// the containers ask it whenever an identifier's Equal would.
class CountingIdIMP : public ZORQelIIdentifierIMP {
 public:
  explicit CountingIdIMP(const char* n) : ZORQelIIdentifierIMP(ZORQelI::string(n)) {}
  ZORQelIObjectIMP* Clone() const override { return new CountingIdIMP(*this); }
  const ZORQelIClass& Id() const override { return ++calls, ZORQelIIdentifierIMP::ClassId(); }
  static int calls;
};
int CountingIdIMP::calls = 0;

template <class Container>
void ExpectClientIdAsked() {
  Container c;
  ZORQelIIdentifier x(ZORQelI::string("xabcdefg"));  // y's hash code, another name
  ZORQelIObject y(new CountingIdIMP("yabcdefg"));
  EXPECT_EQ(c.Add(x), ZORQelI::Itrue);
  EXPECT_EQ(c.Add(y), ZORQelI::Itrue);
  CountingIdIMP::calls = 0;
  EXPECT_EQ(c.Look(y).RefMe(), y.RefMe());  // x's Equal asks y's Id
  EXPECT_GT(CountingIdIMP::calls, 0);
  CountingIdIMP::calls = 0;
  EXPECT_EQ(c.Look(ZORQelIIdentifier(ZORQelI::string("yabcdefg"))).RefMe(), y.RefMe());
  EXPECT_GT(CountingIdIMP::calls, 0);
  EXPECT_EQ(c.Add(ZORQelIObject(new CountingIdIMP("xabcdefg"))), ZORQelI::Ifalse);
}

TEST(ListUnique, AnIdentifiersOwnIdIsAskedWheneverEqualWouldAskIt) {
  ExpectClientIdAsked<ZORQelIListUnique>();
  ExpectClientIdAsked<ZORQelISet>();
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

// The implementation's own Look (the handle's goes another way) answers
// with the held object, not with the Equal one it was asked with.
TEST(ListUnique, TheImplementationsLookAnswersWithTheHeldObject) {
  ZORQelIListUnique list;
  ZORQelIIdentifier held(ZORQelI::string("colour")), probe(ZORQelI::string("colour"));
  ASSERT_NE(probe.RefMe(), held.RefMe());
  list.Add(held);
  EXPECT_EQ(list.IMP()->Look(probe).RefMe(), held.RefMe());
  EXPECT_EQ(list.IMP()->Look(ZORQelIIdentifier(ZORQelI::string("size"))).IsValid(), ZORQelI::Ifalse);
}

// Each lookup through handles makes two (the argument's copy and the
// result); dying, they leave holes that the next registration trims, so any
// number of lookups leaves the automatic table as it found them.
TEST(ListUnique, LookupsThroughHandlesLeaveTheHandleTableAsTheyFoundIt) {
  ZORQelIListUnique list;
  std::vector<ZORQelIObject> ids;
  for (int i = 0; i < 100; ++i) {
    ids.push_back(ZORQelIIdentifier(ZORQelI::string(("id" + std::to_string(i)).c_str())));
    list.Add(ids.back());
  }
  const ZORQelIObject anchor = ids[0];  // live, last in the table
  const int before = ZORQelIVariable::holder[0].count;
  int found = 0;
  for (int round = 0; round < 100; ++round)
    for (const ZORQelIObject& id : ids) found += list.Look(id).IsValid();
  EXPECT_EQ(found, 100 * 100);
  EXPECT_LE(ZORQelIVariable::holder[0].count, before + 2);  // the last lookup's holes
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
}

TEST(ListUnique, AnAddThatCannotGrowTheArrayLeavesTheSetAlone) {
  ZORQelIListUnique list;
  for (int i = 0; i < 10; ++i) list.Add(Value(i));  // full
  ZORQelIObject extra = Value(10);
  void* (*saved)(void*, std::size_t) = ZORQelIInternal::arraySlotAllocator;
  ZORQelIInternal::arraySlotAllocator = [](void*, std::size_t) -> void* { return nullptr; };
  RaisedText<ZORQelI::NullPtrAccess>([&] { list.Add(extra); });
  ZORQelIInternal::arraySlotAllocator = saved;
  EXPECT_EQ(list.Size(), 10);
  EXPECT_EQ(list.Look(extra).IsValid(), ZORQelI::Ifalse);
  EXPECT_EQ(list.Add(extra), ZORQelI::Itrue);
  EXPECT_EQ(list.Size(), 11);
}

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

// The hash is the absolute hash code; applying a member function calls every
// element once, from the element equal to a given one, until one answers
// nonzero.
TEST(TypedTable, HashCompareAndApplyFromAStartUntilANonzeroAnswer) {
  ZORHashTabZORQelIObjectIMP* table = ZORHashTabZORQelIObjectIMP::Allocate(0);
  std::vector<ZORQelIObject> values;
  for (int i = 1; i <= 6; ++i) {
    values.push_back(Value(i, i * 1000));
    table->Table().Insert(values.back().RefMe());
  }
  ValueIMP* negative = new ValueIMP(1, -40);  // on the heap: the collector takes these
  EXPECT_EQ(ZORHashTabZORQelIObjectIMP::Hash(negative), 40u);
  EXPECT_EQ(ZORHashTabZORQelIObjectIMP::Hash(new ValueIMP(3, INT_MIN)), 2147483648u);
  EXPECT_EQ(ZORHashTabZORQelIObjectIMP::Compare(negative, new ValueIMP(1, 40)), 0);
  EXPECT_EQ(ZORHashTabZORQelIObjectIMP::Compare(negative, new ValueIMP(2, 40)), 1);

  auto poke = static_cast<int (ZORQelIObjectIMP::*)()>(&ValueIMP::Poke);
  ZORQelIObjectIMP* visited = nullptr;
  int result = -1;
  EXPECT_EQ(table->ApplyMemberFunct(poke, nullptr, &visited, &result), 6);
  EXPECT_EQ(result, 0);
  for (auto& v : values) EXPECT_EQ(ImpOf(v)->pokes, 1);
  std::vector<ZORQelIObjectIMP*> order;  // table order
  int a = 1, b = 0;
  for (void* e; (e = table->Table().Next(a, b)) != nullptr;) order.push_back(static_cast<ZORQelIObjectIMP*>(e));
  ASSERT_EQ(order.size(), 6u);
  ValueIMP* third = new ValueIMP(*static_cast<ValueIMP*>(order[2]));  // equal, another object
  EXPECT_EQ(table->ApplyMemberFunct(poke, third, &visited, nullptr), 4);
  EXPECT_EQ(visited, order[5]);
  EXPECT_EQ(static_cast<ValueIMP*>(order[0])->pokes, 1);
  result = 5;
  EXPECT_EQ(table->ApplyMemberFunct(poke, new ValueIMP(99, 99), &visited, &result), 0);
  EXPECT_EQ(visited, nullptr);
  EXPECT_EQ(result, 0);
  ValueIMP::threshold = 1;  // every call answers nonzero: one call
  EXPECT_EQ(table->ApplyMemberFunct(poke, nullptr, &visited, &result), 1);
  EXPECT_EQ(result, static_cast<ValueIMP*>(visited)->value);
  ValueIMP::threshold = INT_MAX;
  EXPECT_EQ(table->ApplyMemberFunctConst(&ZORQelIObjectIMP::HashCode, nullptr, nullptr, &result), 1);
  EXPECT_EQ(result % 1000, 0);
  table->Table().RemoveAll();
  EXPECT_EQ(table->ApplyMemberFunctConst(&ZORQelIObjectIMP::HashCode, nullptr, &visited, &result), 0);
  delete table;
}

// ApplyDelete deletes objects behind the collector's back, which leaves its
// list dangling: observed in a child process that ends right after.
TEST(TypedTable, ApplyDeleteDeletesEveryElementAndEmptiesTheTable) {
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
