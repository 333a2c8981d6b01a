#include "testing/memory_tables.h"

#include "lexicon/table_messages.h"

namespace casewright {

MemoryTables::MemoryTables(std::map<std::string, std::optional<std::string>> lexicon,
                           std::set<std::string> stoplist,
                           std::vector<std::optional<std::string>> cue_words)
    : lexicon_(std::move(lexicon)), stoplist_(std::move(stoplist)), cue_words_(std::move(cue_words)) {}

std::string MemoryTables::Canonicalize(const std::string& word) const {
  auto it = lexicon_.find(word);
  if (it == lexicon_.end()) return word;
  if (!it->second) throw MissingCanonicalForm(word, {});
  return *it->second;
}

bool MemoryTables::IsStopword(const std::string& key) const { return stoplist_.count(key) > 0; }

std::vector<std::optional<std::string>> MemoryTables::ReadCueWords() const { return cue_words_; }

}  // namespace casewright
