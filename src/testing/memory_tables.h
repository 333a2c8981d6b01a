// Lexical tables held in memory, for tests and for callers that build their
// tables on the fly.
#ifndef CASEWRIGHT_TESTING_MEMORY_TABLES_H_
#define CASEWRIGHT_TESTING_MEMORY_TABLES_H_

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/lexical_tables.h"

namespace casewright {

class MemoryTables : public LexicalTables {
 public:
  // `lexicon` maps a word to its canonical form; nullopt stands for an entry
  // whose canonical form is missing.
  MemoryTables(std::map<std::string, std::optional<std::string>> lexicon = {},
               std::set<std::string> stoplist = {},
               std::vector<std::optional<std::string>> cue_words = {});

  std::string Canonicalize(const std::string& word) const override;
  bool IsStopword(const std::string& key) const override;
  std::vector<std::optional<std::string>> ReadCueWords() const override;

 private:
  std::map<std::string, std::optional<std::string>> lexicon_;
  std::set<std::string> stoplist_;
  std::vector<std::optional<std::string>> cue_words_;
};

}  // namespace casewright

#endif  // CASEWRIGHT_TESTING_MEMORY_TABLES_H_
