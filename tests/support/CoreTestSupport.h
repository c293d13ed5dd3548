// Helpers of the object-core test areas: what an operation raised, as its
// exact class and its printed text; where a handle is registered.
#ifndef QL0KRN_TESTS_CoreTestSupport_h
#define QL0KRN_TESTS_CoreTestSupport_h

#include <sstream>
#include <string>
#include <typeinfo>
#include <utility>

#include <gtest/gtest.h>

#include "QL0KRN.h"

namespace qtest {

// Runs f, which must raise exactly an E (not a subclass, not a base), and
// returns the text E::Print writes.  Any other outcome is a test failure and
// returns "".
template <class E, class F>
std::string RaisedText(F&& f) {
  try {
    f();
  } catch (const E& e) {
    EXPECT_EQ(typeid(e), typeid(E)) << "raised a " << typeid(e).name() << " instead";
    std::ostringstream text;
    e.Print(text);
    return text.str();
  } catch (const ZORError& e) {
    ADD_FAILURE() << "raised an unexpected " << e.IsA() << ": " << e.what();
    return "";
  } catch (...) {
    ADD_FAILURE() << "raised something that is not an error of the library";
    return "";
  }
  ADD_FAILURE() << "nothing was raised";
  return "";
}

// Runs f, which must raise exactly an E whose printed text, when `fragment`
// is given, contains it.
template <class E, class F>
void ExpectRaise(F&& f, const char* fragment = nullptr) {
  const std::string text = RaisedText<E>(std::forward<F>(f));
  if (fragment != nullptr) {
    EXPECT_NE(text.find(fragment), std::string::npos) << text;
  }
}

// A handle that shows its registration: the table (0 automatic, 1 static)
// and slot it owns, or that it is a member.
class KeyedHandle : public ZORQelIObject {
 public:
  KeyedHandle() = default;
  KeyedHandle(ZORQelIObjectIMP* x) : ZORQelIObject(x) {}
  KeyedHandle(const KeyedHandle& x) : ZORQelIObject(x) {}
  using ZORQelIObject::operator=;
  KeyedHandle& operator=(const KeyedHandle& o) {
    ZORQelIObject::operator=(o);
    return *this;
  }

  int Table() const { return key & 1; }
  int Slot() const { return key >> 1; }
  bool IsMember() const { return key == ZORQelIGholder::MEMBER; }
};

// The source path prefix that every raise of the library reports.
inline std::string Source(const char* className) {
  return std::string("QelInfrastructure/QL0KRN.m/src/") + className;
}

// The printed texts of a NullPtrAccess and of an InvalidType raised by the
// library source `className` at `line`.
inline std::string NullText(const char* className, int line) {
  return "ZORQelI::Exception : " + Source(className) + " " + std::to_string(line) + ": Null pointer access\n";
}
inline std::string InvalidText(const char* className, int line) {
  return "qualified exception : " + Source(className) + " " + std::to_string(line) +
         ": attempt to convert incompatible object\n";
}

}  // namespace qtest

#endif
