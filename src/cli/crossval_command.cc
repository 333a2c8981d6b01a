// casewright-cli crossval MANIFEST (--folds K [--repeats R] | --folds-from FILE) --rate R [--seed S]
//                         [--format table|csv] [--output FILE] [--folds-output FILE] [--scores-output FILE]
//                         [--ablation FILE] [--bootstrap N] [--compare FILE] [--plot FILE [--plot-size WxH]]
//                         [the training options]
#include <algorithm>
#include <memory>
#include <sstream>

#include "batch/manifest.h"
#include "cli/commands.h"
#include "cli/learner_options.h"
#include "cli/method_options.h"
#include "cli/plot_options.h"
#include "cli/token_options.h"
#include "cli/uncertainty_options.h"
#include "core/run_error.h"
#include "experiment/ablation.h"
#include "experiment/corpus_references.h"
#include "experiment/crossval.h"
#include "lexicon/sqlite_tables.h"
#include "output/output_files.h"
#include "summary/selection.h"

namespace casewright::cli {
namespace {

struct CrossvalOptions {
  TrainOptions train;
  std::size_t folds = 0;  // 0: not given
  std::size_t repeats = 0;
  std::string rate;
  std::string format = "table";
  std::string output_path = "-";
  std::string folds_from;
  std::string folds_output;
  std::string scores_output;
  std::string ablation;
  TokenOptions tokens;
  UncertaintyOptions uncertainty;
  PlotOptions plot;
  std::vector<std::string> baselines = {"lead", "random"};
};

// CrossValidate's rows without the mean row it ends with for each system.
std::vector<EvaluationRow> TextRows(const std::vector<EvaluationRow>& rows) {
  std::vector<std::string> systems;
  for (const EvaluationRow& row : rows) {
    if (std::find(systems.begin(), systems.end(), row.system) == systems.end()) systems.push_back(row.system);
  }
  return {rows.begin(), rows.end() - static_cast<std::ptrdiff_t>(systems.size())};
}

// Refuses what the options ask for that cannot be done, before anything is
// read.
void RefuseOptions(const CrossvalOptions& options, std::size_t texts, FeatureSet features) {
  if (!options.folds_from.empty() && (options.folds != 0 || options.repeats != 0)) {
    throw UsageError("--folds-from gives the folds and repeats: leave out --folds and --repeats");
  }
  if (options.folds_from.empty() && options.folds == 0) throw UsageError("crossval needs --folds or --folds-from");
  if (options.folds_from.empty() && (options.folds < 2 || options.folds > texts)) {
    throw UsageError("--folds must be a whole number from 2 to the number of texts (" + std::to_string(texts) + ")");
  }
  if (!options.ablation.empty() && FeatureNumbers(features).find(',') == std::string::npos) {
    throw UsageError("--ablation leaves out one feature at a time: it needs at least 2 features");
  }
  if (!options.ablation.empty() && options.uncertainty.bootstrap == 0) {
    throw UsageError("--ablation gives intervals and paired tests: it needs --bootstrap above 0");
  }
}

// The file at `path` opened among `files`, so that a folder found wanting
// fails the run before the training; none when no path was given.
OutputFile* OpenIfAsked(const std::string& path, OutputFiles& files) {
  return path.empty() ? nullptr : &files.Open(path);
}

void WriteIfAsked(OutputFile* file, const std::string& bytes) {
  if (file) file->Write(bytes);
}

int Crossval(const CrossvalOptions& options) {
  LearnerChoices choices = ChooseLearner(options.train);
  CrossvalSettings settings;
  settings.features = choices.corpus.features;
  settings.values = choices.corpus.values;
  settings.rate = ParseShare("--rate", options.rate, "0.2");
  settings.seed = options.train.seed;
  settings.training = choices.training;
  settings.bootstrap = options.uncertainty.bootstrap;
  const BaselineChoice baselines = ChooseBaselines(options.baselines, settings.features);
  settings.lead = baselines.lead;
  settings.random = baselines.random;
  settings.methods = baselines.methods;
  const std::vector<ManifestEntry> entries = ReadManifest(options.train.manifest, {.outputs_optional = true});
  RefuseOptions(options, entries.size(), settings.features);
  choices.corpus.with_tokens = true;
  choices.corpus.tokens = ChooseTokens(options.tokens);
  SqliteTables tables(ResolveTablesFolder(options.train.run.tables));
  std::vector<RunFile> outputs = {{options.folds_from, "folds file", false},
                                  {options.output_path, "output file", true},
                                  {options.folds_output, "folds output", true},
                                  {options.scores_output, "scores output", true},
                                  {options.ablation, "ablation table", true}};
  AddComparisonFile(outputs, options.uncertainty);
  AddPlotFile(outputs, options.plot);
  RefuseCorpusFiles(entries, options.train.manifest, tables, outputs);
  std::vector<std::string> names;
  for (const ManifestEntry& entry : entries) names.push_back(entry.text_name);
  const FoldAssignment folds =
      options.folds_from.empty()
          ? DrawFolds(entries.size(), options.folds, std::max<std::size_t>(options.repeats, 1), settings.seed)
          : ReadFolds(options.folds_from, names);
  OutputFiles files;
  OutputFile& out = files.Open(options.output_path);
  OutputFile* comparisons = OpenComparisonFile(options.uncertainty, files);
  OutputFile* folds_out = OpenIfAsked(options.folds_output, files);
  OutputFile* scores_out = OpenIfAsked(options.scores_output, files);
  OutputFile* ablation_out = OpenIfAsked(options.ablation, files);
  const PlotFile plot = OpenPlotFile(options.plot, files);
  const CorpusCases corpus = ComputeCorpusCases(entries, choices.corpus, tables, options.train.manifest);
  PrintCorpusMessages(entries, corpus, options.train.manifest);
  RequireReferences(entries, corpus, options.train.manifest);
  const CrossvalOutcome outcome = CrossValidate(corpus, names, folds, settings);
  const std::vector<EvaluationRow> text_rows = TextRows(outcome.rows);
  WriteComparisonsTo(comparisons, options.uncertainty, {"model"}, text_rows, settings.seed);
  if (ablation_out) {
    ablation_out->Write(AblationCsv(Ablate(corpus, names, folds, settings, outcome, settings.bootstrap)));
  }
  WriteIfAsked(folds_out, FoldsCsv(folds, names));
  WriteIfAsked(scores_out, OutOfFoldScoresCsv(outcome, names));
  WritePlotTo(plot, {outcome.rows.begin() + static_cast<std::ptrdiff_t>(text_rows.size()), outcome.rows.end()});
  std::ostringstream table;
  WriteEvaluation(outcome.rows, options.format == "csv" ? EvaluationFormat::kCsv : EvaluationFormat::kTable, table);
  out.Write(table.str());
  files.CommitAll();
  if (options.output_path == "-") return 0;
  return Report("Cross-validated " + std::to_string(folds.folds) + " folds of " + std::to_string(entries.size()) +
                    " texts" + (folds.repeats() > 1 ? ", " + std::to_string(folds.repeats()) + " repeats" : "") +
                    "; wrote the figures to " + options.output_path,
                WritesStandardOutput({options.output_path}));
}

}  // namespace

Command AddCrossvalCommand(CLI::App& app) {
  auto options = std::make_shared<CrossvalOptions>();
  CLI::App* crossval = app.add_subcommand(
      "crossval", "Cross-validate the learner grouped by text: summaries of held-out texts scored against their "
                  "references, beside the lead and random baselines");
  AddLearnerOptions(*crossval, options->train);
  crossval->add_option("--folds", options->folds, "Folds of texts (never the sentences of one text); or --folds-from")
      ->type_name("K");
  crossval->add_option("--repeats", options->repeats, "Draws of folds, each from a seed derived from --seed")
      ->type_name("R")
      ->check(CLI::Range(std::size_t{1}, kMaxRepeats))
      ->default_str("1");
  crossval->add_option("--folds-from", options->folds_from,
                       "Reuse the folds (and repeats) a --folds-output file holds, instead of drawing them")
      ->type_name("FILE");
  crossval->add_option("--rate", options->rate, "The share of each text's sentences a summary takes, 0 < R <= 1")
      ->required()
      ->type_name("R");
  AddUncertaintyOptions(*crossval, options->uncertainty);
  AddPlotOptions(*crossval, options->plot);
  AddBaselinesOption(*crossval, options->baselines);
  crossval->add_option("--format", options->format, "table (aligned for reading) or csv (as evaluate writes it)")
      ->check(CLI::IsMember({"table", "csv"}))
      ->default_str("table");
  crossval->add_option("--output", options->output_path, "The file of figures (default: -, standard output)")
      ->type_name("FILE");
  crossval->add_option("--folds-output", options->folds_output, "Write the folds, text,repeat,fold (CSV)")
      ->type_name("FILE");
  crossval->add_option("--scores-output", options->scores_output,
                       "Write the model's out-of-fold probabilities, text,repeat,sentence,score (CSV), which "
                       "evaluate's scores: reads (repeat 1)")
      ->type_name("FILE");
  crossval->add_option("--ablation", options->ablation,
                       "Run the folds once more per feature left out; write the model's figures with their intervals "
                       "and their differences to all features with paired tests (CSV)")
      ->type_name("FILE");
  AddTokenOptions(*crossval, options->tokens);
  crossval->footer(
      "Example:\n  casewright-cli crossval corpus.tsv --folds 10 --rate 0.2 --seed 1\n"
      "Each line's reference is its classes (class 1: in the summary), from a classes file or an extract:FILE\n"
      "field. The rows are those of casewright-cli evaluate: per repeat and text the systems model and the\n"
      "baselines (lead and random unless --baselines says otherwise), then a mean row per system, with the\n"
      "standard deviation across repeats.");
  return {crossval, [options] { return Crossval(*options); }};
}

}  // namespace casewright::cli
