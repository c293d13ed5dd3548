// ZORQelIMemWrapper: the in-memory reference provider.
#include "ZORQelIMemWrapper.h"

#include "ZORQelIMemInterfaceIMP.h"
#include "ZORQelIMemModelerIMP.h"

namespace {
const char kSource[] = "QelInfrastructure/QL0KRNMem.m/src/ZORQelIMemWrapper";
}

ZORQelIMemWrapper::ZORQelIMemWrapper(ZORQelI::string name) : name_(name) {
  ZORQELI_TRACE(" ZORQelIMemWrapper::ZORQelIMemWrapper(ZORQelI::string name)");
  AddCapability(Instances);
  AddCapability(EditableDictionnary);
}

ZORQelIMemWrapper::~ZORQelIMemWrapper() {
  ZORQELI_TRACE(" ZORQelIMemWrapper::~ZORQelIMemWrapper()");
}

ZORQelIMemWrapper& ZORQelIMemWrapper::Default() {
  ZORQELI_TRACE("ZORQelIMemWrapper& ZORQelIMemWrapper::Default()");
  // Never destroyed: objects made through it may be reached until the
  // process ends.
  static ZORQelIMemWrapper* const wrapper = new ZORQelIMemWrapper();
  return *wrapper;
}

ZORQelIModeler ZORQelIMemWrapper::NewModeler(ZORQelI::string f) {
  ZORQELI_TRACE("ZORQelIModeler ZORQelIMemWrapper::NewModeler(ZORQelI::string f)");
  if (f.GetLengthInChar() == 0) {
    ZORQELI_RAISE(ZORQelI::Exception(ZORQelI::string("a schema needs a name")), kSource,
                  __LINE__);
  }
  return ZORQelIModeler(new ZORQelIMemModelerIMP(*this, f));
}

ZORQelI::string ZORQelIMemWrapper::WrapperName() const {
  ZORQELI_TRACE("ZORQelI::string ZORQelIMemWrapper::WrapperName() const");
  return name_;
}

ZORQelI::boolean ZORQelIMemWrapper::Owns(const ZORQelIWrapperObjectIMP* e) const {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIMemWrapper::Owns(const ZORQelIWrapperObjectIMP* e) const");
  return (e != nullptr && &e->Wrapper() == this) ? ZORQelI::Itrue : ZORQelI::Ifalse;
}

ZORQelIInterface ZORQelIMemWrapper::NewInterface(ZORQelI::string name) {
  ZORQELI_TRACE("ZORQelIInterface ZORQelIMemWrapper::NewInterface(ZORQelI::string name)");
  if (name.GetLengthInChar() == 0) {
    ZORQELI_RAISE(ZORQelI::Exception(ZORQelI::string("an interface needs a name")),
                  kSource, __LINE__);
  }
  return ZORQelIInterface(new ZORQelIMemInterfaceIMP(*this, name));
}
