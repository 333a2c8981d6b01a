// Character classes and word normalisation.
//
// Every decision the text model makes about a single character rests on fixed
// sets of Windows-1252 bytes; nothing depends on the locale.  Each byte is in
// exactly one of four classes:
//   - word characters (IsWordChar): letters with the accents Portuguese uses,
//     digits, and & - @ _ ª © ® ° Ÿ;
//   - punctuation characters (IsPunctuation): " $ % ' ( ) * + , / : ; < > [ \ ] { | },
//     which may cling to a word but are dropped from its key;
//   - terminator candidates: ! . ?  (whether one ends a sentence is
//     IsSentenceEnd's business, see segment.h);
//   - separators: everything else (blanks, control bytes, "#", "=", curly
//     quotes, ñ, ß ...).
#ifndef CASEWRIGHT_TEXT_CHARCLASS_H_
#define CASEWRIGHT_TEXT_CHARCLASS_H_

#include <array>
#include <string>
#include <string_view>

namespace casewright {

enum class ByteClass : unsigned char { kSeparator, kWord, kPunctuation, kTerminator };

namespace charclass_internal {

constexpr std::array<ByteClass, 256> MakeClassTable() {
  std::array<ByteClass, 256> table{};  // a separator everywhere
  auto words = [&table](int from, int to) {
    for (int c = from; c <= to; ++c) table[c] = ByteClass::kWord;
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
  for (unsigned char c : std::string_view("\"$%'()*+,/:;<>[\\]{|}")) table[c] = ByteClass::kPunctuation;
  for (unsigned char c : std::string_view("!.?")) table[c] = ByteClass::kTerminator;
  return table;
}

inline constexpr std::array<ByteClass, 256> kClasses = MakeClassTable();

}  // namespace charclass_internal

// The class of a byte: a table look-up, cheap enough for every character.
inline ByteClass ClassOf(unsigned char c) { return charclass_internal::kClasses[c]; }
inline bool IsWordChar(unsigned char c) { return ClassOf(c) == ByteClass::kWord; }
inline bool IsPunctuation(unsigned char c) { return ClassOf(c) == ByteClass::kPunctuation; }

// The lower-casing map: A-Z and the accented capitals among the word
// characters go to their lower-case partners (Ÿ to ÿ); every other byte maps
// to itself.
unsigned char LowerCaseByte(unsigned char c);

// Returns `word` with every byte replaced by its image under the lower-casing
// map.  Never merges, drops or inserts bytes and never strips accents.
std::string NormalizeWord(std::string_view word);

}  // namespace casewright

#endif  // CASEWRIGHT_TEXT_CHARCLASS_H_
