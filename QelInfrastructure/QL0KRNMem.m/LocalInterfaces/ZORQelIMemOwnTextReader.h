// ZORQelIMemOwnTextReader: reads the library's own schema text (what a
// schema's Save and ToString write) back into schema declarations.
#ifndef ZORQelIMemOwnTextReader_h
#define ZORQelIMemOwnTextReader_h

#include <string>
#include <vector>

#include "ZORQelIMemExpressSyntax.h"

// The text is line-oriented: "Schema NAME;", then per entity "Entity
// NAME;" or "Entity NAMEsubtype of (  SUPER );", one "NAME : TYPE;" line per
// attribute (" Optional" after the type when optional) and "End_Entity
// (*NAME*);", and last "End_Schema (*NAME*);"; blank lines and indentation
// are ignored.  A type is a kind name ("Integer", "Void", ...), a field
// ("String(16) Fixed "), an aggregate ("List [0:?]of unique TYPE") or a name.
// The text does not say what kind a named type has: a name that is not an
// entity of the schema is read as a type of kind Void of that name.  Names
// that hold " : ", ";" or a line break, or that end in "subtype of (  X )",
// cannot be read back.
class ZORQelIMemOwnTextReader {
 public:
  // Whether text is in this format: it starts with "Schema NAME;" and ends
  // with "End_Schema (*NAME*);" and a line feed.
  static bool Recognize(const std::string& text);
  // One schema; false with *error filled on the first line that does not fit.
  static bool Read(const std::string& text, std::vector<ZORQelIMemExpress::Schema>& out,
                   ZORQelIMemExpress::Message* error);
};

#endif
