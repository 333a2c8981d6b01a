// Which features matter: the cross-validation run once more for each
// feature left out, on the same folds, and the model's figures compared
// with those of all the features, text by text.
//
// The table is a CSV file, one line per run and figure (the F1 figures and
// the ranking figures of the model):
//
//   left_out,figure,mean,low,high,difference,difference_low,difference_high,bootstrap_p,wilcoxon_p
//
// `left_out` is the short name of the feature left out (`none` for all the
// features); `mean` the model's mean figure (a macro average over texts,
// repeats averaged per text first) and `low`, `high` its 95 % bootstrap
// interval (bootstrap.h); the rest compare the run with all the features:
// the mean per-text difference (left out minus all), its paired bootstrap
// interval and the two p-values (paired_test.h).  Empty where a figure or
// a comparison does not apply.
#ifndef CASEWRIGHT_EXPERIMENT_ABLATION_H_
#define CASEWRIGHT_EXPERIMENT_ABLATION_H_

#include <optional>
#include <string>
#include <vector>

#include "experiment/crossval.h"
#include "summary/paired_test.h"

namespace casewright {

struct AblationLine {
  std::string left_out;  // "none": all the features
  std::string figure;    // a FigureNames() entry
  std::optional<double> mean;
  std::optional<Interval> interval;
  std::optional<PairedTest> difference;
};

// The lines of `all` (CrossValidate's outcome on settings.features) and of
// one run per feature of settings.features left out, on `folds`.
// Intervals and comparisons over `resamples` resamples drawn from the seed
// of `settings`.
// REQUIRES: as CrossValidate; settings.features holds at least 2 features;
// resamples >= 1.
std::vector<AblationLine> Ablate(const CorpusCases& corpus, const std::vector<std::string>& names,
                                 const FoldAssignment& folds, const CrossvalSettings& settings,
                                 const CrossvalOutcome& all, int resamples);

std::string AblationCsv(const std::vector<AblationLine>& lines);

}  // namespace casewright

#endif  // CASEWRIGHT_EXPERIMENT_ABLATION_H_
