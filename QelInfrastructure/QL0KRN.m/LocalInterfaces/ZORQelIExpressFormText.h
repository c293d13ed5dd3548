// ZORQelIExpressFormText: what the sources of the EXPRESS form printer share
// (ZORQelIExpressForm.cpp, its schema text, its instance text and its direct
// printer).  Not a public header.
//
// The printer's operations live in four sources, by job; their trace frames
// report the lines they reported when the printer was one source, so that
// traces and stack dumps read as they did (ZORQELI_TRACE_LINE).
#ifndef ZORQelIExpressFormText_h
#define ZORQelIExpressFormText_h

#include "ZORQelIRaise.h"
#include "ZORQelIStackRoom.h"

namespace ZORQelIInternal {

// A text piece of the printer.
inline ZORQelI::string Piece(const char* text) { return ZORQelI::string(text); }

// Aggregate types and values print their elements inside their own text:
// nesting deeper than the calling thread's stack can take raises instead of
// overflowing it (`what`: "aggregate types", "aggregate values").  The
// printed text is left in the printer.
inline void CheckPrintNesting(const char* what) {
  if (ZORQelI::StackNearlyExhausted())
    ZORQELI_RAISE_AT(kPrintNesting,
                     ZORQelI::Exception(ZORQelI::string("ZORQelIExpressForm: ") + what +
                                        " nested too deeply to be printed on this thread's "
                                        "stack"));
}

}  // namespace ZORQelIInternal

#endif
