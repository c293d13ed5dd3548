#include "ZORUnicodeChar.h"

namespace {

// First and last of the raw-byte characters: byte 0x80 + n is U+DC80 + n.
constexpr char32_t kRawFirst = 0xDC80;
constexpr char32_t kRawLast = 0xDCFF;
constexpr char32_t kReplacement = 0xFFFD;

}  // namespace

ZORUnicodeChar::ZORUnicodeChar(char c) {
  const unsigned char b = static_cast<unsigned char>(c);
  cp_ = b < 0x80 ? char32_t(b) : char32_t(0xDC00 + b);
}

ZORUnicodeChar::ZORUnicodeChar(const ZORUnicodeChar& c) = default;
ZORUnicodeChar& ZORUnicodeChar::operator=(const ZORUnicodeChar& c) = default;
ZORUnicodeChar::~ZORUnicodeChar() = default;

ZORUnicodeChar::operator char() const {
  if (cp_ <= 0xFF) return static_cast<char>(static_cast<unsigned char>(cp_));
  if (cp_ >= kRawFirst && cp_ <= kRawLast)
    return static_cast<char>(static_cast<unsigned char>(cp_ - 0xDC00));
  return '?';
}

ZORUnicodeChar ZORUnicodeChar::FromCodePoint(char32_t cp) {
  // Only raw-byte surrogates are characters of this library; a lone surrogate
  // of any other value could not be stored without being mistaken for raw
  // bytes when the storage is read back.
  const bool surrogate = cp >= 0xD800 && cp <= 0xDFFF;
  const bool raw = cp >= kRawFirst && cp <= kRawLast;
  if (cp > 0x10FFFF || (surrogate && !raw)) cp = kReplacement;
  return ZORUnicodeChar(cp, CodePointTag{});
}
