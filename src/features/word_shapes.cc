#include "features/word_shapes.h"

#include <algorithm>
#include <string>

#include "text/charclass.h"
#include "text/segment.h"

namespace casewright {
namespace {

bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }

// Whether `word`'s first word character is an upper-case letter; false when
// it has none.
bool StartsUpperCase(std::string_view word) {
  const auto first = std::find_if(word.begin(), word.end(), [](unsigned char c) { return IsWordChar(c); });
  if (first == word.end()) return false;
  const unsigned char c = static_cast<unsigned char>(*first);
  return LowerCaseByte(c) != c;
}

void MarkSentence(frase& sentence, std::string_view stored) {
  bool seen_first = false;
  std::size_t start = 0;
  while (start <= stored.size()) {
    std::size_t end = std::min(stored.find('#', start), stored.size());
    const std::string_view word = stored.substr(start, end - start);
    start = end + 1;
    if (std::none_of(word.begin(), word.end(), [](unsigned char c) { return IsWordChar(c); })) continue;
    if (std::any_of(word.begin(), word.end(), [](unsigned char c) { return IsDigit(c); })) {
      sentence.HasNumeral = true;
    }
    if (seen_first && StartsUpperCase(word)) sentence.HasProperNoun = true;
    seen_first = true;
  }
}

}  // namespace

void MarkWordShapes(Run& run, std::string_view text, SentenceBreaks breaks) {
  for (frase& sentence : run.sentence_list) MarkSentence(sentence, SentenceText(text, sentence, breaks));
}

}  // namespace casewright
