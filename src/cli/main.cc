// casewright-cli: the command line over the core, for batches.
//
//   casewright-cli --text T --classes C --output O [--features LIST] [--quinlan]
//                  [--tables DIR] [--raw FILE]
//   casewright-cli tables build --lexicon L --stoplist S --cues C --into DIR
//
// Exit status: 0 on success, 1 when the run fails, 2 for a usage error.
#include <CLI/CLI.hpp>
#include <unistd.h>

#include <iostream>
#include <stdexcept>

#include "core/file_path.h"
#include "core/run_error.h"
#include "core/temporary_file.h"
#include "pipeline/pipeline.h"
#include "cli/feature_list.h"
#include "lexicon/sqlite_tables.h"
#include "lexicon/table_builder.h"

namespace {

constexpr int kFailed = 1;
constexpr int kUsage = 2;

// Prints the summary of a finished command.  A summary that cannot be
// written (standard output closed or full) fails the command: a batch that
// checks the status must not take the lost line for success.  Cases written
// to standard output keep it for themselves, so the summary goes to stderr.
int Report(const std::string& line, bool to_stderr = false) {
  std::ostream& out = to_stderr ? std::cerr : std::cout;
  out << line << "\n" << std::flush;
  if (out) return 0;
  std::cerr << "casewright-cli: " << (to_stderr ? "standard error" : "standard output")
            << ": cannot write \"" << line << "\"\n";
  return kFailed;
}

struct Options {
  casewright::RunSettings settings;
  std::string features = "1-8";
  bool quinlan = false;
  std::string tables;
  casewright::TableSources sources;
  std::string into;
};

int Generate(Options& options) {
  const auto& s = options.settings;
  if (s.text_path.empty() || s.classes_path.empty() || s.output_path.empty()) {
    std::cerr << "casewright-cli: --text, --classes and --output are required (see --help)\n";
    return kUsage;
  }
  try {
    options.settings.features = casewright::ParseFeatureList(options.features);
  } catch (const std::invalid_argument& e) {
    std::cerr << "casewright-cli: --features: " << e.what() << "\n";
    return kUsage;
  }
  if (options.quinlan) options.settings.format = casewright::CaseFormat::kQuinlan;
  casewright::SqliteTables tables(casewright::ResolveTablesFolder(options.tables));
  casewright::RunOutcome outcome = casewright::RunCases(options.settings, tables);
  for (const std::string& warning : outcome.warnings) std::cerr << "warning: " << warning << "\n";
  const bool cases_on_stdout = casewright::NamedDescriptor(s.output_path, true) == STDOUT_FILENO;
  return Report("Wrote " + std::to_string(outcome.sentences) + " cases to " + s.output_path, cases_on_stdout);
}

int BuildTables(const Options& options) {
  casewright::TableCounts counts = casewright::BuildTables(options.sources, options.into);
  return Report("Built the tables in " + options.into + ": " + std::to_string(counts.lexicon) +
                " lexicon entries, " + std::to_string(counts.stoplist) + " stopwords, " +
                std::to_string(counts.cue_words) + " cue words");
}

}  // namespace

int main(int argc, char** argv) {
  casewright::RemoveTemporaryFilesOnSignals();
  Options options;
  CLI::App app{"Turns a text, sentence by sentence, into training cases for a classifier that learns "
               "which sentences belong in an extractive summary."};
  app.footer(
      "Example:\n"
      "  casewright-cli --text texto.txt --classes texto.classes --output texto.cases --features 1-3,8 --quinlan\n"
      "\nThe lexical tables are found through the alias Orbelin: --tables DIR, else the folder in\n"
      "CASEWRIGHT_ORBELIN, else the default tables installed with the program.\n"
      "Exit status: 0 on success, 1 when the run fails, 2 for a usage error.");
  auto& s = options.settings;
  app.add_option("--text", s.text_path, "The text to analyse (Windows-1252)")->type_name("FILE");
  app.add_option("--classes", s.classes_path, "One class per sentence, separated by spaces")->type_name("FILE");
  app.add_option("--output", s.output_path,
                 "The file of training cases to write (replaced whole; - for standard output)")
      ->type_name("FILE");
  app.add_option("--features", options.features, casewright::FeatureListHelp())->type_name("LIST")->default_str("1-8");
  app.add_flag("--quinlan", options.quinlan, "Write the cases in the C4.5 data layout (\"1, 0, 3, 1.\")");
  app.add_option("--tables", options.tables, "Folder of the lexical tables, instead of the alias Orbelin")
      ->type_name("DIR");
  app.add_option("--raw", s.raw_path,
                 "Also write every sentence's raw feature values to this UTF-8 TSV file")
      ->type_name("FILE");

  CLI::App* tables = app.add_subcommand("tables", "Manage the lexical tables");
  tables->require_subcommand(1);
  CLI::App* build = tables->add_subcommand(
      "build", "Build Léxico.db, Stoplist.db and Cuephrases.db from UTF-8 text files");
  build->add_option("--lexicon", options.sources.lexicon, "form<TAB>canonical form, one a line (\\N: none)")
      ->required()
      ->type_name("FILE");
  build->add_option("--stoplist", options.sources.stoplist, "one stopword a line")->required()->type_name("FILE");
  build->add_option("--cues", options.sources.cue_words, "one cue word a line")->required()->type_name("FILE");
  build->add_option("--into", options.into, "folder to write the three tables into")->required()->type_name("DIR");
  build->footer(
      "Example:\n  casewright-cli tables build --lexicon lexicon.tsv --stoplist stoplist.txt --cues cues.txt --into "
      "tables\nBlank lines and lines starting with # are skipped.");

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    int status = app.exit(e);
    return status == 0 ? 0 : kUsage;
  }
  try {
    return build->parsed() ? BuildTables(options) : Generate(options);
  } catch (const std::exception& e) {
    std::cerr << "casewright-cli: " << casewright::DescribeError(e) << "\n";
    return kFailed;
  }
}
