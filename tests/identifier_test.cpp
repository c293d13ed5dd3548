// Identifiers: the cached hash, value equality on the name, copies that do
// not share.
#include <string>

#include <gtest/gtest.h>

#include "CoreTestSupport.h"
#include "QL0KRN.h"
#include "TestSupport.h"

namespace identifiertest {

using qtest::RaisedText;

ZORQelIIdentifier Id(const char* name) { return ZORQelIIdentifier(ZORQelI::string(name)); }

// A subclass with its own descriptor: same text, another class.
class TagIMP : public ZORQelIIdentifierIMP {
  ZORQELI_DECLARE_IMP(TagIMP, ZORQelIIdentifierIMP)
 public:
  explicit TagIMP(ZORQelI::string n) : ZORQelIIdentifierIMP(n) {}
  ZORQelIObjectIMP* Clone() const override { return new TagIMP(*this); }
};
ZORQELI_DEFINE_IMP(TagIMP, ZORQelIIdentifierIMP)

TEST(IdentifierHash, ExamplesPairFrontAndBackCharacters) {
  EXPECT_EQ(Id("ab").HashCode(), 26400);
  EXPECT_EQ(Id("abc").HashCode(), 26416);
  EXPECT_EQ(Id("abcd").HashCode(), 6793264);
  // "ba" pairs b with a: the order of the pair matters.
  EXPECT_EQ(Id("ba").HashCode(), (98 * 16 + 97) * 16);
  // Only the first and last four characters count.
  EXPECT_EQ(Id("abcdXXXXwxyz").HashCode(), Id("abcdYwxyz").HashCode());
  EXPECT_NE(Id("abcdwxyz").HashCode(), Id("abcewxyz").HashCode());
  // Seven characters: three pairs, the first character counts; with eight
  // it is shifted out.  Equal hash codes do not make names equal.
  EXPECT_NE(Id("xabcdef").HashCode(), Id("yabcdef").HashCode());
  EXPECT_EQ(Id("xabcdefg").HashCode(), Id("yabcdefg").HashCode());
  EXPECT_EQ(Id("xabcdefg").Equal(Id("yabcdefg")), ZORQelI::Ifalse);
  // Short names hash to zero, yet stay unequal.
  for (const char* n : {"", "a", "b"}) EXPECT_EQ(Id(n).HashCode(), 0) << n;
  EXPECT_EQ(Id("a").Equal(Id("b")), ZORQelI::Ifalse);
  EXPECT_EQ(Id("a").Equal(Id("a")), ZORQelI::Itrue);
  EXPECT_EQ(Id("").Equal(ZORQelIIdentifier()), ZORQelI::Itrue);
}

TEST(IdentifierHash, CharactersAreSignedBytesAndArithmeticWraps) {
  // A raw byte 0xE9 (not UTF-8) is one character whose narrow value is -23.
  ZORQelIIdentifier raw(ZORQelI::string("\xE9z"));
  EXPECT_EQ(raw.IMP()->Size(), 2);
  EXPECT_EQ(raw.HashCode(), (-23 * 16 + 'z') * 16);
  // Eight characters: 9 shifts by 4 bits overflow 32 bits and wrap.
  std::uint32_t h = 0;
  const char* n = "~~~~~~~~";
  for (int i = 0; i < 4; ++i) h = ((h + static_cast<std::uint32_t>(n[i])) * 16 + n[7 - i]) * 16;
  EXPECT_EQ(Id(n).HashCode(), static_cast<std::int32_t>(h));
}

TEST(IdentifierName, SizeCountsCharactersNotBytes) {
  // "é" (U+00E9) is two bytes in UTF-8, "€" (U+20AC) three.
  ZORQelIIdentifier word(ZORQelI::string("caf\xC3\xA9 \xE2\x82\xAC"));
  EXPECT_EQ(word.IMP()->Size(), 6);
  EXPECT_EQ(std::string(word.Name()), "caf\xC3\xA9 \xE2\x82\xAC");
  // The hash pairs characters (each taken as its narrow byte), not bytes:
  // c with the euro sign ('?'), a with the blank, f with e-acute (0xE9).
  ZORQelIIdentifier ascii(ZORQelI::string("caf\xE9 ?"));
  EXPECT_EQ(word.HashCode(), ascii.HashCode());
}

TEST(IdentifierName, RenameRecomputesTheHashAtOnce) {
  ZORQelIIdentifier id = Id("zzzz");
  id.Rename(ZORQelI::string("abc"));
  EXPECT_EQ(id.HashCode(), 26416);
  EXPECT_EQ(std::string(id.Name()), "abc");
  EXPECT_EQ(id.Equal(Id("abc")), ZORQelI::Itrue);
  EXPECT_EQ(std::string(id.ToString()), "abc");
}

TEST(IdentifierCopy, CopiesAndClonesDoNotShare) {
  ZORQelIIdentifier first = Id("ab");
  ZORQelIIdentifier second(first);
  EXPECT_NE(second.IMP(), first.IMP());
  second.Rename(ZORQelI::string("abc"));
  EXPECT_EQ(std::string(first.Name()), "ab");
  EXPECT_EQ(second.HashCode(), 26416);
  // As a plain object handle it is shared as usual.
  ZORQelIObject plain(first);
  EXPECT_EQ(plain.RefMe(), first.IMP());
  // A copy of an empty identifier handle is empty.
  ZORQelIIdentifier none(static_cast<ZORQelIIdentifierIMP*>(nullptr));
  ZORQelIIdentifier copyOfNone(none);
  EXPECT_EQ(copyOfNone.IsValid(), ZORQelI::Ifalse);
  RaisedText<ZORQelI::NullPtrAccess>([&] { none.Name(); });
  // A clone keeps the cached hash.
  ZORQelIObject clone(first.IMP()->Clone());
  EXPECT_EQ(clone.HashCode(), 26400);
  EXPECT_EQ(clone.Equal(first), ZORQelI::Itrue);
}

TEST(IdentifierEqual, OnlyObjectsOfTheSameClassAreEqual) {
  ZORQelIIdentifier id = Id("name");
  ZORQelIObject tag(new TagIMP(ZORQelI::string("name")));
  EXPECT_EQ(tag.HashCode(), id.HashCode());
  EXPECT_EQ(id.Equal(tag), ZORQelI::Ifalse);
  EXPECT_EQ(tag.Equal(id), ZORQelI::Ifalse);
  EXPECT_EQ(id.Equal(ZORQelIObject(qtest::NewNode())), ZORQelI::Ifalse);
  EXPECT_EQ(id.Equal(ZORQelIObject()), ZORQelI::Ifalse);
  EXPECT_EQ(id.IMP()->Equal(nullptr), ZORQelI::Ifalse);
  // An identifier handle down-casts to the subclass's objects too.
  EXPECT_EQ(std::string(ZORQelIIdentifier::DownCast(tag).Name()), "name");
  RaisedText<ZORQelI::InvalidType>([] { ZORQelIIdentifier::DownCast(ZORQelIArray()); });
}

}  // namespace identifiertest
