// Observers and views: fan-out order, duplicates, changes during a
// notification, trees of observers and shared lists.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CoreTestSupport.h"
#include "QL0KRN.h"
#include "TestSupport.h"

namespace observertest {

using qtest::RaisedText;
using Log = std::vector<std::string>;

class ObserverTest : public ::testing::Test {
 protected:
  // A view that writes "<name> <kind> <object text>" to the log, then runs
  // the action registered under its name, if any.
  ZORQelIView View(const std::string& name, int* finalized = nullptr) {
    return ZORQelIView(new qtest::FnViewIMP(
        [this, name](qtest::Notice kind, ZORQelIObject o) {
          const char* word = kind == qtest::Notice::Created   ? "created"
                             : kind == qtest::Notice::Updated ? "update"
                                                              : "deleted";
          log.push_back(name + " " + word + " " + std::string(o.ToString()));
          if (actions.count(name) != 0) actions[name]();
        },
        finalized));
  }

  Log log;
  std::map<std::string, std::function<void()>> actions;
  ZORQelIIdentifier object{ZORQelI::string("o")};
};

TEST_F(ObserverTest, ViewsAreServedInRegistrationOrderForEachKind) {
  ZORQelIObserver observer;
  EXPECT_EQ(observer.NumberOfView(), 0);
  observer.NotifyCreated(object);  // nobody to tell
  EXPECT_TRUE(log.empty());
  for (const char* n : {"v1", "v2", "v3"}) observer.AddView(View(n));
  EXPECT_EQ(std::string(observer.ToString()), "Observer");
  observer.NotifyCreated(object);
  observer.NotifyUpdate(object);
  observer.RemoveView(observer.IMP()->Get(0));
  observer.NotifyDeleted(object);
  EXPECT_EQ(log, (Log{"v1 created o", "v2 created o", "v3 created o", "v1 update o",
                      "v2 update o", "v3 update o", "v2 deleted o", "v3 deleted o"}));
}

TEST_F(ObserverTest, DuplicateAndEmptyViewsAreNotAddedEmptyHandlesRaiseAnObserverIsAView) {
  ZORQelIObserver observer;
  ZORQelIView v = View("v");
  observer.AddView(v);
  observer.AddView(v);
  observer.AddView(ZORQelIView());
  EXPECT_EQ(observer.NumberOfView(), 1);
  observer.NotifyCreated(object);
  EXPECT_EQ(log, (Log{"v created o"}));
  observer.RemoveView(View("absent"));
  EXPECT_EQ(observer.NumberOfView(), 1);
  RaisedText<ZORQelI::NullPtrAccess>([&] { observer.RemoveView(ZORQelIView()); });
  observer.RemoveView(v);
  EXPECT_EQ(observer.NumberOfView(), 0);
  ZORQelIObserver none(static_cast<ZORQelIObserverIMP*>(nullptr));
  RaisedText<ZORQelI::NullPtrAccess>([&] { none.NotifyCreated(object); });
  RaisedText<ZORQelI::NullPtrAccess>([&] { ZORQelIView().NotifyUpdate(object); });
  RaisedText<ZORQelI::BoundError>([&] { observer.IMP()->Get(0); });
  EXPECT_EQ(ZORQelIView::DownCast(observer).IMP(), observer.IMP());
  RaisedText<ZORQelI::InvalidType>([&] { ZORQelIObserver::DownCast(View("a")); });
}

TEST_F(ObserverTest, ViewsAddedOrRemovedDuringTheFanOut) {
  // A view removing itself makes the next one skip that pass.
  ZORQelIObserver observer;
  ZORQelIView quitter = View("quitter");
  for (const ZORQelIView& v : {View("v1"), quitter, View("v3"), View("v4")}) observer.AddView(v);
  actions["quitter"] = [&] { observer.RemoveView(quitter); };
  observer.NotifyCreated(object);
  EXPECT_EQ(log, (Log{"v1 created o", "quitter created o", "v4 created o"}));
  log.clear();
  observer.NotifyUpdate(object);
  EXPECT_EQ(log, (Log{"v1 update o", "v3 update o", "v4 update o"}));

  // A view added during the fan-out is served in the same pass.
  log.clear();
  ZORQelIObserver other;
  ZORQelIView recruiter = View("recruiter"), late = View("late");
  actions["recruiter"] = [&] { other.AddView(late); };
  other.AddView(recruiter);
  other.NotifyDeleted(object);
  EXPECT_EQ(log, (Log{"recruiter deleted o", "late deleted o"}));

  // The last view removing itself ends the fan-out.
  log.clear();
  ZORQelIObserver single;
  ZORQelIView only = View("only");
  actions["only"] = [&] { single.RemoveView(only); };
  single.AddView(only);
  single.NotifyCreated(object);
  EXPECT_EQ(log, (Log{"only created o"}));
  EXPECT_EQ(single.NumberOfView(), 0);
}

TEST_F(ObserverTest, ObserverTreesAreServedDepthFirst) {
  ZORQelIObserver top, inner, deeper;
  deeper.AddView(View("d1"));
  inner.AddView(View("i1"));
  inner.AddView(deeper);
  inner.AddView(View("i2"));
  top.AddView(View("t1"));
  top.AddView(inner);
  top.AddView(View("t2"));
  EXPECT_EQ(top.NumberOfView(), 3);
  top.NotifyCreated(object);
  EXPECT_EQ(log, (Log{"t1 created o", "i1 created o", "d1 created o", "i2 created o",
                      "t2 created o"}));
}

TEST_F(ObserverTest, SpecializedObserverSharesItsListWithTheFormerObject) {
  ZORQelIObserver observer;
  ZORQelIObserver former(observer);
  observer.AddView(View("before"));
  observer.SpecializeMe();
  EXPECT_NE(observer.IMP(), former.IMP());
  observer.AddView(View("after"));
  EXPECT_EQ(former.NumberOfView(), 2);
  former.RemoveView(former.IMP()->Get(0));
  EXPECT_EQ(observer.NumberOfView(), 1);
  former.NotifyCreated(object);
  EXPECT_EQ(log, (Log{"after created o"}));
}

}  // namespace observertest
