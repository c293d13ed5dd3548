// ZORQelIWrapperObject: the handle base of every dictionary and behaviour
// object.
#ifndef ZORQelIWrapperObject_h
#define ZORQelIWrapperObject_h

#include "ZORQelI.h"
#include "ZORQelIObject.h"

class ZORQelIWrapper;
class ZORQelIWrapperObjectIMP;

// The source side of the dictionary and behaviour families (declared with
// ZORQELI_DECLARE_HANDLE): constructors (the default one gives an empty
// handle), IMP(), and the down-cast in the form the family has.  CastAnyway,
// where a family has it, is ZORQELI_DEFINE_CAST_ANYWAY.
#define ZORQELI_DEFINE_LENIENT_DICTIONARY_HANDLE(This, Base, Imp)                \
  ZORQELI_DEFINE_HANDLE(This, Base, Imp)                                         \
  ZORQELI_DEFINE_EMPTY_CONSTRUCTOR(This, Base)                                   \
  ZORQELI_DEFINE_LENIENT_DOWNCAST(This, Imp)

#define ZORQELI_DEFINE_STRICT_DICTIONARY_HANDLE(This, Base, Imp)                 \
  ZORQELI_DEFINE_HANDLE(This, Base, Imp)                                         \
  ZORQELI_DEFINE_EMPTY_CONSTRUCTOR(This, Base)                                   \
  ZORQELI_DEFINE_STRICT_DOWNCAST(This, Imp)

// Handle of a dictionary object: its wrapper, its name, renaming.
// DownCast is lenient (an empty handle gives an empty handle).
//
// Contract: that of every handle (ZORQelIObject.h: an empty handle raises
// ZORQelI::NullPtrAccess) and of the dictionary implementations
// (ZORQelIWrapperObjectIMP.h: the provider documents what its classes
// raise).  Wrapper() returns the provider's wrapper by reference: it lives as
// long as the provider keeps it, which is at least as long as any of its
// objects is reached.
class QL0KRN_EXPORT ZORQelIWrapperObject : public ZORQelIObject {
  ZORQELI_DECLARE_HANDLE(ZORQelIWrapperObject, ZORQelIWrapperObjectIMP)
  ZORQELI_DECLARE_CAST_ANYWAY(ZORQelIWrapperObject)
 public:
  // The forwarding operations, one row each in ZORQelIWrapperObject.def.
#define ZORQELI_FORWARD ZORQELI_DECLARE_FORWARDER
#include "ZORQelIWrapperObject.def"
};

#include "ZORQelIWrapperObjectIMP.h"

#endif
