// Sentence location in the text and in its paragraph.
//
// Paragraphs are known only through EndsParagraph: a paragraph is a run of
// sentences ending at a sentence whose EndsParagraph is true, or at the last
// sentence of the text.  Each sentence gets two labels, "begin", "middle" or
// "end":
//
// TextLocation: the sentences up to and including the first paragraph end
// that is not the last sentence are "begin"; those after the last such
// paragraph end are "end"; those between are "middle".  A text of one
// paragraph has its first sentence "begin" and all others "end"; a text of
// two paragraphs has no "middle".
//
// ParagraphLocation: a sentence that opens a paragraph is "begin" (even when
// it also ends it); otherwise a sentence that ends its paragraph is "end",
// and any other "middle".  Only a sentence labelled "end" makes the next one
// open a paragraph, so the sentence after a one-sentence paragraph reads as a
// continuation.  The last sentence of the text is always "end".
//
// ParagraphMark (feature 15) follows the paragraph marks alone: a sentence
// that opens its paragraph is "begin" (a one-sentence paragraph's included),
// one that closes a paragraph of two or more sentences "end", any other
// "middle".
//
// Position (feature 14) is (k - 1) / n for the k-th of n sentences, and
// Fifth the fifth of the text it stands in, 1 + floor(5 (k - 1) / n), taken
// in integers so that no rounding moves a sentence to another fifth.
//
// For instance, for the paragraphs [s1 s2 s3] [s4] [s5 s6]:
//   TextLocation:      begin begin begin middle end end
//   ParagraphLocation: begin middle end begin middle end
//   ParagraphMark:     begin middle end begin begin end
//   Fifth:             1 1 2 3 4 5
#ifndef CASEWRIGHT_FEATURES_LOCATIONS_H_
#define CASEWRIGHT_FEATURES_LOCATIONS_H_

#include "core/run.h"

namespace casewright {

// Sets TextLocation and ParagraphLocation of every sentence, whichever of
// the two features is wanted.  Does nothing on a text without sentences.
void MarkLocations(Run& run);

// Sets ParagraphMark, Position and Fifth of every sentence.
void MarkPositions(Run& run);

}  // namespace casewright

#endif  // CASEWRIGHT_FEATURES_LOCATIONS_H_
