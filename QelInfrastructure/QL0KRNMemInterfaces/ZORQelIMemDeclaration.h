// ZORQelIMemDeclaration: one declaration of a schema read from EXPRESS, in
// the order of the source.
#ifndef ZORQelIMemDeclaration_h
#define ZORQelIMemDeclaration_h

#include "QL0KRN.h"

class ZORQelIMemEntityIMP;
class ZORQelIMemTypeIMP;

// A value.  Entities and types are mapped onto the dictionary and written
// back from it; the other kinds are kept as their source text (from the
// first keyword to the end of the closing keyword, ';' left out).
//
// Collector: entity and type are not scanned through this value; the schema
// that lists the declaration keeps them alive.
struct ZORQelIMemDeclaration {
  enum Kind { Use, Reference, Entity, Type, Function, Procedure, Rule, SubtypeConstraint, Constant };
  Kind kind = Entity;
  // The declared name; for USE and REFERENCE the interfaced schema, for a
  // CONSTANT block its first constant.
  ZORQelI::string name;
  ZORQelI::string text;          // empty for Entity and Type
  ZORQelIMemEntityIMP* entity = nullptr;  // Entity only
  ZORQelIMemTypeIMP* type = nullptr;      // Type only
};

#endif
