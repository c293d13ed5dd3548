// ZORQelI::Exception: base of the library's exceptions.
#ifndef ZORQelIException_h
#define ZORQelIException_h

#include <iosfwd>

#include "ZORError.h"
#include "ZORErrDsc.h"
#include "ZORMetaObject.h"
#include "ZORQelI.h"

// Per-class members of an error class: its registration with the component
// runtime (MetaObject, on first call), the class queries answered by that
// registration, the one-record error table, cloning and Setup.  Used inside
// the body of each exception class; ZORQELI_ERROR_CLASS_DEFINE (in the
// class's source) supplies the definitions.  A client exception class derived
// from ZORQelI::Exception uses the same pair of macros so that it is thrown,
// cloned and printed as its own class:
//
//   // MyError.h
//   class MyError : public ZORQelI::Exception {
//     ZORQELI_ERROR_CLASS_MEMBERS(MyError)
//    public:
//     MyError() : ZORQelI::Exception(ZORQelI::string("my error")) {}
//   };
//   // MyError.cpp
//   ZORQELI_ERROR_CLASS_DEFINE(MyError, "MyError", ZORQelI::Exception::MetaObject())
#define ZORQELI_ERROR_CLASS_MEMBERS(Cls)                                        \
 public:                                                                        \
  static const ZORMetaObject* meta_object;                                      \
  static ZORErrDsc errorTable[1];                                               \
  static const unsigned int errorTableLength = 1;                               \
  static const ZORMetaObject* MetaObject();                                     \
  const ZORMetaObject* GetMetaObject() const override;                          \
  static const _GUID& ClassId();                                                \
  static const char* ClassName();                                               \
  const char* IsA() const override;                                             \
  int IsAKindOf(const char* className) const override;                          \
  static ZORBaseUnknown* CreateItself();                                        \
  void Setup(const char* file, int line);                                       \
  ZORError* CloneSelf() override;                                               \
  void GetErrorTable(unsigned int* n, const ZORErrDsc** t) override;            \
                                                                                \
 private:

// Definitions for ZORQELI_ERROR_CLASS_MEMBERS.  `name` is the qualified class
// name registered with the runtime; `superMeta` the super class's meta object.
#define ZORQELI_ERROR_CLASS_DEFINE(Cls, name, superMeta)                         \
  const ZORMetaObject* Cls::meta_object = nullptr;                               \
  ZORErrDsc Cls::errorTable[1] = {{0, 0, nullptr}};                              \
  const ZORMetaObject* Cls::MetaObject() {                                       \
    if (meta_object == nullptr)                                                  \
      meta_object = ZORQelI::RegisterErrorClass(name, superMeta, &ZORThrowAs<Cls>); \
    return meta_object;                                                          \
  }                                                                              \
  const ZORMetaObject* Cls::GetMetaObject() const { return MetaObject(); }       \
  const _GUID& Cls::ClassId() { return *MetaObject()->GetClassId(); }            \
  const char* Cls::ClassName() { return MetaObject()->GetClassName(); }          \
  const char* Cls::IsA() const { return MetaObject()->GetClassName(); }          \
  int Cls::IsAKindOf(const char* className) const {                              \
    return MetaObject()->IsAKindOf(className);                                   \
  }                                                                              \
  ZORBaseUnknown* Cls::CreateItself() { return nullptr; }                        \
  void Cls::Setup(const char* file, int line) { ZORError::Setup(file, line); }   \
  ZORError* Cls::CloneSelf() { return new Cls(*this); }                          \
  void Cls::GetErrorTable(unsigned int* n, const ZORErrDsc** t) {                \
    *n = errorTableLength;                                                       \
    *t = errorTable;                                                             \
  }

namespace ZORQelI {

// Registers an error class with the component runtime (once; the caller keeps
// the result): looks the name up, enters it in the class dictionary with a
// fresh class identifier when needed, marks it ready and sets its super class
// and thrower.
QL0KRN_EXPORT const ZORMetaObject* RegisterErrorClass(const char* name,
                                                      const ZORMetaObject* super,
                                                      ZORMetaObject::Thrower thrower);

// The base of the library's exceptions: an error with a message.
//
// Print layout: "ZORQelI::Exception : <file> <line>: <message>" and a line
// end, with the file and line recorded when the exception was thrown.
class QL0KRN_EXPORT Exception : public ZORError {
  ZORQELI_ERROR_CLASS_MEMBERS(Exception)
 public:
  static constexpr const char* __CLASSNAME__ = "ZORQelI::Exception";

  // Identifier 1, message m.
  Exception(ZORUnicodeString m);
  // Identifier 1, empty message.
  Exception();
  // Identifier n, empty message.
  Exception(unsigned int n);
  ~Exception() override;

  void Print(std::ostream& ot) const override;
  // Print(ot), then the call tracer's stack dump on standard error (whatever
  // ot is), with this operation's own frame marked as the current one.
  void out(std::ostream& ot) const;

  const ZORQelI::string& Message() const { return message; }

 protected:
  // Writes "<file> <line>: " as recorded by Throw.
  void PrintPosition(std::ostream& ot) const;

  ZORQelI::string message;
};

// Raises e: e->Throw(file, line).  REQUIRES: e was created with new.  Every
// raise of the library goes through here.
[[noreturn]] QL0KRN_EXPORT void Throw(Exception* e, const char* file, int line);

}  // namespace ZORQelI

// The one way the library and its providers raise: a new exception made from
// the constructor call `exception`, thrown with the raising class's source
// name and a line, which the exception's text reports ("<source> <line>: ").
//
//   ZORQELI_RAISE(ZORQelI::BoundError(pos, pos, 0, n - 1), kSource, __LINE__);
//
// The library's own raises report the fixed positions its documentation gives
// (an internal table); a provider reports its own source and __LINE__.  The
// exception belongs to the error component once thrown.
#define ZORQELI_RAISE(exception, source, line) ZORQelI::Throw(new exception, source, line)

#endif
