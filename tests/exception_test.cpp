// Exceptions: the printed layouts after a real throw, the three forms of a
// bound error, class registration and the catch clauses that reach an
// exception, cloning, out() with its stack dump, and Raise with its
// recursion guard.
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

// Throws a fresh e the way the library does: made with new, thrown from
// kFile at `line`.
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

TEST(ExceptionPrint, PlainExceptionsShareTheBaseLayoutWithTheirMessage) {
  const std::string where = std::string(kFile) + " 12: ";
  EXPECT_EQ(RaisedText<ZORQelI::NullPtrAccess>([] { ThrowNew<ZORQelI::NullPtrAccess>(12); }),
            "ZORQelI::Exception : " + where + "Null pointer access\n");
  EXPECT_EQ(RaisedText<ZORQelI::NotYetImplemented>(
                [] { ThrowNew<ZORQelI::NotYetImplemented>(12); }),
            "ZORQelI::Exception : " + where + "Not yet implemented\n");
  EXPECT_EQ(RaisedText<ZORQelI::ConstObject>([] { ThrowNew<ZORQelI::ConstObject>(12); }),
            "ZORQelI::Exception : " + where + "Attempt to modify const object\n");
  EXPECT_EQ(RaisedText<ZORQelI::Exception>(
                [] { ThrowNew<ZORQelI::Exception>(12, ZORQelI::string("any words")); }),
            "ZORQelI::Exception : " + where + "any words\n");
}

TEST(ExceptionPrint, NumberedConstructorsGiveAnEmptyMessageAndKeepTheirNumber) {
  EXPECT_EQ(RaisedText<ZORQelI::Exception>([] { ThrowNew<ZORQelI::Exception>(3, 77u); }),
            std::string("ZORQelI::Exception : ") + kFile + " 3: \n");
  EXPECT_EQ(RaisedText<ZORQelI::NullPtrAccess>([] { ThrowNew<ZORQelI::NullPtrAccess>(4, 78u); }),
            std::string("ZORQelI::Exception : ") + kFile + " 4: \n");
  try {
    ThrowNew<ZORQelI::NullPtrAccess>(5, 79u);
  } catch (const ZORError& e) {
    EXPECT_EQ(e.GetId(), 79u);
  }
}

TEST(ExceptionPrint, InvalidTypeWritesItsFixedPhraseNotItsMessage) {
  std::string text = RaisedText<ZORQelI::InvalidType>([] { ThrowNew<ZORQelI::InvalidType>(232); });
  EXPECT_EQ(text, std::string("qualified exception : ") + kFile +
                      " 232: attempt to convert incompatible object\n");
  EXPECT_EQ(text.find("InvalidType"), std::string::npos);
}

TEST(ExceptionCatch, RaisedErrorIsCaughtAsItsBasesAndStdExceptionButNotASibling) {
  bool sibling = false, base = false;
  try {
    try {
      ThrowNew<ZORQelI::BoundError>(9, 1, 1, 0, 0);
    } catch (const ZORQelI::InvalidType&) {
      sibling = true;
    }
  } catch (const ZORQelI::Exception& e) {
    base = std::string(e.IsA()) == "ZORQelI::BoundError";
  }
  EXPECT_FALSE(sibling);
  EXPECT_TRUE(base);
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
  // None is made through the class dictionary.
  EXPECT_EQ(ZORQelI::Exception::CreateItself(), nullptr);
  EXPECT_EQ(ZORQelI::BoundError::CreateItself(), nullptr);
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
    auto* copy = dynamic_cast<ZORQelI::Exception*>(clone.get());
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(Printed(*copy), std::string("ZORQelI::Exception : ") + kFile + " 17: cloned words\n");
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

// out() prints to the stream it is given and dumps the stack, its own frame
// marked, to standard error.
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

const std::string kRaiseHead =
    "ZORQelI::Exception : QelInfrastructure/QL0KRN.m/src/ZORQelIObjectIMP 254: ";

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
  // When set, producing this object's text makes `inner` raise.
  RaiserIMP* inner = nullptr;
};
ZORQELI_DEFINE_IMP(RaiserIMP, ZORQelIObjectIMP)

class RaiseTest : public ::testing::Test {
 protected:
  void TearDown() override { qtest::CollectAll(); }
};

TEST_F(RaiseTest, RaiseComposesFileClassLineReasonAndTheObjectsText) {
  auto* imp = new RaiserIMP("alpha");
  ZORQelIObject keep(imp);
  std::string text = RaisedText<ZORQelI::Exception>([&] { imp->Complain(31, "bad state"); });
  EXPECT_EQ(text, kRaiseHead +
                      " in QelInfrastructure/QL0KRN.m/src/RaiserIMP\n"
                      "Exception raised when handling : RaiserIMP (line 31)\n"
                      "Reason : bad state\n"
                      "raiser alpha\n"
                      "\n");
}

TEST_F(RaiseTest, RaiseWhileProducingATextReportsRecursionAndClearsTheGuard) {
  auto* outer = new RaiserIMP("outer");
  auto* inner = new RaiserIMP("inner");
  outer->inner = inner;
  ZORQelIObject keepOuter(outer), keepInner(inner);
  // The outer Raise asks for the outer text, whose production makes the
  // inner object raise: that one writes "Recursion error" instead of its
  // text, and its exception is the one that arrives.
  std::string text = RaisedText<ZORQelI::Exception>([&] { outer->Complain(10, "outer trouble"); });
  EXPECT_EQ(text, kRaiseHead +
                      " in QelInfrastructure/QL0KRN.m/src/RaiserIMP\n"
                      "Exception raised when handling : RaiserIMP (line 21)\n"
                      "Reason : inner trouble\n"
                      "Recursion error\n"
                      "\n");
  // The guard was released when the text production ended by an exception.
  EXPECT_EQ(RaisedText<ZORQelI::Exception>([&] { inner->Complain(11, "again"); }),
            kRaiseHead +
                " in QelInfrastructure/QL0KRN.m/src/RaiserIMP\n"
                "Exception raised when handling : RaiserIMP (line 11)\n"
                "Reason : again\n"
                "raiser inner\n"
                "\n");
}

}  // namespace exceptiontest
