// One character of a ZORUnicodeString: a Unicode code point.
#ifndef ZORUnicodeChar_h
#define ZORUnicodeChar_h

#include "ZORPlatformExport.h"

// A character is a code point.  Bytes that are not part of valid UTF-8 are
// kept as "raw byte" characters, the code points U+DC80..U+DCFF (byte 0x80 +
// n maps to U+DC80 + n), so that any byte string survives a round trip
// through ZORUnicodeString unchanged.
//
// Narrow value (operator char): ASCII and raw bytes give their byte; code
// points U+0080..U+00FF give their Latin-1 byte; every other code point
// gives '?'.
class ZOR_PLATFORM_EXPORT ZORUnicodeChar {
 public:
  // A narrow character: ASCII stays ASCII; a byte of 0x80 or more is taken as
  // a raw byte (it is one byte of some multi-byte text, not a Latin-1 letter).
  ZORUnicodeChar(char c);
  ZORUnicodeChar(const ZORUnicodeChar& c);
  ZORUnicodeChar& operator=(const ZORUnicodeChar& c);
  ~ZORUnicodeChar();

  operator char() const;

  // The code point, and a character made from one.  A value that is no
  // character (above U+10FFFF, or a surrogate outside the raw-byte range
  // U+DC80..U+DCFF) gives U+FFFD, so every character can be stored.
  char32_t CodePoint() const { return cp_; }
  static ZORUnicodeChar FromCodePoint(char32_t cp);

 private:
  struct CodePointTag {};
  ZORUnicodeChar(char32_t cp, CodePointTag) : cp_(cp) {}
  char32_t cp_;
};

#endif
