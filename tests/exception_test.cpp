// Exceptions: printed layouts after a real throw, classes and catch clauses, cloning, out() with
// its stack dump, and Raise with its recursion guard.
#include <exception>
#include <memory>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "CoreTestSupport.h"
#include "QL0KRN.h"
#include "TestSupport.h"

namespace exceptiontest {

using qtest::RaisedText;

const char* const kFile = "QelInfrastructure/QL0KRN.m/src/ZORTestRaiser";

// Throws a new E from kFile at `line`, the way the library does.
template <class E, class... A>
[[noreturn]] void ThrowNew(int line, A... args) {
  ZORQelI::Throw(new E(args...), kFile, line);
}

template <class E>
std::string Printed(const E& e) {
  std::ostringstream text;
  e.Print(text);
  return text.str();
}

TEST(ExceptionPrint, EachClassWritesTheBaseLayoutWithItsMessage) {
  using namespace ZORQelI;
  const std::string head = std::string("ZORQelI::Exception : ") + kFile;
  const std::pair<std::string, std::string> cases[] = {
      {RaisedText<NullPtrAccess>([] { ThrowNew<NullPtrAccess>(12); }), head + " 12: Null pointer access\n"},
      {RaisedText<NotYetImplemented>([] { ThrowNew<NotYetImplemented>(12); }), head + " 12: Not yet implemented\n"},
      {RaisedText<ConstObject>([] { ThrowNew<ConstObject>(12); }), head + " 12: Attempt to modify const object\n"},
      {RaisedText<Exception>([] { ThrowNew<Exception>(12, string("any words")); }), head + " 12: any words\n"},
      // Numbered constructors give an empty message.
      {RaisedText<Exception>([] { ThrowNew<Exception>(3, 77u); }), head + " 3: \n"},
      {RaisedText<NullPtrAccess>([] { ThrowNew<NullPtrAccess>(4, 78u); }), head + " 4: \n"},
      // InvalidType writes a fixed phrase, not its class or message.
      {RaisedText<InvalidType>([] { ThrowNew<InvalidType>(232); }),
       std::string("qualified exception : ") + kFile + " 232: attempt to convert incompatible object\n"}};
  for (const auto& [raised, expected] : cases) EXPECT_EQ(raised, expected);
  try {
    ThrowNew<NullPtrAccess>(5, 79u);
  } catch (const ZORError& e) {
    EXPECT_EQ(e.GetId(), 79u);
  }
}

TEST(ExceptionCatch, RaisedErrorIsCaughtAsItsBasesAndStdExceptionButNotASibling) {
  try {
    try {
      ThrowNew<ZORQelI::BoundError>(9, 1, 1, 0, 0);
    } catch (const ZORQelI::InvalidType&) {
      ADD_FAILURE() << "caught as a sibling";
    }
  } catch (const ZORQelI::Exception& e) {
    EXPECT_STREQ(e.IsA(), "ZORQelI::BoundError");
  }
  try {
    ThrowNew<ZORQelI::NullPtrAccess>(9);
  } catch (const std::exception& e) {
    EXPECT_EQ(std::string(e.what()), std::string("ZORQelI::Exception : ") + kFile + " 9: Null pointer access\n");
  }
}

TEST(ExceptionClass, EachClassIsRegisteredOnceBelowTheErrorClass) {
  const ZORMetaObject* meta = ZORQelI::BoundError::MetaObject();
  ASSERT_NE(meta, nullptr);
  EXPECT_EQ(QueryMetaObject("ZORQelI::BoundError"), meta);
  EXPECT_EQ(ZORQelI::Exception::MetaObject()->GetSuperClass(), ZORError::MetaObject());
  for (const ZORMetaObject* m :
       {ZORQelI::NullPtrAccess::MetaObject(), ZORQelI::NotYetImplemented::MetaObject(),
        ZORQelI::InvalidType::MetaObject(), ZORQelI::ConstObject::MetaObject(), meta})
    EXPECT_EQ(m->GetSuperClass(), ZORQelI::Exception::MetaObject()) << m->GetClassName();
  ZORQelI::NullPtrAccess e;
  EXPECT_STREQ(e.IsA(), "ZORQelI::NullPtrAccess");
  EXPECT_TRUE(e.IsAKindOf("ZORQelI::Exception"));
  EXPECT_TRUE(e.IsAKindOf("ZORError"));
  EXPECT_FALSE(e.IsAKindOf("ZORQelI::BoundError"));
  EXPECT_FALSE(ZORQelI::Exception(ZORQelI::string("x")).IsAKindOf("ZORQelI::NullPtrAccess"));
  EXPECT_EQ(ZORQelI::Exception::CreateItself(), nullptr);
  EXPECT_EQ(ZORQelI::BoundError::CreateItself(), nullptr);  // none is made by the dictionary
}

TEST(ExceptionClone, CloneIsTheSameClassWithTheSameTextAndCanBeRaisedAgain) {
  try {
    ThrowNew<ZORQelI::BoundError>(385, 2, 7, 0, 4);
  } catch (ZORQelI::BoundError& e) {
    EXPECT_EQ(e.GetParameters(), (std::vector<int>{2, 7, 0, 4}));
    std::unique_ptr<ZORError> clone(e.CloneSelf());
    auto* bound = dynamic_cast<ZORQelI::BoundError*>(clone.get());
    ASSERT_NE(bound, nullptr);
    EXPECT_EQ(Printed(*bound), Printed(e));
    EXPECT_EQ(bound->GetParameters(), e.GetParameters());
  }
  try {
    ThrowNew<ZORQelI::Exception>(17, ZORQelI::string("cloned words"));
  } catch (ZORQelI::Exception& e) {
    std::unique_ptr<ZORError> clone(e.CloneSelf());
    EXPECT_STREQ(clone->IsA(), "ZORQelI::Exception");
    EXPECT_EQ(Printed(*clone), std::string("ZORQelI::Exception : ") + kFile + " 17: cloned words\n");
  }
  try {
    ThrowNew<ZORQelI::InvalidType>(1);
  } catch (ZORQelI::InvalidType& e) {
    EXPECT_EQ(RaisedText<ZORQelI::InvalidType>([&] { e.CloneSelf()->Throw("elsewhere", 2); }),
              "qualified exception : elsewhere 2: attempt to convert incompatible object\n");
  }
}

void ReportFromAFrame(const ZORQelI::Exception& e, std::ostream& ot) {
  ZORQELI_TRACE_LINE("void exceptiontest::ReportFromAFrame(const ZORQelI::Exception& e)", 600);
  e.out(ot);
}

TEST(ExceptionOut, OutPrintsToItsStreamAndMarksItsOwnFrameBelowItsCallers) {
  try {
    ThrowNew<ZORQelI::NotYetImplemented>(51);
  } catch (const ZORQelI::NotYetImplemented& e) {
    std::ostringstream other;
    qtest::CaptureStderr capture;
    ReportFromAFrame(e, other);
    EXPECT_EQ(capture.Take(),
              "-- Beginning of stack dump\n"
              "depth is 2\n"
              "  [0]void exceptiontest::ReportFromAFrame(const ZORQelI::Exception& e) 600\n"
              "->[1]void ZORQelI::Exception::out(class ostream &ot) const 47\n"
              "-- End of stack dump\n");
    EXPECT_EQ(other.str(), std::string("ZORQelI::Exception : ") + kFile + " 51: Not yet implemented\n");
  }
}

std::string RaiseText(int line, const std::string& reason, const std::string& text) {
  return "ZORQelI::Exception : QelInfrastructure/QL0KRN.m/src/ZORQelIObjectIMP 254:  in "
         "QelInfrastructure/QL0KRN.m/src/RaiserIMP\nException raised when handling : RaiserIMP (line " +
         std::to_string(line) + ")\nReason : " + reason + "\n" + text + "\n\n";
}

// An object with a text of its own that can raise about itself.
class RaiserIMP : public ZORQelIObjectIMP {
  ZORQELI_DECLARE_IMP(RaiserIMP, ZORQelIObjectIMP)
 public:
  explicit RaiserIMP(const char* name) : name(name) {}
  ZORQelIObjectIMP* Clone() const override { return new RaiserIMP(*this); }
  void Text(ZORQelIPrint& ot) const override {
    ot.Print(ZORQelI::string("raiser "));
    ot.Print(ZORQelI::string(name));
    if (inner != nullptr) inner->Complain(21, "inner trouble");
  }
  void Complain(int line, const char* reason) const {
    Raise(line, "QelInfrastructure/QL0KRN.m/src/RaiserIMP", reason);
  }
  const char* name;
  RaiserIMP* inner = nullptr;  // when set, producing the text makes it raise
};
ZORQELI_DEFINE_IMP(RaiserIMP, ZORQelIObjectIMP)

class RaiseTest : public ::testing::Test {
 protected:
  void TearDown() override { qtest::CollectAll(); }
};

TEST_F(RaiseTest, RaiseComposesFileClassLineReasonAndTheObjectsText) {
  auto* imp = new RaiserIMP("alpha");
  ZORQelIObject keep(imp);
  EXPECT_EQ(RaisedText<ZORQelI::Exception>([&] { imp->Complain(31, "bad state"); }),
            RaiseText(31, "bad state", "raiser alpha"));
}

TEST_F(RaiseTest, RaiseWhileProducingATextReportsRecursionAndClearsTheGuard) {
  auto* outer = new RaiserIMP("outer");
  auto* inner = new RaiserIMP("inner");
  outer->inner = inner;
  ZORQelIObject keepOuter(outer), keepInner(inner);
  // The outer text makes the inner object raise: it writes "Recursion error" instead of its
  // text, and its exception is the one that arrives.
  EXPECT_EQ(RaisedText<ZORQelI::Exception>([&] { outer->Complain(10, "outer trouble"); }),
            RaiseText(21, "inner trouble", "Recursion error"));
  // The guard was released when the text production ended by an exception.
  EXPECT_EQ(RaisedText<ZORQelI::Exception>([&] { inner->Complain(11, "again"); }),
            RaiseText(11, "again", "raiser inner"));
}

}  // namespace exceptiontest
