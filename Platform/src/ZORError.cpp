#include "ZORError.h"

#include <cstdarg>
#include <memory>
#include <mutex>
#include <ostream>
#include <sstream>

#include "ZORMetaObject.h"

namespace {

// Serialises the first production of what() texts: an exception object may
// be examined from several threads (through an exception_ptr).  Never
// destroyed, so errors may still be examined during static destruction.
std::mutex& WhatMutex() {
  static std::mutex* m = new std::mutex;
  return *m;
}

const ZORMetaObject* RegisterZORError() {
  ZORMetaObject* m = fct_FindMetaObject("ZORError");
  _GUID id;
  const _GUID* known = m->GetClassId();
  if (known) {
    id = *known;
  } else {
    fct_CreateCLSID(&id);
  }
  AddDictionary(&CLSID_ZORMetaClass, &id, "ZORError", "MetaObject", nullptr, nullptr,
                nullptr, nullptr);
  m->SetStatus(1);
  m->SetThrower(&ZORThrowAs<ZORError>);
  return m;
}

}  // namespace

ZORError::ZORError(unsigned int id) : id_(id), line_(0) {}

ZORError::ZORError(const ZORError& e)
    : ZORBaseUnknown(e),
      std::exception(e),
      id_(e.id_),
      parameters_(e.parameters_),
      file_(e.file_),
      line_(e.line_) {}

ZORError& ZORError::operator=(const ZORError& e) {
  if (this != &e) {
    ZORBaseUnknown::operator=(e);
    std::exception::operator=(e);
    id_ = e.id_;
    parameters_ = e.parameters_;
    file_ = e.file_;
    line_ = e.line_;
    what_.clear();
  }
  return *this;
}

ZORError::~ZORError() = default;

const ZORMetaObject* ZORError::MetaObject() {
  static const ZORMetaObject* const m = RegisterZORError();
  return m;
}

const ZORMetaObject* ZORError::GetMetaObject() const { return MetaObject(); }

const char* ZORError::IsA() const { return ZORBaseUnknown::IsA(); }

int ZORError::IsAKindOf(const char* className) const {
  return ZORBaseUnknown::IsAKindOf(className);
}

const char* ZORError::GetMessage(int number) {
  message_ = "error " + std::to_string(number);
  return message_.c_str();
}

void ZORError::Display(int number, std::ostream& os) {
  os << "error " << number << " at " << file_ << ':' << line_;
}

void ZORError::PrintHistory(std::ostream& os) {
  os << IsA() << ' ' << id_ << " thrown at " << file_ << ':' << line_ << '\n';
}

void ZORError::Throw(const char* file, int line) {
  Setup(file, line);
  // The heap original dies when the stack unwinds out of this frame, after
  // the thrower (or the throw below) has copied it into the exception object.
  std::unique_ptr<ZORError> original(this);
  const ZORMetaObject* m = GetMetaObject();
  if (m && m->GetThrower()) m->GetThrower()(*this);
  throw ZORError(*this);
}

ZORError* ZORError::CloneSelf() { return new ZORError(*this); }

void ZORError::GetErrorTable(unsigned int* n, const ZORErrDsc** t) {
  if (n) *n = 0;
  if (t) *t = nullptr;
}

void ZORError::Print(std::ostream& os) const {
  os << "ZORError " << id_ << " : " << file_ << ' ' << line_;
}

const char* ZORError::what() const noexcept {
  try {
    std::lock_guard<std::mutex> g(WhatMutex());
    if (what_.empty()) {
      std::ostringstream os;
      Print(os);
      what_ = os.str();
    }
    return what_.c_str();
  } catch (...) {
    return "ZORError";
  }
}

void ZORError::Setup(const char* file, int line) {
  file_ = file ? file : "";
  line_ = line;
  what_.clear();
}

void ZORError::SetParameters(int count, ...) {
  parameters_.clear();
  what_.clear();
  if (count <= 0) return;
  parameters_.reserve(static_cast<unsigned>(count));
  va_list ap;
  va_start(ap, count);
  for (int i = 0; i < count; ++i) parameters_.push_back(va_arg(ap, int));
  va_end(ap);
}
