// Paired comparisons of the systems of an evaluation, text by text
// (paired_test.h): every system against each of its baselines, and every
// two systems, on sentence F1 and ROUGE-1, ROUGE-2 and ROUGE-L F1.  A pair
// is compared over the texts where both have the figure; a text with
// several rows of a system (cross-validation repeated) counts once, as the
// mean of its rows.
//
// The comparisons are written as CSV, a header and one row a line:
//   system,other,figure,texts,mean_difference,difference_low,
//   difference_high,bootstrap_p,wilcoxon_p
// where the difference is system minus other, with 4 decimals, and the
// p-values have 6.
#ifndef CASEWRIGHT_SUMMARY_COMPARISON_H_
#define CASEWRIGHT_SUMMARY_COMPARISON_H_

#include <cstdint>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "summary/evaluation_table.h"
#include "summary/paired_test.h"

namespace casewright {

struct Comparison {
  std::string system;
  std::string other;
  std::string figure;  // as named in FigureNames()
  PairedTest test;
};

// The pairs to compare: each of `systems` with each of its baselines, then
// every two systems in order.  Every other system named in `rows` is a
// baseline: of the only system when there is one, else of the system NAME
// its name ends with (`lead:NAME`).
std::vector<std::pair<std::string, std::string>> PairsToCompare(const std::vector<std::string>& systems,
                                                                 const std::vector<EvaluationRow>& rows);

// The comparisons of `pairs` over the text rows `rows`, each resampled
// `resamples` times from `seed`.
// REQUIRES: resamples >= 1.
std::vector<Comparison> CompareSystems(const std::vector<EvaluationRow>& rows,
                                       const std::vector<std::pair<std::string, std::string>>& pairs, int resamples,
                                       std::uint64_t seed);

void WriteComparisons(const std::vector<Comparison>& comparisons, std::ostream& out);

}  // namespace casewright

#endif  // CASEWRIGHT_SUMMARY_COMPARISON_H_
