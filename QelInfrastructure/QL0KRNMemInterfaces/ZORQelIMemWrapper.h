// ZORQelIMemWrapper: the in-memory reference provider.
#ifndef ZORQelIMemWrapper_h
#define ZORQelIMemWrapper_h

#include <string>
#include <vector>

#include "QL0KRN.h"
#include "ZORQelIInterface.h"
#include "ZORQelIModeler.h"
#include "ZORQelIWrapper.h"
#include "ZORQelIMemDiagnostic.h"
#include "ZORQelIMemExport.h"

// A provider whose schemas, populations, interfaces and values live in
// memory only.  It states the capabilities it really has:
//   Instances            every schema owns a population of instances;
//   EditableDictionnary  schemas are built and changed through the handles.
// It claims neither persistence (schemas are read from files, by Load and
// LoadSchemas, and written by Save, but populations are not) nor
// expressions (NewExpression gives an empty handle).
//
// Ownership: every object made through this provider refers to it by
// address.  REQUIRES: the wrapper outlives every object made through it that
// can still be reached (Default() never dies, which is why tests and
// programs usually take it).
//
// Owns(e) is true exactly for the objects made through this very wrapper;
// objects of two wrappers are never mixed: an operation given an object of
// another wrapper raises ZORQelI::InvalidType.
class QL0KRNMEM_EXPORT ZORQelIMemWrapper : public ZORQelIWrapper {
 public:
  static constexpr const char* __CLASSNAME__ = "ZORQelIMemWrapper";

  // A provider named name, with the capabilities above.
  explicit ZORQelIMemWrapper(ZORQelI::string name = "Memory");
  ~ZORQelIMemWrapper() override;

  // The process-wide provider, made on first use and never destroyed.
  static ZORQelIMemWrapper& Default();

  // A new, empty schema named f with an empty population.  An empty name
  // raises ZORQelI::Exception.
  ZORQelIModeler NewModeler(ZORQelI::string f) override;
  ZORQelI::string WrapperName() const override;
  // Whether e was made through this wrapper (null: Ifalse).
  ZORQelI::boolean Owns(const ZORQelIWrapperObjectIMP* e) const override;

  // A new interface named name with no function, method or modeler.  An
  // empty name raises ZORQelI::Exception.
  ZORQelIInterface NewInterface(ZORQelI::string name);

  // Reads every schema of the file (EXPRESS or the library's own text; see
  // ZORQelIMemModelerIMP.h) into new schemas, references among them
  // resolved, and appends them to schemas in file order.  Errors and
  // warnings are appended to diagnostics.  Ifalse on an error, and then
  // nothing is appended to schemas.
  ZORQelI::boolean LoadSchemas(ZORQelI::string file, std::vector<ZORQelIModeler>& schemas,
                               std::vector<ZORQelIMemDiagnostic>& diagnostics);
  // The same for a text in memory; fileName names it in diagnostics.
  ZORQelI::boolean LoadSchemasText(const std::string& text, ZORQelI::string fileName,
                                   std::vector<ZORQelIModeler>& schemas,
                                   std::vector<ZORQelIMemDiagnostic>& diagnostics);

 private:
  ZORQelI::string name_;
};

#endif
