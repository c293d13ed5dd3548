// ZORQelIMemExpressSyntax: what the schema readers hand to the schema
// builder: the declarations of one or more schemas, with positions and the
// byte ranges of their source text.  Plain data, no collector objects.
#ifndef ZORQelIMemExpressSyntax_h
#define ZORQelIMemExpressSyntax_h

#include <cstdint>
#include <string>
#include <vector>

#include "ZORQelI.h"

namespace ZORQelIMemExpress {

// A place in the source: 1-based line and column (columns count bytes).
struct Pos {
  int line = 1;
  int column = 1;
};

// A half-open byte range of the source text.
struct Span {
  std::uint32_t begin = 0;
  std::uint32_t end = 0;
};

// One type as written.  Nodes live in Schema::types and refer to each other
// by index, so that deep nesting costs no recursion to free.
struct TypeSpec {
  enum Form { Simple, Named, Aggregate, Enumeration, Select, Generic, GenericEntity, AnyAggregate };
  Form form = Simple;
  Pos pos;
  // Simple: the kind (Boolean, Logical, Integer, Real, String, Binary, Void).
  ZORQelI::Types kind = ZORQelI::Ivoid;
  bool number = false;          // NUMBER (kind Real)
  ZORQelI::Mint width;          // STRING/BINARY width, REAL precision
  std::string widthText;        // the width as written when not a literal
  bool fixed = false;
  // Named: the referenced type or entity.
  std::string name;
  // Aggregate: kind Array/List/Set/Bag, bounds, flags, element (index).
  bool bounded = false;
  ZORQelI::Mint low, high;
  std::string lowText, highText;  // non-literal bounds as written
  bool optional = false, unique = false;
  int element = -1;
  // Enumeration and Select.
  bool extensible = false, genericEntity = false;
  std::string basedOn;
  Pos basedOnPos;
  std::vector<std::string> items;  // enumeration items, select members
  std::vector<Pos> itemPos;
};

// A kept clause of an entity or type: DERIVE, INVERSE, UNIQUE, WHERE rule or
// a redeclared explicit attribute.
struct Clause {
  enum Kind { Derive, Inverse, Unique, Where, Redeclared };
  Kind kind = Where;
  std::string name;  // attribute name, or the rule's label (may be empty)
  Pos pos;
  Span text;         // the clause's source, without its closing ';'
};

struct Attribute {
  std::string name;
  Pos pos;
  bool optional = false;
  int type = -1;
};

struct Entity {
  std::string name;
  Pos pos;
  bool abstract = false;
  bool hasSupertypeExpr = false;
  Span supertypeExpr;  // the text inside SUPERTYPE OF ( ... )
  std::vector<std::string> supers;
  std::vector<Pos> superPos;
  std::vector<Attribute> attrs;
  std::vector<Clause> clauses;
};

struct TypeDecl {
  std::string name;
  Pos pos;
  int type = -1;
  std::vector<Clause> where;
};

// A declaration kept as text only: FUNCTION, PROCEDURE, RULE,
// SUBTYPE_CONSTRAINT, a CONSTANT block.
struct Other {
  enum Kind { Function, Procedure, Rule, SubtypeConstraint, Constant };
  Kind kind = Function;
  std::string name;
  Pos pos;
  Span text;
};

struct Interface {
  bool use = true;  // USE FROM, else REFERENCE FROM
  std::string schema;
  Pos pos;
  bool all = true;  // no list: every item of the schema
  struct Item {
    std::string name, alias;  // alias empty when not renamed
    Pos pos;
  };
  std::vector<Item> items;
  Span text;
};

// A declaration in source order.
struct Order {
  enum Kind { Interface, Entity, Type, Other };
  Kind kind;
  int index;
};

struct Schema {
  std::string name;
  Pos pos;
  std::string version;  // the schema version string, if any (without quotes)
  std::vector<TypeSpec> types;
  std::vector<struct Interface> interfaces;
  std::vector<struct Entity> entities;
  std::vector<TypeDecl> typeDecls;
  std::vector<struct Other> others;
  std::vector<Order> order;
};

// One error or warning.
struct Message {
  Pos pos;
  bool warning = false;
  std::string text;
};

}  // namespace ZORQelIMemExpress

#endif
