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
                    std::to_string(outcome.chosen) + " of class 1",
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
                      "The extract: the sentences of the text's reference summary, in any order")
      ->required()
      ->type_name("FILE");
  classes->add_option("--output", options->output_path, "The classes file to write (- for standard output)")
      ->required()
      ->type_name("FILE");
  AddEncodingOption(*classes, options->run);
  AddExtractOptions(*classes, options->extract);
  AddStrictClassesFlag(*classes, options->run,
                       "Fail, writing nothing, when an extract sentence matches more than one sentence");
  classes->footer(
      "Example:\n  casewright-cli classes --text texto.txt --extract resumo.txt --output texto.classes\n"
      "Sentences are compared by their words' keys, so case, spacing, line breaks and punctuation do not\n"
      "matter; words of punctuation only are left out. Every extract sentence that matches no sentence,\n"
      "or more than one, is reported; one that matches none fails the command (exit status 1, nothing\n"
      "written) unless --allow-unmatched.");
  return {classes, [options] { return MakeClasses(*options); }};
}

}  // namespace casewright::cli
