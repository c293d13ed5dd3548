// ZORQelIMemModelerIMP: a schema of the in-memory provider.
#ifndef ZORQelIMemModelerIMP_h
#define ZORQelIMemModelerIMP_h

#include <string>
#include <unordered_map>
#include <vector>

#include "QL0KRN.h"
#include "ZORQelIModelerIMP.h"
#include "ZORQelIObserverIMP.h"
#include "ZORQelIMemDeclaration.h"
#include "ZORQelIMemDiagnostic.h"
#include "ZORQelIMemExport.h"
#include "ZORQelIMemObjectMembers.h"

class ZORQelIMemEntityIMP;
class ZORQelIMemInstancesIMP;
class ZORQelIMemTypeIMP;
class ZORQelIMemWrapper;

// A named schema: its entities in the order they were made, one population,
// and the views it tells about changes.
//
// Decisions of this provider:
//  - Entity names ignore case, as EXPRESS names do: they are unique within
//    a schema regardless of case and never empty; MakeEntity and Rename of
//    an entity refuse a name already taken (ZORQelI::Exception).  LookEntity
//    finds an entity whatever the case of the name asked for (ASCII letters
//    only are folded); an absent name gives an empty handle.
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
//  - Load(f) reads a schema file, told apart by its content (see "Reading
//    schemas" below); Save, the library's default, writes the schema text,
//    which Load reads back.
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
// Reading schemas.  Load(f) (and LoadText) reads one of two formats:
//  - the library's own schema text (what Save and ToString write), when the
//    text starts with the line "Schema NAME;" and ends with the line
//    "End_Schema (*NAME*);";
//  - ISO 10303-11 EXPRESS otherwise: every construct of edition 2 (SCHEMA,
//    USE FROM, REFERENCE FROM, CONSTANT, TYPE, ENTITY, FUNCTION, PROCEDURE,
//    RULE, SUBTYPE_CONSTRAINT, remarks), the statements and expressions
//    included, is checked against the grammar.
// A file may hold several schemas: Load takes the first one, in file order,
// that no other schema of the file interfaces (USE or REFERENCE); when each
// is interfaced by another (a cycle), the first of the file.  The others
// are loaded into schemas of their own, which the loaded one refers to.
// ZORQelIMemWrapper::LoadSchemas loads all of a file's schemas.
// On success the schema takes the name written in the file and appends the
// file's declarations to its own (a name it already holds is a duplicate).
// On failure (Ifalse) nothing changed but the recorded diagnostics.
//
// The mapping of EXPRESS onto the dictionary:
//   SCHEMA s           a schema named s as written; entities listed in
//                      declaration order, TYPE declarations by Types()
//   ENTITY e           an entity; its explicit attributes in declared order,
//                      OPTIONAL making the attribute optional
//   SUBTYPE OF (a, b)  Super() is a; Supers() lists a, b (ExchangeOrder()
//                      gives the ISO 10303-21 attribute order; instances
//                      hold all of those attributes)
//   ABSTRACT, SUPERTYPE OF (...), DERIVE, INVERSE, UNIQUE, WHERE,
//   SELF\a.x redeclarations
//                      kept with the entity (ExpressInfo()), checked and with
//                      their source text
//   BOOLEAN, LOGICAL, INTEGER          the kinds Boolean, Logical, Integer
//   REAL, REAL(p), NUMBER              Real (precision and NUMBER recorded)
//   STRING(n) FIXED, BINARY(n) FIXED   fields of width n, fixed
//   ARRAY/LIST/SET/BAG [l:h] OF        aggregates with those bounds (?:
//                                      UNSET), OPTIONAL and UNIQUE
//                                      elements, nested aggregates; a bound
//                                      written as an expression is UNSET
//                                      and kept as text
//   TYPE t = x         a type of x's kind whose Name() is t (a copy of the
//                      named type x when x is a TYPE)
//   ENUMERATION        kind String named t; its items by ExpressInfo()
//   SELECT             kind Void named t (holds any instance); its members
//                      (entities or types) by ExpressInfo()
//   FUNCTION, PROCEDURE, RULE, SUBTYPE_CONSTRAINT, CONSTANT, USE, REFERENCE
//                      checked and kept as text (Declarations())
// An item interfaced from a schema that the file does not hold becomes an
// entity without attributes, named as the item, listed by a schema named as
// the missing one, with a warning naming that schema.  A name neither
// declared nor interfaced is an error, as are a duplicate name, a cyclic
// inheritance or type definition, and a supertype that is not an entity.
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
  // Text: the schema block of the EXPRESS form.  Rename: an empty name
  // raises ZORQelI::Exception.
  ZORQELIMEM_OBJECT_MEMBERS(ZORQelIMemModelerIMP);
  ZORQELIMEM_WRAPPER_OBJECT_MEMBERS;

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

  // --- Schemas read from files ----------------------------------------------------
  // Load of a text already in memory; fileName names it in diagnostics.
  ZORQelI::boolean LoadText(const std::string& text, const ZORQelI::string& fileName);
  // The errors and warnings of the last Load or LoadText (warnings only
  // after a success).
  const std::vector<ZORQelIMemDiagnostic>& Diagnostics() const { return diagnostics_; }
  void SetDiagnostics(std::vector<ZORQelIMemDiagnostic> d) { diagnostics_ = std::move(d); }
  // The TYPE declarations read, in order.
  const std::vector<ZORQelIMemTypeIMP*>& Types() const { return types_; }
  // The TYPE declaration named name (case ignored), or null.
  ZORQelIMemTypeIMP* FindType(const ZORQelI::string& name) const;
  // Every declaration read from EXPRESS, in source order.
  const std::vector<ZORQelIMemDeclaration>& Declarations() const { return declarations_; }
  // The version string of the SCHEMA header, empty when none.
  const ZORQelI::string& Version() const { return version_; }
  // The schema as ISO 10303-11 text: a schema read from EXPRESS writes its
  // declarations in their order, entities and types from the dictionary and
  // the kept clauses and declarations verbatim; a schema built by code
  // writes an ENTITY per entity and a TYPE per named type its attributes
  // use.
  ZORQelI::string ExpressText() const;
  // Used by the schema reader once a whole file has been read without
  // error: appends what it made.  REQUIRES: the names are not taken.
  void AddRead(const std::vector<ZORQelIMemEntityIMP*>& entities,
               const std::vector<ZORQelIMemTypeIMP*>& types,
               const std::vector<ZORQelIMemDeclaration>& declarations,
               const ZORQelI::string& version);
  // The name under which this schema knows t when an interface renamed it
  // (USE FROM s (x AS y) gives y for x); else t's own name.
  ZORQelI::string LocalName(const ZORQelITypeIMP* t) const;
  void AddAlias(const ZORQelITypeIMP* t, const ZORQelI::string& name) { aliases_[t] = name; }
  // Keeps the entity index right when an entity is renamed.
  void EntityRenamed(ZORQelIMemEntityIMP* e, const ZORQelI::string& oldName);
  // The key names are compared under: ASCII letters folded to lower case.
  static std::string NameKey(const char* name);

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
  // Entities and declared types by NameKey; the same objects as entities_
  // and types_.
  std::unordered_map<std::string, ZORQelIMemEntityIMP*> entityIndex_;
  std::unordered_map<std::string, ZORQelIMemTypeIMP*> typeIndex_;
  // Kept alive by the member check.
  std::vector<ZORQelIMemTypeIMP*> types_;
  std::vector<ZORQelIMemDeclaration> declarations_;
  std::vector<ZORQelIMemDiagnostic> diagnostics_;
  ZORQelI::string version_;
  // Interfaced objects renamed here, kept alive by the member check.
  std::unordered_map<const ZORQelITypeIMP*, ZORQelI::string> aliases_;
};

#endif
