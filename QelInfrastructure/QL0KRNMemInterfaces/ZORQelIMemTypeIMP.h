// ZORQelIMemTypeIMP: a primitive, field or aggregate type of the in-memory
// provider.
#ifndef ZORQelIMemTypeIMP_h
#define ZORQelIMemTypeIMP_h

#include <memory>
#include <vector>

#include "QL0KRN.h"
#include "ZORQelITypeIMP.h"
#include "ZORQelIMemClause.h"
#include "ZORQelIMemExport.h"
#include "ZORQelIMemObjectMembers.h"

class ZORQelIMemModelerIMP;

// Every type that is not an entity: its kind never changes; its other
// properties are set by the Make* operation that made it and may be changed
// by the setters.
//
// Decisions of this provider:
//  - Setters apply to the kinds that have the property: Fixed and Width to
//    string and binary fields; Unique, Optional and the bounds to
//    aggregates.  On another kind they raise ZORQelI::InvalidType.  A width,
//    or a bound of a list, set or bag (a count), is UNSET or not negative,
//    else ZORQelI::BoundError.  The two bounds are not checked against each
//    other (Range sets the lower bound first); an array is checked when an
//    instance of it is made.
//  - A field's width counts the characters of its values: a value longer
//    than the width, or, for a fixed field, of another length, is refused
//    (ZORQelI::BoundError).
//  - IsA compares structurally: the same kind and, for fields, width and
//    fixed flag; for aggregates, bounds, unique and optional flags and an
//    IsA element type.  IsA of an entity is identity (see
//    ZORQelIMemEntityIMP).  A null x is Ifalse.
//  - FullTypeName is the EXPRESS-like type text without blanks at its ends:
//    "Integer", "String(16) Fixed", "Array [1:8] of optional Real",
//    "Set of Drawing.Figure" (entities are qualified by their schema).
//  - TerminalType follows the element types down to the first type that is
//    not an aggregate with an element type; a primitive or field is its own.
//  - Name is the kind's display name unless the type was renamed (a named
//    defined type); an empty Rename goes back to the kind's name.
//  - Clone copies the properties; the copy shares the element type.
//
// Types read from EXPRESS (see ZORQelIMemModelerIMP for the whole mapping)
// also carry an Express record: how the type was declared, the items of an
// enumeration, the members of a select, bounds and widths written as
// expressions, and the WHERE rules of a TYPE declaration.
//
// Collector: the schema and the element type are raw pointers scanned by the
// member check, so a held type keeps its schema and its element type alive;
// so are the select members, the BASED_ON type and the underlying type of
// the Express record.
class QL0KRNMEM_EXPORT ZORQelIMemTypeIMP : public ZORQelITypeIMP {
  ZORQELI_DECLARE_IMP(ZORQelIMemTypeIMP, ZORQelITypeIMP)
 public:
  // REQUIRES: kind is one of 0, 2 .. 11; element, when given, is a type of
  // the same wrapper (the modeler checks both).
  ZORQelIMemTypeIMP(ZORQelIMemModelerIMP* modeler, ZORQelI::Types kind, ZORQelITypeIMP* element);
  ZORQelIMemTypeIMP(const ZORQelIMemTypeIMP& o);
  // Text: the type text of the EXPRESS form.
  ZORQELIMEM_OBJECT_MEMBERS(ZORQelIMemTypeIMP);
  ZORQELIMEM_WRAPPER_OBJECT_MEMBERS;

  // --- ZORQelITypeIMP -------------------------------------------------------------
  ZORQelI::boolean IsA(ZORQelITypeIMP* x) const override;
  ZORQelI::string FullTypeName() const override;
  ZORQelIModeler GetModeler() const override;
  ZORQelI::Types PrimitiveType() const override;
  ZORQelI::boolean IsFixed() const override;
  void Fixed(ZORQelI::boolean fixed) override;
  ZORQelI::Mint Width() const override;
  void Width(ZORQelI::Mint size) override;
  ZORQelITypeIMP* TerminalType() const override;
  ZORQelITypeIMP* SubType() const override;
  void Unique(ZORQelI::boolean v) override;
  void Optional(ZORQelI::boolean v) override;
  ZORQelI::boolean IsUnique() const override;
  ZORQelI::boolean IsOptional() const override;
  ZORQelI::Mint LowerBound() const override;
  ZORQelI::Mint UpperBound() const override;
  void LowerBound(ZORQelI::Mint v) override;
  void UpperBound(ZORQelI::Mint v) override;

  // --- Read from EXPRESS ------------------------------------------------------------
  // How a type was declared.  Plain: made by code, or written inside another
  // declaration (an attribute's LIST OF ..., say).  Defined: TYPE t = a simple,
  // aggregate or named type.  Enumeration: TYPE t = ENUMERATION OF (...), of
  // kind String (a value is an item's name).  Select: TYPE t = SELECT (...),
  // of kind Void (a value is any instance of one of the members).
  enum Form { Plain, Defined, Enumeration, Select };
  struct Express {
    Form form = Plain;
    bool declared = false;       // a TYPE declaration, listed by its schema
    bool number = false;         // kind Real written as NUMBER
    bool extensible = false;     // EXTENSIBLE enumeration or select
    bool genericEntity = false;  // EXTENSIBLE GENERIC_ENTITY SELECT
    std::vector<ZORQelI::string> items;   // enumeration items, in order
    std::vector<ZORQelITypeIMP*> members; // select members (entities or types)
    ZORQelITypeIMP* basedOn = nullptr;    // BASED_ON type, else null
    // Defined from a named type (TYPE a = b): b.  The type itself holds a
    // copy of b's properties under its own name.
    ZORQelITypeIMP* underlying = nullptr;
    // Bounds and widths (or a REAL's precision) written as expressions; the
    // numeric property is then UNSET.  Empty when a literal or absent.
    ZORQelI::string lowText, highText, widthText;
    std::vector<ZORQelIMemClause> clauses;  // WHERE rules of the declaration
  };
  // The record; a shared empty one (form Plain) for types made by code.
  const Express& ExpressInfo() const;
  // Creates the record when absent.
  Express& MutableExpressInfo();
  // The element type may be set after construction by the schema reader,
  // which makes every declared type before resolving references among them.
  void SetElement(ZORQelITypeIMP* element) { element_ = element; }

  // --- Provider side --------------------------------------------------------------
  ZORQelIMemModelerIMP* Modeler() const { return modeler_; }
  // The EXPRESS-like text of any type of this provider (FullTypeName), "Void"
  // for null.
  static ZORQelI::string TypeText(const ZORQelITypeIMP* t);
  // Raises ZORQelI::BoundError unless v is UNSET or not negative.
  static void CheckCount(ZORQelI::Mint v);
  // The kind whose display name is s, among the kinds a value can be made of
  // by name (Void, Boolean, Logical, Integer, Real, String, Binary).
  static bool KindNamed(const ZORQelI::string& s, ZORQelI::Types& kind);

 private:
  void RequireField() const;
  void RequireAggregate() const;

  // Kept alive by the member check.
  ZORQelIMemModelerIMP* modeler_;
  ZORQelITypeIMP* element_;
  // Empty: the kind's display name.
  ZORQelI::string name_;
  ZORQelI::Types kind_;
  ZORQelI::Mint width_;
  ZORQelI::Mint lower_;
  ZORQelI::Mint upper_;
  ZORQelI::boolean fixed_ = ZORQelI::Ifalse;
  ZORQelI::boolean unique_ = ZORQelI::Ifalse;
  ZORQelI::boolean optional_ = ZORQelI::Ifalse;
  // Null for types made by code.
  std::unique_ptr<Express> express_;
};

#endif
