#include "core/cp1252.h"

#include <gtest/gtest.h>

namespace casewright {
namespace {

TEST(Cp1252Test, EveryByteRoundTrips) {
  std::string all;
  for (int c = 0; c < 256; ++c) all += static_cast<char>(c);
  std::string utf8 = Cp1252ToUtf8(all);
  EXPECT_TRUE(IsValidUtf8(utf8));
  EXPECT_EQ(Utf8ToCp1252(utf8), all);
}

TEST(Cp1252Test, KnownCharacters) {
  EXPECT_EQ(Cp1252ToUtf8("L\xE9xico"), "L\xC3\xA9xico");
  EXPECT_EQ(Cp1252ToUtf8("\x80"), "\xE2\x82\xAC");    // euro sign
  EXPECT_EQ(Cp1252ToUtf8("\x9F"), "\xC5\xB8");        // Ÿ
  EXPECT_EQ(Cp1252ToUtf8("\x81\x9D"), "\xC2\x81\xC2\x9D");  // undefined bytes: C1 controls
  EXPECT_EQ(Utf8ToCp1252("\xE2\x80\x94"), "\x97");    // em dash
}

TEST(Cp1252Test, CharactersWithoutAWindows1252Form) {
  EXPECT_EQ(Utf8ToCp1252("\xC4\x9F"), std::nullopt);          // ğ
  EXPECT_EQ(Utf8ToCp1252("\xC2\x80"), std::nullopt);          // U+0080: 0x80 is the euro sign
  EXPECT_EQ(Utf8ToCp1252("\xF0\x9F\x98\x80"), std::nullopt);  // emoji
}

TEST(Cp1252Test, MalformedUtf8IsRejected) {
  // Each next to the nearest valid sequence: U+7FF in three bytes against
  // U+800, U+DFFF against U+E000, U+110000 against U+10FFFF.
  for (const char* bad : {"\xC3", "\xC0\xAF", "\xED\xA0\x80", "\xFF", "a\x80", "\xE0\x9F\xBF", "\xED\xBF\xBF",
                          "\xF4\x90\x80\x80"}) {
    EXPECT_FALSE(IsValidUtf8(bad)) << bad;
    EXPECT_EQ(Utf8ToCp1252(bad), std::nullopt);
  }
  for (const char* good : {"\xE0\xA0\x80", "\xEE\x80\x80", "\xF4\x8F\xBF\xBF"}) EXPECT_TRUE(IsValidUtf8(good)) << good;
}

TEST(Cp1252Test, OffsetOfTheFirstMalformedSequence) {
  EXPECT_EQ(FindInvalidUtf8("ab\xC3\xA9"), std::nullopt);
  EXPECT_EQ(FindInvalidUtf8("ab\xC0\xAF"), 2u);         // overlong "/"
  EXPECT_EQ(FindInvalidUtf8("\xC3\xA9\xED\xA0\x80"), 2u);  // surrogate U+D800
  EXPECT_EQ(FindInvalidUtf8("abc\xE2\x82"), 3u);         // cut short
}

TEST(Cp1252Test, StandInForCharactersWithoutAForm) {
  Cp1252Text text = Utf8ToCp1252Replacing("a\xC4\x9F\xE2\x82\xAC\xF0\x9F\x98\x80z", ' ');  // a ğ € emoji z
  EXPECT_EQ(text.bytes, "a \x80 z");
  EXPECT_EQ(text.replaced, 2u);
  EXPECT_EQ(text.first_replaced, 1u);
  EXPECT_EQ(Utf8ToCp1252Replacing("\xC3\xA9", ' ').replaced, 0u);
}

}  // namespace
}  // namespace casewright
