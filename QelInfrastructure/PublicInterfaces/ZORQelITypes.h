// ZORQelI::Types: the kinds of dictionary types.
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

}  // namespace ZORQelI

#endif
