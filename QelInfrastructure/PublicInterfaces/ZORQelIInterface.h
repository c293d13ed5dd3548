// ZORQelIInterface: handle of an interface.
#ifndef ZORQelIInterface_h
#define ZORQelIInterface_h

#include "ZORQelI.h"
#include "ZORQelIParsable.h"

class ZORQelIEntity;
class ZORQelIMethod;
class ZORQelIInterfaceIMP;
class ZORQelIModeler;
class ZORQelIType;
class ZORQelIWrapper;
// Repeats the declaration of ZORQelIMethod.h, so that only base headers are
// included before the class.
typedef ZORQelIMethod ZORQelIFunction;

// Handle of an interface; the parsable operations are inherited.  DownCast
// is strict: an empty handle raises ZORQelI::NullPtrAccess; CastAnyway gives
// an empty handle on another class.
class QL0KRN_EXPORT ZORQelIInterface : public ZORQelIParsable {
  ZORQELI_DECLARE_HANDLE(ZORQelIInterface, ZORQelIInterfaceIMP)
  ZORQELI_DECLARE_CAST_ANYWAY(ZORQelIInterface)
 public:
  // The wrapper is passed on by reference, not copied.
  void SetDictionaryWrapper(ZORQelIWrapper& wp);
  int GetNumberOfFunctions() const;
  int GetNumberOfMethods() const;
  int GetNumberOfEntity() const;
  ZORQelIFunction SearchFunction(ZORQelI::string f, ZORQelIType r) const;
  ZORQelIFunction SearchFunction(ZORQelI::string f) const;
  ZORQelIFunction GetFunction(int pos) const;
  ZORQelIMethod SearchMethod(ZORQelIEntity cl, ZORQelI::string mtd, ZORQelIType r) const;
  ZORQelIMethod SearchMethod(ZORQelI::string mtd) const;
  ZORQelIMethod GetMethod(ZORQelIEntity cl, int pos) const;
  ZORQelIMethod GetMethod(int pos) const;
  int GetNumberOfMethods(ZORQelIEntity cl) const;
  ZORQelIFunction MakeFunction(ZORQelI::string f, ZORQelIType r);
  ZORQelIMethod MakeMethod(ZORQelIEntity cl, ZORQelI::string mtd, ZORQelIType r);
  ZORQelI::boolean RemoveMethod(ZORQelIMethod mtd);
  void AddModeler(ZORQelIModeler mdl);
  ZORQelIModeler GetModeler(ZORQelI::integer pos) const;
  void RemoveModeler(ZORQelIModeler mdl);
  int NumberOfModelers() const;
  ZORQelI::boolean Use(ZORQelIInterface MyInterface);
};

#include "ZORQelIEntity.h"
#include "ZORQelIInterfaceIMP.h"
#include "ZORQelIMethod.h"
#include "ZORQelIModeler.h"
#include "ZORQelIType.h"
#include "ZORQelIWrapper.h"

#endif
