// ZORQelIIdentifier: the handle of a named object with value equality.
#ifndef ZORQelIIdentifier_h
#define ZORQelIIdentifier_h

#include "ZORQelI.h"
#include "ZORQelIIdentifierIMP.h"
#include "ZORQelIObject.h"

// Identifiers are Equal when their names are, so they can be kept in the
// hashed containers and looked up by name.
//
// Unlike the other handles, copying an identifier handle copies the
// identifier (Clone): renaming the copy leaves the original unchanged.
// Passing an identifier where a ZORQelIObject is expected shares it as usual.
// Default construction makes a new identifier with the empty name.
//
// Contract: that of every handle (ZORQelIObject.h); the identifier's own
// operations raise nothing else, and Name() returns a copy of the name.
class QL0KRN_EXPORT ZORQelIIdentifier : public ZORQelIObject {
  ZORQELI_DECLARE_HANDLE(ZORQelIIdentifier, ZORQelIIdentifierIMP)
 public:
  // A new identifier holding name.
  explicit ZORQelIIdentifier(ZORQelI::string name);

  // The forwarding operations, one row each in ZORQelIIdentifier.def.
#define ZORQELI_FORWARD ZORQELI_DECLARE_FORWARDER
#include "ZORQelIIdentifier.def"
};

#endif
