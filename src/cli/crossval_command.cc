// casewright-cli crossval MANIFEST --folds K --rate R [--seed S] [--format table|csv] [--output FILE]
//                         [the training options]
#include <algorithm>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>

#include "batch/manifest.h"
#include "cli/commands.h"
#include "cli/learner_options.h"
#include "cli/token_options.h"
#include "cli/uncertainty_options.h"
#include "core/run_error.h"
#include "experiment/corpus_references.h"
#include "experiment/crossval.h"
#include "lexicon/sqlite_tables.h"
#include "output/output_files.h"
#include "summary/selection.h"

namespace casewright::cli {
namespace {

struct CrossvalOptions {
  TrainOptions train;
  std::size_t folds = 10;
  std::string rate;
  std::string format = "table";
  std::string output_path = "-";
  TokenOptions tokens;
  UncertaintyOptions uncertainty;
};

// CrossValidate's rows without the mean row it ends with for each system.
std::vector<EvaluationRow> TextRows(const std::vector<EvaluationRow>& rows) {
  std::vector<std::string> systems;
  for (const EvaluationRow& row : rows) {
    if (std::find(systems.begin(), systems.end(), row.system) == systems.end()) systems.push_back(row.system);
  }
  return {rows.begin(), rows.end() - static_cast<std::ptrdiff_t>(systems.size())};
}

int Crossval(const CrossvalOptions& options) {
  LearnerChoices choices = ChooseLearner(options.train);
  CrossvalSettings settings;
  settings.features = choices.corpus.features;
  settings.rate = ParseShare("--rate", options.rate, "0.2");
  settings.seed = options.train.seed;
  settings.training = choices.training;
  settings.folds = options.folds;
  settings.bootstrap = options.uncertainty.bootstrap;
  const std::vector<ManifestEntry> entries = ReadManifest(options.train.manifest, {.outputs_optional = true});
  if (options.folds < 2 || options.folds > entries.size()) {
    throw UsageError("--folds must be a whole number from 2 to the number of texts (" +
                     std::to_string(entries.size()) + ")");
  }
  choices.corpus.with_tokens = true;
  choices.corpus.tokens = ChooseTokens(options.tokens);
  SqliteTables tables(ResolveTablesFolder(options.train.run.tables));
  std::vector<RunFile> outputs = {{options.output_path, "output file", true}};
  AddComparisonFile(outputs, options.uncertainty);
  RefuseCorpusFiles(entries, options.train.manifest, tables, outputs);
  OutputFiles files;
  OutputFile& out = files.Open(options.output_path);
  OutputFile* comparisons = OpenComparisonFile(options.uncertainty, files);
  const CorpusCases corpus = ComputeCorpusCases(entries, choices.corpus, tables, options.train.manifest);
  PrintCorpusMessages(entries, corpus, options.train.manifest);
  RequireReferences(entries, corpus, options.train.manifest);
  std::vector<std::string> names;
  for (const ManifestEntry& entry : entries) names.push_back(entry.text_name);
  const std::vector<EvaluationRow> rows = CrossValidate(corpus, names, settings);
  WriteComparisonsTo(comparisons, options.uncertainty, {"model"}, TextRows(rows), settings.seed);
  std::ostringstream table;
  WriteEvaluation(rows, options.format == "csv" ? EvaluationFormat::kCsv : EvaluationFormat::kTable, table);
  out.Write(table.str());
  files.CommitAll();
  if (options.output_path == "-") return 0;
  return Report("Cross-validated " + std::to_string(options.folds) + " folds of " + std::to_string(entries.size()) +
                    " texts; wrote the figures to " + options.output_path,
                WritesStandardOutput({options.output_path}));
}

}  // namespace

Command AddCrossvalCommand(CLI::App& app) {
  auto options = std::make_shared<CrossvalOptions>();
  CLI::App* crossval = app.add_subcommand(
      "crossval", "Cross-validate the learner grouped by text: summaries of held-out texts scored against their "
                  "references, beside the lead and random baselines");
  AddLearnerOptions(*crossval, options->train);
  crossval->add_option("--folds", options->folds, "Folds of texts (never the sentences of one text)")
      ->required()
      ->type_name("K");
  crossval->add_option("--rate", options->rate, "The share of each text's sentences a summary takes, 0 < R <= 1")
      ->required()
      ->type_name("R");
  AddUncertaintyOptions(*crossval, options->uncertainty);
  crossval->add_option("--format", options->format, "table (aligned for reading) or csv (as evaluate writes it)")
      ->check(CLI::IsMember({"table", "csv"}))
      ->default_str("table");
  crossval->add_option("--output", options->output_path, "The file of figures (default: -, standard output)")
      ->type_name("FILE");
  AddTokenOptions(*crossval, options->tokens);
  crossval->footer(
      "Example:\n  casewright-cli crossval corpus.tsv --folds 10 --rate 0.2 --seed 1\n"
      "Each line's reference is its classes (class 1: in the summary), from a classes file or an extract:FILE\n"
      "field. The rows are those of casewright-cli evaluate: per text the systems model, lead and random,\n"
      "then a mean row per system.");
  return {crossval, [options] { return Crossval(*options); }};
}

}  // namespace casewright::cli
