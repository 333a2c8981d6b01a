#include "testing/run_command.h"

#include <sys/wait.h>

#include <cstdio>

namespace casewright::testing {

CommandResult RunShell(const std::string& command) {
  FILE* pipe = ::popen(("exec 2>&1; " + command).c_str(), "r");
  std::string output;
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
  int status = ::pclose(pipe);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

std::string ShellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

}  // namespace casewright::testing
