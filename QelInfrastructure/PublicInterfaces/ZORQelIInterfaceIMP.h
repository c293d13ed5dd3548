// ZORQelIInterfaceIMP: the abstract implementation of interfaces.
#ifndef ZORQelIInterfaceIMP_h
#define ZORQelIInterfaceIMP_h

#include "ZORQelI.h"
#include "ZORQelIParsableIMP.h"

class ZORQelIEntity;
class ZORQelIMethod;
class ZORQelIInterface;
class ZORQelIModeler;
class ZORQelIType;
class ZORQelIWrapper;
// Repeats the declaration of ZORQelIMethod.h, so that only base headers are
// included before the class.
typedef ZORQelIMethod ZORQelIFunction;

// A parsable unit that groups functions and methods over one or more
// modelers and can use other interfaces.  Everything is supplied by the
// concrete class; one that keeps handles (functions, methods, modelers, used
// interfaces) scans them in its GarbageCollectorMemberCheck.
//
// Contract: that of the dictionary implementations
// (ZORQelIWrapperObjectIMP.h): the library's part raises nothing; what a
// concrete class raises is its provider's to document.  SetDictionaryWrapper takes the wrapper by
// reference: the caller keeps it alive as long as the interface uses it.
class QL0KRN_EXPORT ZORQelIInterfaceIMP : public ZORQelIParsableIMP {
  ZORQELI_DECLARE_ABSTRACT_IMP(ZORQelIInterfaceIMP, ZORQelIParsableIMP)
 public:
  // --- Virtual operations, after those of ZORQelIParsableIMP ------------------
  virtual void SetDictionaryWrapper(ZORQelIWrapper& wp) = 0;
  virtual int GetNumberOfFunctions() const = 0;
  virtual int GetNumberOfMethods() const = 0;
  virtual int GetNumberOfEntity() const = 0;
  virtual ZORQelIFunction SearchFunction(ZORQelI::string f, ZORQelIType r) const = 0;
  virtual ZORQelIFunction SearchFunction(ZORQelI::string f) const = 0;
  virtual ZORQelIFunction GetFunction(int pos) const = 0;
  virtual ZORQelIMethod SearchMethod(ZORQelIEntity cl, ZORQelI::string mtd,
                                     ZORQelIType r) const = 0;
  virtual ZORQelIMethod SearchMethod(ZORQelI::string mtd) const = 0;
  virtual ZORQelIMethod GetMethod(ZORQelIEntity cl, int pos) const = 0;
  virtual ZORQelIMethod GetMethod(int pos) const = 0;
  virtual int GetNumberOfMethods(ZORQelIEntity cl) const = 0;
  virtual ZORQelIFunction MakeFunction(ZORQelI::string f, ZORQelIType r) = 0;
  virtual ZORQelIMethod MakeMethod(ZORQelIEntity cl, ZORQelI::string mtd, ZORQelIType r) = 0;
  virtual ZORQelI::boolean RemoveMethod(ZORQelIMethod mtd) = 0;
  virtual void AddModeler(ZORQelIModeler mdl) = 0;
  virtual void RemoveModeler(ZORQelIModeler mdl) = 0;
  virtual int NumberOfModelers() const = 0;
  virtual ZORQelIModeler GetModeler(ZORQelI::integer pos) const = 0;
  virtual ZORQelI::boolean Use(ZORQelIInterface MyInterface) = 0;
};

#include "ZORQelIEntity.h"
#include "ZORQelIInterface.h"
#include "ZORQelIMethod.h"
#include "ZORQelIModeler.h"
#include "ZORQelIType.h"
#include "ZORQelIWrapper.h"

#endif
