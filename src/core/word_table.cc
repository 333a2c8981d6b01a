#include "core/word_table.h"

namespace casewright {

WordId WordTable::Count(const std::string& key) {
  auto [it, inserted] = index_.try_emplace(key, static_cast<WordId>(entries_.size()));
  if (inserted) {
    entries_.push_back(palavra{key, 1.0});
  } else {
    entries_[it->second].Weight += 1.0;
  }
  return it->second;
}

std::optional<WordId> WordTable::Find(std::string_view key) const {
  auto it = index_.find(key);
  if (it == index_.end()) return std::nullopt;
  return it->second;
}

void WordTable::clear() {
  entries_.clear();
  index_.clear();
}

}  // namespace casewright
