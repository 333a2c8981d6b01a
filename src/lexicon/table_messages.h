// Failures of the lexical tables that the analysis can meet during a run.
#ifndef CASEWRIGHT_LEXICON_TABLE_MESSAGES_H_
#define CASEWRIGHT_LEXICON_TABLE_MESSAGES_H_

#include <string>

#include "core/run_error.h"

namespace casewright {

// A lexicon entry for `word` (Windows-1252) whose canonical form is missing.
RunError MissingCanonicalForm(const std::string& word, const std::string& table_path);

// A lexicon entry for `word` whose canonical form (UTF-8 `stored`) has no
// Windows-1252 spelling.
RunError UnrepresentableCanonicalForm(const std::string& word, const std::string& stored,
                                      const std::string& table_path);

}  // namespace casewright

#endif  // CASEWRIGHT_LEXICON_TABLE_MESSAGES_H_
