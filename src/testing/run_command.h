// Helpers for tests that run programs as a user or a batch script would.
#ifndef CASEWRIGHT_TESTING_RUN_COMMAND_H_
#define CASEWRIGHT_TESTING_RUN_COMMAND_H_

#include <string>

namespace casewright::testing {

struct CommandResult {
  int status;          // the exit status; -1 when the shell did not exit normally
  std::string output;  // standard output and standard error together
};

// Runs `command` with sh -c, standard error joined to standard output.
CommandResult RunShell(const std::string& command);

// `text` quoted for sh.
std::string ShellQuoted(const std::string& text);

}  // namespace casewright::testing

#endif  // CASEWRIGHT_TESTING_RUN_COMMAND_H_
