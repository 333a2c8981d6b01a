// The subcommands of casewright-cli, one file each.  Each function adds its
// command's options to `app` (the program's parser) and returns the Command.
#ifndef CASEWRIGHT_CLI_COMMANDS_H_
#define CASEWRIGHT_CLI_COMMANDS_H_

#include "cli/command.h"

namespace casewright::cli {

// The program's own options: one run, from a text and its classes to the
// cases (run_command.cc).  Runs when no subcommand is named.
Command AddRunCommand(CLI::App& app);
Command AddSentencesCommand(CLI::App& app);
Command AddClassesCommand(CLI::App& app);
Command AddBatchCommand(CLI::App& app);
Command AddJoinCommand(CLI::App& app);
Command AddSummarizeCommand(CLI::App& app);
Command AddEvaluateCommand(CLI::App& app);
// `tables build`.
Command AddTablesCommand(CLI::App& app);
Command AddTrainCommand(CLI::App& app);
Command AddCrossvalCommand(CLI::App& app);

}  // namespace casewright::cli

#endif  // CASEWRIGHT_CLI_COMMANDS_H_
