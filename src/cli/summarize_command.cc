// casewright-cli summarize --text T (--scores S | (--model M | --method NAME) [--scores-output S])
//                          (--rate R | --sentences K) [--selection top|mmr [--mmr-lambda L]]
//                          [--output EXTRACT] [--classes-output C]
#include <memory>
#include <utility>

#include "cli/commands.h"
#include "cli/method_options.h"
#include "experiment/model_scores.h"
#include "lexicon/sqlite_tables.h"
#include "pipeline/summary_run.h"
#include "summary/methods/registry.h"
#include "summary/selection.h"

namespace casewright::cli {
namespace {

struct SummarizeOptions {
  std::string text_path;
  std::string scores_path;
  std::string model_path;
  std::string method;
  std::string scores_output_path;
  std::string rate;
  std::size_t sentences = 0;
  std::string output_path = "-";
  std::string classes_path;
  SelectionOptions selection;
  RunOptions run;
};

int Summarize(const SummarizeOptions& options) {
  const int sources = !options.scores_path.empty() + !options.model_path.empty() + !options.method.empty();
  if (sources != 1) throw UsageError("summarize needs one of --scores, --model and --method");
  if (!options.scores_output_path.empty() && !options.scores_path.empty()) {
    throw UsageError("--scores-output writes a model's or a method's scores: it needs --model or --method");
  }
  SummarizeSettings settings;
  settings.text_path = options.text_path;
  settings.encoding = Choose(options.run).encoding;
  settings.segmented = options.run.segmented;
  settings.scores_path = options.scores_path;
  if (options.rate.empty() && options.sentences == 0) throw UsageError("summarize needs --rate or --sentences");
  if (!options.rate.empty()) settings.size.rate = ParseShare("--rate", options.rate, "0.2");
  settings.size.count = options.sentences;
  settings.extract_path = options.output_path;
  settings.classes_path = options.classes_path;
  settings.scores_output_path = options.scores_output_path;
  settings.selection = ChooseSelection(options.selection);
  const std::unique_ptr<SummaryMethod> method = MakeMethod(options.method);
  settings.method = method.get();
  SqliteTables tables(ResolveTablesFolder(options.run.tables));
  if (!options.model_path.empty()) {
    settings.model_path = options.model_path;
    settings.score_text = [&](std::string_view text) {
      RunSettings run;
      run.text_path = settings.text_path;
      run.encoding = settings.encoding;
      run.segmented = settings.segmented;
      DecodedText loaded;
      loaded.bytes = text;
      return ModelScoresOfText(options.model_path, run, std::move(loaded), tables);
    };
  }
  const SummarizeOutcome outcome = WriteSummary(settings, tables);
  PrintMessages(outcome.warnings, outcome.notes);
  std::string line = "Wrote " + std::to_string(outcome.chosen) + " of " + std::to_string(outcome.sentences) +
                     " sentences to " + options.output_path;
  if (!options.classes_path.empty()) line += ", their classes to " + options.classes_path;
  if (!options.scores_output_path.empty()) line += ", their scores to " + options.scores_output_path;
  return Report(line,
                WritesStandardOutput({options.output_path, options.classes_path, options.scores_output_path}));
}

}  // namespace

Command AddSummarizeCommand(CLI::App& app) {
  auto options = std::make_shared<SummarizeOptions>();
  CLI::App* summarize = app.add_subcommand(
      "summarize", "Write the extract of a text from a score per sentence (a file's, a model's or a method's): its "
                   "best sentences, in text order");
  summarize->add_option("--text", options->text_path, "The text (- for standard input)")->required()->type_name("FILE");
  summarize->add_option("--scores", options->scores_path,
                        "The scores: one number a line, a CSV with sentence and score columns (and text), or "
                        "Weka's -p 0 -distribution output (the probability of class 1)")
      ->type_name("FILE");
  summarize->add_option("--model", options->model_path,
                        "Score the sentences with this model (casewright-cli train) instead of a scores file")
      ->type_name("FILE");
  summarize->add_option("--scores-output", options->scores_output_path,
                        "With --model or --method: also write each sentence's score (a model's probability of "
                        "class 1), one a line")
      ->type_name("FILE");
  AddMethodOption(*summarize, options->method);
  CLI::Option* rate = summarize->add_option(
      "--rate", options->rate, "The share of the sentences to take, 0 < R <= 1 (rounded, halves up, at least 1)")
                               ->type_name("R");
  CLI::Option* sentences = summarize->add_option("--sentences", options->sentences, "The number of sentences to take")
                               // A text of at most 1 GiB has fewer sentences.
                               ->check(CLI::Range(std::size_t{1}, std::size_t{1} << 30))
                               ->type_name("K");
  rate->excludes(sentences);
  AddSelectionOptions(*summarize, options->selection);
  summarize->add_option("--output", options->output_path, "The extract to write, one sentence a line (default: -, "
                                                          "standard output)")
      ->type_name("FILE");
  summarize->add_option("--classes-output", options->classes_path,
                        "Also write the classes file of the choice: 1 chosen, 0 not")
      ->type_name("FILE");
  AddEncodingOption(*summarize, options->run);
  AddSegmentedFlag(*summarize, options->run, "The text holds");
  summarize->footer(
      "Examples:\n  casewright-cli summarize --text texto.txt --scores texto.scores --rate 0.2 --output texto.extract\n"
      "  casewright-cli summarize --text texto.txt --model corpus.model.json --rate 0.2 --output texto.extract\n"
      "  casewright-cli summarize --text texto.txt --method textrank --rate 0.2 --selection mmr\n"
      "Ties go to the earlier sentence. The extract is in the text's encoding: UTF-8 with --encoding utf-8.");
  return {summarize, [options] { return Summarize(*options); }};
}

}  // namespace casewright::cli
