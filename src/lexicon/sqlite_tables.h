// The lexical tables in their store: three SQLite files in the folder that
// the alias names (table_schema.h gives their layout).
//
// The files are opened read-only and immutable: a look-up then takes no lock
// and checks no journal, which would cost system calls on every word.  The
// table builder replaces a file by renaming a new one over it, so an open
// table never changes under a running program.
//
// Values are UTF-8; words are converted from and to Windows-1252 at this
// boundary.  Searches are exact (SQLite's BINARY collation).  A word with no
// UTF-8 form cannot occur (every byte has one), and a stored value with no
// Windows-1252 form matches no word.
#ifndef CASEWRIGHT_LEXICON_SQLITE_TABLES_H_
#define CASEWRIGHT_LEXICON_SQLITE_TABLES_H_

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <shared_mutex>
#include <string>
#include <string_view>
#include <vector>

#include "absl/container/flat_hash_map.h"
#include "absl/container/flat_hash_set.h"
#include "core/lexical_tables.h"
#include "core/string_map.h"
#include "lexicon/table_schema.h"

namespace casewright {

// The folder the alias names: `override_folder` when not empty, else the
// folder in the environment variable CASEWRIGHT_ORBELIN when it is set, else
// the default tables installed with the program (share/casewright/tables
// beside the folder of the running executable).
std::string ResolveTablesFolder(const std::string& override_folder = {});

class SqliteTables : public LexicalTables {
 public:
  // Opens the three tables in `folder`, read-only.  Throws RunError naming
  // the alias, the folder and the table when one is missing or unreadable.
  explicit SqliteTables(const std::string& folder);
  ~SqliteTables() override;

  std::string Canonicalize(const std::string& word) const override;
  bool IsStopword(const std::string& key) const override;
  std::vector<std::optional<std::string>> ReadCueWords() const override;
  // Léxico.db, Stoplist.db and Cuephrases.db in the folder.
  std::vector<std::string> StoredFiles() const override;

 private:
  std::string folder_;
  class Table;
  // One answer of the lexicon: `word`'s canonical form, or nullopt for a
  // word it does not hold.
  struct Answer {
    std::string word;
    std::optional<std::string> canonical;
  };
  // Answers by word, viewed where they are kept.
  using AnswerIndex = absl::flat_hash_map<std::string_view, const Answer*, StringViewHash, StringViewEq>;
  struct ThreadAnswers;
  static ThreadAnswers& ThreadAnswersFor(std::uint64_t serial);

  // What the shared answers, or else the store, say of `word`: sets
  // `canonical` and returns the answer as kept, or null when the shared
  // answers are full.
  const Answer* SharedAnswer(const std::string& word, std::optional<std::string>& canonical) const;

  // Tells these tables from any others opened before or after in the
  // process, for the per-thread indexes of the answers (see Canonicalize):
  // never reused, unlike an address.
  const std::uint64_t serial_;
  std::unique_ptr<Table> lexicon_;
  // The lexicon's answers so far, shared by every thread.  Texts of one
  // corpus share most of their words, so a batch looks most of them up in
  // the store only once.  Each thread also keeps an index of the answers it
  // has used (see Canonicalize), so that a worker takes this lock only for a
  // word it has not met yet; the answers lie in a deque, which never moves
  // them, so those indexes point at them rather than copy them.  Capped, so
  // that a corpus of endless distinct words cannot exhaust memory.
  mutable std::shared_mutex answers_mutex_;
  mutable std::deque<Answer> answers_;
  mutable AnswerIndex answer_index_;
  // The stoplist and the cue words are short: they are read whole when the
  // tables are opened, so that asking for them costs no look-up in the store.
  absl::flat_hash_set<std::string> stopwords_;
  std::vector<std::optional<std::string>> cue_words_;
};

}  // namespace casewright

#endif  // CASEWRIGHT_LEXICON_SQLITE_TABLES_H_
