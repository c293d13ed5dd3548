// ZORQelIStream: an abstract text sink.
#ifndef ZORQelIStream_h
#define ZORQelIStream_h

#include "ZORQelI.h"

// Begins a text, appends strings and characters, ends lines, gives back what
// it holds.  Numbers and booleans are formatted here and handed to the
// virtual Print(ZORQelI::string), so a subclass that implements the five
// basic operations gets them for free:
//   real    "%f"  (1.5 -> 1.500000, never an exponent, any magnitude)
//   integer "%d"  (-2147483648)
//   boolean "true" when the byte equals Itrue, "false" for every other byte
// Operations returning ZORQelIStream& return the stream itself.
//
// A subclass that overrides one Print overload hides the others: add
// `using ZORQelIStream::Print;` to keep them visible.
//
// Contract: the operations here raise nothing of their own (a subclass's
// Print(string) and Print(character) raise what it documents).  A stream is
// a plain object owned by whoever made it, not collected.
class QL0KRN_EXPORT ZORQelIStream {
 public:
  static constexpr const char __CLASSNAME__[] = "ZORQelIStream";

  virtual void Start() = 0;
  virtual ZORQelI::string Get() const = 0;
  virtual ZORQelIStream& Nl() = 0;
  virtual ZORQelIStream& Print(ZORQelI::string s) = 0;
  virtual ZORQelIStream& Print(ZORQelI::character s) = 0;
  virtual ZORQelIStream& Print(ZORQelI::real s);
  virtual ZORQelIStream& Print(ZORQelI::integer s);
  virtual ZORQelIStream& Print(ZORQelI::boolean s);
  // Virtual, declared after the operations above so that it does not take a
  // place among them: a stream may be owned through a base pointer.
  virtual ~ZORQelIStream() = default;

 protected:
  ZORQelIStream() = default;
  ZORQelIStream(const ZORQelIStream&) = default;
  ZORQelIStream& operator=(const ZORQelIStream&) = default;
};

#endif
