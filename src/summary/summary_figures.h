// All the figures of one summary of a text against one reference: the
// sentence figures when the reference is an extract of the text, and
// ROUGE-1, ROUGE-2 and ROUGE-L (metrics.h).  The text is given as the
// tokens of each of its sentences; a summary is a choice of its sentences.
#ifndef CASEWRIGHT_SUMMARY_SUMMARY_FIGURES_H_
#define CASEWRIGHT_SUMMARY_SUMMARY_FIGURES_H_

#include <cstddef>
#include <optional>
#include <vector>

#include "summary/metrics.h"
#include "summary/selection.h"

namespace casewright {

using SentenceTokens = std::vector<std::vector<TokenId>>;

// The reference summary of a text.
struct Reference {
  // One flag per sentence of the text (true: in the reference) when the
  // reference is an extract of the text; absent for a summary in its own
  // words.
  std::optional<std::vector<bool>> sentences;
  // The reference's whole token sequence, prepared for ROUGE-1, -2 and -L.
  RougeReference tokens;
};

// The reference made of the text's sentences flagged in `sentences`.
// REQUIRES: one flag per sentence of `text`.
Reference ExtractReference(const SentenceTokens& text, std::vector<bool> sentences);
// A reference in its own words, of the tokens `tokens`.
Reference AbstractReference(std::span<const TokenId> tokens);

struct SummaryFigures {
  std::optional<Scores> sentence;  // absent against a summary in its own words
  Scores rouge1, rouge2, rougeL;
};

// The tokens of the sentences `chosen`, one sentence after the other.
std::vector<TokenId> SummaryTokens(const SentenceTokens& text, const std::vector<std::size_t>& chosen);

// The figures of the summary made of the sentences `chosen` of `text`.
// REQUIRES: every index in `chosen` < text.size(); a reference's flags, if
// any, one per sentence of `text`.
SummaryFigures FiguresOf(const SentenceTokens& text, const std::vector<std::size_t>& chosen,
                         const Reference& reference);

// The mean figures of `draws` summaries of `count` sentences drawn at random
// from `random`: the random baseline.
// REQUIRES: count <= text.size(), draws >= 1.
SummaryFigures MeanOfRandomDraws(const SentenceTokens& text, std::size_t count, const Reference& reference,
                                 RandomChoice& random, int draws);

}  // namespace casewright

#endif  // CASEWRIGHT_SUMMARY_SUMMARY_FIGURES_H_
