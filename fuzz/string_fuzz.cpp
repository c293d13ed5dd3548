// ZORUnicodeString from arbitrary bytes (invalid UTF-8 included): the
// narrow rendering gives the bytes back, the characters read one by one
// render to the same bytes, concatenation adds lengths, and the file-name
// utilities on the result give parts of it.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "QL0KRN.h"
#include "ZORQelIFile.h"
#include "ZORUnicodeString.h"
#include "FuzzSupport.h"

namespace {

// The UTF-8 bytes of one character as the string stores it: a raw-byte
// character is its byte again.
std::string Encode(char32_t cp) {
  std::string out;
  if (cp >= 0xDC80 && cp <= 0xDCFF) {
    out += static_cast<char>(cp - 0xDC00);
  } else if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
  return out;
}

bool EndsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The string is made from a C string: the input up to its first NUL.
  std::string bytes(reinterpret_cast<const char*>(data), size);
  bytes = bytes.c_str();

  ZORUnicodeString s(bytes.c_str());
  CHECK(std::string(static_cast<const char*>(s)) == bytes);
  CHECK(s.GetLengthInChar() <= bytes.size());
  CHECK((s.GetLengthInChar() == 0) == bytes.empty());

  std::string rebuilt;
  ZORUnicodeString copy;
  for (unsigned int k = 0; k < s.GetLengthInChar(); ++k) {
    ZORUnicodeChar c = s[k];
    rebuilt += Encode(c.CodePoint());
    copy += c;
  }
  CHECK(rebuilt == bytes);
  CHECK(copy == s);
  CHECK(copy.GetLengthInChar() == s.GetLengthInChar());

  ZORUnicodeString twice = s + s;
  CHECK(twice.GetLengthInChar() == 2 * s.GetLengthInChar());
  CHECK(std::string(static_cast<const char*>(twice)) == bytes + bytes);

  // The file-name utilities: the base name is the text after the last
  // separator, the radix a prefix of it, the directory a prefix of the path
  // when the path has a separator.
  std::string base(static_cast<const char*>(ZORQelIFile::basename(s)));
  std::string radix(static_cast<const char*>(ZORQelIFile::radix(s)));
  CHECK(EndsWith(bytes, base));
  CHECK(base.find('/') == std::string::npos);
  CHECK(base.compare(0, radix.size(), radix) == 0);
  if (bytes.find('/') != std::string::npos) {
    std::string dir(static_cast<const char*>(ZORQelIFile::dirname(s)));
    CHECK(bytes.compare(0, dir.size(), dir) == 0);
    CHECK(dir.size() + base.size() < bytes.size() || dir.empty());
  }
  return 0;
}
