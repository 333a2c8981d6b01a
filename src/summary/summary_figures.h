// All the figures of one summary of a text against its references: the
// sentence figures when the references are extracts of the text, and
// ROUGE-1, ROUGE-2, ROUGE-L, ROUGE-Lseq and ROUGE-SU4 (metrics.h).  The text
// is given as the tokens of each of its sentences; a summary is a choice of
// its sentences.
#ifndef CASEWRIGHT_SUMMARY_SUMMARY_FIGURES_H_
#define CASEWRIGHT_SUMMARY_SUMMARY_FIGURES_H_

#include <cstddef>
#include <optional>
#include <vector>

#include "summary/metrics.h"
#include "summary/selection.h"

namespace casewright {

// One reference summary: the tokens of its sentences, and its whole token
// sequence prepared.
struct ReferenceSummary {
  SentenceTokens sentences;
  RougeReference tokens;
};

// The reference summaries of a text, one or more.
struct Reference {
  // One flag per sentence of the text (true: in some reference) when every
  // reference is an extract of the text; absent when one is a summary in
  // its own words.
  std::optional<std::vector<bool>> sentences;
  std::vector<ReferenceSummary> summaries;
};

// The reference made of the text's sentences flagged in `sentences`.
// REQUIRES: one flag per sentence of `text`.
Reference ExtractReference(const SentenceTokens& text, std::vector<bool> sentences);
// A reference in its own words, of the sentences `sentences`.
Reference AbstractReference(SentenceTokens sentences);
// Several references of one text as one: each ROUGE figure is the mean of
// the figures against each, and the sentence figures compare with the union
// of their sentences.
// REQUIRES: !references.empty().
Reference CombinedReference(std::vector<Reference> references);

struct SummaryFigures {
  std::optional<Scores> sentence;  // absent against a summary in its own words
  Scores rouge1, rouge2, rougeL, rougeLseq, rougeSU4;
};

// The figures of the summary made of the sentences `chosen` of `text`.
// REQUIRES: every index in `chosen` < text.size(); a reference's flags, if
// any, one per sentence of `text`.
SummaryFigures FiguresOf(const SentenceTokens& text, const std::vector<std::size_t>& chosen,
                         const Reference& reference);

// How many draws the random baseline of a text of `sentences` sentences
// makes: `most`, or fewer on a long text, so that draws x sentences stays
// near kRandomDrawSentences, but never fewer than kFewestRandomDraws.  The
// spread of a draw's figures shrinks as 1/sqrt(sentences), so the mean keeps
// the precision it has on shorter texts, while the whole-sequence LCS, which
// grows with the square of the length, is computed fewer times.
// REQUIRES: most >= 1.
inline constexpr std::size_t kRandomDrawSentences = 100000;
inline constexpr int kFewestRandomDraws = 10;
int RandomDrawsFor(std::size_t sentences, int most);

// The mean figures of RandomDrawsFor(text.size(), most_draws) summaries of
// `count` sentences drawn at random from `random`: the random baseline.
// What does not depend on the draw (the reference's n-grams, each sentence
// looked up in them, each reference sentence's LCS with each sentence of the
// text) is prepared once.
// REQUIRES: count <= text.size(), most_draws >= 1.
SummaryFigures MeanOfRandomDraws(const SentenceTokens& text, std::size_t count, const Reference& reference,
                                 RandomChoice& random, int most_draws);

}  // namespace casewright

#endif  // CASEWRIGHT_SUMMARY_SUMMARY_FIGURES_H_
