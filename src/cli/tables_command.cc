// casewright-cli tables build --lexicon L --stoplist S --cues C --into DIR
#include <memory>
#include <string>

#include "cli/commands.h"
#include "lexicon/table_builder.h"

namespace casewright::cli {
namespace {

constexpr char kExample[] =
    "Example:\n  casewright-cli tables build --lexicon lexicon.tsv --stoplist stoplist.txt --cues cues.txt --into "
    "tables";

struct TablesOptions {
  TableSources sources;
  std::string into;
};

int BuildTables(const TablesOptions& options) {
  TableCounts counts = casewright::BuildTables(options.sources, options.into);
  return Report("Built the tables in " + options.into + ": " + std::to_string(counts.lexicon) +
                " lexicon entries, " + std::to_string(counts.stoplist) + " stopwords, " +
                std::to_string(counts.cue_words) + " cue words");
}

}  // namespace

Command AddTablesCommand(CLI::App& app) {
  auto options = std::make_shared<TablesOptions>();
  CLI::App* tables = app.add_subcommand("tables", "Manage the lexical tables");
  tables->require_subcommand(1);
  tables->footer(kExample);
  CLI::App* build =
      tables->add_subcommand("build", "Build Léxico.db, Stoplist.db and Cuephrases.db from UTF-8 text files");
  build->add_option("--lexicon", options->sources.lexicon, "form<TAB>canonical form, one a line (\\N: none)")
      ->required()
      ->type_name("FILE");
  build->add_option("--stoplist", options->sources.stoplist, "one stopword a line")->required()->type_name("FILE");
  build->add_option("--cues", options->sources.cue_words, "one cue word a line")->required()->type_name("FILE");
  build->add_option("--into", options->into, "folder to write the three tables into")
      ->required()
      ->type_name("DIR");
  build->footer(std::string(kExample) + "\nBlank lines and lines starting with # are skipped.");
  return {build, [options] { return BuildTables(*options); }};
}

}  // namespace casewright::cli
