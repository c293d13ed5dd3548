// The library's scalar types and constants, shared by every class.
// Values only: nothing here raises or owns anything.
#ifndef ZORQelI_h
#define ZORQelI_h

#include <cstdint>

#include "ZORQelIExport.h"
#include "ZORQelIMint.h"
#include "ZORQelITypes.h"
#include "ZORUnicodeChar.h"
#include "ZORUnicodeString.h"

namespace ZORQelI {

// A one-byte truth value.  Every predicate of the library returns Itrue (1)
// or Ifalse (0); a value is "true" for the library's own tests only when it
// equals Itrue.
typedef unsigned char boolean;
inline constexpr boolean Itrue = 1;
inline constexpr boolean Ifalse = 0;

typedef std::int32_t integer;
typedef double real;
typedef ZORUnicodeString string;
typedef ZORUnicodeChar character;

}  // namespace ZORQelI

// The library's integer and real are also available without qualification.
using ZORQelI::integer;
using ZORQelI::real;

#endif
