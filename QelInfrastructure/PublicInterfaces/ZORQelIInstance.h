// ZORQelIInstance: handle of an instance or value.
#ifndef ZORQelIInstance_h
#define ZORQelIInstance_h

#include "ZORQelI.h"
#include "ZORQelIWrapperObject.h"

class ZORQelIAttr;
class ZORQelIInstanceIMP;
class ZORQelIType;
class ZORQelIWalker;

// Handle of an instance.  The writers return a new handle on the same
// object so that writes can be chained.  DownCast is lenient; CastAnyway
// gives an empty handle on another class.
class QL0KRN_EXPORT ZORQelIInstance : public ZORQelIWrapperObject {
  ZORQELI_DECLARE_HANDLE(ZORQelIInstance, ZORQelIInstanceIMP)
  ZORQELI_DECLARE_CAST_ANYWAY(ZORQelIInstance)
 public:
  // The forwarding operations, one row each in ZORQelIInstance.def.
#define ZORQELI_FORWARD ZORQELI_DECLARE_FORWARDER
#include "ZORQelIInstance.def"
  // The same as GetInt.
  ZORQelI::integer GetInteger() const;

  // --- Writers: each returns a handle on this same object ---------------------
  // (PutInt, PutReal, PutBoolean, PutString, PutObject and PutInstance are
  // rows of ZORQelIInstance.def.)
  // The same as PutInt.
  ZORQelIInstance PutInteger(ZORQelI::integer v);
  // GetAttr(key).PutObject(inst); returns this instance (the owner of the
  // attribute), not the attribute's value.  An empty GetAttr(key) raises
  // ZORQelI::NullPtrAccess.
  ZORQelIInstance PutAttr(ZORQelIAttr key, ZORQelIInstance inst);

  // Insert(inst, Itrue), returning its result.
  ZORQelI::boolean Append(ZORQelIInstance inst);
  // Insert(inst, Ifalse); its result is dropped.
  void Prepend(ZORQelIInstance inst);
};

#include "ZORQelIAttr.h"
#include "ZORQelIInstanceIMP.h"
#include "ZORQelIType.h"
#include "ZORQelIWalker.h"

#endif
