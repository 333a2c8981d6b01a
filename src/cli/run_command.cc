// casewright-cli --text T [--classes C] --output O [run options] [--raw FILE]
#include <memory>

#include "cli/commands.h"
#include "lexicon/sqlite_tables.h"
#include "pipeline/pipeline.h"

namespace casewright::cli {
namespace {

struct RunCommandOptions {
  RunSettings settings;
  RunOptions run;
};

int Generate(RunCommandOptions& options) {
  RunSettings& s = options.settings;
  if (s.text_path.empty() || s.output_path.empty()) {
    throw UsageError("--text and --output are required");
  }
  const Choices choices = Choose(options.run);
  s.features = choices.features;
  s.format = choices.format;
  s.values = choices.values;
  s.segmented = options.run.segmented;
  s.encoding = choices.encoding;
  s.names_path = options.run.names;
  s.strict_classes = options.run.strict_classes;
  s.ids = options.run.ids;
  s.class_values = choices.class_values;
  SqliteTables tables(ResolveTablesFolder(options.run.tables));
  RunOutcome outcome = RunCases(s, tables);
  PrintMessages(outcome.warnings, outcome.notes);
  const bool to_stderr = WritesStandardOutput({s.output_path, s.names_path, s.raw_path});
  int status = Report("Wrote " + std::to_string(outcome.sentences) + " cases to " + s.output_path, to_stderr);
  if (!s.names_path.empty()) status |= Report("Wrote their C4.5 names file to " + s.names_path, to_stderr);
  return status;
}

}  // namespace

Command AddRunCommand(CLI::App& app) {
  auto options = std::make_shared<RunCommandOptions>();
  RunSettings& s = options->settings;
  app.add_option("--text", s.text_path, "The text to analyse (UTF-8 or Windows-1252, see --encoding)")
      ->type_name("FILE");
  app.add_option("--classes", s.classes_path,
                 "One class per sentence, separated by spaces; without it, every case's class is the missing "
                 "value (an unlabelled text)")
      ->type_name("FILE");
  app.add_option("--output", s.output_path,
                 "The file of training cases to write (replaced whole; - for standard output)")
      ->type_name("FILE");
  AddRunOptions(app, options->run);
  app.add_option("--raw", s.raw_path, "Also write every sentence's raw feature values to this UTF-8 TSV file")
      ->type_name("FILE");
  return {&app, [options] { return Generate(*options); }};
}

}  // namespace casewright::cli
