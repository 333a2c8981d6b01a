// Maximal marginal relevance (Carbonell and Goldstein, 1998): a choice of
// sentences that weighs each sentence's score against its likeness to the
// sentences already chosen, so that a summary does not say one thing twice.
//
// The scores are first brought to [0, 1] (the lowest 0, the highest 1; all
// 1 when they are equal), so that lambda means the same for a model's
// probabilities and a method's ranks.  Likeness is the cosine of two
// sentences' vectors of token counts (stopwords left out).  Each step takes
// the sentence not yet chosen with the highest
//   lambda * score - (1 - lambda) * (its highest likeness to a chosen one),
// the earlier sentence between equals.
#ifndef CASEWRIGHT_SUMMARY_MMR_H_
#define CASEWRIGHT_SUMMARY_MMR_H_

#include <cstddef>
#include <vector>

#include "summary/summary_figures.h"

namespace casewright {

inline constexpr double kDefaultMmrLambda = 0.7;

// The `count` sentences MMR chooses, in text order.  `tokens` holds the
// tokens each sentence is compared by.
// REQUIRES: scores.size() == tokens.size(), count <= scores.size(), no
// score is NaN, 0 <= lambda <= 1.
std::vector<std::size_t> ChooseByMmr(const std::vector<double>& scores, const SentenceTokens& tokens,
                                     std::size_t count, double lambda);

}  // namespace casewright

#endif  // CASEWRIGHT_SUMMARY_MMR_H_
