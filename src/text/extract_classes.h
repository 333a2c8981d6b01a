// Classes from a reference extract: 1 for each sentence of a text that the
// extract (the sentences of its summary) holds, 0 for every other, so that
// nobody has to count sentences by hand.
//
// The extract is read as one stream of word keys (extract_alignment.h): its
// sentence and line breaks do not count, nor do case, spacing, punctuation
// and the forms the lexicon folds together.  Words made of punctuation only
// (a lone quotation mark or dash), whose key is empty, are left out, and so
// are the periods at either end of a key: a period that ends no sentence
// stays in its word, and whether it ends one depends on what follows it,
// which an extract changes.  A sentence of the text gets 1 when the
// alignment chooses it: its keys stand in the stream one after the other,
// the chosen sentences taking the stream in the text's order, or, with a
// minimum overlap R, it near-matches a stretch no exact match covers.
//
// What is left over is reported: each stretch of the stream matched by
// nothing, by the extract sentence it lies in (the whole sentence, or the
// words of it that match nothing), with the sentence of the text that
// shares the most keys with it; and each match that sentences with the same
// keys could equally have taken, of which the first gets 1.
//
// Extract sentences are numbered as `sentences` lists the extract, from 1
// (the words after its last terminator being one more sentence); with
// `lines`, each line of the extract is a sentence, numbered as its line.
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
  // The least share of a sentence's keys that a near match must hold in
  // order; 0 asks for exact matches only.
  double min_overlap = 0;
  // Whether an extract sentence that matches no sentence is only a warning.
  bool allow_unmatched = false;
  // Whether each line of the extract is a sentence, whatever its
  // punctuation.  The alignment is the same; only the numbers the messages
  // give extract sentences differ.
  bool lines = false;
};

struct ExtractClasses {
  // "1" or "0" for each sentence of the text, in order.
  std::vector<std::string> classes;
  // How many sentences got 1.
  std::size_t chosen = 0;
  // One message for each extract sentence, or part of one, that matched no
  // sentence, naming the sentence that shares the most keys with it, if any;
  // or one saying that the extract holds no word to compare.
  std::vector<std::string> unmatched;
  // One message for each match that several sentences with the same keys
  // could have taken, the first of which gets 1.
  std::vector<std::string> repeated;
  // Text after the extract's last sentence when it was segmented as a text
  // (in no sentence, so never compared), and what loading the extract
  // warned of.
  std::vector<std::string> warnings;
  // What loading the extract noted (the encoding `auto` took).
  std::vector<std::string> notes;
};

// How an extract is segmented: by lines, or at its terminators and its end.
SentenceBreaks ExtractBreaks(const ExtractSettings& settings);

// The classes of the sentences of `text` (segmented, its word table
// complete) from `extract`, segmented with ExtractBreaks.
// REQUIRES: 0 <= min_overlap <= 1; 0 asks for exact matches only.
ExtractClasses ClassesFromExtract(const Run& text, SegmentedText& extract, double min_overlap);

// The same, loading the extract `settings` names: what `classes`, a batch's
// extract: lines and the window's Sentences view all use.  Throws RunError
// as SegmentedText does.
ExtractClasses ClassesFromExtract(const Run& text, const ExtractSettings& settings);

}  // namespace casewright

#endif  // CASEWRIGHT_TEXT_EXTRACT_CLASSES_H_
