// The options that name summarisers (summary/methods/registry.h): `--method`
// of summarize, `--baselines` of evaluate and crossval, and the choice of
// sentences from scores, `--selection` and `--mmr-lambda`.
#ifndef CASEWRIGHT_CLI_METHOD_OPTIONS_H_
#define CASEWRIGHT_CLI_METHOD_OPTIONS_H_

#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "core/features.h"
#include "pipeline/summary_run.h"

namespace casewright::cli {

// --baselines LIST (default lead,random): lead, random, none or any method.
void AddBaselinesOption(CLI::App& app, std::vector<std::string>& baselines);

struct BaselineChoice {
  bool lead = false;
  bool random = false;
  std::vector<std::string> methods;
};

// The baselines `names` asks for.  Throws UsageError for a baseline named
// twice, `none` with another, or a feature:N whose feature is not among
// `features` (its values are not computed).
BaselineChoice ChooseBaselines(const std::vector<std::string>& names, FeatureSet features = FeatureSet::Default());

// Refuses a system name of `systems` (a manifest's header) that a chosen
// method's rows would also have, naming `manifest`: their rows would share
// one mean.
void RefuseMethodNames(const std::vector<std::string>& systems, const BaselineChoice& baselines,
                       const std::string& manifest);

// --method NAME, any method that needs no reference.
void AddMethodOption(CLI::App& app, std::string& method);

// --selection top|mmr and --mmr-lambda L.
struct SelectionOptions {
  std::string selection = "top";
  std::string lambda;
};
void AddSelectionOptions(CLI::App& app, SelectionOptions& options);

// Throws UsageError for a lambda outside [0, 1] or one given without mmr.
Selection ChooseSelection(const SelectionOptions& options);

}  // namespace casewright::cli

#endif  // CASEWRIGHT_CLI_METHOD_OPTIONS_H_
