#include "text/charclass.h"

#include <array>

namespace casewright {
namespace {

enum ByteClass : unsigned char { kSeparator, kWord, kPunctuation, kTerminator };

constexpr std::array<ByteClass, 256> MakeClassTable() {
  std::array<ByteClass, 256> table{};  // kSeparator everywhere
  auto words = [&table](int from, int to) {
    for (int c = from; c <= to; ++c) table[c] = kWord;
  };
  words('&', '&');
  words('-', '-');
  words('0', '9');
  words('@', 'Z');
  words('_', '_');
  words('a', 'z');
  words(159, 159);  // Ÿ
  words(169, 170);  // © ª
  words(174, 174);  // ®
  words(176, 176);  // °
  words(192, 196);  // À-Ä
  words(199, 207);  // Ç-Ï
  words(210, 214);  // Ò-Ö
  words(217, 221);  // Ù-Ý
  words(224, 228);  // à-ä
  words(231, 239);  // ç-ï
  words(242, 246);  // ò-ö
  words(249, 253);  // ù-ý
  words(255, 255);  // ÿ
  for (unsigned char c : std::string_view("\"$%'()*+,/:;<>[\\]{|}")) table[c] = kPunctuation;
  for (unsigned char c : std::string_view("!.?")) table[c] = kTerminator;
  return table;
}

constexpr std::array<unsigned char, 256> MakeLowerTable() {
  std::array<unsigned char, 256> table{};
  for (int c = 0; c < 256; ++c) table[c] = static_cast<unsigned char>(c);
  auto shift = [&table](int from, int to) {
    for (int c = from; c <= to; ++c) table[c] = static_cast<unsigned char>(c + 32);
  };
  shift('A', 'Z');
  shift(192, 196);
  shift(199, 207);
  shift(210, 214);
  shift(217, 221);
  table[159] = 255;  // Ÿ -> ÿ
  return table;
}

constexpr std::array<ByteClass, 256> kClasses = MakeClassTable();
constexpr std::array<unsigned char, 256> kLower = MakeLowerTable();

}  // namespace

bool IsWordChar(unsigned char c) { return kClasses[c] == kWord; }

bool IsPunctuation(unsigned char c) { return kClasses[c] == kPunctuation; }

unsigned char LowerCaseByte(unsigned char c) { return kLower[c]; }

std::string NormalizeWord(std::string_view word) {
  std::string result(word);
  for (char& c : result) c = static_cast<char>(kLower[static_cast<unsigned char>(c)]);
  return result;
}

}  // namespace casewright
