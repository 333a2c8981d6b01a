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

// One sentence.  (The members are ordered by size, so that a record wastes
// no padding: a long text has hundreds of thousands of them.)
struct frase {
  // The sentence's words as they stood in the text (case, accents and
  // punctuation kept), each closed by a separator followed by "#".
  std::string Text;
  // The keys of the sentence's words in text order, exactly WordCount of
  // them: what splitting Text at "#" and keying each piece gives.
  std::vector<WordId> Words;
  // "begin", "middle" or "end"; empty until the location stage runs.  The
  // labels are string literals, so a view of them is enough.
  std::string_view TextLocation;
  std::string_view ParagraphLocation;
  double DistributionWeight = 0.0;
  double TfIsf = 0.0;
  // Words of the sentence, empty words (punctuation only) included.
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
