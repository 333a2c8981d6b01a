// Is one system better than another on the same texts?  Paired tests over
// the per-text differences of a figure, a - b:
//
//   mean difference   the mean of the differences.
//   interval          the 95 % percentile bootstrap interval of the mean
//                     difference, resampling the texts (pairs stay pairs).
//   bootstrap p       two-sided: twice the smaller share of resampled mean
//                     differences at or below 0 and at or above 0, at most
//                     1; the smallest level at which the percentile interval
//                     leaves out 0.
//   Wilcoxon p        the signed-rank test, two-sided.  Zero differences
//                     are dropped; the absolute differences are ranked, ties
//                     sharing their mean rank; the statistic is the smaller
//                     of the sums of the ranks of the positive and the
//                     negative differences.  With at most 25 non-zero
//                     differences the p-value is exact (every assignment of
//                     signs to the ranks, counted); above, the normal
//                     approximation with a continuity correction of 1/2 and
//                     the variance reduced by sum(t^3 - t) / 48 over groups
//                     of t tied ranks.  With no non-zero difference, p = 1.
//
// Differences closer than 1e-12 count as equal (and as zero near zero), so
// that figures equal but summed in another order do not pass for different.
#ifndef CASEWRIGHT_SUMMARY_PAIRED_TEST_H_
#define CASEWRIGHT_SUMMARY_PAIRED_TEST_H_

#include <cstddef>
#include <cstdint>
#include <span>

#include "summary/evaluation_table.h"

namespace casewright {

struct PairedTest {
  std::size_t pairs = 0;
  double mean_difference = 0;
  Interval interval;
  double bootstrap_p = 1;
  double wilcoxon_p = 1;
};

// The Wilcoxon signed-rank p-value of `differences`.
double WilcoxonSignedRankP(std::span<const double> differences);

// The paired figures of a - b, text by text, over `resamples` resamples
// drawn from `seed`.
// REQUIRES: a.size() == b.size() >= 1, resamples >= 1.
PairedTest ComparePaired(std::span<const double> a, std::span<const double> b, int resamples, std::uint64_t seed);

}  // namespace casewright

#endif  // CASEWRIGHT_SUMMARY_PAIRED_TEST_H_
