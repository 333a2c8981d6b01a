// casewright-cli evaluate MANIFEST [--rate R] [--baselines lead,random] [--seed N]
//                         [--bootstrap N] [--compare FILE]
//                         [--format table|csv] [--output FILE] [--export DIR]
//                         [--tokens keys|words|stems] [--no-stopwords] [--plot FILE [--plot-size WxH]]
#include <iostream>
#include <memory>
#include <sstream>

#include "batch/manifest.h"
#include <filesystem>

#include "cli/commands.h"
#include "cli/method_options.h"
#include "cli/plot_options.h"
#include "cli/token_options.h"
#include "cli/uncertainty_options.h"
#include "core/run_error.h"
#include "lexicon/sqlite_tables.h"
#include "output/output_files.h"
#include "pipeline/evaluation.h"
#include "pipeline/evaluation_systems.h"
#include "pipeline/run_files.h"

namespace casewright::cli {
namespace {

struct EvaluateOptions {
  std::string manifest_path;
  std::string rate;
  std::vector<std::string> baselines = {"lead", "random"};
  std::uint64_t seed = kDefaultSeed;
  std::string format = "table";
  std::string output_path = "-";
  std::string export_folder;
  TokenOptions tokens;
  UncertaintyOptions uncertainty;
  PlotOptions plot;
  RunOptions run;
  ExtractOptions extract;
};

EvaluationSettings SettingsOf(const EvaluateOptions& options, const EvaluationManifest& manifest) {
  EvaluationSettings settings;
  settings.encoding = Choose(options.run).encoding;
  settings.segmented = options.run.segmented;
  settings.extract = ChooseExtract(options.extract, "");
  settings.tokens = ChooseTokens(options.tokens);
  settings.export_folder = options.export_folder;
  if (!options.rate.empty()) settings.rate = ParseShare("--rate", options.rate, "0.2");
  const BaselineChoice baselines = ChooseBaselines(options.baselines);
  settings.lead = baselines.lead;
  settings.random = baselines.random;
  settings.methods = baselines.methods;
  RefuseMethodNames(manifest.system_names, baselines, options.manifest_path);
  settings.seed = options.seed;
  for (const EvaluationLine& line : manifest.lines) {
    for (const SummarySource& system : line.systems) {
      if (system.kind == SummarySource::Kind::kScores && settings.rate == 0) {
        throw UsageError(options.manifest_path + ":" + std::to_string(line.line) +
                         ": scores: systems need --rate, the share of the sentences to choose");
      }
    }
  }
  return settings;
}

int Evaluate(const EvaluateOptions& options) {
  const EvaluationManifest manifest = ReadEvaluationManifest(options.manifest_path, kMaxManifestBytes);
  const EvaluationSettings settings = SettingsOf(options, manifest);
  SqliteTables tables(ResolveTablesFolder(options.run.tables));
  // The outputs are checked against every input, so that a mistyped
  // --output, --compare or --export cannot replace a reference or a
  // system's scores.  Inputs may share a file: only the pairs with a
  // written file are compared.
  std::vector<RunFile> files = {{options.manifest_path, "manifest", false}};
  AddEvaluationFiles(files, manifest);
  AddTableFiles(files, tables);
  files.push_back({options.output_path, "output file", true});
  AddComparisonFile(files, options.uncertainty);
  AddPlotFile(files, options.plot);
  const std::vector<std::string> exports =
      settings.export_folder.empty() ? std::vector<std::string>() : ExportPaths(manifest, settings);
  for (const std::string& path : exports) files.push_back({path, "exported summary", true});
  RefuseSharedFiles(files);
  OutputFiles outputs;
  OutputFile& out = outputs.Open(options.output_path);
  OutputFile* comparisons = OpenComparisonFile(options.uncertainty, outputs);
  const PlotFile plot = OpenPlotFile(options.plot, outputs);
  EvaluationOutcome outcome = Evaluate(manifest, settings, tables);
  PrintMessages(outcome.warnings, {});
  if (!outcome.errors.empty()) {
    for (const std::string& error : outcome.errors) std::cerr << "casewright-cli: " << error << "\n";
    for (const std::string& path : {options.output_path, options.uncertainty.compare_path, options.plot.path}) {
      if (!path.empty() && path != "-") std::cerr << "casewright-cli: " << path << ": not written\n";
    }
    return kFailed;
  }
  WriteComparisonsTo(comparisons, options.uncertainty, SystemNames(manifest), outcome.rows, options.seed);
  std::vector<EvaluationRow> means = MeanRows(outcome.rows);
  AddBootstrapIntervals(outcome.rows, means, options.uncertainty.bootstrap, options.seed);
  WritePlotTo(plot, means);
  outcome.rows.insert(outcome.rows.end(), means.begin(), means.end());
  std::ostringstream table;
  WriteEvaluation(outcome.rows, options.format == "csv" ? EvaluationFormat::kCsv : EvaluationFormat::kTable, table);
  for (std::size_t i = 0; i < exports.size(); ++i) {
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(exports[i]).parent_path(), error);
    if (error) {
      throw RunError("Cannot make the folder of " + exports[i] + ": " + error.message(), options.export_folder);
    }
    outputs.Open(exports[i]).Write(outcome.exported[i]);
  }
  out.Write(table.str());
  outputs.CommitAll();
  if (options.output_path == "-") return 0;
  return Report("Wrote the figures of " + std::to_string(manifest.lines.size()) + " texts to " + options.output_path);
}

}  // namespace

Command AddEvaluateCommand(CLI::App& app) {
  auto options = std::make_shared<EvaluateOptions>();
  CLI::App* evaluate = app.add_subcommand(
      "evaluate", "Score summaries against reference summaries: sentence precision, recall and F1, ROUGE-1, "
                  "ROUGE-2, ROUGE-L (summary-level), ROUGE-Lseq and ROUGE-SU4, with the lead and random baselines");
  evaluate->add_option("MANIFEST", options->manifest_path,
                       "A TSV of text<TAB>reference<TAB>system... lines; a reference or system is an extract, "
                       "classes:FILE or scores:FILE (a system), or abstract:FILE (a reference in its own words); "
                       "several references are separated by ' | '")
      ->required();
  evaluate->add_option("--rate", options->rate, "The share of the sentences a scores: system takes, 0 < R <= 1")
      ->type_name("R");
  AddBaselinesOption(*evaluate, options->baselines);
  evaluate->add_option("--seed", options->seed,
                       "The seed of the random baseline's draws (with the text's path and its number of sentences)")
      ->default_str(std::to_string(kDefaultSeed));
  AddUncertaintyOptions(*evaluate, options->uncertainty);
  AddPlotOptions(*evaluate, options->plot);
  evaluate->add_option("--format", options->format, "table (aligned for reading) or csv")
      ->check(CLI::IsMember({"table", "csv"}))
      ->default_str("table");
  evaluate->add_option("--output", options->output_path, "The file to write the figures to (default: -, "
                                                        "standard output)")
      ->type_name("FILE");
  evaluate->add_option("--export", options->export_folder,
                       "Also write each system's and reference's summary, one sentence a line in UTF-8, as "
                       "DIR/SYSTEM/TEXT.txt and DIR/reference/TEXT.txt (reference1, reference2... with several)")
      ->type_name("DIR");
  AddTokenOptions(*evaluate, options->tokens);
  AddEncodingOption(*evaluate, options->run);
  AddSegmentedFlag(*evaluate, options->run, "Each text holds");
  AddExtractOptions(*evaluate, options->extract);
  evaluate->footer(
      "Example:\n  casewright-cli evaluate corpus.tsv --rate 0.2 --format csv --output figures.csv\n"
      "A first line #text<TAB>reference<TAB>NAME... names the systems (else system1, system2...).\n"
      "Each text gets a row per system and baseline; a mean row per system ends the figures.");
  return {evaluate, [options] { return Evaluate(*options); }};
}

}  // namespace casewright::cli
