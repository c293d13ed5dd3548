// ZORQelIMemInterfaceIMP: an interface of the in-memory provider.
#ifndef ZORQelIMemInterfaceIMP_h
#define ZORQelIMemInterfaceIMP_h

#include <vector>

#include "QL0KRN.h"
#include "ZORQelIErrorClass.h"
#include "ZORQelIInterfaceIMP.h"
#include "ZORQelIMemExport.h"
#include "ZORQelIMemObjectMembers.h"

class ZORQelIMemMethodIMP;
class ZORQelIMemWrapper;

// Functions and methods over a set of schemas, made by
// ZORQelIMemWrapper::NewInterface.
//
// Decisions of this provider:
//  - Positions count from 0 in the order of making: functions apart from
//    methods, and GetMethod(cl, pos) among the methods of cl; bad positions
//    raise ZORQelI::BoundError.
//  - Names are exact and case-sensitive.  SearchFunction(f, r) finds a
//    function named f whose result type IsA r (an empty r: a function
//    without result); SearchMethod(cl, mtd, r) likewise among the methods of
//    cl and of its super entities, nearest first.  The one-argument searches
//    take the first of that name.  Each search looks in this interface, then
//    in the interfaces it uses, depth first, each once.  Not found: an empty
//    handle.
//  - MakeFunction refuses an empty name and a function of the same name and
//    an IsA result (ZORQelI::Exception); MakeMethod likewise per entity,
//    requires an entity of this wrapper and adds its schema to the
//    interface's schemas.
//  - GetNumberOfEntity counts the entities having at least one method here.
//  - RemoveMethod removes a function or method of this interface (Itrue), or
//    answers Ifalse.
//  - AddModeler takes a schema of the dictionary wrapper (this interface's
//    own wrapper unless SetDictionaryWrapper named another; else
//    ZORQelI::InvalidType), once; RemoveModeler of an absent one changes
//    nothing.  SetDictionaryWrapper keeps the wrapper by address: REQUIRES it
//    to outlive the interface.
//  - Use(i) records that this interface uses i (Itrue), unless i is this
//    interface or already used (Ifalse).
//  - Load and Parse read nothing: they answer Ifalse and record one error.
//    Save writes the interface's text (Text) to the file, Itrue on success.
//    Check(params) is Itrue when params is the population of one of the
//    interface's schemas.  Eval raises ZORQelI::NotYetImplemented: nothing
//    here can be evaluated.
//  - Text lists the interface, its schemas, functions and methods.
//  - Clone shares the functions, methods, schemas and used interfaces.
//
// Collector: the functions, methods, schemas and used interfaces are raw
// pointers scanned by the member check.
class QL0KRNMEM_EXPORT ZORQelIMemInterfaceIMP : public ZORQelIInterfaceIMP {
  ZORQELI_DECLARE_IMP(ZORQelIMemInterfaceIMP, ZORQelIInterfaceIMP)
 public:
  ZORQelIMemInterfaceIMP(ZORQelIMemWrapper& wrapper, ZORQelI::string name);
  ZORQelIMemInterfaceIMP(const ZORQelIMemInterfaceIMP& o);
  ZORQELIMEM_OBJECT_MEMBERS(ZORQelIMemInterfaceIMP);
  ZORQELIMEM_WRAPPER_OBJECT_MEMBERS;

  // --- ZORQelIParsableIMP -------------------------------------------------------------
  ZORQelI::boolean Load(ZORQelI::string fileName) override;
  ZORQelI::boolean Save(ZORQelI::string fileName) const override;
  ZORQelI::boolean Parse(ZORQelI::string fileName) override;
  int NumberOfErrors() const override;
  ZORQelIErrorClass GetError(int pos) const override;
  ZORQelI::boolean Check(ZORQelIInstances params) override;
  ZORQelIInstance Eval(ZORQelIInstances param) override;

  // --- ZORQelIInterfaceIMP ------------------------------------------------------------
  void SetDictionaryWrapper(ZORQelIWrapper& wp) override;
  int GetNumberOfFunctions() const override;
  int GetNumberOfMethods() const override;
  int GetNumberOfEntity() const override;
  ZORQelIFunction SearchFunction(ZORQelI::string f, ZORQelIType r) const override;
  ZORQelIFunction SearchFunction(ZORQelI::string f) const override;
  ZORQelIFunction GetFunction(int pos) const override;
  ZORQelIMethod SearchMethod(ZORQelIEntity cl, ZORQelI::string mtd, ZORQelIType r) const override;
  ZORQelIMethod SearchMethod(ZORQelI::string mtd) const override;
  ZORQelIMethod GetMethod(ZORQelIEntity cl, int pos) const override;
  ZORQelIMethod GetMethod(int pos) const override;
  int GetNumberOfMethods(ZORQelIEntity cl) const override;
  ZORQelIFunction MakeFunction(ZORQelI::string f, ZORQelIType r) override;
  ZORQelIMethod MakeMethod(ZORQelIEntity cl, ZORQelI::string mtd, ZORQelIType r) override;
  ZORQelI::boolean RemoveMethod(ZORQelIMethod mtd) override;
  void AddModeler(ZORQelIModeler mdl) override;
  void RemoveModeler(ZORQelIModeler mdl) override;
  int NumberOfModelers() const override;
  ZORQelIModeler GetModeler(ZORQelI::integer pos) const override;
  ZORQelI::boolean Use(ZORQelIInterface MyInterface) override;

 private:
  // The search of the two-argument searches, through the used interfaces;
  // `seen` guards against interfaces that use each other.
  ZORQelIMemMethodIMP* Find(const ZORQelIObjectIMP* entity, const ZORQelI::string& name,
                            const ZORQelIType* result, bool methods,
                            std::vector<const ZORQelIMemInterfaceIMP*>& seen) const;
  void Record(const char* message);

  // Not owned: REQUIRES both wrappers to outlive the interface.
  ZORQelIMemWrapper* wrapper_;
  ZORQelIWrapper* dictionary_;
  // Kept alive by the member check.
  std::vector<ZORQelIMemMethodIMP*> functions_;
  std::vector<ZORQelIMemMethodIMP*> methods_;
  std::vector<ZORQelIModelerIMP*> modelers_;
  std::vector<ZORQelIInterfaceIMP*> used_;
  std::vector<ZORQelIErrorClass> errors_;
  ZORQelI::string name_;
};

#endif
