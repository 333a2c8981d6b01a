#include "cli/uncertainty_options.h"

#include <algorithm>
#include <sstream>

#include "summary/comparison.h"

namespace casewright::cli {

// A million resamples already take seconds per system on a large corpus and
// move a percentile by less than its last printed decimal.
constexpr int kMostResamples = 1000000;

void AddUncertaintyOptions(CLI::App& app, UncertaintyOptions& options) {
  app.add_option("--bootstrap", options.bootstrap,
                 "Resamples of the texts for the 95 % intervals of the mean rows (0: no intervals)")
      ->check(CLI::Range(0, kMostResamples))
      ->type_name("N")
      ->default_str(std::to_string(kDefaultResamples));
  app.add_option("--compare", options.compare_path,
                 "Write the paired comparisons of the systems and baselines (differences, bootstrap intervals, "
                 "bootstrap and Wilcoxon p-values) to FILE as CSV (-: standard output)")
      ->type_name("FILE");
}

void AddComparisonFile(std::vector<RunFile>& outputs, const UncertaintyOptions& options) {
  if (!options.compare_path.empty()) outputs.push_back({options.compare_path, "comparisons file", true});
}

OutputFile* OpenComparisonFile(const UncertaintyOptions& options, OutputFiles& files) {
  return options.compare_path.empty() ? nullptr : &files.Open(options.compare_path);
}

void WriteComparisonsTo(OutputFile* file, const UncertaintyOptions& options, const std::vector<std::string>& systems,
                        const std::vector<EvaluationRow>& rows, std::uint64_t seed) {
  if (file == nullptr) return;
  // The p-values need resamples even when the intervals are turned off.
  const int resamples = options.bootstrap > 0 ? options.bootstrap : kDefaultResamples;
  std::ostringstream csv;
  WriteComparisons(CompareSystems(rows, PairsToCompare(systems, rows), resamples, seed), csv);
  file->Write(csv.str());
}

}  // namespace casewright::cli
