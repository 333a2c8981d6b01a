#include "cli/token_options.h"

namespace casewright::cli {

void AddTokenOptions(CLI::App& command, TokenOptions& options) {
  CLI::Option* tokens =
      command
          .add_option("--tokens", options.tokens,
                      "What ROUGE compares: keys (the words' canonical forms), words (runs of letters and digits, "
                      "lower-cased) or stems (the words through the Portuguese Snowball stemmer)")
          ->check(CLI::IsMember({"keys", "words", "stems"}))
          ->default_str("keys");
  command.add_flag("--no-stem", options.no_stem, "The same as --tokens words")->excludes(tokens);
  command.add_flag("--no-stopwords", options.no_stopwords, "Leave the stoplist's words out of the tokens");
}

TokenChoice ChooseTokens(const TokenOptions& options) {
  const TokenForm form = options.no_stem || options.tokens == "words" ? TokenForm::kWords
                         : options.tokens == "stems"                  ? TokenForm::kStems
                                                                      : TokenForm::kKeys;
  return TokenChoice(form, !options.no_stopwords);
}

}  // namespace casewright::cli
