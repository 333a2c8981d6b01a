// The records of a run.
//
// A word everywhere in a run is identified by its key: the word with its
// punctuation characters removed, lower-cased by NormalizeWord and replaced by
// its canonical form from the lexicon.  Segmentation turns every word into the
// id of its key in the run's WordTable once; the stages after it work on those
// ids and never look a word up again.
#ifndef CASEWRIGHT_CORE_RECORDS_H_
#define CASEWRIGHT_CORE_RECORDS_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace casewright {

// Index of a key in the run's WordTable.
using WordId = std::uint32_t;

// Where a sentence stands in the text or in its paragraph; kUnset until the
// location stage runs.
enum class Location : std::uint8_t { kUnset, kBegin, kMiddle, kEnd };

// The label of a location: "begin", "middle", "end", or empty when unset.
constexpr std::string_view LocationLabel(Location location) {
  switch (location) {
    case Location::kBegin:
      return "begin";
    case Location::kMiddle:
      return "middle";
    case Location::kEnd:
      return "end";
    case Location::kUnset:
      break;
  }
  return {};
}

// One sentence.  A long text has millions of them, so the record holds no
// memory of its own: its words are a stretch of the run's one array of word
// ids (Run::Words), and its text is its span of the segmented text, made
// into the stored "#"-separated form only when asked for (SentenceText, in
// text/segment.h).  88 bytes, with the members ordered by size.
struct frase {
  double DistributionWeight = 0.0;
  double TfIsf = 0.0;
  // The raw values of features 9, 10, 11, 14 and 16; 0.0 until their stages
  // run (features/similarities.h, locations.h, centrality.h).
  double TitleSimilarity = 0.0;
  double CentroidSimilarity = 0.0;
  double Cohesion = 0.0;
  double Position = 0.0;  // (k - 1) / n for the k-th of n sentences
  double Centrality = 0.0;
  // Where the sentence's word ids start in the run's array of word ids.
  std::uint32_t FirstWord = 0;
  // Words of the sentence, empty words (punctuation only) included: the
  // length of its stretch of word ids.
  std::int32_t WordCount = 0;
  // Where the sentence stands in the segmented text: from just after the
  // previous sentence's terminator (or the start of the text) to just past
  // its own, so that it can be shown as the text has it.  A loaded text is
  // at most 1 GiB, so 32 bits hold every position.
  std::uint32_t SpanStart = 0;
  std::uint32_t SpanEnd = 0;
  bool HasKeyword = false;
  bool HasGistWord = false;
  bool HasCuePhrase = false;
  // Only blanks stand between the sentence's terminator and a line break.
  bool EndsParagraph = false;
  bool HasProperNoun = false;
  bool HasNumeral = false;
  Location TextPlace = Location::kUnset;
  Location ParagraphPlace = Location::kUnset;
  // Feature 15: the place in the paragraph by the paragraph marks alone.
  Location ParagraphMark = Location::kUnset;
  // Feature 14: 1 + floor(5 (k - 1) / n), the fifth of the text the k-th of
  // n sentences stands in; 0 until the location stage runs.
  std::uint8_t Fifth = 0;

  // "begin", "middle" or "end"; empty until the location stage runs.
  std::string_view TextLocation() const { return LocationLabel(TextPlace); }
  std::string_view ParagraphLocation() const { return LocationLabel(ParagraphPlace); }
};

// A word key with a weight: in the WordTable, first its number of
// occurrences in the text.
struct palavra {
  std::string Word;
  double Weight = 0.0;
};

// A bare word key in a word list (the gist words, the keywords).
struct palavraskg {
  WordId Word = 0;
};

using SentenceList = std::vector<frase>;
using GistWordList = std::vector<palavraskg>;
using KeywordList = std::vector<palavraskg>;

}  // namespace casewright

#endif  // CASEWRIGHT_CORE_RECORDS_H_
