// Private to the library: the source names that exceptions report, and the
// one macro through which the library raises.
#ifndef ZORQelIRaise_h
#define ZORQelIRaise_h

#include "ZORQelIException.h"

// The name a raising class reports as its source file.
#define ZORQELI_SOURCE(Class) "QelInfrastructure/QL0KRN.m/src/" #Class

// Raises a new exception: ZORQELI_RAISE(ZORQelI::BoundError(a, b, c, d),
// ZORQELI_SOURCE(ZORQelIArrayIMP), 348).  The line is the one the library
// documents for that raise, which callers may rely on.
#define ZORQELI_RAISE(exception, source, line) \
  ZORQelI::Throw(new exception, source, line)

#endif
