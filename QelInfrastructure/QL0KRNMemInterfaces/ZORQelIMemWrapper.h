// ZORQelIMemWrapper: the in-memory reference provider.
#ifndef ZORQelIMemWrapper_h
#define ZORQelIMemWrapper_h

#include "QL0KRN.h"
#include "ZORQelIInterface.h"
#include "ZORQelIModeler.h"
#include "ZORQelIWrapper.h"
#include "ZORQelIMemExport.h"

// A provider whose schemas, populations, interfaces and values live in
// memory only.  It states the capabilities it really has:
//   Instances            every schema owns a population of instances;
//   EditableDictionnary  schemas are built and changed through the handles.
// It claims neither persistence (Load reads nothing; Save writes the schema
// text but nothing reads it back) nor expressions (NewExpression gives an
// empty handle).
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

 private:
  ZORQelI::string name_;
};

#endif
