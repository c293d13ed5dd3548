// The text type of the library: an immutable-by-value sequence of Unicode
// characters with a UTF-8 narrow rendering.
#ifndef ZORUnicodeString_h
#define ZORUnicodeString_h

#include <cstddef>
#include <memory>
#include <string>

#include "ZORPlatformExport.h"
#include "ZORUnicodeChar.h"

// Value semantics: every string owns its characters.
//
// Storage is UTF-8 (bytes_), with the character count kept beside it, so
// length is O(1), appending is amortised O(1) and the narrow rendering of a
// well-formed string is the storage itself.  Bytes of the narrow input that
// are not valid UTF-8 become raw-byte characters (see ZORUnicodeChar) and
// are rendered back as the same bytes: a file name in any encoding survives.
//
// operator[] is O(1) for ASCII text and walks from the nearer end otherwise.
class ZOR_PLATFORM_EXPORT ZORUnicodeString {
 public:
  ZORUnicodeString();
  // From a NUL-terminated narrow (UTF-8) string; null gives the empty string.
  ZORUnicodeString(const char* utf8);
  ZORUnicodeString(const ZORUnicodeString& s);
  ZORUnicodeString(ZORUnicodeString&& s) noexcept;
  ZORUnicodeString& operator=(const ZORUnicodeString& s);
  ZORUnicodeString& operator=(ZORUnicodeString&& s) noexcept;
  ZORUnicodeString& operator=(const char* utf8);
  ~ZORUnicodeString();

  // Number of characters (not bytes).
  unsigned int GetLengthInChar() const { return chars_; }

  // The character at a 0-based position; a position at or past the end gives
  // the NUL character.
  ZORUnicodeChar operator[](unsigned int pos) const;
  ZORUnicodeChar operator[](int pos) const;
  // Without these a size_t or ptrdiff_t position would be ambiguous between
  // the two above and the built-in subscript of the narrow rendering.
  ZORUnicodeChar operator[](unsigned long pos) const;
  ZORUnicodeChar operator[](long pos) const;

  // NUL-terminated narrow rendering; valid while this string is alive and
  // unchanged.
  operator const char*() const;

  ZORUnicodeString operator+(const ZORUnicodeString& s) const;
  ZORUnicodeString operator+(const char* s) const;
  ZOR_PLATFORM_EXPORT friend ZORUnicodeString operator+(const char* a, const ZORUnicodeString& b);
  // Adding a number (or a character) would otherwise silently become pointer
  // arithmetic on the narrow rendering; append characters with +=.
  ZORUnicodeString operator+(int) const = delete;

  ZORUnicodeString& operator+=(const ZORUnicodeString& s);
  // The NUL character ends the narrow rendering, so it is never stored:
  // appending it changes nothing.
  ZORUnicodeString& operator+=(const ZORUnicodeChar& c);
  // Appends the narrow text of the n bytes at utf8 as the const char*
  // constructor would read them, a NUL ending the text early; the same as
  // += ZORUnicodeString(those bytes), without the temporary when the bytes
  // are plain ASCII (numbers and punctuation written by printers).
  ZORUnicodeString& Append(const char* utf8, std::size_t n);

  // Equality of the character sequences.  The const char* forms exist so
  // that comparing with a literal compares text: without them s == "x" is
  // ambiguous and "x" == s compares pointers.
  bool operator==(const ZORUnicodeString& s) const;
  bool operator!=(const ZORUnicodeString& s) const { return !(*this == s); }
  bool operator==(const char* s) const;
  bool operator!=(const char* s) const { return !(*this == s); }
  friend bool operator==(const char* a, const ZORUnicodeString& b) { return b == a; }
  friend bool operator!=(const char* a, const ZORUnicodeString& b) { return !(b == a); }

  // Replaces the LAST occurrence of old by nw, in place; nothing happens when
  // old is empty or absent.  (Stripping a trailing extension relies on the
  // last occurrence being the one replaced.)
  void ReplaceSubString(const ZORUnicodeString& old, const ZORUnicodeString& nw);

 private:
  void Assign(const char* utf8);
  void DropNarrowCache();

  // Invariant: bytes_ is generalized UTF-8 (raw bytes are stored as the
  // 3-byte encodings of U+DC80..U+DCFF); chars_ is the number of characters
  // encoded in bytes_; rawBytes_ counts the raw-byte characters.  When
  // rawBytes_ is 0 the storage is its own narrow rendering.
  std::string bytes_;
  unsigned int chars_ = 0;
  unsigned int rawBytes_ = 0;
  // Narrow rendering when raw bytes are present (built on demand).
  mutable std::unique_ptr<std::string> narrow_;
};

#endif
