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

#include <string>
#include <string_view>

namespace casewright {

bool IsWordChar(unsigned char c);
bool IsPunctuation(unsigned char c);

// The lower-casing map: A-Z and the accented capitals among the word
// characters go to their lower-case partners (Ÿ to ÿ); every other byte maps
// to itself.
unsigned char LowerCaseByte(unsigned char c);

// Returns `word` with every byte replaced by its image under the lower-casing
// map.  Never merges, drops or inserts bytes and never strips accents.
std::string NormalizeWord(std::string_view word);

}  // namespace casewright

#endif  // CASEWRIGHT_TEXT_CHARCLASS_H_
