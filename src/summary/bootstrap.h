// Uncertainty of the mean figures: percentile bootstrap intervals over
// texts.
//
// A mean row is the mean of a system's figures over texts.  Resampling the
// texts with replacement `resamples` times and taking the mean of each
// resample gives the spread the mean would have over other draws of texts
// of the same kind; the 95 % interval runs from the 2.5th to the 97.5th
// percentile of those means (linear interpolation between the two nearest
// resample means, as NumPy's default percentile).
//
// A text with several rows of one system (cross-validation repeated) counts
// once, as the mean of its rows, so repeats never pass for more texts.
// Every system is resampled with the same draws of text positions, seeded by
// `seed`, so that the intervals are reproducible.
#ifndef CASEWRIGHT_SUMMARY_BOOTSTRAP_H_
#define CASEWRIGHT_SUMMARY_BOOTSTRAP_H_

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "summary/evaluation_table.h"

namespace casewright {

// The resamples every command draws unless told otherwise.
inline constexpr int kDefaultResamples = 1000;

// The value below which a share `q` (0 <= q <= 1) of `sorted` lies,
// interpolated linearly between neighbours.
// REQUIRES: `sorted` ascending and not empty.
double Percentile(std::span<const double> sorted, double q);

// The 95 % percentile interval of the mean of `values` over `resamples`
// resamples drawn from `seed`.
// REQUIRES: `values` not empty, resamples >= 1.
Interval MeanInterval(std::span<const double> values, int resamples, std::uint64_t seed);

// A text's figures for one system: the mean of the system's rows of that
// text, figure by figure (FigureValues order); a figure absent from every
// row of the text is absent.
struct TextFigures {
  std::string text;
  std::vector<std::optional<double>> figures;
};

// The figures of each text that `system` has rows of, in order of first
// appearance.
std::vector<TextFigures> FiguresPerText(const std::vector<EvaluationRow>& rows, const std::string& system);

// Sets the `intervals` of each row of `means` from the text rows of its
// system in `rows`: for each figure, the 95 % interval of its mean over the
// texts that have it.  With resamples == 0, leaves the means as they are.
// REQUIRES: resamples >= 0.
void AddBootstrapIntervals(const std::vector<EvaluationRow>& rows, std::vector<EvaluationRow>& means, int resamples,
                           std::uint64_t seed);

}  // namespace casewright

#endif  // CASEWRIGHT_SUMMARY_BOOTSTRAP_H_
