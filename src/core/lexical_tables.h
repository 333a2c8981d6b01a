// The three lexical resource tables as the analysis sees them: the lexicon
// (word -> canonical form), the stoplist and the cue words.  Words go in and
// come out as Windows-1252 bytes; how the tables are stored is the
// implementation's business (SqliteTables for the real store, MemoryTables
// for tests).
//
// Implementations are safe to use from several runs at once.
#ifndef CASEWRIGHT_CORE_LEXICAL_TABLES_H_
#define CASEWRIGHT_CORE_LEXICAL_TABLES_H_

#include <optional>
#include <string>
#include <vector>

namespace casewright {

class LexicalTables {
 public:
  virtual ~LexicalTables() = default;

  // The canonical form the lexicon holds for `word`, or `word` unchanged
  // when the lexicon does not hold it.  The search is exact, byte for byte.
  // Throws RunError when the entry has no canonical form ("Invalid variant
  // type conversion") or a form that has no Windows-1252 spelling.
  virtual std::string Canonicalize(const std::string& word) const = 0;

  // True when the stoplist holds `key` exactly.
  virtual bool IsStopword(const std::string& key) const = 0;

  // The cue table's words in the table's own order.  A missing value, or one
  // with no Windows-1252 spelling, is nullopt: it matches no word.
  virtual std::vector<std::optional<std::string>> ReadCueWords() const = 0;

  // The files the tables are read from, as paths: inputs of every run that
  // uses them, which a run must not write.  None for tables held in memory.
  virtual std::vector<std::string> StoredFiles() const { return {}; }
};

}  // namespace casewright

#endif  // CASEWRIGHT_CORE_LEXICAL_TABLES_H_
