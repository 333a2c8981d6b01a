// The lexical tables in their store: three SQLite 3 database files in one
// folder, each holding one table named as its file without ".db":
//
//   Léxico.db      CREATE TABLE "Léxico" ("Palavra" TEXT PRIMARY KEY, "Canônica" TEXT)
//   Stoplist.db    CREATE TABLE "Stoplist" ("Palavra" TEXT PRIMARY KEY)
//   Cuephrases.db  CREATE TABLE "Cuephrases" ("Palavra" TEXT)
//
// Values are UTF-8; words are converted from and to Windows-1252 at this
// boundary.  Searches are exact (SQLite's BINARY collation).  A word with no
// UTF-8 form cannot occur (every byte has one), and a stored value with no
// Windows-1252 form matches no word.
#ifndef CASEWRIGHT_LEXICON_SQLITE_TABLES_H_
#define CASEWRIGHT_LEXICON_SQLITE_TABLES_H_

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "lexicon/lexical_tables.h"

namespace casewright {

// The alias under which the tables are known.
inline constexpr const char* kTablesAlias = "Orbelin";

// The file names of the three tables (UTF-8).
inline constexpr const char* kLexiconFile = "L\xC3\xA9xico.db";
inline constexpr const char* kStoplistFile = "Stoplist.db";
inline constexpr const char* kCuePhrasesFile = "Cuephrases.db";

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

  const std::string& folder() const { return folder_; }

 private:
  class Table;
  std::string folder_;
  std::unique_ptr<Table> lexicon_;
  std::unique_ptr<Table> stoplist_;
  std::unique_ptr<Table> cue_phrases_;
};

}  // namespace casewright

#endif  // CASEWRIGHT_LEXICON_SQLITE_TABLES_H_
