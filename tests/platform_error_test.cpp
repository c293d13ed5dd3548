// Errors and meta objects of the platform layer, as the library's clients use them.
#include <gtest/gtest.h>

#include <mutex>
#include <ostream>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "ZORError.h"
#include "ZORMetaObject.h"

namespace {

int liveParseErrors = 0;

// An error class as clients write one: own data and text, registered with a thrower.
class ParseError : public ZORError {
 public:
  ParseError(unsigned id, std::string token) : ZORError(id), token_(std::move(token)) { ++liveParseErrors; }
  ParseError(const ParseError& e) : ZORError(e), token_(e.token_) { ++liveParseErrors; }
  ~ParseError() override { --liveParseErrors; }
  const ZORMetaObject* GetMetaObject() const override { return MetaObject(); }
  void Print(std::ostream& os) const override { os << "unexpected " << token_ << " line " << GetLine(); }
  const std::string& token() const { return token_; }

  static const ZORMetaObject* MetaObject() {
    static const ZORMetaObject* m = [] {
      ZORMetaObject* meta = fct_FindMetaObject("PlatformTestParseError");
      _GUID id;
      fct_CreateCLSID(&id);
      AddDictionary(&CLSID_ZORMetaClass, &id, "PlatformTestParseError", "MetaObject", nullptr,
                    nullptr, nullptr, nullptr);
      meta->SetSuperClass(ZORError::MetaObject());
      meta->SetThrower(&ZORThrowAs<ParseError>);
      return meta;
    }();
    return m;
  }

 private:
  std::string token_;
};

// Inherits ZORError's meta object, hence its thrower.
class UnregisteredError : public ZORError {
 public:
  using ZORError::ZORError;
};

TEST(PlatformError, ThrowKeepsTheRegisteredClassOrElseZORErrorAndDeletesTheOriginal) {
  ParseError* e = new ParseError(42, "'}'");
  e->SetParameters(2, 7, -1);
  try {
    e->Throw("parser.cpp", 120);
  } catch (const ParseError& caught) {
    EXPECT_EQ(caught.token(), "'}'");
    EXPECT_EQ(caught.GetId(), 42u);
    EXPECT_EQ(caught.GetParameters(), (std::vector<int>{7, -1}));
    EXPECT_STREQ(caught.GetFile(), "parser.cpp");
    EXPECT_EQ(caught.GetLine(), 120);
    EXPECT_STREQ(caught.IsA(), "PlatformTestParseError");
    EXPECT_TRUE(caught.IsAKindOf("ZORError"));
    EXPECT_EQ(liveParseErrors, 1);  // only the exception object
  }
  EXPECT_EQ(liveParseErrors, 0);

  auto what = [](ZORError* e, const char* file, int line) -> std::string {
    try {
      e->Throw(file, line);
    } catch (const std::exception& caught) {
      return caught.what();
    }
    return "not thrown";
  };
  EXPECT_EQ(what(new ParseError(1, "EOF"), "a.cpp", 3), "unexpected EOF line 3");
  EXPECT_EQ(liveParseErrors, 0);
  // Plain errors, and those of a class without a thrower, are thrown as ZORError.
  EXPECT_EQ(what(new ZORError(7), "io.cpp", 12), "ZORError 7 : io.cpp 12");
  try {
    (new UnregisteredError(8))->Throw("x.cpp", 1);
  } catch (const UnregisteredError&) {
    ADD_FAILURE() << "no thrower registered: must be thrown as ZORError";
  } catch (const ZORError& caught) {
    EXPECT_EQ(caught.GetId(), 8u);
  }
}

TEST(PlatformError, CopiesAndClonesCarryEverything) {
  ZORError original(5);
  original.SetParameters(3, 1, 2, 3);
  original.Setup("f.cpp", 9);
  EXPECT_STREQ(original.what(), "ZORError 5 : f.cpp 9");
  ZORError* clone = original.CloneSelf();
  clone->SetParameters(1, 99);
  EXPECT_EQ(original.GetParameters(), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(clone->GetParameters(), (std::vector<int>{99}));
  EXPECT_STREQ(clone->GetFile(), "f.cpp");
  EXPECT_EQ(clone->GetLine(), 9);
  ZORError assigned(0);
  assigned = *clone;
  delete clone;
  EXPECT_EQ(assigned.GetId(), 5u);
  EXPECT_EQ(assigned.GetParameters(), (std::vector<int>{99}));
  EXPECT_STREQ(assigned.what(), "ZORError 5 : f.cpp 9");
  assigned.Setup("g.cpp", 10);  // the cached text follows the change
  EXPECT_STREQ(assigned.what(), "ZORError 5 : g.cpp 10");
}

TEST(PlatformMetaObject, RegistrationAndKindsThroughSuperClasses) {
  const ZORMetaObject* err = ZORError::MetaObject();
  EXPECT_EQ(QueryMetaObject("ZORError"), err);
  EXPECT_STREQ(err->GetKind(), "MetaObject");
  EXPECT_EQ(err->GetStatus(), 1);
  ASSERT_NE(err->GetClassId(), nullptr);
  EXPECT_NE(*err->GetClassId(), CLSID_ZORMetaClass);

  EXPECT_EQ(QueryMetaObject("PlatformTestShape"), nullptr);
  ZORMetaObject* shape = fct_FindMetaObject("PlatformTestShape");
  EXPECT_EQ(fct_FindMetaObject("PlatformTestShape"), shape);
  EXPECT_EQ(QueryMetaObject("PlatformTestShape"), nullptr);  // found, not entered
  AddDictionary(&CLSID_ZORMetaClass, nullptr, "PlatformTestShape", "MetaObject", nullptr, nullptr,
                nullptr, nullptr);
  EXPECT_EQ(QueryMetaObject("PlatformTestShape"), shape);
  EXPECT_EQ(shape->GetClassId(), nullptr);

  ZORMetaObject* polygon = fct_FindMetaObject("PlatformTestPolygon");
  ZORMetaObject* square = fct_FindMetaObject("PlatformTestSquare");
  polygon->SetSuperClass(shape);
  square->SetSuperClass(polygon);
  EXPECT_TRUE(square->IsAKindOf("PlatformTestShape"));
  EXPECT_TRUE(square->IsAKindOf("PlatformTestSquare"));
  EXPECT_FALSE(shape->IsAKindOf("PlatformTestSquare"));
  EXPECT_FALSE(square->IsAKindOf(nullptr));
  shape->SetSuperClass(square);  // would close a cycle: refused
  EXPECT_EQ(shape->GetSuperClass(), nullptr);
}

TEST(PlatformMetaObject, ConcurrentIdsAndLookupsAreConsistent) {
  std::mutex lock;
  std::vector<_GUID> ids;
  std::set<const ZORMetaObject*> found;
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&] {
      for (int i = 0; i < 2000; ++i) {
        _GUID id;
        fct_CreateCLSID(&id);
        const ZORMetaObject* m = fct_FindMetaObject("PlatformTestShared");
        std::lock_guard<std::mutex> g(lock);
        ids.push_back(id);
        found.insert(m);
      }
    });
  for (std::thread& t : threads) t.join();
  EXPECT_EQ(found.size(), 1u);
  std::set<std::string> distinct;
  for (const _GUID& id : ids) {
    EXPECT_NE(id, CLSID_ZORMetaClass);
    distinct.insert(std::string(reinterpret_cast<const char*>(&id), sizeof id));
  }
  EXPECT_EQ(distinct.size(), ids.size());
}

TEST(PlatformBaseUnknown, DefaultsFollowTheMetaObject) {
  ParseError e(1, "x");
  EXPECT_EQ(e.QueryInterface("ZORError"), &e);
  EXPECT_EQ(e.QueryInterface("ZORBaseUnknown"), &e);
  EXPECT_EQ(e.QueryInterface("PlatformTestShape"), nullptr);
  void* out = &e;
  EXPECT_EQ(e.QueryInterface(CLSID_ZORMetaClass, &out), -1);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(e.AddRef(), 1u);
  EXPECT_EQ(e.Release(), 0u);
  ParseError copy(e);
  EXPECT_EQ(copy.AddRef(), 1u);  // a copy is a new object
  EXPECT_TRUE(e.IsEqual(&e));
  EXPECT_FALSE(e.IsEqual(&copy));
}

}  // namespace
