// The growable object array: growth, search, removal, bounds, walks, text, copies.
#include <cstdlib>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "CoreTestSupport.h"
#include "QL0KRN.h"
#include "internal/ZORQelITestSeams.h"
#include "TestSupport.h"

namespace arraytest {

using qtest::FnWalker;
using qtest::RaisedText;
using qtest::Value;
using qtest::ValueIMP;

const std::string kArraySource = qtest::Source("ZORQelIArrayIMP");

int ValueAt(const ZORQelIArray& a, int pos) { return qtest::ValueOf(a.Get(pos))->value; }

std::vector<int> Values(const ZORQelIArray& a) {
  std::vector<int> out;
  for (int i = 0; i < a.Size(); ++i) out.push_back(ValueAt(a, i));
  return out;
}

ZORQelIArray Filled(int n, int from = 0) {
  ZORQelIArray a;
  for (int i = from; i < from + n; ++i) a.Add(Value(i));
  return a;
}

// Replaces the storage allocator for one scope: requests above `limit`
// bytes are refused (by default all of them).
struct ScopedAllocator {
  explicit ScopedAllocator(std::size_t l = 0) {
    limit = l;
    ZORQelIInternal::arraySlotAllocator = &Realloc;
  }
  ~ScopedAllocator() { ZORQelIInternal::arraySlotAllocator = saved; }
  static void* Realloc(void* old, std::size_t bytes) {
    return bytes > limit ? nullptr : std::realloc(old, bytes);
  }
  static inline std::size_t limit = 0;
  void* (*saved)(void*, std::size_t) = ZORQelIInternal::arraySlotAllocator;
};

TEST(ArrayGrowth, FixedStepOf64FromTheDefaultTenOrTheGivenCapacity) {
  ZORQelIArray a;
  EXPECT_EQ(a.IMP()->Capacity(), 10);
  std::vector<int> seen;
  for (int i = 0; i < 139; ++i) {
    a.Add(Value(i));
    seen.push_back(a.IMP()->Capacity());
  }
  EXPECT_EQ(seen[9], 10);    // 10 elements fit
  EXPECT_EQ(seen[10], 74);   // the 11th grows by 64
  EXPECT_EQ(seen[73], 74);
  EXPECT_EQ(seen[74], 138);  // the 75th
  EXPECT_EQ(seen[138], 202);
  for (int i = 0; i < 139; ++i) ASSERT_EQ(ValueAt(a, i), i);
  a.RemoveAll();  // removals keep the storage
  EXPECT_EQ(a.Size(), 0);
  EXPECT_EQ(a.IMP()->Capacity(), 202);

  ZORQelIArray zero(0), negative(-7), three(3);
  EXPECT_EQ(negative.IMP()->Capacity(), 0);
  zero.Add(Value(1));
  EXPECT_EQ(zero.IMP()->Capacity(), 64);
  for (int i = 0; i < 4; ++i) three.Add(Value(i));
  three.Remove(0);
  EXPECT_EQ(three.IMP()->Capacity(), 67);
}

TEST(ArrayGrowth, AppendArraySizesStorageExactlyAndMaySelfAppend) {
  ZORQelIArray a = Filled(3), b = Filled(5, 10);
  a.AppendArray(b);
  EXPECT_EQ(Values(a), (std::vector<int>{0, 1, 2, 10, 11, 12, 13, 14}));
  EXPECT_EQ(a.IMP()->Capacity(), 8);
  EXPECT_EQ(b.Size(), 5);
  a.AppendArray(a);
  EXPECT_EQ(a.Size(), 16);
  EXPECT_EQ(a.IMP()->Capacity(), 16);
  EXPECT_EQ(ValueAt(a, 8), 0);
  EXPECT_EQ(ValueAt(a, 15), 14);
  a.Add(Value(99));  // grows from the exact size
  EXPECT_EQ(a.IMP()->Capacity(), 80);
}

TEST(ArrayGrowth, FailedAllocationRaisesAndChangesNothing) {
  ZORQelIArray a = Filled(10), other = Filled(1, 50);
  {
    ScopedAllocator failing;
    EXPECT_EQ(RaisedText<ZORQelI::NullPtrAccess>([] { ZORQelIArrayIMP::Allocate(4); }),
              qtest::NullText("ZORQelIArrayIMP", 60));
    RaisedText<ZORQelI::NullPtrAccess>([&] { a.Add(Value(10)); });
    RaisedText<ZORQelI::NullPtrAccess>([&] { a.AppendArray(other); });
  }
  EXPECT_EQ(a.IMP()->Capacity(), 10);
  EXPECT_EQ(Values(a), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
  a.Add(Value(10));
  EXPECT_EQ(a.IMP()->Capacity(), 74);
}

// The storage may grow by more than the step; when the larger block is
// refused, an addition still succeeds as long as the step's block is given.
TEST(ArrayGrowth, AnAdditionNeedsOnlyTheFixedStepToSucceed) {
  ZORQelIArray b(200);
  for (int i = 0; i < 200; ++i) b.Add(Value(i));
  ScopedAllocator onlyTheStep(264 * sizeof(void*));
  b.Add(Value(200));
  EXPECT_EQ(b.IMP()->Capacity(), 264);
  for (int i = 201; i < 264; ++i) b.Add(Value(i));
  RaisedText<ZORQelI::NullPtrAccess>([&] { b.Add(Value(264)); });  // not even 328 slots
  EXPECT_EQ(b.IMP()->Capacity(), 264);
  ScopedAllocator::limit = ~std::size_t(0);
  b.Add(Value(264));
  EXPECT_EQ(b.IMP()->Capacity(), 328);
  for (int i = 0; i < 265; ++i) ASSERT_EQ(ValueAt(b, i), i);
}

TEST(ArrayLook, FindsTheFirstEqualElementFromAPositionComparingHashCodesFirst) {
  ZORQelIArray a;
  for (int v : {7, 5, 7}) a.Add(Value(v));  // equal, distinct objects
  ZORQelIObject seven = Value(7);
  EXPECT_EQ(a.Look(seven), 0);
  EXPECT_EQ(a.Look(seven, 1), 2);
  EXPECT_EQ(a.Look(seven, 3), ZORQelI::Mint::UNSET);
  EXPECT_EQ(a.Look(seven, -5), 0);  // a negative start counts as 0
  EXPECT_EQ(a.Look(Value(6)), ZORQelI::Mint::UNSET);

  ZORQelIArray h;
  for (int i = 0; i < 4; ++i) h.Add(Value(i, 100 + i));
  ValueIMP::equalCalls = 0;
  EXPECT_EQ(h.Look(Value(2, 102)), 2);
  EXPECT_EQ(ValueIMP::equalCalls, 1);  // elements 0 and 1 have other hash codes
  ValueIMP::equalCalls = 0;
  EXPECT_EQ(h.Look(Value(2, 999)), ZORQelI::Mint::UNSET);  // same value, other hash
  EXPECT_EQ(h.Look(Value(0, 100), h.Size()), ZORQelI::Mint::UNSET);
  EXPECT_EQ(ValueIMP::equalCalls, 0);
}

TEST(ArrayRemove, ByValueTheFirstMatchAtOrAfterAPositionByPositionKeepingTheOrder) {
  ZORQelIArray a;
  for (int v : {1, 2, 1, 3, 1}) a.Add(Value(v));
  EXPECT_EQ(a.Remove(Value(1), 1), 2);
  EXPECT_EQ(Values(a), (std::vector<int>{1, 2, 3, 1}));
  EXPECT_EQ(a.Remove(Value(1)), 0);
  EXPECT_EQ(a.Remove(Value(9)), ZORQelI::Mint::UNSET);
  EXPECT_EQ(a.Remove(Value(2), -1), 0);
  EXPECT_EQ(Values(a), (std::vector<int>{3, 1}));
  for (int v : {4, 5, 6, 7}) a.Add(Value(v));
  a.Remove(0);
  a.Remove(4);
  a.Remove(2);
  EXPECT_EQ(Values(a), (std::vector<int>{1, 4, 6}));
}

TEST(ArrayBounds, BadPositionsAndRangesRaiseBoundErrorWithTheExactText) {
  ZORQelIArray a = Filled(4), five = Filled(5), empty, one = Filled(1);
  FnWalker never([](ZORQelIObject, integer) -> ZORQelI::boolean {
    ADD_FAILURE() << "walked a bad range";
    return ZORQelI::Itrue;
  });
  const std::string range = " didn't fit in array bounds  ";
  const std::vector<std::tuple<std::function<void()>, int, std::string>> cases = {
      {[&] { a.Get(4); }, 348, "index 4 not in range [0..3]\n"},
      {[&] { a.Get(-1); }, 348, "index -1 not in range [0..3]\n"},
      {[&] { a.Remove(4); }, 348, "index 4 not in range [0..3]\n"},
      {[&] { empty.Get(0); }, 348, "index 0 not in range array is empty\n"},
      {[&] { one.CheckBounds(3); }, 348, "index 3 not in range [0..0]\n"},
      {[&] { five.CheckRange(2, 8); }, 385, " range [2..7]" + range + "[0..4]\n"},
      {[&] { five.ForEach(never, 3, 2); }, 385, " range [3..1]" + range + "[0..4]\n"},
      {[&] { five.ForEach(never, -1, 2); }, 385, " range [-1..1]" + range + "[0..4]\n"},
      {[&] { empty.ForEach(never, 3, 2); }, 385, " range [3..1]" + range + "array is empty\n"},
      {[&] { five.CheckRange(5, 6); }, 385, "index 5 not in range [0..4]\n"}};  // one position: an index
  for (const auto& [raise, line, text] : cases)
    EXPECT_EQ(RaisedText<ZORQelI::BoundError>(raise),
              "qualified exception : " + kArraySource + " " + std::to_string(line) + ": BoundError\n" + text);
  EXPECT_EQ(Values(a), (std::vector<int>{0, 1, 2, 3}));  // nothing changed
  five.CheckRange(0, 5);
  five.CheckRange(5, 5);
}

TEST(ArrayBounds, EmptyHandlesElementsAndStorageRaiseNullPtrAccess) {
  ZORQelIObjectIMP* slots[1] = {nullptr};
  EXPECT_EQ(RaisedText<ZORQelI::NullPtrAccess>([&] { ZORQelIArrayIMP::RawCopy(nullptr, slots, 0); }),
            qtest::NullText("ZORQelIArrayIMP", 43));
  RaisedText<ZORQelI::NullPtrAccess>([&] { ZORQelIArrayIMP::RawCopy(slots, nullptr, 1); });
  ZORQelIArray none(static_cast<ZORQelIArrayIMP*>(nullptr)), a = Filled(1);
  RaisedText<ZORQelI::NullPtrAccess>([&] { none.Size(); });
  RaisedText<ZORQelI::NullPtrAccess>([&] { none.Add(Value(1)); });
  RaisedText<ZORQelI::NullPtrAccess>([&] { a.Add(ZORQelIObject()); });
  RaisedText<ZORQelI::NullPtrAccess>([&] { a.Look(ZORQelIObject()); });
  RaisedText<ZORQelI::NullPtrAccess>([&] { a.Remove(ZORQelIObject()); });
  RaisedText<ZORQelI::NullPtrAccess>([&] { a.AppendArray(none); });
  EXPECT_EQ(a.Size(), 1);
  EXPECT_EQ(a.IMP()->Capacity(), 10);
}

TEST(ArrayWalk, VisitsPositionsInOrderAndStopsWhenTheWalkerSaysSo) {
  ZORQelIArray a;
  for (int i = 0; i < 6; ++i) a.Add(Value(i * 10));
  std::vector<std::pair<int, int>> visits;
  FnWalker record([&](ZORQelIObject o, integer pos) {
    visits.push_back({qtest::ValueOf(o)->value, pos});
    return pos == 3 ? ZORQelI::Ifalse : ZORQelI::Itrue;
  });
  EXPECT_EQ(a.ForEach(record), ZORQelI::Ifalse);
  const ZORQelIArray& constant = a;
  EXPECT_EQ(constant.ForEach(record, 4, 6), ZORQelI::Itrue);
  EXPECT_EQ(a.ForEach(record, 2, 2), ZORQelI::Itrue);
  EXPECT_EQ(ZORQelIArray().ForEach(record), ZORQelI::Itrue);
  EXPECT_EQ(visits, (std::vector<std::pair<int, int>>{{0, 0}, {10, 1}, {20, 2}, {30, 3}, {40, 4}, {50, 5}}));
}

TEST(ArrayWalk, WalkerThatResizesTheArrayEndsInsideItOrSeesTheMovedStorage) {
  ZORQelIArray a = Filled(8);
  std::vector<int> seen;
  FnWalker shrink([&](ZORQelIObject, integer pos) {
    seen.push_back(pos);
    a.Remove(a.Size() - 1);
    a.Remove(a.Size() - 1);
    return ZORQelI::Itrue;
  });
  EXPECT_EQ(a.ForEach(shrink, 0, 8), ZORQelI::Itrue);
  EXPECT_EQ(seen, (std::vector<int>{0, 1, 2}));  // 8 -> 6 -> 4 -> 2: position 3 is gone
  EXPECT_EQ(a.Size(), 2);

  ZORQelIArray b = Filled(10);  // full: the next Add moves it
  seen.clear();
  FnWalker grow([&](ZORQelIObject o, integer) {
    seen.push_back(qtest::ValueOf(o)->value);
    for (int k = 0; k < 100; ++k) b.Add(Value(1000));
    return ZORQelI::Itrue;
  });
  EXPECT_EQ(b.ForEach(grow, 0, 10), ZORQelI::Itrue);
  EXPECT_EQ(seen, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
  EXPECT_EQ(b.Size(), 1010);
}

TEST(ArrayText, ElementsBetweenParenthesesInvalidOnesAsDollarAndTheDumpShowsTheRange) {
  ZORQelIArray a;
  EXPECT_EQ(std::string(a.ToString()), "()");
  a.Add(ZORQelIObject(new ZORQelIDumbIMP()));
  a.Add(Value(4));
  a.Add(Value(5));
  a.Add(ZORQelIObject(new ZORQelIDumbIMP()));
  EXPECT_EQ(std::string(a.ToString()), "($,v4,v5,$)");
  ZORQelIArray nested;
  nested.Add(a);
  nested.Add(Value(6));
  EXPECT_EQ(std::string(nested.ToString()), "(($,v4,v5,$),v6)");
  qtest::CaptureStderr err;
  ZORQelIArray().Dump();
  a.Dump();
  EXPECT_EQ(err.Take(), "Array dumped : \narray is empty\n\nArray dumped : \n[0..3]\n\n");
}

TEST(ArrayCopy, CopiedHandleSharesClonedArrayDoesNot) {
  ZORQelIArray a = Filled(3), shared(a), cloned(a);
  cloned.SpecializeMe();
  EXPECT_EQ(cloned.IMP()->Capacity(), 3);  // exactly the source's size
  a.Add(Value(3));
  shared.Remove(0);
  EXPECT_EQ(Values(a), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(Values(shared), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(Values(cloned), (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(a.Get(0).RefMe(), cloned.Get(1).RefMe());  // the clone shares the elements
  EXPECT_EQ(a.Equal(cloned), ZORQelI::Ifalse);
  EXPECT_EQ(a.Equal(shared), ZORQelI::Itrue);
}

}  // namespace arraytest
