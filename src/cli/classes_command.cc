// casewright-cli classes --text T --extract E --output C [--min-overlap R]
#include <iostream>
#include <memory>

#include "cli/commands.h"
#include "lexicon/sqlite_tables.h"
#include "pipeline/extract_run.h"

namespace casewright::cli {
namespace {

struct ClassesOptions {
  std::string text_path;
  std::string extract_path;
  std::string output_path;
  RunOptions run;
  ExtractOptions extract;
};

int MakeClasses(const ClassesOptions& options) {
  const Choices choices = Choose(options.run);
  ExtractRunSettings settings;
  settings.text_path = options.text_path;
  settings.encoding = choices.encoding;
  settings.segmented = options.run.segmented;
  settings.extract = ChooseExtract(options.extract, options.extract_path);
  settings.classes_path = options.output_path;
  settings.strict = options.run.strict_classes;
  SqliteTables tables(ResolveTablesFolder(options.run.tables));
  const ExtractRunOutcome outcome = WriteClassesFromExtract(settings, tables);
  PrintMessages(outcome.warnings, outcome.notes);
  if (!outcome.errors.empty()) {
    PrintErrors(outcome.errors, options.extract_path);
    std::cerr << "casewright-cli: " << options.output_path << ": not written\n";
    return kFailed;
  }
  return Report("Wrote " + std::to_string(outcome.sentences) + " classes to " + options.output_path + ": " +
                    ClassBalance(outcome.chosen, outcome.sentences),
                WritesStandardOutput({options.output_path}));
}

}  // namespace

Command AddClassesCommand(CLI::App& app) {
  auto options = std::make_shared<ClassesOptions>();
  CLI::App* classes = app.add_subcommand(
      "classes", "Write the classes file of a text from a reference extract: 1 for each sentence the extract holds");
  classes->add_option("--text", options->text_path, "The text (- for standard input)")
      ->required()
      ->type_name("FILE");
  classes->add_option("--extract", options->extract_path,
                      "The extract: sentences of the text's reference summary, laid out in any way")
      ->required()
      ->type_name("FILE");
  classes->add_option("--output", options->output_path, "The classes file to write (- for standard output)")
      ->required()
      ->type_name("FILE");
  AddEncodingOption(*classes, options->run);
  AddSegmentedFlag(*classes, options->run, "The text holds");
  AddExtractOptions(*classes, options->extract);
  AddStrictClassesFlag(*classes, options->run,
                       "Fail, writing nothing, when equal sentences of the text could each take the same words of the "
                       "extract and its order does not tell which");
  classes->footer(
      "Example:\n  casewright-cli classes --text texto.txt --extract resumo.txt --output texto.classes\n"
      "The extract is read as one stream of word keys, so case, spacing, line breaks, punctuation and\n"
      "where its sentences end do not matter. A sentence gets 1 when its keys stand in the stream in order;\n"
      "the chosen sentences take the stream in the text's order (an extract out of order is aligned again\n"
      "on what is left), so a sentence the text repeats gets 1 once for each time the extract holds it.\n"
      "Words of the extract that match no sentence fail the command (exit status 1, nothing written)\n"
      "unless --allow-unmatched; a choice among equal sentences that the order leaves open is reported.");
  return {classes, [options] { return MakeClasses(*options); }};
}

}  // namespace casewright::cli
