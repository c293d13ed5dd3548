// ZORQelITracerElement: the static descriptor of one traced operation.
#ifndef ZORQelITracerElement_h
#define ZORQelITracerElement_h

#include <cstdint>
#include <iosfwd>

#include "ZORQelI.h"

// One per operation, as a function-local static built by ZORQELI_TRACE (see
// ZORQelITracer.h).  The constructor is constexpr, so the element is
// constant-initialised: no guard word, no code on the operation's path.
// Elements live until the process ends; `text` is a literal of the program.
// Nothing here raises.
class QL0KRN_EXPORT ZORQelITracerElement {
 public:
  static constexpr const char* __CLASSNAME__ = "ZORQelITracerElement";

  constexpr ZORQelITracerElement(const char* text, int line)
      : state(-1), line(static_cast<std::int16_t>(line)), text(text) {}

  // Decides on the first call only whether this operation is traced under
  // `filter` ("!x": traced when the text does not contain x; otherwise traced
  // when the text contains filter; byte-wise, case-sensitive) and keeps the
  // decision for the life of the process.  Returns IsEnabled().
  ZORQelI::boolean Enable(const char* filter);
  ZORQelI::boolean IsEnabled() const { return state == 1 ? ZORQelI::Itrue : ZORQelI::Ifalse; }
  // Writes the text, one blank and the line; no newline.
  void Print(std::ostream& ot);

  // -1 not yet decided, 1 traced, 0 not traced.
  std::int16_t state;
  std::int16_t line;
  const char* text;
};

#endif
