#include "cli/method_options.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "cli/command.h"
#include "summary/methods/registry.h"
#include "summary/mmr.h"

namespace casewright::cli {
namespace {

bool IsBaseline(const std::string& name) {
  return name == "lead" || name == "random" || name == "none" || MakeMethod(name) != nullptr;
}

// The help's list of the methods, one a line with what each does.
std::string MethodList() {
  std::string list;
  for (const MethodInfo& method : Methods()) {
    list += "\n  " + std::string(method.name) + ": " + std::string(method.description);
  }
  return list;
}

}  // namespace

void AddBaselinesOption(CLI::App& app, std::vector<std::string>& baselines) {
  app.add_option("--baselines", baselines,
                 "The baselines at each system's number of sentences: lead (the first sentences), random (the mean "
                 "of 100 draws, fewer past 1,000 sentences), none, or any method (" +
                     MethodNames() + ")")
      ->delimiter(',')
      ->check(CLI::Validator(
          [](std::string& name) {
            return IsBaseline(name) ? std::string()
                                    : name + " is not a baseline: lead, random, none, " + MethodNames();
          },
          "", "baseline"))
      ->type_name("NAMES")
      ->default_str("lead,random");
}

BaselineChoice ChooseBaselines(const std::vector<std::string>& names, FeatureSet features) {
  BaselineChoice choice;
  for (std::size_t i = 0; i < names.size(); ++i) {
    const std::string& name = names[i];
    if (std::find(names.begin(), names.begin() + static_cast<std::ptrdiff_t>(i), name) != names.begin() + i) {
      throw UsageError("--baselines names " + name + " twice");
    }
    if (name == "none" && names.size() > 1) throw UsageError("--baselines none cannot go with another baseline");
    if (name == "lead") choice.lead = true;
    if (name == "random") choice.random = true;
    if (name == "lead" || name == "random" || name == "none") continue;
    if (name.starts_with("feature:") && !features.Has(kFeatures[name.back() - '1'].feature)) {
      throw UsageError("--baselines " + name + " needs feature " + name.substr(8) + " among --features");
    }
    choice.methods.push_back(name);
  }
  return choice;
}

void RefuseMethodNames(const std::vector<std::string>& systems, const BaselineChoice& baselines,
                       const std::string& manifest) {
  for (const std::string& system : systems) {
    for (const std::string& method : baselines.methods) {
      if (system == method || system.starts_with(method + ":")) {
        throw UsageError(manifest + ":1: The system name " + system + " is the name of the baseline " + method +
                         "; name the system otherwise");
      }
    }
  }
}

void AddMethodOption(CLI::App& app, std::string& method) {
  app.add_option("--method", method, "Score the sentences with a method instead of scores or a model:" +
                                          MethodList() + "\n(oracle needs a reference: a baseline of evaluate "
                                                         "and crossval only)")
      ->check(CLI::Validator(
          [](std::string& name) {
            const auto made = MakeMethod(name);
            if (made == nullptr) return name + " is not a method: " + MethodNames();
            if (made->Needs() == MethodNeeds::kReference) {
              return name + " needs a reference summary; use it in evaluate or crossval --baselines";
            }
            return std::string();
          },
          "", "method"))
      ->type_name("NAME");
}

void AddSelectionOptions(CLI::App& app, SelectionOptions& options) {
  app.add_option("--selection", options.selection,
                 "top (the best scores) or mmr (maximal marginal relevance: the scores against the likeness to the "
                 "sentences already chosen)")
      ->check(CLI::IsMember({"top", "mmr"}))
      ->default_str("top");
  app.add_option("--mmr-lambda", options.lambda,
                 "With --selection mmr: the weight of the score against the likeness, 0 <= L <= 1 (default 0.7)")
      ->type_name("L");
}

Selection ChooseSelection(const SelectionOptions& options) {
  Selection selection{options.selection == "mmr", kDefaultMmrLambda};
  if (options.lambda.empty()) return selection;
  if (!selection.mmr) throw UsageError("--mmr-lambda weighs --selection mmr: it needs --selection mmr");
  const char* end = options.lambda.data() + options.lambda.size();
  const auto [stop, error] = std::from_chars(options.lambda.data(), end, selection.lambda);
  if (error != std::errc() || stop != end || !(selection.lambda >= 0 && selection.lambda <= 1)) {
    throw UsageError("--mmr-lambda must be a number from 0 to 1, such as 0.7, not " + options.lambda);
  }
  return selection;
}

}  // namespace casewright::cli
