#include "summary/ranking_figures.h"

#include <algorithm>
#include <numeric>

namespace casewright {

RankingFigures RankingFiguresOf(const std::vector<double>& scores, const std::vector<bool>& reference) {
  const std::size_t n = scores.size();
  const auto positives = static_cast<std::size_t>(std::count(reference.begin(), reference.end(), true));
  if (positives == 0 || positives == n) return {};
  std::vector<std::size_t> order(n);
  std::iota(order.begin(), order.end(), 0);
  std::sort(order.begin(), order.end(), [&scores](std::size_t a, std::size_t b) { return scores[a] > scores[b]; });
  // Walk the groups of equal scores from the highest down.  A group's
  // positives beat every negative below it and tie with its own negatives.
  double wins = 0, precision_sum = 0;
  std::size_t above = 0, positives_above = 0;
  for (std::size_t start = 0; start < n;) {
    std::size_t end = start;
    std::size_t group_positives = 0;
    while (end < n && scores[order[end]] == scores[order[start]]) group_positives += reference[order[end++]];
    const std::size_t group_negatives = end - start - group_positives;
    const std::size_t negatives_below = (n - positives) - (above - positives_above) - group_negatives;
    wins += group_positives * (negatives_below + 0.5 * group_negatives);
    above = end;
    positives_above += group_positives;
    precision_sum += group_positives * (static_cast<double>(positives_above) / above);
    start = end;
  }
  const double negatives = static_cast<double>(n - positives);
  return {wins / (positives * negatives), precision_sum / positives};
}

}  // namespace casewright
