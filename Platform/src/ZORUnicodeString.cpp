#include "ZORUnicodeString.h"

#include <cstring>
#include <mutex>
#include <utility>

namespace {

inline bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// Length of the well-formed UTF-8 sequence at p (avail bytes readable), or 0
// when the bytes there do not start one.  Strict: overlong forms, surrogates,
// values above U+10FFFF and truncated sequences are all rejected.
std::size_t WellFormedLength(const unsigned char* p, std::size_t avail) {
  const unsigned char b0 = p[0];
  if (b0 < 0x80) return 1;
  if (b0 < 0xC2) return 0;  // continuation byte, or overlong lead C0/C1
  if (b0 < 0xE0) return avail >= 2 && IsContinuation(p[1]) ? 2 : 0;
  if (b0 < 0xF0) {
    if (avail < 3) return 0;
    const unsigned char lo = b0 == 0xE0 ? 0xA0 : 0x80;  // overlong
    const unsigned char hi = b0 == 0xED ? 0x9F : 0xBF;  // surrogates
    return p[1] >= lo && p[1] <= hi && IsContinuation(p[2]) ? 3 : 0;
  }
  if (b0 < 0xF5) {
    if (avail < 4) return 0;
    const unsigned char lo = b0 == 0xF0 ? 0x90 : 0x80;  // overlong
    const unsigned char hi = b0 == 0xF4 ? 0x8F : 0xBF;  // above U+10FFFF
    return p[1] >= lo && p[1] <= hi && IsContinuation(p[2]) && IsContinuation(p[3]) ? 4 : 0;
  }
  return 0;
}

// Length of the stored character whose lead byte is b.  Storage holds only
// complete sequences, so the lead byte alone decides.
inline std::size_t StoredLength(unsigned char b) {
  return b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
}

char32_t DecodeStored(const unsigned char* p) {
  switch (StoredLength(p[0])) {
    case 1: return p[0];
    case 2: return char32_t(p[0] & 0x1F) << 6 | (p[1] & 0x3F);
    case 3: return char32_t(p[0] & 0x0F) << 12 | char32_t(p[1] & 0x3F) << 6 | (p[2] & 0x3F);
    default:
      return char32_t(p[0] & 0x07) << 18 | char32_t(p[1] & 0x3F) << 12 |
             char32_t(p[2] & 0x3F) << 6 | (p[3] & 0x3F);
  }
}

void Encode(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    const char b[2] = {char(0xC0 | (cp >> 6)), char(0x80 | (cp & 0x3F))};
    out.append(b, 2);
  } else if (cp < 0x10000) {
    const char b[3] = {char(0xE0 | (cp >> 12)), char(0x80 | ((cp >> 6) & 0x3F)),
                       char(0x80 | (cp & 0x3F))};
    out.append(b, 3);
  } else {
    const char b[4] = {char(0xF0 | (cp >> 18)), char(0x80 | ((cp >> 12) & 0x3F)),
                       char(0x80 | ((cp >> 6) & 0x3F)), char(0x80 | (cp & 0x3F))};
    out.append(b, 4);
  }
}

inline bool IsRawByteChar(char32_t cp) { return cp >= 0xDC80 && cp <= 0xDCFF; }

// The narrow cache is filled by const operations; one lock serialises that
// for strings read from several threads.  Only strings holding raw bytes
// take it.  Never destroyed, so it is usable during static destruction.
std::mutex& NarrowMutex() {
  static std::mutex* m = new std::mutex;
  return *m;
}

}  // namespace

ZORUnicodeString::ZORUnicodeString() = default;

ZORUnicodeString::ZORUnicodeString(const char* utf8) { Assign(utf8); }

ZORUnicodeString::ZORUnicodeString(const ZORUnicodeString& s)
    : bytes_(s.bytes_), chars_(s.chars_), rawBytes_(s.rawBytes_) {}

ZORUnicodeString::ZORUnicodeString(ZORUnicodeString&& s) noexcept
    : bytes_(std::move(s.bytes_)), chars_(s.chars_), rawBytes_(s.rawBytes_),
      narrow_(std::move(s.narrow_)) {
  s.bytes_.clear();
  s.chars_ = 0;
  s.rawBytes_ = 0;
}

ZORUnicodeString& ZORUnicodeString::operator=(const ZORUnicodeString& s) {
  if (this != &s) {
    bytes_ = s.bytes_;
    chars_ = s.chars_;
    rawBytes_ = s.rawBytes_;
    DropNarrowCache();
  }
  return *this;
}

ZORUnicodeString& ZORUnicodeString::operator=(ZORUnicodeString&& s) noexcept {
  if (this != &s) {
    bytes_ = std::move(s.bytes_);
    chars_ = s.chars_;
    rawBytes_ = s.rawBytes_;
    narrow_ = std::move(s.narrow_);
    s.bytes_.clear();
    s.chars_ = 0;
    s.rawBytes_ = 0;
  }
  return *this;
}

ZORUnicodeString& ZORUnicodeString::operator=(const char* utf8) {
  Assign(utf8);  // decodes into new storage first: utf8 may be our own rendering
  return *this;
}

ZORUnicodeString::~ZORUnicodeString() = default;

void ZORUnicodeString::Assign(const char* utf8) {
  std::string bytes;
  unsigned int chars = 0;
  unsigned int raw = 0;
  if (utf8) {
    const std::size_t n = std::strlen(utf8);
    const unsigned char* p = reinterpret_cast<const unsigned char*>(utf8);
    bytes.reserve(n);
    std::size_t i = 0;
    while (i < n) {
      std::size_t j = i;
      while (j < n && p[j] < 0x80) ++j;
      if (j > i) {  // ASCII run, copied in one go
        bytes.append(utf8 + i, j - i);
        chars += static_cast<unsigned int>(j - i);
        i = j;
        continue;
      }
      const std::size_t len = WellFormedLength(p + i, n - i);
      if (len != 0) {
        bytes.append(utf8 + i, len);
        i += len;
      } else {
        // Not part of a valid sequence: keep this one byte, resynchronise on
        // the next (which may well start a valid sequence).
        Encode(bytes, 0xDC00 + p[i]);
        ++raw;
        ++i;
      }
      ++chars;
    }
  }
  bytes_.swap(bytes);
  chars_ = chars;
  rawBytes_ = raw;
  DropNarrowCache();
}

void ZORUnicodeString::DropNarrowCache() { narrow_.reset(); }

ZORUnicodeChar ZORUnicodeString::operator[](unsigned int pos) const {
  if (pos >= chars_) return ZORUnicodeChar('\0');
  if (bytes_.size() == chars_) return ZORUnicodeChar(bytes_[pos]);  // ASCII only
  const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes_.data());
  std::size_t off;
  if (pos <= chars_ / 2) {
    off = 0;
    for (unsigned int k = 0; k < pos; ++k) off += StoredLength(p[off]);
  } else {
    off = bytes_.size();
    for (unsigned int k = chars_; k > pos; --k) {
      do --off;
      while (IsContinuation(p[off]));
    }
  }
  return ZORUnicodeChar::FromCodePoint(DecodeStored(p + off));
}

ZORUnicodeChar ZORUnicodeString::operator[](int pos) const {
  return pos < 0 ? ZORUnicodeChar('\0') : (*this)[static_cast<unsigned int>(pos)];
}

ZORUnicodeChar ZORUnicodeString::operator[](unsigned long pos) const {
  return pos >= chars_ ? ZORUnicodeChar('\0') : (*this)[static_cast<unsigned int>(pos)];
}

ZORUnicodeChar ZORUnicodeString::operator[](long pos) const {
  return pos < 0 ? ZORUnicodeChar('\0') : (*this)[static_cast<unsigned long>(pos)];
}

ZORUnicodeString::operator const char*() const {
  if (rawBytes_ == 0) return bytes_.c_str();
  std::lock_guard<std::mutex> lock(NarrowMutex());
  if (!narrow_) {
    auto out = std::make_unique<std::string>();
    out->reserve(bytes_.size());
    const unsigned char* p = reinterpret_cast<const unsigned char*>(bytes_.data());
    const std::size_t n = bytes_.size();
    for (std::size_t i = 0; i < n;) {
      // ED B2/B3 xx is a raw byte: storage never holds another surrogate.
      if (p[i] == 0xED && (p[i + 1] == 0xB2 || p[i + 1] == 0xB3)) {
        out->push_back(static_cast<char>((p[i + 1] & 0x03) << 6 | (p[i + 2] & 0x3F)));
        i += 3;
      } else {
        out->push_back(static_cast<char>(p[i]));
        ++i;
      }
    }
    narrow_ = std::move(out);
  }
  return narrow_->c_str();
}

ZORUnicodeString ZORUnicodeString::operator+(const ZORUnicodeString& s) const {
  ZORUnicodeString r;
  r.bytes_.reserve(bytes_.size() + s.bytes_.size());
  r.bytes_.append(bytes_).append(s.bytes_);
  r.chars_ = chars_ + s.chars_;
  r.rawBytes_ = rawBytes_ + s.rawBytes_;
  return r;
}

ZORUnicodeString ZORUnicodeString::operator+(const char* s) const {
  return *this + ZORUnicodeString(s);
}

ZORUnicodeString operator+(const char* a, const ZORUnicodeString& b) {
  return ZORUnicodeString(a) + b;
}

ZORUnicodeString& ZORUnicodeString::operator+=(const ZORUnicodeString& s) {
  // Each stored character is a complete sequence, so plain byte appending
  // never merges characters across the junction.  s may be *this.
  bytes_.append(s.bytes_);
  chars_ += s.chars_;
  rawBytes_ += s.rawBytes_;
  DropNarrowCache();
  return *this;
}

ZORUnicodeString& ZORUnicodeString::Append(const char* utf8, std::size_t n) {
  std::size_t ascii = 0;
  while (ascii < n && static_cast<unsigned char>(utf8[ascii]) - 1u < 0x7Fu) ++ascii;
  if (ascii == n) {
    // ASCII without NUL: its bytes are its storage, one character each.
    bytes_.append(utf8, n);
    chars_ += static_cast<unsigned int>(n);
    DropNarrowCache();
    return *this;
  }
  return *this += ZORUnicodeString(std::string(utf8, n).c_str());
}

ZORUnicodeString& ZORUnicodeString::operator+=(const ZORUnicodeChar& c) {
  const char32_t cp = ZORUnicodeChar::FromCodePoint(c.CodePoint()).CodePoint();
  if (cp == 0) return *this;
  Encode(bytes_, cp);
  ++chars_;
  if (IsRawByteChar(cp)) ++rawBytes_;
  DropNarrowCache();
  return *this;
}

bool ZORUnicodeString::operator==(const ZORUnicodeString& s) const {
  // The storage encoding of a character sequence is unique.
  return bytes_ == s.bytes_;
}

bool ZORUnicodeString::operator==(const char* s) const {
  // Without raw bytes the storage is well-formed UTF-8, and s has the same
  // characters exactly when it has the same bytes.
  if (rawBytes_ == 0) return bytes_.compare(s ? s : "") == 0;
  return *this == ZORUnicodeString(s);
}

void ZORUnicodeString::ReplaceSubString(const ZORUnicodeString& old, const ZORUnicodeString& nw) {
  if (old.bytes_.empty()) return;
  // A byte match always starts on a character boundary (old begins with a
  // lead byte) and ends on one (the sequences decode in step).
  const std::size_t pos = bytes_.rfind(old.bytes_);
  if (pos == std::string::npos) return;
  // old and nw may be *this: take their counts before changing anything
  // (std::string::replace itself copes with an aliased argument).
  const std::size_t oldLen = old.bytes_.size();
  const unsigned int oldChars = old.chars_, oldRaw = old.rawBytes_;
  const unsigned int nwChars = nw.chars_, nwRaw = nw.rawBytes_;
  bytes_.replace(pos, oldLen, nw.bytes_);
  chars_ = chars_ - oldChars + nwChars;
  rawBytes_ = rawBytes_ - oldRaw + nwRaw;
  DropNarrowCache();
}
