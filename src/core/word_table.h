// The document word table: one palavra per distinct key, in order of first
// occurrence, with a hash index beside it so that a key is found in constant
// time.  Order and ids never change once a key is in.
#ifndef CASEWRIGHT_CORE_WORD_TABLE_H_
#define CASEWRIGHT_CORE_WORD_TABLE_H_

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/records.h"
#include "core/string_map.h"

namespace casewright {

class WordTable {
 public:
  // Counts one occurrence of `key`: adds 1.0 to its weight, appending it with
  // weight 1.0 when it is new.  Returns its id.
  WordId Count(const std::string& key);

  std::optional<WordId> Find(std::string_view key) const;

  std::size_t size() const { return entries_.size(); }
  bool empty() const { return entries_.empty(); }
  palavra& operator[](WordId id) { return entries_[id]; }
  const palavra& operator[](WordId id) const { return entries_[id]; }
  std::vector<palavra>::iterator begin() { return entries_.begin(); }
  std::vector<palavra>::iterator end() { return entries_.end(); }
  std::vector<palavra>::const_iterator begin() const { return entries_.begin(); }
  std::vector<palavra>::const_iterator end() const { return entries_.end(); }

  void clear();

 private:
  std::vector<palavra> entries_;
  StringMap<WordId> index_;
};

}  // namespace casewright

#endif  // CASEWRIGHT_CORE_WORD_TABLE_H_
