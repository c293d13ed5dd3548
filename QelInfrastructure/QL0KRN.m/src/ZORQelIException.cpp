#include "ZORQelIException.h"

#include <exception>
#include <iostream>

#include "ZORQelIRaise.h"
#include "ZORQelITracer.h"

namespace ZORQelI {

const ZORMetaObject* RegisterErrorClass(const char* name, const ZORMetaObject* super,
                                        ZORMetaObject::Thrower thrower) {
  ZORMetaObject* meta = QueryMetaObject(name);
  if (meta == nullptr || meta->GetClassId() == nullptr) {
    _GUID id;
    fct_CreateCLSID(&id);
    meta = fct_FindMetaObject(name);
    AddDictionary(&CLSID_ZORMetaClass, &id, name, "MetaObject", nullptr, nullptr, nullptr,
                  nullptr);
    meta->SetClassId(id);
  }
  meta->SetStatus(1);
  meta->SetSuperClass(super);
  meta->SetThrower(thrower);
  return meta;
}

ZORQELI_ERROR_CLASS_DEFINE(Exception, "ZORQelI::Exception", ZORError::MetaObject())

Exception::Exception(ZORUnicodeString m) : ZORError(1), message(m) {}
Exception::Exception() : ZORError(1) {}
Exception::Exception(unsigned int n) : ZORError(n) {}
Exception::~Exception() = default;

void Exception::PrintPosition(std::ostream& ot) const {
  ot << GetFile() << " " << GetLine() << ": ";
}

void Exception::Print(std::ostream& ot) const {
  ot << "ZORQelI::Exception : ";
  PrintPosition(ot);
  ot << static_cast<const char*>(message) << std::endl;
}

void Exception::out(std::ostream& ot) const {
  Print(ot);
  ZORQELI_TRACE_LINE("void ZORQelI::Exception::out(class ostream &ot) const", ZORQelIInternal::Fixed::kExceptionOutFrame.line);
  zorqeliTraceFrame_.Dump();
}

void Throw(Exception* e, const char* file, int line) {
  e->Throw(file, line);
  // An override of Throw that returns breaks the raising contract.
  std::terminate();
}

}  // namespace ZORQelI
