#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "ZORUnicodeString.h"

namespace {

std::vector<char32_t> CodePoints(const ZORUnicodeString& s) {
  std::vector<char32_t> v;
  for (unsigned i = 0; i < s.GetLengthInChar(); ++i) v.push_back(s[i].CodePoint());
  return v;
}

TEST(PlatformString, LengthAndIndexingOfOneToFourByteCharacters) {
  const ZORUnicodeString s("a\xC3\xA9\xE2\x82\xAC\xF0\x9D\x84\x9Ez");  // a é € 𝄞 z
  EXPECT_EQ(s.GetLengthInChar(), 5u);
  EXPECT_EQ(CodePoints(s), (std::vector<char32_t>{'a', 0xE9, 0x20AC, 0x1D11E, 'z'}));
  EXPECT_EQ(s[5].CodePoint(), 0u);
  EXPECT_EQ(s[-1].CodePoint(), 0u);
  EXPECT_EQ(s[std::size_t{3}].CodePoint(), 0x1D11Eu);
  EXPECT_STREQ(s, "a\xC3\xA9\xE2\x82\xAC\xF0\x9D\x84\x9Ez");

  // Long mixed text: positions reached from the front and from the back.
  ZORUnicodeString longer;
  std::vector<char32_t> expect;
  const char32_t cycle[] = {'x', 0xE9, 0x20AC, 0x1F600};
  for (int i = 0; i < 101; ++i) {
    longer += ZORUnicodeChar::FromCodePoint(cycle[i % 4]);
    expect.push_back(cycle[i % 4]);
  }
  EXPECT_EQ(CodePoints(longer), expect);
  EXPECT_EQ(ZORUnicodeString(static_cast<const char*>(longer)), longer);
}

TEST(PlatformString, InvalidBytesBecomeRawCharactersAndRoundTrip) {
  struct Case { const char* bytes; unsigned chars; };
  const Case cases[] = {
      {"\xC0\xAF", 2},             // overlong '/'
      {"\xE0\x80\xAF", 3},         // overlong, three bytes
      {"\xED\xA0\x80", 3},         // surrogate U+D800
      {"\xED\xB2\x80", 3},         // the encoding of U+DC80 itself
      {"\xF4\x90\x80\x80", 4},     // above U+10FFFF
      {"\xE2\x82", 2},             // truncated at the end
      {"\xE2\x82" "A", 3},         // truncated before ASCII
      {"\xFF\xE2\x82\xAC", 2},     // bad byte, then a valid euro sign
      {"\x80\xBF\xFE", 3},         // lone continuations and FE
  };
  for (const Case& c : cases) {
    const ZORUnicodeString s(c.bytes);
    EXPECT_EQ(s.GetLengthInChar(), c.chars) << c.bytes;
    EXPECT_STREQ(s, c.bytes);
  }
  const ZORUnicodeString bad("\xFF\xE2\x82\xAC");
  EXPECT_EQ(bad[0].CodePoint(), 0xDCFFu);
  EXPECT_EQ(static_cast<char>(bad[0]), '\xFF');
  EXPECT_EQ(bad[1].CodePoint(), 0x20ACu);

  // Arbitrary byte strings, well-formed pieces mixed in.
  std::mt19937 rng(7);
  const char* pieces[] = {"a", "\xC3\xA9", "\xE2\x82\xAC", "\xF0\x9F\x98\x80", "\xE2", "\x82",
                          "\xF0\x9F", "\xC0", "\xED\xB3\xBF", "\xFF"};
  for (int round = 0; round < 2000; ++round) {
    std::string in;
    for (int n = rng() % 12; n > 0; --n) in += pieces[rng() % 10];
    const ZORUnicodeString s(in.c_str());
    EXPECT_EQ(std::string(static_cast<const char*>(s)), in);
    ZORUnicodeString rebuilt;  // character by character, through the code points
    for (unsigned i = 0; i < s.GetLengthInChar(); ++i) rebuilt += s[i];
    EXPECT_EQ(rebuilt, s);
    EXPECT_EQ(std::string(static_cast<const char*>(rebuilt)), in);
  }
}

TEST(PlatformString, NarrowCharactersAndCodePoints) {
  EXPECT_EQ(ZORUnicodeChar('A').CodePoint(), U'A');
  EXPECT_EQ(ZORUnicodeChar('\xE9').CodePoint(), 0xDCE9u);  // a byte, not Latin-1
  EXPECT_EQ(static_cast<char>(ZORUnicodeChar::FromCodePoint(0xE9)), '\xE9');
  EXPECT_EQ(static_cast<char>(ZORUnicodeChar::FromCodePoint(0x20AC)), '?');
  EXPECT_EQ(ZORUnicodeChar::FromCodePoint(0x110000).CodePoint(), 0xFFFDu);
  EXPECT_EQ(ZORUnicodeChar::FromCodePoint(0xD800).CodePoint(), 0xFFFDu);

  ZORUnicodeString s("ab");
  s += ZORUnicodeChar('\xE9');  // raw byte: rendered back as that byte
  s += ZORUnicodeChar('\0');    // never stored
  EXPECT_EQ(s.GetLengthInChar(), 3u);
  EXPECT_STREQ(s, "ab\xE9");
  s += ZORUnicodeChar('c');  // the rendering follows mutations
  EXPECT_STREQ(s, "ab\xE9" "c");
}

TEST(PlatformString, ConcatenationAndEquality) {
  const ZORUnicodeString empty, word("w\xC3\xB6rd");
  EXPECT_EQ(empty + word, word);
  EXPECT_EQ("" + word, word);
  EXPECT_EQ(word + static_cast<const char*>(nullptr), word);
  EXPECT_EQ((word + "s").GetLengthInChar(), 5u);

  // Raw halves of a euro sign stay three raw characters side by side.
  const ZORUnicodeString halves = ZORUnicodeString("\xE2\x82") + "\xAC";
  EXPECT_EQ(halves.GetLengthInChar(), 3u);
  EXPECT_STREQ(halves, "\xE2\x82\xAC");
  EXPECT_NE(halves, ZORUnicodeString("\xE2\x82\xAC"));

  ZORUnicodeString self("ab");
  self += self;
  EXPECT_EQ(self, "abab");
  EXPECT_TRUE(self != "aba");
  EXPECT_NE(self, ZORUnicodeString("abac"));

  ZORUnicodeString moved(std::move(self));
  EXPECT_EQ(moved, "abab");
  EXPECT_EQ(self.GetLengthInChar(), 0u);  // moved-from: empty
}

TEST(PlatformString, ReplaceSubStringReplacesTheLastOccurrence) {
  ZORUnicodeString name("archive.tar.gz.gz");
  name.ReplaceSubString(".gz", "");
  EXPECT_EQ(name, "archive.tar.gz");
  name.ReplaceSubString(".", "_");
  EXPECT_EQ(name, "archive.tar_gz");
  name.ReplaceSubString("zip", "x");
  name.ReplaceSubString("", "x");
  EXPECT_EQ(name, "archive.tar_gz");

  ZORUnicodeString text("na\xC3\xAFve\xFF.txt");
  text.ReplaceSubString(".txt", "\xE2\x82\xAC");
  EXPECT_EQ(text.GetLengthInChar(), 7u);
  EXPECT_STREQ(text, "na\xC3\xAFve\xFF\xE2\x82\xAC");
  text.ReplaceSubString(text, text + text);  // aliasing both arguments
  EXPECT_EQ(text.GetLengthInChar(), 14u);
}

TEST(PlatformString, AppendingAMillionCharactersStaysLinear) {
  ZORUnicodeString s;
  for (int i = 0; i < 1000000; ++i)
    s += i % 2 ? ZORUnicodeChar('a') : ZORUnicodeChar::FromCodePoint(0x20AC);
  EXPECT_EQ(s.GetLengthInChar(), 1000000u);
  EXPECT_EQ(std::strlen(s), 2000000u);
  EXPECT_EQ(s[999999].CodePoint(), U'a');
}

}  // namespace
