// Regressions of ordinary client mistakes and hostile inputs, each named after
// the fault it guards: a crash, a use after free or a silent loss that the
// library must turn into its own exception or survive.
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CoreTestSupport.h"
#include "DictionaryDoubles.h"
#include "QL0KRN.h"
#include "QL0KRNMem.h"
#include "TestSupport.h"

namespace regression {

using qtest::CollectAll;
using qtest::ExpectRaise;
using qtest::NewNode;
using qtest::NodeIMP;
using ZORQelI::Ifalse;
using ZORQelI::Itrue;
using ZORQelI::Mint;

// Every test ends with the object count back where it started; `finalized`
// counts the finalizations of the test's counted objects and outlives them.
class Regression : public qtest::CountedTest {
 protected:
  int finalized = 0;
};

// --- 1. A collection started while one runs --------------------------------

// Its member check collects once (when armed) before scanning its raw member.
class CollectingCheckIMP : public ZORQelIObjectIMP {
  ZORQELI_DECLARE_IMP(CollectingCheckIMP, ZORQelIObjectIMP)
 public:
  ZORQelIObjectIMP* Clone() const override { return new CollectingCheckIMP(*this); }
  void Text(ZORQelIPrint&) const override {}
  void GarbageCollectorMemberCheck() override {
    ZORQelIObjectIMP::GarbageCollectorMemberCheck();
    if (armed) {
      armed = false;
      ZORQelIVariable::GarbageCollect();
    }
    GarbageCollectorScan(raw);
  }
  ZORQelIObjectIMP* raw = nullptr;
  bool armed = false;
};
ZORQELI_DEFINE_IMP(CollectingCheckIMP, ZORQelIObjectIMP)

// Collects from its destructor, as a finalizing client object might.
class CollectingDestructorIMP : public ZORQelIObjectIMP {
  ZORQELI_DECLARE_IMP(CollectingDestructorIMP, ZORQelIObjectIMP)
 public:
  ~CollectingDestructorIMP() override { ZORQelIVariable::GarbageCollect(); }
  ZORQelIObjectIMP* Clone() const override { std::abort(); }
  void Text(ZORQelIPrint&) const override {}
};
ZORQELI_DEFINE_IMP(CollectingDestructorIMP, ZORQelIObjectIMP)

TEST_F(Regression, NestedCollectionFromAMemberCheckFreesNothingReachable) {
  auto* check = new CollectingCheckIMP();
  ZORQelIObject root(check);
  check->raw = NewNode(&finalized, 1);  // reached only through the check's scan
  check->armed = true;
  ZORQelIVariable::GarbageCollect();
  EXPECT_FALSE(check->armed);
  EXPECT_EQ(finalized, 0);
  EXPECT_EQ(static_cast<NodeIMP*>(check->raw)->value, 1);
  CollectAll();
  EXPECT_EQ(finalized, 0);
  root = ZORQelIObject();
  CollectAll();
  EXPECT_EQ(finalized, 1);
}

TEST_F(Regression, NestedCollectionFromADestructorLeavesNoStaleMark) {
  // The sweep walks the newest object first: the kept owner is examined
  // before the collecting object, its member after it.
  NodeIMP* member = NewNode(&finalized, 1);
  new CollectingDestructorIMP();
  NodeIMP* owner = NewNode(&finalized, 2);
  owner->raw = member;
  ZORQelIObject root(owner);
  ZORQelIVariable::GarbageCollect();
  // A mark left on the owner would skip its member check in this cycle.
  ZORQelIVariable::GarbageCollect();
  ZORQelIVariable::GarbageCollect();
  EXPECT_EQ(finalized, 0);
  EXPECT_EQ(static_cast<NodeIMP*>(owner->raw)->value, 1);
  root = ZORQelIObject();
  CollectAll();
  EXPECT_EQ(finalized, 2);
}

// Makes garbage of its own kind (up to a limit) and asks for a collection
// as it dies.
class SpawningIMP : public ZORQelIObjectIMP {
  ZORQELI_DECLARE_IMP(SpawningIMP, ZORQelIObjectIMP)
 public:
  ~SpawningIMP() override {
    if (++died < 6) new SpawningIMP();
    ZORQelIVariable::GarbageCollect();
  }
  ZORQelIObjectIMP* Clone() const override { std::abort(); }
  void Text(ZORQelIPrint&) const override {}
  static int died;
};
int SpawningIMP::died = 0;
ZORQELI_DEFINE_IMP(SpawningIMP, ZORQelIObjectIMP)

TEST_F(Regression, NestedCollectionRequestsRunOnceAfterTheCycleNotWithoutEnd) {
  new SpawningIMP();
  ZORQelIVariable::GarbageCollect();  // the cycle, then the one it asked for
  EXPECT_EQ(SpawningIMP::died, 2);
  ZORQelIVariable::GarbageCollect();
  EXPECT_EQ(SpawningIMP::died, 4);
}

// --- 2. The object whose operation runs is dropped and collected ----------

TEST_F(Regression, WalkerThatDropsTheLastHandleOfItsArrayAndCollectsFinishesTheWalk) {
  auto array = std::make_unique<ZORQelIArray>();  // the only handle on the array
  for (int i = 0; i < 3; ++i) array->Add(ZORQelIObject(NewNode(&finalized, 10 + i)));
  std::vector<int> seen;
  qtest::FnWalker walker([&](ZORQelIObject o, int) {
    seen.push_back(static_cast<NodeIMP*>(o.RefMe())->value);
    if (seen.size() == 1) {
      *array = ZORQelIArray();  // the walked array is no longer referred to
      ZORQelIVariable::GarbageCollect();
    }
    return Itrue;
  });
  array->ForEach(walker);
  EXPECT_EQ(seen, (std::vector<int>{10, 11, 12}));
  EXPECT_EQ(finalized, 0);
  CollectAll();
  EXPECT_EQ(finalized, 3);
}

TEST_F(Regression, ViewThatDropsTheLastHandleOfItsObserverAndCollectsFinishesTheFanOut) {
  std::vector<int> served;
  auto observer = std::make_unique<ZORQelIObserver>();  // the only handle on it
  for (int i = 0; i < 3; ++i) {
    observer->AddView(ZORQelIView(new qtest::FnViewIMP(
        [&, i](qtest::Notice, ZORQelIObject) {
          served.push_back(i);
          if (i == 0) {
            *observer = ZORQelIObserver();  // the notifying observer is dropped
            ZORQelIVariable::GarbageCollect();
          }
        },
        &finalized)));
  }
  observer->NotifyCreated(ZORQelIObject());
  EXPECT_EQ(served, (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(finalized, 0);
  CollectAll();
  EXPECT_EQ(finalized, 3);
}

// An element whose HashCode and Equal run `hook` once when it is armed; all
// share one hash code, so the set asks Equal on every lookup.
class HookedValueIMP : public ZORQelIObjectIMP {
  ZORQELI_DECLARE_IMP(HookedValueIMP, ZORQelIObjectIMP)
 public:
  explicit HookedValueIMP(int v) : value(v) {}
  ZORQelIObjectIMP* Clone() const override { return new HookedValueIMP(*this); }
  void Text(ZORQelIPrint&) const override {}
  ZORQelI::integer HashCode() const override {
    Fire();
    return 5;
  }
  ZORQelI::boolean Equal(ZORQelIObjectIMP* o) const override {
    Fire();
    if (o == nullptr || &o->Id() != &ClassId()) return Ifalse;
    return static_cast<HookedValueIMP*>(o)->value == value ? Itrue : Ifalse;
  }
  static void Fire() {
    if (!hook) return;
    const std::function<void()> run = std::move(hook);
    hook = nullptr;
    run();
  }
  int value;
  static std::function<void()> hook;
};
ZORQELI_DEFINE_IMP(HookedValueIMP, ZORQelIObjectIMP)
std::function<void()> HookedValueIMP::hook;

TEST_F(Regression, UniqueListLookupOrRemoveWhoseEqualDropsTheListAndCollectsReadsNoFreedMemory) {
  auto hooked = [](int v) { return ZORQelIObject(new HookedValueIMP(v)); };
  const std::vector<std::function<ZORQelI::boolean(ZORQelIListUnique&)>> operations = {
      [&](ZORQelIListUnique& l) { return l.Look(hooked(3)).IsValid(); },
      [&](ZORQelIListUnique& l) { return l.Look(hooked(1)).IsValid(); },
      [&](ZORQelIListUnique& l) { return l.Remove(hooked(1)); },
      [&](ZORQelIListUnique& l) { return l.Remove(0); },
      [&](ZORQelIListUnique& l) { return l.Remove(1); },
  };
  const std::vector<ZORQelI::boolean> expected = {Ifalse, Itrue, Itrue, Itrue, Itrue};
  for (std::size_t i = 0; i < operations.size(); ++i) {
    auto list = std::make_unique<ZORQelIListUnique>();  // the only handle on the list
    for (int v = 0; v < 3; ++v) ASSERT_EQ(list->Add(hooked(v)), Itrue);
    HookedValueIMP::hook = [&] {
      *list = ZORQelIListUnique();  // the list whose operation runs is dropped
      ZORQelIVariable::GarbageCollect();
    };
    ZORQelIListUnique& self = *list;
    EXPECT_EQ(operations[i](self), expected[i]) << "operation " << i;
    EXPECT_FALSE(static_cast<bool>(HookedValueIMP::hook)) << "operation " << i;
    HookedValueIMP::hook = nullptr;
  }
}

// --- 3. A unique list's set and its array part disagree -------------------

TEST_F(Regression, UniqueListElementRemovedThroughTheArrayLeavesTheSet) {
  ZORQelIListUnique list;
  list.Add(qtest::Value(1, 7));
  list.Add(qtest::Value(2, 8));
  ZORQelIArray& asArray = list;
  EXPECT_EQ(static_cast<int>(asArray.Remove(qtest::Value(2, 8))), 1);
  asArray.Remove(0);
  EXPECT_EQ(list.Size(), 0);
  CollectAll();  // the removed elements are gone: the set must not hold them
  EXPECT_FALSE(list.Look(qtest::Value(1, 7)).IsValid());
  EXPECT_FALSE(list.Look(qtest::Value(3, 8)).IsValid());
  EXPECT_EQ(list.Add(qtest::Value(1, 7)), Itrue);
  EXPECT_EQ(list.Add(qtest::Value(2, 8)), Itrue);
  EXPECT_EQ(list.Size(), 2);
}

TEST_F(Regression, UniqueListRenamedIdentifierRemovedByPositionLeavesTheSet) {
  ZORQelIListUnique list;
  ZORQelIIdentifier id(ZORQelI::string("first"));
  list.Add(id);
  list.Add(ZORQelIIdentifier(ZORQelI::string("other")));
  id.Rename(ZORQelI::string("renamed"));  // its hash code changes while held
  EXPECT_EQ(list.Remove(0), Ifalse);      // the set cannot find it by its new name
  EXPECT_EQ(list.Size(), 1);
  id = ZORQelIIdentifier();
  CollectAll();
  EXPECT_FALSE(list.Look(ZORQelIIdentifier(ZORQelI::string("first"))).IsValid());
  EXPECT_EQ(list.Add(ZORQelIIdentifier(ZORQelI::string("first"))), Itrue);
  EXPECT_TRUE(list.Look(ZORQelIIdentifier(ZORQelI::string("other"))).IsValid());
  EXPECT_EQ(list.Remove(ZORQelIIdentifier(ZORQelI::string("other"))), Itrue);
  EXPECT_EQ(list.Size(), 1);
}

// --- 4. Unbounded recursion --------------------------------------------------

TEST_F(Regression, ArrayThatContainsItselfRaisesWhenPrinted) {
  ZORQelIArray outer, inner;
  inner.Add(ZORQelIObject(NewNode(nullptr, 5)));
  outer.Add(inner);
  inner.Add(outer);  // outer -> inner -> outer
  ExpectRaise<ZORQelI::Exception>([&] { outer.ToString(); }, "contains itself");
  inner.Remove(1);
  EXPECT_EQ(qtest::Str(outer.ToString()), qtest::Str(outer.ToString()));  // usable again
}

TEST_F(Regression, ObserverRegisteredAsItsOwnViewRaisesWhenNotified) {
  int notified = 0;
  ZORQelIObserver observer;
  observer.AddView(ZORQelIView(new qtest::FnViewIMP([&](qtest::Notice, ZORQelIObject) { ++notified; })));
  observer.AddView(observer);
  ExpectRaise<ZORQelI::Exception>([&] { observer.NotifyUpdate(ZORQelIObject()); },
                                  "reaches itself");
  EXPECT_GE(notified, 1);
  observer.RemoveView(observer);
  notified = 0;
  observer.NotifyUpdate(ZORQelIObject());
  EXPECT_EQ(notified, 1);
}

TEST_F(Regression, DeeplyNestedArraysTypesAndValuesRaiseInsteadOfOverflowingTheStack) {
  constexpr int kDeep = 100000;  // far beyond what a 512 KiB stack takes
  doubles::Provider provider("Deep");
  auto nestedType = [&](int depth) {
    ZORQelIType type(new doubles::Type(provider, ZORQelIModeler(), ZORQelI::Iinteger));
    for (int i = 0; i < depth; ++i)
      type = ZORQelIType(new doubles::Type(provider, ZORQelIModeler(), ZORQelI::Ilist, type.IMP()));
    return type;
  };
  // A value whose every level is a list holding the level below.
  auto nestedValue = [&](int depth) {
    ZORQelIType listType = nestedType(1);
    ZORQelIInstance value(new doubles::Instance(provider, listType.SubType(), Mint::UNSET));
    for (int i = 0; i < depth; ++i) {
      ZORQelIInstance outer(new doubles::Instance(provider, listType, Mint::UNSET));
      outer.Append(value);
      value = outer;
    }
    return value;
  };
  auto raisesNested = [](const std::function<void()>& print) {
    try {
      print();
    } catch (const ZORQelI::Exception& e) {
      return std::string(static_cast<const char*>(e.Message())).find("nested") !=
             std::string::npos;
    }
    return false;
  };
  bool arrays = false, types = false, values = false;
  std::string shallow;
  qtest::RunOnThread(512 << 10, nullptr, [&] {
    ZORQelIArray array;
    for (int i = 0; i < kDeep; ++i) {
      ZORQelIArray outer;
      outer.Add(array);
      array = outer;
    }
    arrays = raisesNested([&] { array.ToString(); });
    const ZORQelIType type = nestedType(kDeep);
    types = raisesNested([&] { ZORQelIExpressForm().Print(type); });
    const ZORQelIInstance value = nestedValue(kDeep);
    values = raisesNested([&] { ZORQelIExpressForm().Print(value); });
    ZORQelIExpressForm printer;  // what fits is printed as before
    printer.Print(nestedValue(3));
    shallow = qtest::Str(printer.Get());
  });
  EXPECT_TRUE(arrays);
  EXPECT_TRUE(types);
  EXPECT_TRUE(values);
  EXPECT_EQ(shallow, "(((0)))");
}

// The in-memory provider's own type names and comparisons walk the element
// chain in a loop: any depth is named and compared, also on a small stack.
TEST_F(Regression, MemProviderDeeplyNestedTypesAreNamedAndComparedWithoutOverflow) {
  constexpr int kDeep = 100000;
  ZORQelIModeler m = ZORQelIMemWrapper::Default().NewModeler(ZORQelI::string("DeepTypes"));
  auto nested = [&](int depth, ZORQelI::boolean unique) {
    ZORQelIType type = m.MakeInteger();
    for (int i = 0; i < depth; ++i) type = m.MakeList(type, 0, Mint::UNSET, unique);
    return type;
  };
  std::string shallow;
  std::size_t length = 0;
  bool same = false, differ = true;
  qtest::RunOnThread(512 << 10, nullptr, [&] {
    const ZORQelIType a = nested(kDeep, Ifalse), b = nested(kDeep, Ifalse);
    const ZORQelIType c = nested(kDeep - 1, Ifalse), d = nested(kDeep, Itrue);
    length = qtest::Str(a.FullTypeName()).size();
    same = a.IsA(b) == Itrue;
    differ = c.IsA(a) == Itrue || d.IsA(a) == Itrue;
    shallow = qtest::Str(nested(2, Itrue).FullTypeName());
  });
  EXPECT_EQ(length, kDeep * std::string("List [0:?] of ").size() + std::string("Integer").size());
  EXPECT_TRUE(same);
  EXPECT_FALSE(differ);
  EXPECT_EQ(shallow, "List [0:?] of unique List [0:?] of unique Integer");
}

// Appending a value copies it level by level: nesting deeper than the stack
// takes raises the library's exception; what fits is copied whole.
TEST_F(Regression, MemProviderDeeplyNestedValueCopyRaisesInsteadOfOverflowingTheStack) {
  ZORQelIModeler m = ZORQelIMemWrapper::Default().NewModeler(ZORQelI::string("DeepValues"));
  std::string raised;
  int reached = 0;
  std::string shallow;
  qtest::RunOnThread(512 << 10, nullptr, [&] {
    ZORQelIType type = m.MakeInteger();
    ZORQelIInstance value = m.InstanciateInteger().PutInt(7);
    try {
      for (; reached < 100000; ++reached) {
        type = m.MakeList(type, 0, Mint::UNSET, Ifalse);
        ZORQelIInstance outer = m.Instanciate(type);
        outer.Append(value);  // a copy of the whole of `value`
        value = outer;
        if (reached == 2) shallow = qtest::Str(value.GetInstance(0).GetInstance(0).ToString());
      }
    } catch (const ZORQelI::Exception& e) {
      raised = static_cast<const char*>(e.Message());
    }
  });
  EXPECT_NE(raised.find("aggregate values nested too deeply to be copied"), std::string::npos)
      << raised;
  EXPECT_GT(reached, 10);
  EXPECT_LT(reached, 100000);
  EXPECT_EQ(shallow, "(7)");
}

// --- 5. A write that fails only when flushed ---------------------------------

TEST_F(Regression, SaveToADeviceThatFailsOnFlushReportsFailure) {
  if (::access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
  ZORQelIModeler m = ZORQelIMemWrapper::Default().NewModeler(ZORQelI::string("Lost"));
  m.MakeEntity("Thing");
  EXPECT_EQ(m.Save(ZORQelI::string("/dev/full")), Ifalse);
  EXPECT_EQ(m.Save(ZORQelI::string("/dev/null")), Itrue);
}

// --- 6. and 7. Extreme positions and bounds ---------------------------------

class Counting : public ZORQelIWalker {
 public:
  ZORQelI::boolean Walk(ZORQelIInstance, integer) override {
    ++walked;
    return Itrue;
  }
  int walked = 0;
};

TEST_F(Regression, ForEachWithAStopOfIntMinRaisesBoundErrorWithoutOverflow) {
  ZORQelIModeler m = ZORQelIMemWrapper::Default().NewModeler(ZORQelI::string("Walks"));
  ZORQelIEntity e = m.MakeEntity("Pair");
  e.CreateAttr("a", m.MakeInteger(), Ifalse);
  ZORQelIInstance pair = m.Instanciate(ZORQelI::string("Pair"));
  ZORQelIInstance list = m.Instanciate(m.MakeList(m.MakeInteger(), Mint::UNSET, Mint::UNSET, Ifalse));
  list.Append(m.InstanciateInteger().PutInt(3));
  Counting walker;
  for (ZORQelIInstance* walked : {&pair, &list}) {
    const std::string text = qtest::RaisedText<ZORQelI::BoundError>(
        [&] { walked->ForEach(walker, 0, INT_MIN); });
    EXPECT_NE(text.find("range [0..2147483647] didn't fit in array bounds  [0..0]"), std::string::npos) << text;
  }
  EXPECT_EQ(walker.walked, 0);
}

TEST_F(Regression, ArrayWithMoreElementsThanAnAggregateCanHoldRaisesTheLibrarysException) {
  ZORQelIModeler m = ZORQelIMemWrapper::Default().NewModeler(ZORQelI::string("Huge"));
  for (const auto& bounds : {std::make_pair(0, INT_MAX), std::make_pair(INT_MIN + 1, INT_MAX),
                             std::make_pair(-1, INT_MAX - 1)}) {
    ZORQelIType huge = m.MakeArray(m.MakeInteger(), bounds.first, bounds.second, Ifalse, Ifalse);
    ExpectRaise<ZORQelI::Exception>([&] { m.Instanciate(huge); }, "elements");
  }
  ZORQelIType small = m.MakeArray(m.MakeInteger(), INT_MAX - 2, INT_MAX, Ifalse, Ifalse);
  EXPECT_EQ(m.Instanciate(small).Size(), 3);
}

// --- 8. A finalizer that raises before deleting its object ------------------

class ReluctantIMP : public ZORQelIObjectIMP {
  ZORQELI_DECLARE_IMP(ReluctantIMP, ZORQelIObjectIMP)
 public:
  explicit ReluctantIMP(int* finalized) : finalized(finalized) {}
  ~ReluctantIMP() override { ++*finalized; }
  ZORQelIObjectIMP* Clone() const override { std::abort(); }
  void Text(ZORQelIPrint&) const override {}
  void Finalizer() override {
    if (refuse) throw std::runtime_error("not yet");
    delete this;
  }
  int* finalized;
  static bool refuse;
};
bool ReluctantIMP::refuse = false;
ZORQELI_DEFINE_IMP(ReluctantIMP, ZORQelIObjectIMP)

TEST_F(Regression, FinalizerThatRaisesBeforeDeletingLeavesItsObjectOnTheList) {
  new ReluctantIMP(&finalized);
  const ZORQelI::integer made = ZORQelIVariable::GetInstancesCount__();
  ReluctantIMP::refuse = true;
  EXPECT_THROW(ZORQelIVariable::GarbageCollect(), std::runtime_error);
  EXPECT_EQ(ZORQelIVariable::GetInstancesCount__(), made);
  EXPECT_THROW(ZORQelIVariable::GarbageCollect(), std::runtime_error);  // asked again
  ReluctantIMP::refuse = false;
  ZORQelIVariable::GarbageCollect();
  EXPECT_EQ(finalized, 1);
  EXPECT_EQ(ZORQelIVariable::GetInstancesCount__(), made - 1);
}

// --- A documented hazard, checked in debug builds -----------------------------

#ifndef NDEBUG  // the library is built with the tests' configuration
TEST(HazardDeathTest, HandleWhoseForgottenSlotWasTakenOverAbortsWhenItWritesToIt) {
  ::testing::FLAGS_gtest_death_test_style = "threadsafe";
  EXPECT_DEATH(
      {
        ZORQelIObject below;  // so that the slot below stays in use
        qtest::KeyedHandle forgotten(NewNode());
        // What a ZORQelIGCState scope does on exit to a handle made inside it.
        ZORQelIVariable::FlushInstancePool(forgotten.Slot());
        ZORQelIObject taker(NewNode());  // takes the forgotten slot over
        forgotten = NewNode();           // would overwrite taker's root
      },
      "another handle has taken that slot over");
}
#endif

}  // namespace regression
