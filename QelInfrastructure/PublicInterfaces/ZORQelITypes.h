// ZORQelI::Types: the kinds of dictionary types, and their display names.
// Nothing here raises.
#ifndef ZORQelITypes_h
#define ZORQelITypes_h

#include <cstdint>

namespace ZORQelI {

// The kind of a type descriptor, passed as a signed 32-bit value.  Value 1 is
// not a kind (no operation produces it); values outside 0..12 may be stored
// but have no name.
enum Types : std::int32_t {
  Ivoid = 0,
  Iboolean = 2,
  Ilogical = 3,
  Iinteger = 4,
  Ireal = 5,
  Istring = 6,
  Ibinary = 7,
  Iarray = 8,
  Ilist = 9,
  Iset = 10,
  Ibag = 11,
  Ientity = 12
};

// The display name of the kind k: "Void", "Boolean", "Logical", "Integer",
// "Real", "String", "Binary", "Array", "List", "Set" or "Bag"; null for a
// value that has none: 1, the entity kind (an entity is named by its own
// name) and every value outside 0..11.  The one table of these names: the
// type's Name, the schema text and the in-memory provider's type text and
// type lookup all read it.  The texts are literals and live for the program.
constexpr const char* KindName(std::int32_t k) {
  constexpr const char* names[] = {"Void",   nullptr,  "Boolean", "Logical", "Integer", "Real",
                                   "String", "Binary", "Array",   "List",    "Set",     "Bag"};
  return k >= Ivoid && k <= Ibag ? names[k] : nullptr;
}

}  // namespace ZORQelI

#endif
