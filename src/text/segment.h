// Sentence segmentation.
//
// SegmentText walks the text once, left to right.  Word and punctuation
// characters, and periods that end no sentence, build words; any other
// character (a separator) closes the word before it; "!", "?" and the
// periods that IsSentenceEnd accepts end a sentence.  Each closed word is
// stripped of its punctuation, lower-cased and replaced by its canonical
// form: that key is counted in the WordTable, and its id stored in the
// run's array of word ids.  Each sentence records its span of the text, from
// which SentenceText gives back its words as they stood.
#ifndef CASEWRIGHT_TEXT_SEGMENT_H_
#define CASEWRIGHT_TEXT_SEGMENT_H_

#include <cstddef>
#include <string>
#include <string_view>

#include "core/run.h"

namespace casewright {

// Whether the character at `position` (0-based) of `text` ends a sentence:
// "!" and "?" always do; a period does when it is the last character, or when
// what follows it is no word or punctuation character (a quotation mark or
// apostrophe counts as not following) and the first word character after it
// is not an ASCII lower-case letter.
// REQUIRES: position < text.size().
bool IsSentenceEnd(std::string_view text, std::size_t position);

// Whether the sentence ending at the terminator at `position` ends a
// paragraph: only blanks stand between it and a line break (CR LF, or LF CR).
bool EndsParagraphAfter(std::string_view text, std::size_t position);

// `word` stripped of its punctuation characters and lower-cased: its key
// before the lexicon replaces it with its canonical form.
std::string LowerCaseForm(std::string_view word);

// Where sentences end.  A text's sentences always end at terminators; a
// reference extract's may end at its line breaks instead (extract_classes.h).
// The words are the same in every case: a terminator that would end a
// sentence closes the word before it whether or not it ends the sentence.
enum class SentenceBreaks {
  // At the terminators IsSentenceEnd accepts.  Text after the last one forms
  // no sentence; its words closed by a separator still count, a word running
  // to the end of the text does not.
  kTerminators,
  // The same, and the end of the text ends a last sentence when words stand
  // after the last terminator.
  kTerminatorsAndEnd,
  // At every line break and at the end of the text after a line that is not
  // empty, so that sentence k is line k (a blank line gives a sentence
  // without words); terminators end none.
  kLines,
  // A text the user segmented: every line that holds more than blanks is a
  // sentence, whatever its punctuation (terminators end none, and a line
  // without one is a sentence all the same); a blank line, or several, or a
  // line of blanks only, ends a paragraph, and so does the end of the text.
  // Blank lines before the first sentence or after the last change nothing.
  kUserLines,
};

// How a text's own sentences are found: by its terminators, or, when the
// user segmented it (`--segmented`), at its lines.
inline SentenceBreaks TextBreaks(bool segmented) {
  return segmented ? SentenceBreaks::kUserLines : SentenceBreaks::kTerminators;
}

// Segments `text` into run.sentence_list and counts its words into
// run.word_table, ending sentences as `breaks` says.  Looks each distinct
// word up in the lexicon once.  Each sentence records its span in `text`
// (frase::SpanStart, SpanEnd; a line's span leaves its line break out).
// REQUIRES: the run's lists are empty; text.size() < 2^32.
void SegmentText(Run& run, std::string_view text, SentenceBreaks breaks = SentenceBreaks::kTerminators);

// The stored form of `sentence`'s text: its words as they stand in `text`
// (case, accents and punctuation kept), each closed by a separator followed
// by "#"; a word closed by the sentence's terminator or by the end of the
// text has no "#" after it.  What splitting it at "#" and keying each piece
// gives is the sentence's words in the run.
// REQUIRES: `sentence` comes from SegmentText(run, text, breaks).
std::string SentenceText(std::string_view text, const frase& sentence,
                         SentenceBreaks breaks = SentenceBreaks::kTerminators);

}  // namespace casewright

#endif  // CASEWRIGHT_TEXT_SEGMENT_H_
