// The options that choose the tokens ROUGE compares (summary_tokens.h),
// shared by `evaluate` and `crossval`: --tokens keys|words|stems,
// --no-stopwords, and --no-stem, the older name of --tokens words.
#ifndef CASEWRIGHT_CLI_TOKEN_OPTIONS_H_
#define CASEWRIGHT_CLI_TOKEN_OPTIONS_H_

#include <string>

#include <CLI/CLI.hpp>

#include "pipeline/summary_tokens.h"

namespace casewright::cli {

struct TokenOptions {
  std::string tokens = "keys";
  bool no_stem = false;
  bool no_stopwords = false;
};

void AddTokenOptions(CLI::App& command, TokenOptions& options);

// The choice the options make.
TokenChoice ChooseTokens(const TokenOptions& options);

}  // namespace casewright::cli

#endif  // CASEWRIGHT_CLI_TOKEN_OPTIONS_H_
