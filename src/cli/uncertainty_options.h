// The options of the commands that write figures with their uncertainty
// (`evaluate`, `crossval`): how many bootstrap resamples give the mean
// rows' intervals, and where the paired comparisons of the systems go.
#ifndef CASEWRIGHT_CLI_UNCERTAINTY_OPTIONS_H_
#define CASEWRIGHT_CLI_UNCERTAINTY_OPTIONS_H_

#include <cstdint>
#include <string>
#include <vector>

#include "CLI/CLI.hpp"
#include "output/output_files.h"
#include "pipeline/run_files.h"
#include "summary/bootstrap.h"
#include "summary/evaluation_table.h"

namespace casewright::cli {

struct UncertaintyOptions {
  int bootstrap = kDefaultResamples;
  std::string compare_path;  // empty: no comparisons
};

void AddUncertaintyOptions(CLI::App& app, UncertaintyOptions& options);

// Adds the comparisons file, if asked for, to the files a command writes.
void AddComparisonFile(std::vector<RunFile>& outputs, const UncertaintyOptions& options);

// Opens the comparisons file in `files` when one is asked for; else null.
OutputFile* OpenComparisonFile(const UncertaintyOptions& options, OutputFiles& files);

// Writes to `file` (nothing when null) the comparisons of `systems` with
// their baselines and with each other over the text rows `rows`.
void WriteComparisonsTo(OutputFile* file, const UncertaintyOptions& options, const std::vector<std::string>& systems,
                        const std::vector<EvaluationRow>& rows, std::uint64_t seed);

}  // namespace casewright::cli

#endif  // CASEWRIGHT_CLI_UNCERTAINTY_OPTIONS_H_
