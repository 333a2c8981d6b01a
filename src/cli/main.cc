// casewright-cli: the command line over the core, for batches.  Each
// subcommand is a file of its own (see commands.h); this file only builds the
// parser from them and runs the one chosen.
//
// Exit status: 0 on success, 1 when a run fails, 2 for a usage error.
#include <iostream>
#include <vector>

#include "cli/commands.h"
#include "core/run_error.h"
#include "core/temporary_file.h"

using casewright::cli::Command;

int main(int argc, char** argv) {
  casewright::RemoveTemporaryFilesOnSignals();
  CLI::App app{"Turns a text, sentence by sentence, into training cases for a classifier that learns "
               "which sentences belong in an extractive summary."};
  app.set_version_flag("--version", "casewright-cli " CASEWRIGHT_VERSION);
  app.set_help_all_flag("--help-all", "Print this help with every subcommand's options, and exit");
  app.footer(
      "Example:\n"
      "  casewright-cli --text texto.txt --classes texto.classes --output texto.cases --features 1-3,8 --quinlan\n"
      "\nThe text or the classes file may be -, standard input; the output file -, standard output.\n"
      "The lexical tables are found through the alias Orbelin: --tables DIR, else the folder in\n"
      "CASEWRIGHT_ORBELIN, else the default tables installed with the program.\n"
      "Exit status: 0 on success, 1 when a run fails, 2 for a usage error.");
  const Command run = casewright::cli::AddRunCommand(app);
  const std::vector<Command> subcommands = {
      casewright::cli::AddSentencesCommand(app),
      casewright::cli::AddClassesCommand(app),
      casewright::cli::AddBatchCommand(app),
      casewright::cli::AddJoinCommand(app),
      casewright::cli::AddTablesCommand(app),
      casewright::cli::AddTrainCommand(app),
  };

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    int status = app.exit(e);
    return status == 0 ? 0 : casewright::cli::kUsage;
  }
  try {
    for (const Command& command : subcommands) {
      if (command.app->parsed()) return command.run();
    }
    return run.run();
  } catch (const casewright::cli::UsageError& e) {
    std::cerr << "casewright-cli: " << e.what() << "\n";
    return casewright::cli::kUsage;
  } catch (const std::exception& e) {
    std::cerr << "casewright-cli: " << casewright::DescribeError(e) << "\n";
    return casewright::cli::kFailed;
  }
}
