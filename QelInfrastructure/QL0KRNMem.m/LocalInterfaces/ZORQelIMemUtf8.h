// The UTF-8 encoder shared by the provider's readers (exchange-file string
// escapes, EXPRESS encoded string literals).  Not a public header.
#ifndef ZORQelIMemUtf8_h
#define ZORQelIMemUtf8_h

#include <cstdint>
#include <string>

namespace ZORQelIMemUtf8 {

// Appends the UTF-8 bytes of code point c.  The readers pass code points of
// at most 0x10FFFF; a larger value still gives four bytes (its bits above the
// 21st are dropped), never more, so hostile text cannot lengthen the output.
inline void AppendUtf8(std::string& out, std::uint32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | ((c >> 18) & 0x07));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace ZORQelIMemUtf8

#endif
