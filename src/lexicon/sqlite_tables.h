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
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "absl/container/flat_hash_set.h"
#include "core/lexical_tables.h"
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
  class Table;
  struct Reader;
  // The reader of the calling thread, made on its first look-up.
  Reader& ReaderOfThisThread() const;
  // The canonical form the store holds for `word`, or nullopt.
  static std::optional<std::string> LookUp(const Table& lexicon, const std::string& word);

  std::string folder_;
  // Tells these tables from any others opened before or after in the
  // process, for the thread's pointer to its reader (see
  // ReaderOfThisThread): never reused, unlike an address.
  const std::uint64_t serial_;
  // The lexicon as opened here.  Each thread reads the lexicon through a
  // connection and an index of answers of its own (a Reader), so that
  // threads never wait on one another for a word; this connection serves,
  // under `shared_mutex_`, only a thread that cannot open the same file
  // again because the table was replaced since (see ReaderOfThisThread):
  // tables never change under the runs that use them.  It also serves the
  // threads past the first 64, which would otherwise cost a file
  // descriptor each.
  std::unique_ptr<Table> lexicon_;
  mutable std::mutex shared_mutex_;
  // Every live thread's reader, made on its first look-up.  A thread that
  // ends drops its reader (see ReaderOfThisThread), so that a program which
  // starts a thread per run, as the window does, keeps no connection or
  // answers of the threads gone.  Shared with the threads, which may end
  // after these tables are closed.
  struct Readers {
    std::mutex mutex;
    std::unordered_map<std::thread::id, std::unique_ptr<Reader>> by_thread;
  };
  const std::shared_ptr<Readers> readers_;
  // The stoplist and the cue words are short: they are read whole when the
  // tables are opened, so that asking for them costs no look-up in the store.
  absl::flat_hash_set<std::string> stopwords_;
  std::vector<std::optional<std::string>> cue_words_;
};

}  // namespace casewright

#endif  // CASEWRIGHT_LEXICON_SQLITE_TABLES_H_
