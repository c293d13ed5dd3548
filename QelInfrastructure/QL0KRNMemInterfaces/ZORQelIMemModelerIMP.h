// ZORQelIMemModelerIMP: a schema of the in-memory provider.
#ifndef ZORQelIMemModelerIMP_h
#define ZORQelIMemModelerIMP_h

#include <vector>

#include "QL0KRN.h"
#include "ZORQelIModelerIMP.h"
#include "ZORQelIObserverIMP.h"
#include "ZORQelIMemExport.h"

class ZORQelIMemEntityIMP;
class ZORQelIMemInstancesIMP;
class ZORQelIMemWrapper;

// A named schema: its entities in the order they were made, one population,
// and the views it tells about changes.
//
// Decisions of this provider:
//  - Names are exact and case-sensitive.  Entity names are unique within a
//    schema and never empty; MakeEntity and Rename of an entity refuse a
//    name already taken (ZORQelI::Exception).  LookEntity of an absent name
//    gives an empty handle.
//  - Every Make* call makes a new type object, so changing one type never
//    changes another.  MakeType accepts the kinds Void, Boolean, Logical,
//    Integer, Real, String and Binary; aggregates come from MakeList,
//    MakeBag, MakeSet, MakeArray and entities from MakeEntity, and any other
//    kind raises ZORQelI::InvalidType.  MakeField accepts String and Binary
//    only.  An element type must be given (empty: ZORQelI::NullPtrAccess)
//    and belong to this provider (else ZORQelI::InvalidType).  Widths and
//    the count bounds of lists, sets and bags are UNSET or not negative
//    (else ZORQelI::BoundError); array bounds are any integers.
//  - Made types are not listed by the schema: they live while something
//    refers to them.  Entities are listed, so they live as long as the schema.
//  - Parent() is an empty handle: schemas are not nested.  Scope(s) is the
//    entity named s, else a new primitive type when s is a kind name
//    ("Boolean", "Logical", "Integer", "Real", "String", "Binary", "Void"),
//    else an empty handle.
//  - Load reads nothing and answers Ifalse: this provider has no schema
//    reader (Save, the library's default, writes the schema text).
//  - Views (AddView, RemoveView) are told, through an observer made on the
//    first AddView:
//      NotifyCreated  an entity made by MakeEntity; an entity instance made
//                     by the population;
//      NotifyUpdate   an entity whose attributes, super entity or name
//                     changed; an entity instance one of whose attribute
//                     values changed (aggregates held by its attributes
//                     included) or that was unset; the population when
//                     instances were put, appended or removed;
//      NotifyDeleted  an entity instance deleted (ZORQelIInstance::Delete).
//    Values that are not held by an entity instance change silently.
//  - Clone is shallow: the copy lists the same entities and shares the
//    population.
//
// Collector: the entities, the population and the observer are raw pointers
// scanned by GarbageCollectorMemberCheck; everything reachable from a held
// schema stays alive, and once every handle to a schema and to its objects
// is dropped, collections reclaim all of it.  (The provider's objects have no
// handle members, so one cycle does it, except for the observer's list of
// views, a library handle member that needs a first scan.)
class QL0KRNMEM_EXPORT ZORQelIMemModelerIMP : public ZORQelIModelerIMP {
  ZORQELI_DECLARE_IMP(ZORQelIMemModelerIMP, ZORQelIModelerIMP)
 public:
  // What a notification tells; see Notify.
  enum Event { Created, Updated, Deleted };

  ZORQelIMemModelerIMP(ZORQelIMemWrapper& wrapper, ZORQelI::string name);
  ZORQelIMemModelerIMP(const ZORQelIMemModelerIMP& o);
  ~ZORQelIMemModelerIMP() override;

  // --- ZORQelIObjectIMP -------------------------------------------------------
  ZORQelIObjectIMP* Clone() const override;
  // The schema block of the EXPRESS form.
  void Text(ZORQelIPrint& ot) const override;
  void GarbageCollectorMemberCheck() override;

  // --- ZORQelIWrapperObjectIMP ------------------------------------------------
  ZORQelIWrapper& Wrapper() const override;
  ZORQelI::string Name() const override;
  // An empty name raises ZORQelI::Exception.
  void Rename(ZORQelI::string x) override;

  // --- ZORQelIModelerIMP --------------------------------------------------------
  ZORQelIType Parent() const override;
  ZORQelIType Scope(ZORQelI::string s) const override;
  ZORQelI::boolean Load(ZORQelI::string f) override;
  ZORQelIType MakeType(ZORQelI::Types t) const override;
  ZORQelIType MakeField(ZORQelI::Types t, ZORQelI::Mint width,
                        ZORQelI::boolean fixed_width) const override;
  ZORQelIType MakeList(ZORQelIType t, ZORQelI::Mint low, ZORQelI::Mint upper,
                       ZORQelI::boolean unique) const override;
  ZORQelIType MakeBag(ZORQelIType t, ZORQelI::Mint low, ZORQelI::Mint upper) const override;
  ZORQelIType MakeSet(ZORQelIType t, ZORQelI::Mint low, ZORQelI::Mint upper) const override;
  ZORQelIType MakeArray(ZORQelIType t, ZORQelI::Mint low, ZORQelI::Mint upper,
                        ZORQelI::boolean opt, ZORQelI::boolean unique) const override;
  ZORQelIEntity MakeEntity(ZORQelI::string name) override;
  ZORQelIEntity LookEntity(ZORQelI::string S) const override;
  // Positions 0 .. GetNumberOfEntities() - 1; others raise
  // ZORQelI::BoundError.
  ZORQelIEntity GetEntity(int i) const override;
  int GetNumberOfEntities() const override;
  ZORQelIInstances GetInstances() const override;
  // An empty view is ignored; a view already registered is not added again.
  void AddView(ZORQelIView v) override;
  // An absent view changes nothing; an empty one raises
  // ZORQelI::NullPtrAccess.
  void RemoveView(ZORQelIView v) override;

  // --- Provider side --------------------------------------------------------------
  ZORQelIMemWrapper& MemWrapper() const { return *wrapper_; }
  ZORQelIMemInstancesIMP* Population() const { return population_; }
  // The entity named name, or null.
  ZORQelIMemEntityIMP* FindEntity(const ZORQelI::string& name) const;
  const std::vector<ZORQelIMemEntityIMP*>& Entities() const { return entities_; }
  // Tells the registered views about o; nothing when no view was ever added.
  void Notify(Event what, ZORQelIObjectIMP* o) const;

 private:
  // A new type of this schema (the checks of the Make* operations done).
  ZORQelIType NewType(ZORQelI::Types kind, ZORQelITypeIMP* element, ZORQelI::Mint width,
                      ZORQelI::boolean fixed, ZORQelI::Mint low, ZORQelI::Mint upper,
                      ZORQelI::boolean unique, ZORQelI::boolean optional) const;
  // The implementation of an element type given to a Make* operation.
  ZORQelITypeIMP* ElementType(ZORQelIType& t) const;

  // Not owned: REQUIRES the wrapper to outlive the schema.
  ZORQelIMemWrapper* wrapper_;
  ZORQelI::string name_;
  // Kept alive by the member check.
  std::vector<ZORQelIMemEntityIMP*> entities_;
  ZORQelIMemInstancesIMP* population_;
  // Null until the first AddView; kept alive by the member check.
  ZORQelIObserverIMP* observer_ = nullptr;
};

#endif
