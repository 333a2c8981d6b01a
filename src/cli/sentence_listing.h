// The listing `casewright-cli sentences` prints: a text's sentences as the
// run finds them, one a line, so that a classes file can be checked or
// written against them.
//
// text (for reading), one line a sentence:
//
//    12 [  1 Casewright turns a text into cases.
//
// the number; "[" when the sentence begins a paragraph and "]" when it ends
// one; with classes, the class ("-" for an empty one); the sentence as it
// stands in the file.  A line starting with ">>>>" before a sentence marks
// where the classes stop fitting the sentences, and one at the end tells of
// classes left over.
//
// tsv (for programs), a header row, then one row a sentence, LF-ended:
//
//   number  begins_paragraph  ends_paragraph  word_count  [class  mark]  text  keys  words  stems
//
// the flags 1 or 0; word_count counts the words as the sentence-size feature
// does; mark is empty, "classes run out", "empty class" or "merged class"
// (classes_file.h), and a last row with only a mark ("3 extra classes")
// tells of classes left over; keys, words and stems are the sentence's
// tokens of each kind that `evaluate --tokens` compares (summary_tokens.h),
// separated by blanks, with the stoplist's words.  Everything is UTF-8, and a field never holds a TAB or a line
// break.
#ifndef CASEWRIGHT_CLI_SENTENCE_LISTING_H_
#define CASEWRIGHT_CLI_SENTENCE_LISTING_H_

#include <ostream>

#include "text/classes_file.h"
#include "text/segmented_text.h"

namespace casewright {

enum class ListingFormat { kText, kTsv };

// Writes the listing of `text`'s sentences to `out`, with the class of each
// from `classes` (null: without classes).
// REQUIRES: classes, when given, holds one class per sentence of `text`.
void WriteSentenceListing(SegmentedText& text, const SentenceClasses* classes, ListingFormat format,
                          std::ostream& out);

}  // namespace casewright

#endif  // CASEWRIGHT_CLI_SENTENCE_LISTING_H_
