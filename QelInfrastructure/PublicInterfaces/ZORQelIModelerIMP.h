// ZORQelIModelerIMP: the abstract implementation of modelers (schemas).
#ifndef ZORQelIModelerIMP_h
#define ZORQelIModelerIMP_h

#include "ZORQelI.h"
#include "ZORQelIWrapperObjectIMP.h"

class ZORQelIEntity;
class ZORQelIInstances;
class ZORQelIType;
class ZORQelIView;

// A schema: it makes and owns its types and entities, lists its entities
// (positions 0 .. GetNumberOfEntities() - 1, the order of the schema text),
// owns its population and tells registered views about what changes.
//
// What the library relies on: a made type reports the arguments it was made
// from through the type operations, and its GetModeler() is this modeler.
// The library checks none of the make arguments.
//
// Save is implemented: it writes the schema's EXPRESS text to a file.
class QL0KRN_EXPORT ZORQelIModelerIMP : public ZORQelIWrapperObjectIMP {
  ZORQELI_DECLARE_ABSTRACT_IMP(ZORQelIModelerIMP, ZORQelIWrapperObjectIMP)
 public:
  // --- Virtual operations, after those of ZORQelIWrapperObjectIMP -------------
  virtual ZORQelIType Parent() const = 0;
  virtual ZORQelIType Scope(ZORQelI::string s) const = 0;
  // Reads the schema from the file f; Itrue on success.
  virtual ZORQelI::boolean Load(ZORQelI::string f) = 0;
  // Writes the schema text (ZORQelIExpressForm) to the file fileName,
  // replacing its content.  The file is opened before the text is made, so
  // it is left created and empty when making the text raises (the exception
  // passes through).  Itrue when the stream is in a good state after the
  // write; a file that cannot be opened or written gives Ifalse.
  virtual ZORQelI::boolean Save(ZORQelI::string fileName);
  virtual ZORQelIType MakeType(ZORQelI::Types t) const = 0;
  virtual ZORQelIType MakeField(ZORQelI::Types t, ZORQelI::Mint width,
                                ZORQelI::boolean fixed_width) const = 0;
  virtual ZORQelIType MakeList(ZORQelIType t, ZORQelI::Mint low, ZORQelI::Mint upper,
                               ZORQelI::boolean unique) const = 0;
  virtual ZORQelIType MakeBag(ZORQelIType t, ZORQelI::Mint low, ZORQelI::Mint upper) const = 0;
  virtual ZORQelIType MakeSet(ZORQelIType t, ZORQelI::Mint low, ZORQelI::Mint upper) const = 0;
  virtual ZORQelIType MakeArray(ZORQelIType t, ZORQelI::Mint low, ZORQelI::Mint upper,
                                ZORQelI::boolean opt, ZORQelI::boolean unique) const = 0;
  virtual ZORQelIEntity MakeEntity(ZORQelI::string name) = 0;
  virtual ZORQelIEntity LookEntity(ZORQelI::string S) const = 0;
  virtual ZORQelIEntity GetEntity(int i) const = 0;
  virtual int GetNumberOfEntities() const = 0;
  // The population of the schema.
  virtual ZORQelIInstances GetInstances() const = 0;
  virtual void AddView(ZORQelIView v) = 0;
  virtual void RemoveView(ZORQelIView v) = 0;
};

#include "ZORQelIEntity.h"
#include "ZORQelIInstances.h"
#include "ZORQelIModeler.h"
#include "ZORQelIType.h"
#include "ZORQelIView.h"

#endif
