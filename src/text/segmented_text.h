// A text file segmented as a run segments it, for looking at its sentences
// rather than computing their features: each sentence can be had as it
// stands in the file, with its paragraph flags and its word keys.  The
// sentences are the run's own (SegmentText); only a reference extract may be
// split otherwise (SentenceBreaks).
#ifndef CASEWRIGHT_TEXT_SEGMENTED_TEXT_H_
#define CASEWRIGHT_TEXT_SEGMENTED_TEXT_H_

#include <cstddef>
#include <string>
#include <vector>

#include "core/lexical_tables.h"
#include "core/run.h"
#include "text/load_text.h"
#include "text/original_text.h"
#include "text/segment.h"
#include "text/text_encoding.h"

namespace casewright {

class SegmentedText {
 public:
  // Loads the file at `path` (`-`: standard input) in `encoding` and
  // segments it with `breaks`, looking its words up in `tables`, which must
  // outlive this object.  Throws RunError as LoadTextAs and SegmentText do.
  SegmentedText(const std::string& path, TextEncoding encoding, const LexicalTables& tables,
                SentenceBreaks breaks = SentenceBreaks::kTerminators);
  SegmentedText(const SegmentedText&) = delete;
  SegmentedText& operator=(const SegmentedText&) = delete;

  const Run& run() const { return run_; }
  // The text as loaded and segmented (Windows-1252).
  std::string_view bytes() const { return source_.text.bytes; }
  SentenceBreaks breaks() const { return breaks_; }
  std::size_t size() const { return run_.sentence_list.size(); }
  // What loading the file had to say (text_encoding.h).
  const std::vector<std::string>& warnings() const { return source_.text.warnings; }
  const std::vector<std::string>& notes() const { return source_.text.notes; }
  // Whether the file was read as UTF-8.
  bool utf8() const { return source_.text.utf8; }

  // Sentence `index` as it stands in the file, in UTF-8: from the first
  // character after the previous sentence's terminator that is no blank or
  // line break, through its own terminator; line breaks and tabs are shown
  // as blanks.  Cheapest when asked for in sentence order.
  // REQUIRES: index < size().
  std::string Original(std::size_t index);

  // The text after the last sentence's terminator, which ends no sentence
  // and is therefore in no sentence, shown as Original shows a sentence;
  // empty when there is none.
  std::string Tail();
  // What the listing says of that text ("The text after the last sentence
  // ends no sentence..."), or empty when there is none.
  std::string TailNote();

  // The first sentence of the text and every sentence after one that ends a
  // paragraph begin a paragraph; a sentence followed by a line break with
  // only blanks between, and the last sentence, end one.
  // REQUIRES: index < size().
  bool BeginsParagraph(std::size_t index) const;
  bool EndsParagraph(std::size_t index) const;

  // The stored form of sentence `index` (SentenceText): its words as the
  // text spells them, separated by "#".
  // REQUIRES: index < size().
  std::string Text(std::size_t index) const;

  // The keys of sentence `index`'s words in UTF-8, separated by blanks.  The
  // empty key of a word made of punctuation only (a lone quotation mark)
  // shows as nothing between its blanks.
  // REQUIRES: index < size().
  std::string Keys(std::size_t index) const;

 private:
  SourceText source_;
  SentenceBreaks breaks_;
  Run run_;
  OriginalText original_;
};

// `utf8` (a sentence, say) in double quotation marks for a message, cut
// short past 120 bytes, at a character's start, with "...".
std::string QuotedExcerpt(const std::string& utf8);

}  // namespace casewright

#endif  // CASEWRIGHT_TEXT_SEGMENTED_TEXT_H_
