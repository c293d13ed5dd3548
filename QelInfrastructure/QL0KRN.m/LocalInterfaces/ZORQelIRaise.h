// Private to the library: the source names that exceptions report, and the
// table of every position the library documents: where each of its raises
// reports itself, and the trace frames whose line is fixed.
#ifndef ZORQelIRaise_h
#define ZORQelIRaise_h

#include "ZORQelIException.h"

// The name a raising class of the library reports as its source file.
#define ZORQELI_SOURCE(Class) "QelInfrastructure/QL0KRN.m/src/" #Class

namespace ZORQelIInternal {

// A reported position: the raising class's source name and a line.  The
// lines are those the library documents and callers may rely on, not the
// lines of the statements, so editing a source never moves them.
struct Position {
  const char* source;
  int line;
};

// The documented positions, one row each: what is raised (or traced), and
// when.  A raise names its row with ZORQELI_RAISE_AT; a fixed trace line
// reads its row's line.
//
// Every other trace frame reports the line its ZORQELI_TRACE stands on, and
// moves with it when its source is edited (the tracer's tests read the
// expected lines from the sources); only the forwarders' rows (.def files)
// and code moved between sources (the printer's) carry the lines they
// reported before.
namespace Fixed {
// ZORQelIObject::RefMe() const / RefMe() of an empty handle: NullPtrAccess.
// These two are written inline in the public ZORQelIObject.h (RaiseEmpty),
// which cannot include this header; the rows keep the list whole, and each is
// also the line of that RefMe's trace frame.
constexpr Position kRefMeConst{ZORQELI_SOURCE(ZORQelIObject), 75};
constexpr Position kRefMe{ZORQELI_SOURCE(ZORQelIObject), 93};
// ZORQelIObject::IsValid() const: the line of its trace frame (no raise).
constexpr Position kIsValidFrame{ZORQELI_SOURCE(ZORQelIObject), 39};
// ZORQelI::Exception::out: the line of its trace frame, the current one of
// the stack dump it writes (no raise).
constexpr Position kExceptionOutFrame{ZORQELI_SOURCE(ZORQelIException), 47};
// A class descriptor made its own super class: Exception
// "Hierarchy loop in <name>".
constexpr Position kHierarchyLoop{ZORQELI_SOURCE(ZORQelIClass), 44};
// SafeMatch, hence every DownCast, Cast__ and the strict casts, on an object
// of another class: InvalidType.
constexpr Position kSafeMatch{ZORQELI_SOURCE(ZORQelIObjectIMP), 199};
// ZORQelIObjectIMP::Raise: Exception with the accumulated text.
constexpr Position kObjectRaise{ZORQELI_SOURCE(ZORQelIObjectIMP), 254};
// The array's slots could not be allocated: NullPtrAccess.
constexpr Position kArrayAllocation{ZORQELI_SOURCE(ZORQelIArrayIMP), 60};
// RawCopy with a null source or destination: NullPtrAccess.
constexpr Position kArrayRawCopy{ZORQELI_SOURCE(ZORQelIArrayIMP), 43};
// CheckBounds, and every positional access through it: BoundError.
constexpr Position kArrayBounds{ZORQELI_SOURCE(ZORQelIArrayIMP), 348};
// CheckRange, and every ranged operation through it: BoundError.
constexpr Position kArrayRange{ZORQELI_SOURCE(ZORQelIArrayIMP), 385};
// A holder table's ReplaceKey beyond its count: BoundError.
constexpr Position kHolderKey{ZORQELI_SOURCE(ZORQelIGholder), 133};
// GetMnum / GetJele of an instance that is not a proxy, CreateProxy:
// InvalidType.
constexpr Position kInstanceMnum{ZORQELI_SOURCE(ZORQelIInstanceIMP), 142};
constexpr Position kInstanceJele{ZORQELI_SOURCE(ZORQelIInstanceIMP), 159};
constexpr Position kInstanceProxy{ZORQELI_SOURCE(ZORQelIInstanceIMP), 177};
// An object checked against a wrapper that does not own it: InvalidType.
constexpr Position kWrapperOwns{ZORQELI_SOURCE(ZORQelIWrapper), 214};
// The schema text asked to print a kind that has no name: InvalidType.
constexpr Position kKindText{ZORQELI_SOURCE(ZORQelIExpressForm), 232};
// The printer meeting aggregate types or values nested deeper than the
// calling thread's stack can take: Exception "ZORQelIExpressForm: aggregate
// types (or values) nested too deeply to be printed on this thread's stack".
constexpr Position kPrintNesting{ZORQELI_SOURCE(ZORQelIExpressForm), 138};
// The deep copy meeting an aggregate value: NotYetImplemented.
constexpr Position kCopyAggregate{ZORQELI_SOURCE(ZORQelIInstanceCopy), 51};
}  // namespace Fixed

}  // namespace ZORQelIInternal

// Raises a new exception at a documented position:
// ZORQELI_RAISE_AT(kArrayBounds, ZORQelI::BoundError(pos, pos, 0, size - 1)).
#define ZORQELI_RAISE_AT(position, exception)                                      \
  ZORQELI_RAISE(exception, ZORQelIInternal::Fixed::position.source,                \
                ZORQelIInternal::Fixed::position.line)

#endif
