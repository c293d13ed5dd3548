// The error class of the error component: base of every exception.
#ifndef ZORError_h
#define ZORError_h

#include <exception>
#include <iosfwd>
#include <string>
#include <vector>

#include "ZORBaseUnknown.h"
#include "ZORErrDsc.h"
#include "ZORPlatformExport.h"

// An error carries an identifier, integer parameters, and the source file and
// line recorded when it is thrown.
//
// Raising: create the error with new, then call Throw(file, line).  Throw
// records the position, takes ownership of the heap object (it is deleted
// before the handler runs: nothing leaks) and throws a copy of it as its own
// dynamic class, found through its meta object (ZORMetaObject::GetThrower).
// The client catches it by reference as that class, as any base class, as
// ZORError, and as std::exception, whose what() gives the Print text.
//
// REQUIRES for Throw: the object was created with new (Throw deletes it).
// A caught error is not such an object: to raise it again, rethrow it with
// `throw;` or raise a clone (CloneSelf()->Throw(...)).
//
// An error class makes Throw keep its class by registering a thrower in its
// meta object: meta->SetThrower(&ZORThrowAs<MyError>) (see below).  A class
// whose GetMetaObject is inherited is thrown as the class owning that meta
// object.
class ZOR_PLATFORM_EXPORT ZORError : public ZORBaseUnknown, public std::exception {
 public:
  explicit ZORError(unsigned int id);
  // Copying copies the identifier, parameters, file and line; the what()
  // text is produced again by the copy (its Print may differ).
  ZORError(const ZORError& e);
  ZORError& operator=(const ZORError& e);
  ~ZORError() override;

  // 5..7: the class identity of ZORError ("ZORError").
  const ZORMetaObject* GetMetaObject() const override;
  const char* IsA() const override;
  int IsAKindOf(const char* className) const override;

  // 12: a short message for the given error number ("error N").
  virtual const char* GetMessage(int number);
  // 13: writes "error N at file:line" for the given number.
  virtual void Display(int number, std::ostream& os);
  // 14: writes where the error was thrown (one line).
  virtual void PrintHistory(std::ostream& os);
  // 15: records file and line, then throws; never returns.  See above.
  [[noreturn]] virtual void Throw(const char* file, int line);
  // 16: a copy of the whole object, created with new.
  virtual ZORError* CloneSelf();
  // 17: the error table of the class (ZORError has none: *n = 0, *t = null).
  virtual void GetErrorTable(unsigned int* n, const ZORErrDsc** t);
  // Text form of the error (what() returns it).  ZORError writes
  // "ZORError N : file line"; error classes override it.
  virtual void Print(std::ostream& os) const;

  // std::exception: the Print text, produced on first call and kept until
  // Setup or SetParameters changes the error.  Safe to call from several
  // threads on one object.
  const char* what() const noexcept override;

  // Records the position (Throw calls it); a null file is recorded as "".
  void Setup(const char* file, int line);
  // Stores count integer parameters (passed as int), in order, replacing
  // earlier ones; a count of 0 or less clears them.
  void SetParameters(int count, ...);

  unsigned int GetId() const { return id_; }
  const std::vector<int>& GetParameters() const { return parameters_; }
  // The recorded file ("" before Throw/Setup) and line (0 before).
  const char* GetFile() const { return file_.c_str(); }
  int GetLine() const { return line_; }

  static const ZORMetaObject* MetaObject();

 private:
  unsigned int id_;
  std::vector<int> parameters_;
  std::string file_;
  int line_;
  mutable std::string what_;
  std::string message_;  // storage for GetMessage
};

// The thrower of error class T (see ZORMetaObject::SetThrower): throws a copy
// of e as a T.  REQUIRES: e is a T.
template <class T>
[[noreturn]] void ZORThrowAs(const ZORError& e) {
  throw T(static_cast<const T&>(e));
}

#endif
