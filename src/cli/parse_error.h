// The option parser's complaints in the program's own words.
//
// CLI11 words a mistake in the command line its own way: no program name,
// ranges as "0.000000 to 1797693134862...", an unknown option only as an
// argument "not expected".  DescribeParseError rewrites what it throws into
// the form of the program's other usage errors ("casewright-cli: ..."): an
// unknown option is named with the nearest option of the subcommand in use,
// a value outside a list with the nearest value, ranges with plain numbers.
#ifndef CASEWRIGHT_CLI_PARSE_ERROR_H_
#define CASEWRIGHT_CLI_PARSE_ERROR_H_

#include <CLI/CLI.hpp>

#include <string>
#include <string_view>
#include <vector>

namespace casewright::cli {

// The message for `error`, thrown by `app.parse`, without the program's
// prefix.
// REQUIRES: `error` is not a CLI::Success (help or version).
std::string DescribeParseError(CLI::App& app, const CLI::ParseError& error);

// The subcommand the command line chose (`app` itself when none).
CLI::App& ChosenCommand(CLI::App& app);

// The line that follows a usage error: where to read the chosen command's
// options ("See casewright-cli batch --help.").
std::string HelpHint(const CLI::App& command);

// The word among `candidates` nearest to `word` (edit distance, a swap of
// two neighbours counting as one edit), or "" when none is near enough to be
// what was meant.  A candidate that `word` (3 characters or more) begins
// counts as one edit away.
std::string NearestWord(std::string_view word, const std::vector<std::string>& candidates);

}  // namespace casewright::cli

#endif  // CASEWRIGHT_CLI_PARSE_ERROR_H_
