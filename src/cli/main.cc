// casewright-cli: the command line over the core, for batches.  Each
// subcommand is a file of its own (see commands.h); this file only builds the
// parser from them and runs the one chosen.
//
// Exit status: 0 on success, 1 when a run fails, 2 for a usage error.
#include <cerrno>
#include <cstring>
#include <iostream>
#include <sstream>
#include <vector>

#include "cli/commands.h"
#include "cli/parse_error.h"
#include "core/run_error.h"
#include "core/temporary_file.h"

using casewright::cli::ChosenCommand;
using casewright::cli::Command;
using casewright::cli::DescribeParseError;

namespace {

// Prints the help or the version that `request` asks for.  Help that cannot
// be written (standard output closed or full) fails: a script that saves it
// must not take an empty file for success.
int PrintHelp(const CLI::App& app, const CLI::Success& request) {
  std::ostringstream help;
  app.exit(request, help);
  std::cout << help.str() << std::flush;
  if (std::cout) return 0;
  std::cerr << "casewright-cli: cannot write to standard output: " << std::strerror(errno) << "\n";
  return casewright::cli::kFailed;
}

// A mistake in the command line: what it is, and where to read the options.
int UsageFailure(const CLI::App& command, const std::string& message) {
  std::cerr << "casewright-cli: " << message << "\n" << casewright::cli::HelpHint(command) << "\n";
  return casewright::cli::kUsage;
}

}  // namespace

int main(int argc, char** argv) {
  casewright::RemoveTemporaryFilesOnSignals();
  CLI::App app{"Turns a text, sentence by sentence, into training cases for a classifier that learns "
               "which sentences belong in an extractive summary."};
  app.set_version_flag("--version", "casewright-cli " CASEWRIGHT_VERSION);
  app.set_help_all_flag("--help-all", "Print this help with every subcommand's options, and exit");
  const Command run = casewright::cli::AddRunCommand(app);
  const std::vector<Command> subcommands = {
      casewright::cli::AddSentencesCommand(app),
      casewright::cli::AddClassesCommand(app),
      casewright::cli::AddBatchCommand(app),
      casewright::cli::AddJoinCommand(app),
      casewright::cli::AddSummarizeCommand(app),
      casewright::cli::AddEvaluateCommand(app),
      casewright::cli::AddTablesCommand(app),
      casewright::cli::AddTrainCommand(app),
      casewright::cli::AddCrossvalCommand(app),
  };
  // --quiet before or after the subcommand's name.
  bool quiet = false;
  const std::string quiet_help = "Leave the notes out (warnings and errors are kept)";
  app.add_flag("--quiet", quiet, quiet_help);
  for (const Command& command : subcommands) command.app->add_flag("--quiet", quiet, quiet_help);
  // Set after the subcommands are added: CLI11 gives a new subcommand its
  // parent's footer, and each has an example of its own.
  app.footer(
      "Example:\n"
      "  casewright-cli --text texto.txt --classes texto.classes --output texto.cases --features 1-3,8 --quinlan\n"
      "\nThe text or the classes file may be -, standard input; the output file -, standard output.\n"
      "The lexical tables are found through the alias Orbelin: --tables DIR, else the folder in\n"
      "CASEWRIGHT_ORBELIN, else the default tables installed with the program.\n"
      "Exit status: 0 on success, 1 when a run fails, 2 for a usage error.");

  try {
    app.parse(argc, argv);
  } catch (const CLI::Success& e) {
    return PrintHelp(app, e);
  } catch (const CLI::ParseError& e) {
    return UsageFailure(ChosenCommand(app), DescribeParseError(app, e));
  }
  CLI::App& chosen = ChosenCommand(app);
  casewright::cli::SetQuiet(quiet);
  try {
    for (const Command& command : subcommands) {
      if (command.app == &chosen) return command.run();
    }
    return run.run();
  } catch (const casewright::cli::UsageError& e) {
    return UsageFailure(chosen, e.what());
  } catch (const std::exception& e) {
    std::cerr << "casewright-cli: " << casewright::DescribeError(e) << "\n";
    return casewright::cli::kFailed;
  }
}
