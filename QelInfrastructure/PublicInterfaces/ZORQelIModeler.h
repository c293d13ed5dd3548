// ZORQelIModeler: handle of a modeler (schema).
#ifndef ZORQelIModeler_h
#define ZORQelIModeler_h

#include "ZORQelI.h"
#include "ZORQelIWrapperObject.h"

class ZORQelIEntity;
class ZORQelIInstance;
class ZORQelIInstances;
class ZORQelIModelerIMP;
class ZORQelIType;
class ZORQelIView;

// Handle of a schema.  Besides forwarding, it builds the common types and
// instances from the general operations.  DownCast is lenient; modelers have
// no CastAnyway.
class QL0KRN_EXPORT ZORQelIModeler : public ZORQelIWrapperObject {
  ZORQELI_DECLARE_HANDLE(ZORQelIModeler, ZORQelIModelerIMP)
 public:
  ZORQelIType Parent() const;
  ZORQelIType Scope(ZORQelI::string s) const;
  ZORQelI::boolean Load(ZORQelI::string f);
  ZORQelI::boolean Save(ZORQelI::string f);
  ZORQelIType MakeType(ZORQelI::Types t) const;
  ZORQelIType MakeField(ZORQelI::Types t, ZORQelI::Mint width, ZORQelI::boolean fixed_width) const;
  ZORQelIType MakeList(ZORQelIType t, ZORQelI::Mint low, ZORQelI::Mint upper,
                       ZORQelI::boolean unique) const;
  ZORQelIType MakeBag(ZORQelIType t, ZORQelI::Mint low, ZORQelI::Mint upper) const;
  ZORQelIType MakeSet(ZORQelIType t, ZORQelI::Mint low, ZORQelI::Mint upper) const;
  ZORQelIType MakeArray(ZORQelIType t, ZORQelI::Mint low, ZORQelI::Mint upper,
                        ZORQelI::boolean opt, ZORQelI::boolean unique) const;
  ZORQelIEntity MakeEntity(ZORQelI::string name);
  ZORQelIEntity LookEntity(ZORQelI::string S) const;
  ZORQelIEntity GetEntity(int i) const;
  int GetNumberOfEntities() const;
  ZORQelIInstances GetInstances() const;
  void AddView(ZORQelIView v);
  void RemoveView(ZORQelIView v);

  // --- Conveniences -------------------------------------------------------------
  ZORQelIType MakeInteger() const;   // MakeType(ZORQelI::Iinteger)
  ZORQelIType MakeReal() const;      // MakeType(ZORQelI::Ireal)
  // MakeType(ZORQelI::Istring): a string of no declared width, not a field
  // made by MakeField.
  ZORQelIType MakeString() const;
  ZORQelIType MakeBoolean() const;   // MakeType(ZORQelI::Iboolean)
  ZORQelIType MakeString(ZORQelI::Mint width, ZORQelI::boolean fixed_width) const;
  ZORQelIType MakeBinary(ZORQelI::Mint width, ZORQelI::boolean fixed_width) const;
  // Each takes the population afresh from GetInstances().
  ZORQelIInstance InstanciateString() const;
  ZORQelIInstance InstanciateBoolean() const;
  ZORQelIInstance InstanciateReal() const;
  ZORQelIInstance InstanciateInteger() const;
  ZORQelIInstance Instanciate(ZORQelI::string t) const;
  ZORQelIInstance Instanciate(ZORQelIType t) const;
};

#include "ZORQelIEntity.h"
#include "ZORQelIInstance.h"
#include "ZORQelIInstances.h"
#include "ZORQelIModelerIMP.h"
#include "ZORQelIType.h"
#include "ZORQelIView.h"

#endif
