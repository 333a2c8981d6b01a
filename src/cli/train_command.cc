// casewright-cli train MANIFEST --model M [--features LIST] [--rounds N] [--depth D] [--seed S] [--jobs N]
#include <algorithm>
#include <cstdio>
#include <memory>
#include <numeric>

#include "batch/manifest.h"
#include "cli/commands.h"
#include "cli/learner_options.h"
#include "core/run_error.h"
#include "experiment/corpus_cases.h"
#include "lexicon/sqlite_tables.h"
#include "output/output_file.h"

namespace casewright::cli {
namespace {

// Each feature's total gain, a line each, the largest first.
std::string GainTable(const SentenceModel& model) {
  std::vector<FeatureGain> gains = model.TotalGains();
  std::stable_sort(gains.begin(), gains.end(),
                   [](const FeatureGain& a, const FeatureGain& b) { return a.gain > b.gain; });
  std::string table = "Total gain of each feature (the loss its splits took away, over all trees):";
  for (const FeatureGain& feature : gains) {
    char line[96];
    std::snprintf(line, sizeof line, "\n  %-20s %12.4f", std::string(feature.short_name).c_str(), feature.gain);
    table += line;
  }
  return table;
}

int Train(const TrainOptions& options) {
  const LearnerChoices choices = ChooseLearner(options);
  const std::vector<ManifestEntry> entries = ReadManifest(options.manifest, {.outputs_optional = true});
  SqliteTables tables(ResolveTablesFolder(options.run.tables));
  RefuseCorpusFiles(entries, options.manifest, tables, {{options.model, "model", true}});
  // The model's folder is found wanting now rather than after the training.
  OutputFile file(options.model);
  const CorpusCases corpus = ComputeCorpusCases(entries, choices.corpus, tables, options.manifest);
  PrintCorpusMessages(entries, corpus, options.manifest);
  std::vector<std::size_t> all(corpus.texts.size());
  std::iota(all.begin(), all.end(), 0);
  const TrainingSet set = TrainingSetOf(corpus, all, choices.corpus.features);
  if (set.labels.empty()) throw RunError("No sentence of the manifest has a class to learn from", options.manifest);
  const SentenceModel model =
      SentenceModel::Train(choices.corpus.features, choices.corpus.values, set.rows, set.labels, corpus.class_values,
                           choices.training);
  file.Write(model.Json());
  file.Commit();
  char share[32];
  std::snprintf(share, sizeof share, "%.1f", 100.0 * set.positives / set.labels.size());
  return Report("Trained on " + std::to_string(corpus.texts.size()) + " texts, " +
                    std::to_string(set.labels.size()) + " sentences, " + share + " % of class 1; wrote the model to " +
                    options.model + "\n" + GainTable(model),
                WritesStandardOutput({options.model}));
}

}  // namespace

Command AddTrainCommand(CLI::App& app) {
  auto options = std::make_shared<TrainOptions>();
  CLI::App* train = app.add_subcommand(
      "train", "Train a model that scores sentences (XGBoost) on the texts and classes of a batch manifest");
  AddLearnerOptions(*train, *options);
  train->add_option("--model", options->model, "The model file to write (XGBoost's JSON)")
      ->required()
      ->type_name("FILE");
  train->footer(
      "Example:\n  casewright-cli train corpus.tsv --model corpus.model.json\n"
      "The manifest is a batch manifest; its output field may be left empty. A classes field extract:FILE\n"
      "makes that text's classes from the reference extract FILE. The model learns class 1 (in the summary)\n"
      "against every other class; XGBoost's Python package loads it with xgboost.Booster(model_file=FILE).");
  return {train, [options] { return Train(*options); }};
}

}  // namespace casewright::cli
