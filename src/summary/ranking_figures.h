// How well a score per sentence ranks a text's reference sentences above
// the others, whatever the number of sentences a summary then takes:
//
//   ROC AUC            the share of (reference, other) pairs of sentences in
//                      which the reference sentence scores higher; a pair
//                      of equal scores counts as half.
//   average precision  the sum over the distinct scores, from the highest
//                      down, of the precision of the sentences scoring at
//                      least that much times the rise in recall they bring;
//                      sentences of equal score enter together, so a tie is
//                      neither broken in the system's favour nor against it
//                      (scikit-learn's average_precision_score).
//
// Neither figure applies to a text whose reference holds all of its
// sentences or none: there is no pair to rank, and the figures are absent.
#ifndef CASEWRIGHT_SUMMARY_RANKING_FIGURES_H_
#define CASEWRIGHT_SUMMARY_RANKING_FIGURES_H_

#include <optional>
#include <vector>

namespace casewright {

struct RankingFigures {
  std::optional<double> auc;
  std::optional<double> average_precision;
};

// The figures of `scores` (one per sentence) against `reference` (true:
// the sentence is in the reference).
// REQUIRES: scores.size() == reference.size(); no score is NaN.
RankingFigures RankingFiguresOf(const std::vector<double>& scores, const std::vector<bool>& reference);

}  // namespace casewright

#endif  // CASEWRIGHT_SUMMARY_RANKING_FIGURES_H_
