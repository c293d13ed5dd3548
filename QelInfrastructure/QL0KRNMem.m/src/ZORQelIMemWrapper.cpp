// ZORQelIMemWrapper: the in-memory reference provider.
#include "ZORQelIMemWrapper.h"

#include "ZORQelIMemInterfaceIMP.h"
#include "ZORQelIMemModelerIMP.h"
#include "ZORQelIMemSchemaBuilder.h"

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

ZORQelI::boolean ZORQelIMemWrapper::LoadSchemas(ZORQelI::string file,
                                               std::vector<ZORQelIModeler>& schemas,
                                               std::vector<ZORQelIMemDiagnostic>& diagnostics) {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIMemWrapper::LoadSchemas(ZORQelI::string file, std::vector<ZORQelIModeler>& schemas, std::vector<ZORQelIMemDiagnostic>& diagnostics)");
  std::string text;
  if (!ZORQelIMemSchemaBuilder::ReadFile(file, text)) {
    ZORQelIMemDiagnostic d;
    d.file = file;
    d.line = 1;
    d.column = 1;
    d.message = "cannot read the file";
    diagnostics.push_back(d);
    return ZORQelI::Ifalse;
  }
  return LoadSchemasText(text, file, schemas, diagnostics);
}

ZORQelI::boolean ZORQelIMemWrapper::LoadSchemasText(const std::string& text,
                                                   ZORQelI::string fileName,
                                                   std::vector<ZORQelIModeler>& schemas,
                                                   std::vector<ZORQelIMemDiagnostic>& diagnostics) {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIMemWrapper::LoadSchemasText(const std::string& text, ZORQelI::string fileName, std::vector<ZORQelIModeler>& schemas, std::vector<ZORQelIMemDiagnostic>& diagnostics)");
  return ZORQelIMemSchemaBuilder::Load(text, fileName, *this, nullptr, &schemas, diagnostics)
             ? ZORQelI::Itrue
             : ZORQelI::Ifalse;
}
