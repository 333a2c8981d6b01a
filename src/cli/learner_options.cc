#include "cli/learner_options.h"

#include "cli/feature_list.h"

#include <algorithm>

namespace casewright::cli {

void AddLearnerOptions(CLI::App& app, TrainOptions& options) {
  app.add_option("manifest", options.manifest,
                 "The manifest: a batch manifest, text<TAB>classes<TAB>output lines (the output may be empty)")
      ->required()
      ->type_name("MANIFEST");
  app.add_option("--features", options.run.features, FeatureListHelp())->type_name("LIST")->default_str("1-8");
  options.run.writes_cases = false;
  AddValuesOption(app, options.run);
  AddSegmentedFlag(app, options.run, "Each text holds");
  AddEncodingOption(app, options.run);
  AddStrictClassesFlag(app, options.run, "Fail when a text's classes do not fit its sentences, instead of warning");
  AddExtractOptions(app, options.extract);
  app.add_option("--rounds", options.rounds, "Boosting rounds: trees in the model")
      ->type_name("N")
      ->check(CLI::Range(1, 10000))
      ->default_str("100");
  app.add_option("--depth", options.depth, "Greatest depth of a tree")
      ->type_name("D")
      ->check(CLI::Range(1, 16))
      ->default_str("4");
  app.add_option("--seed", options.seed,
                 "Seed of every draw: crossval's folds, random baselines and resamples, and XGBoost's; the trees do "
                 "not depend on it, since every sentence and feature is used in every round")
      ->type_name("S")
      ->default_str(std::to_string(kDefaultSeed));
  app.add_option("--jobs", options.jobs,
                 "Worker threads, 1 to " + std::to_string(kMaxJobs) + " (default: one per core)")
      ->type_name("N");
}

LearnerChoices ChooseLearner(const TrainOptions& options) {
  const Choices run = Choose(options.run);
  LearnerChoices choices;
  choices.corpus.features = run.features;
  choices.corpus.values = run.values;
  choices.corpus.encoding = run.encoding;
  choices.corpus.segmented = options.run.segmented;
  choices.corpus.extract = ChooseExtract(options.extract, "");
  choices.corpus.strict_classes = options.run.strict_classes;
  choices.corpus.jobs = JobsAsked(options.jobs);
  choices.training.rounds = options.rounds;
  choices.training.depth = options.depth;
  choices.training.seed = options.seed;
  // More learner threads than cores only make XGBoost's threads wait on
  // one another.
  choices.training.threads = std::min(choices.corpus.jobs, JobsOf(0));
  choices.training.version = CASEWRIGHT_VERSION;
  if (run.features == FeatureSet::None()) throw UsageError("--features: a model needs at least one feature");
  return choices;
}

void PrintCorpusMessages(const std::vector<ManifestEntry>& entries, const CorpusCases& corpus,
                         const std::string& manifest) {
  const CorpusMessages messages = MessagesOf(entries, corpus, manifest);
  PrintMessages(messages.warnings, messages.notes);
}

}  // namespace casewright::cli
