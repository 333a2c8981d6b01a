// Extracts from a text's scores (`casewright-cli summarize`, the window's
// Summary view), and the tokens that summaries of a text are compared by.
#ifndef CASEWRIGHT_PIPELINE_SUMMARY_RUN_H_
#define CASEWRIGHT_PIPELINE_SUMMARY_RUN_H_

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "core/lexical_tables.h"
#include "core/run.h"
#include "pipeline/summary_tokens.h"
#include "summary/methods/method.h"
#include "summary/summary_figures.h"
#include "text/segmented_text.h"
#include "text/text_encoding.h"

namespace casewright {

// The bytes of an extract file: the sentences `chosen`, in the order given,
// one a line (LF-ended), each as `casewright-cli sentences` shows it; in
// UTF-8 when the text was read as UTF-8, else in Windows-1252.
std::string ExtractFileText(SegmentedText& text, const std::vector<std::size_t>& chosen);

// How many sentences a summary takes: `count`, or `rate` of the text's
// sentences (selection.h) when `count` is 0.
struct SummarySize {
  double rate = 0;
  std::size_t count = 0;
};

// The number of sentences of a summary of `size` of a text of
// `sentence_count` sentences.  Throws RunError when `size.count` is larger
// than the text.
// REQUIRES: sentence_count >= 1.
std::size_t SentencesOfSize(SummarySize size, std::size_t sentence_count);

// The sentences a summary of `sentence_count` sentences takes by `scores`
// (one per sentence): the best `size` of them, in text order.  Throws
// RunError when `size.count` is larger than the text.
std::vector<std::size_t> ChooseByScores(const std::vector<double>& scores, SummarySize size);

// How the sentences are chosen from their scores: the best ones, or by
// maximal marginal relevance (summary/mmr.h) with its lambda.
struct Selection {
  bool mmr = false;
  double lambda = 0;
};

// The sentences `selection` takes by `scores`, in text order; MMR compares
// the sentences by the content tokens of `text`.  Throws as ChooseByScores.
// REQUIRES: text.tokens holds a sentence per score.
std::vector<std::size_t> ChooseBySelection(const std::vector<double>& scores, const MethodText& text,
                                           SummarySize size, Selection selection);

// `casewright-cli summarize`.  The text may be `-`, standard input; the
// extract and the classes file `-`, standard output (not both).
struct SummarizeSettings {
  std::string text_path;
  TextEncoding encoding = TextEncoding::kWindows1252;
  // Whether the text holds one sentence a line (RunSettings::segmented).
  bool segmented = false;
  std::string scores_path;
  // The scores themselves, one per sentence, when scores_path is empty.
  std::vector<double> scores;
  // Or, when set, what gives them from the text as loaded (its Windows-1252
  // bytes): a model's probabilities.  Called after the files are checked.
  std::function<std::vector<double>(std::string_view text)> score_text;
  // The model score_text reads, for the check of the files; empty: none.
  std::string model_path;
  // Or, when not null, the method that scores the sentences from their keys
  // (summary/methods/registry.h); not one that needs a reference.
  const SummaryMethod* method = nullptr;
  SummarySize size;
  Selection selection;
  std::string extract_path = "-";
  std::string classes_path;        // empty: none
  std::string scores_output_path;  // empty: none; the scores, one a line with 6 decimals
};

// The scores `method` gives each sentence of `text`, from the sentences'
// keys as evaluate compares them (and their feature values for feature:N):
// what `summarize --method` chooses by.
// REQUIRES: method.Needs() != MethodNeeds::kReference.
std::vector<double> MethodScoresOf(const SummaryMethod& method, const SegmentedText& text,
                                   const LexicalTables& tables);

struct SummarizeOutcome {
  std::size_t sentences = 0;
  std::size_t chosen = 0;
  std::vector<std::string> warnings;
  std::vector<std::string> notes;
};

// Writes the extract and, when asked for, the classes file (1 chosen, 0
// not) and the scores, all or none.  Throws RunError (a score file that does
// not fit the text, a file that cannot be read or written, a file written
// that is also read or written twice, one file read as two inputs), before
// anything is read when the files are at fault.
SummarizeOutcome WriteSummary(const SummarizeSettings& settings, const LexicalTables& tables);

}  // namespace casewright

#endif  // CASEWRIGHT_PIPELINE_SUMMARY_RUN_H_
