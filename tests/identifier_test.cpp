// Identifiers: the cached hash, value equality on the name, copies that do not share.
#include <string>

#include <gtest/gtest.h>

#include "CoreTestSupport.h"
#include "QL0KRN.h"
#include "TestSupport.h"

namespace identifiertest {

using qtest::RaisedText;

ZORQelIIdentifier Id(const char* name) { return ZORQelIIdentifier(ZORQelI::string(name)); }

using qtest::TagIMP;

TEST(IdentifierHash, ExamplesPairFrontAndBackCharacters) {
  EXPECT_EQ(Id("ab").HashCode(), 26400);
  EXPECT_EQ(Id("abc").HashCode(), 26416);
  EXPECT_EQ(Id("abcd").HashCode(), 6793264);
  EXPECT_EQ(Id("ba").HashCode(), (98 * 16 + 97) * 16);  // the order of the pair matters
  // Only the first and last four characters count.
  EXPECT_EQ(Id("abcdXXXXwxyz").HashCode(), Id("abcdYwxyz").HashCode());
  EXPECT_NE(Id("abcdwxyz").HashCode(), Id("abcewxyz").HashCode());
  // Seven characters: three pairs, the first character counts; with eight
  // it is shifted out.  Equal hash codes do not make names equal.
  EXPECT_NE(Id("xabcdef").HashCode(), Id("yabcdef").HashCode());
  EXPECT_EQ(Id("xabcdefg").HashCode(), Id("yabcdefg").HashCode());
  EXPECT_EQ(Id("xabcdefg").Equal(Id("yabcdefg")), ZORQelI::Ifalse);
  for (const char* n : {"", "a", "b"}) EXPECT_EQ(Id(n).HashCode(), 0) << n;
  EXPECT_EQ(Id("a").Equal(Id("b")), ZORQelI::Ifalse);  // short names hash to zero, yet stay unequal
  EXPECT_EQ(Id("a").Equal(Id("a")), ZORQelI::Itrue);
  EXPECT_EQ(Id("").Equal(ZORQelIIdentifier()), ZORQelI::Itrue);
}

TEST(IdentifierHash, CharactersAreSignedBytesAndArithmeticWraps) {
  ZORQelIIdentifier raw(ZORQelI::string("\xE9z"));  // a raw byte, one character of narrow value -23
  EXPECT_EQ(raw.IMP()->Size(), 2);
  EXPECT_EQ(raw.HashCode(), (-23 * 16 + 'z') * 16);
  // Eight characters: 9 shifts by 4 bits overflow 32 bits and wrap.
  std::uint32_t h = 0;
  const char* n = "~~~~~~~~";
  for (int i = 0; i < 4; ++i) h = ((h + static_cast<std::uint32_t>(n[i])) * 16 + n[7 - i]) * 16;
  EXPECT_EQ(Id(n).HashCode(), static_cast<std::int32_t>(h));
}

TEST(IdentifierName, SizeCountsCharactersNotBytes) {
  ZORQelIIdentifier word(ZORQelI::string("caf\xC3\xA9 \xE2\x82\xAC"));
  EXPECT_EQ(word.IMP()->Size(), 6);
  EXPECT_EQ(std::string(word.Name()), "caf\xC3\xA9 \xE2\x82\xAC");
  // The hash pairs characters (each taken as its narrow byte), not bytes:
  // c with the euro sign ('?'), a with the blank, f with e-acute (0xE9).
  ZORQelIIdentifier ascii(ZORQelI::string("caf\xE9 ?"));
  EXPECT_EQ(word.HashCode(), ascii.HashCode());
}

TEST(IdentifierCopy, CopiesAndClonesDoNotShareAndRenameRecomputesTheHash) {
  ZORQelIIdentifier first = Id("ab");
  ZORQelIIdentifier second(first);
  EXPECT_NE(second.IMP(), first.IMP());
  second.Rename(ZORQelI::string("abc"));
  EXPECT_EQ(std::string(first.Name()), "ab");
  EXPECT_EQ(second.HashCode(), 26416);
  EXPECT_EQ(second.Equal(Id("abc")), ZORQelI::Itrue);
  EXPECT_EQ(std::string(second.ToString()), "abc");
  ZORQelIObject plain(first);  // as a plain object handle it is shared as usual
  EXPECT_EQ(plain.RefMe(), first.IMP());
  ZORQelIIdentifier none(static_cast<ZORQelIIdentifierIMP*>(nullptr));
  EXPECT_EQ(ZORQelIIdentifier(none).IsValid(), ZORQelI::Ifalse);  // a copy of an empty handle is empty
  RaisedText<ZORQelI::NullPtrAccess>([&] { none.Name(); });
  ZORQelIObject clone(first.IMP()->Clone());
  EXPECT_EQ(clone.HashCode(), 26400);  // a clone keeps the cached hash
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
  EXPECT_EQ(std::string(ZORQelIIdentifier::DownCast(tag).Name()), "name");  // down-casts to subclasses
  RaisedText<ZORQelI::InvalidType>([] { ZORQelIIdentifier::DownCast(ZORQelIArray()); });
}

}  // namespace identifiertest
