// Classes from a reference extract: 1 for each sentence of a text that a
// sentence of the extract (the sentences of its summary, in any order) holds,
// 0 for every other, so that nobody has to count sentences by hand.
//
// The extract is segmented as the text is, and sentences are compared by
// their word keys, so case, spacing, line breaks, punctuation and the forms
// the lexicon folds together do not matter.  A sentence of the text matches
// a sentence of the extract when their keys are the same, in the same order.
// Words made of punctuation only (a lone quotation mark or dash), whose key
// is empty, are left out of the comparison: a quotation mark that the
// extract adds or drops at a sentence's edge changes nothing.
//
// With a minimum overlap R (0 < R <= 1), a sentence also matches when it
// holds at least R of the extract sentence's keys: the keys the two share,
// counted as multisets (a key twice in each counts twice, a key twice in
// the extract sentence and once in the text's counts once), divided by the
// number of keys of the extract sentence.  R = 1 thus takes a sentence that
// holds every word of the extract sentence, in any order, and maybe more.
//
// An extract sentence without keys (the empty sentence between "!!") is
// left out.  Extract sentences are numbered as `sentences` lists the
// extract, from 1.
#ifndef CASEWRIGHT_TEXT_EXTRACT_CLASSES_H_
#define CASEWRIGHT_TEXT_EXTRACT_CLASSES_H_

#include <cstddef>
#include <string>
#include <vector>

#include "core/run.h"
#include "text/segmented_text.h"
#include "text/text_encoding.h"

namespace casewright {

// A reference extract, and how its sentences are matched.
struct ExtractSettings {
  std::string path;
  TextEncoding encoding = TextEncoding::kAuto;
  // The least share of an extract sentence's keys that a sentence must hold
  // to match it; 0 asks for equal keys only.
  double min_overlap = 0;
  // Whether an extract sentence that matches no sentence is only a warning.
  bool allow_unmatched = false;
};

struct ExtractClasses {
  // "1" or "0" for each sentence of the text, in order.
  std::vector<std::string> classes;
  // How many sentences got 1.
  std::size_t chosen = 0;
  // One message for each extract sentence that matched no sentence, naming
  // the sentence that shares the most keys with it, if any; or one saying
  // that the extract holds no sentence to compare.
  std::vector<std::string> unmatched;
  // One message for each extract sentence that matched several sentences,
  // each of which gets 1.
  std::vector<std::string> repeated;
  // Text after the extract's last sentence (in no sentence, so never
  // compared), and what loading the extract warned of.
  std::vector<std::string> warnings;
  // What loading the extract noted (the encoding `auto` took).
  std::vector<std::string> notes;
};

// The classes of the sentences of `text` (segmented, its word table
// complete) from `extract`.
// REQUIRES: 0 <= min_overlap <= 1; 0 asks for equal keys only.
ExtractClasses ClassesFromExtract(const Run& text, SegmentedText& extract, double min_overlap);

}  // namespace casewright

#endif  // CASEWRIGHT_TEXT_EXTRACT_CLASSES_H_
