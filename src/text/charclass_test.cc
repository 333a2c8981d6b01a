#include "text/charclass.h"

#include <gtest/gtest.h>

#include <string>

namespace casewright {
namespace {

std::string Bytes(std::initializer_list<int> bytes) {
  std::string s;
  for (int b : bytes) s += static_cast<char>(b);
  return s;
}

bool InRanges(int c, std::initializer_list<std::pair<int, int>> ranges) {
  for (auto [from, to] : ranges) {
    if (c >= from && c <= to) return true;
  }
  return false;
}

TEST(CharClassTest, EveryByteIsInExactlyTheListedClass) {
  const auto word_ranges = {std::pair{38, 38},   {45, 45},   {48, 57},   {64, 90},   {95, 95},
                            {97, 122},           {159, 159}, {169, 170}, {174, 174}, {176, 176},
                            {192, 196},          {199, 207}, {210, 214}, {217, 221}, {224, 228},
                            {231, 239},          {242, 246}, {249, 253}, {255, 255}};
  const std::string punctuation = "\"$%'()*+,/:;<>[\\]{|}";
  int words = 0, punctuations = 0;
  for (int c = 0; c < 256; ++c) {
    auto b = static_cast<unsigned char>(c);
    bool word = InRanges(c, word_ranges);
    bool punct = punctuation.find(static_cast<char>(c)) != std::string::npos;
    EXPECT_EQ(IsWordChar(b), word) << "byte " << c;
    EXPECT_EQ(IsPunctuation(b), punct) << "byte " << c;
    words += IsWordChar(b);
    punctuations += IsPunctuation(b);
  }
  EXPECT_EQ(words, 120);
  EXPECT_EQ(punctuations, 20);
}

TEST(CharClassTest, DetailsThatAreEasyToGetWrong) {
  EXPECT_TRUE(IsWordChar(170));    // ª
  EXPECT_FALSE(IsWordChar(186));   // º
  EXPECT_TRUE(IsWordChar('-'));
  EXPECT_TRUE(IsWordChar('@'));
  EXPECT_FALSE(IsWordChar(241));   // ñ
  EXPECT_FALSE(IsWordChar('#'));
  EXPECT_FALSE(IsWordChar(160));   // no-break space
  EXPECT_TRUE(IsPunctuation('"'));
  EXPECT_TRUE(IsPunctuation('\''));
  for (int c = 145; c <= 148; ++c) EXPECT_FALSE(IsPunctuation(static_cast<unsigned char>(c)));
  for (char c : std::string("!?.#")) {
    EXPECT_FALSE(IsPunctuation(static_cast<unsigned char>(c)));
    EXPECT_FALSE(IsWordChar(static_cast<unsigned char>(c)));
  }
}

TEST(CharClassTest, LowerCasingMapCoversExactlyTheCapitalWordCharacters) {
  for (int c = 0; c < 256; ++c) {
    int expected = c;
    if ((c >= 'A' && c <= 'Z') || InRanges(c, {{192, 196}, {199, 207}, {210, 214}, {217, 221}})) expected = c + 32;
    if (c == 159) expected = 255;
    EXPECT_EQ(LowerCaseByte(static_cast<unsigned char>(c)), expected) << "byte " << c;
  }
}

TEST(NormalizeWordTest, LowerCasesWithoutTouchingAnythingElse) {
  EXPECT_EQ(NormalizeWord(""), "");
  EXPECT_EQ(NormalizeWord(Bytes({0xC1, 'G', 'U', 'A'})), Bytes({0xE1, 'g', 'u', 'a'}));  // ÁGUA
  EXPECT_EQ(NormalizeWord(Bytes({'C', 'O', 'R', 'A', 0xC7, 0xC3, 'O'})),
            Bytes({'c', 'o', 'r', 'a', 0xE7, 0xE3, 'o'}));                                // CORAÇÃO
  EXPECT_EQ(NormalizeWord(Bytes({0x9F, 'E', 'S'})), Bytes({0xFF, 'e', 's'}));            // ŸES
  EXPECT_EQ(NormalizeWord(Bytes({'E', 'S', 'P', 'A', 0xD1, 'A'})),
            Bytes({'e', 's', 'p', 'a', 0xD1, 'a'}));                                      // ESPAÑA
  EXPECT_EQ(NormalizeWord(Bytes({0xC6, 'r', 0xF8})), Bytes({0xC6, 'r', 0xF8}));          // Ærø
  EXPECT_EQ(NormalizeWord("Dr.Silva"), "dr.silva");
  EXPECT_EQ(NormalizeWord("3.5"), "3.5");
  EXPECT_EQ(NormalizeWord("e-mail"), "e-mail");
  const std::string original = "ABC";
  NormalizeWord(original);
  EXPECT_EQ(original, "ABC");
}

}  // namespace
}  // namespace casewright
