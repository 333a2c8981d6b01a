// Presence of proper nouns and of numerals (features 12 and 13), read from
// the sentence's words as the text has them (case kept), the words being
// those SentenceText gives.
//
// HasProperNoun: some word after the sentence's first word starts with an
// upper-case letter.  A word "starts" with its first word character
// (text/charclass.h), so an opening quotation mark or parenthesis is passed
// over; the first word is the first that holds a word character, so a
// sentence opening with a dash or a quotation mark standing alone still has
// its first real word skipped.  Upper-case letters are A to Z and the
// accented capitals the lower-casing map changes.
//
// HasNumeral: some word holds a digit 0 to 9.
#ifndef CASEWRIGHT_FEATURES_WORD_SHAPES_H_
#define CASEWRIGHT_FEATURES_WORD_SHAPES_H_

#include <string_view>

#include "core/run.h"
#include "text/segment.h"

namespace casewright {

// Sets HasProperNoun and HasNumeral of every sentence.
// REQUIRES: `text` is what SegmentText segmented into the run, with `breaks`.
void MarkWordShapes(Run& run, std::string_view text, SentenceBreaks breaks = SentenceBreaks::kTerminators);

}  // namespace casewright

#endif  // CASEWRIGHT_FEATURES_WORD_SHAPES_H_
