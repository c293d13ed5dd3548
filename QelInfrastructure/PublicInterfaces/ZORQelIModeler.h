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
//
// Contract: that of every handle (ZORQelIObject.h) and of the dictionary
// implementations (ZORQelIWrapperObjectIMP.h).  Load and Save report failure
// as Ifalse (see ZORQelIModelerIMP.h); the conveniences raise what the
// operations they are made of raise.
class QL0KRN_EXPORT ZORQelIModeler : public ZORQelIWrapperObject {
  ZORQELI_DECLARE_HANDLE(ZORQelIModeler, ZORQelIModelerIMP)
 public:
  // The forwarding operations, one row each in ZORQelIModeler.def.
#define ZORQELI_FORWARD ZORQELI_DECLARE_FORWARDER
#include "ZORQelIModeler.def"

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
