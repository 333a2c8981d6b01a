// The layout of the three lexical tables: one SQLite file each, in the
// folder the alias names, holding one table named as its file without
// ".db":
//
//   Léxico.db      CREATE TABLE "Léxico" ("Palavra" TEXT PRIMARY KEY, "Canônica" TEXT) WITHOUT ROWID
//   Stoplist.db    CREATE TABLE "Stoplist" ("Palavra" TEXT PRIMARY KEY) WITHOUT ROWID
//   Cuephrases.db  CREATE TABLE "Cuephrases" ("Palavra" TEXT), read in rowid order
//
// Names are UTF-8.  The reader and the builder both take them from here.
// The reader asks only for the tables and columns, so it reads the keyed
// tables as well with rowids (as builds before WITHOUT ROWID made them, or
// as a user's own tool makes them).
#ifndef CASEWRIGHT_LEXICON_TABLE_SCHEMA_H_
#define CASEWRIGHT_LEXICON_TABLE_SCHEMA_H_

#include <span>
#include <string>
#include <string_view>

namespace casewright {

// The alias under which the tables are known.
inline constexpr const char* kTablesAlias = "Orbelin";

struct TableSchema {
  std::string_view file;                      // in the tables folder
  std::string_view table;                     // the table inside the file
  std::span<const std::string_view> columns;  // all TEXT, in order
  bool keyed;                                 // the first column is the primary key
};

inline constexpr std::string_view kWordColumn = "Palavra";
inline constexpr std::string_view kCanonicalColumn = "Can\xC3\xB4nica";

inline constexpr std::string_view kLexiconColumns[] = {kWordColumn, kCanonicalColumn};
inline constexpr std::string_view kWordColumns[] = {kWordColumn};

inline constexpr TableSchema kLexiconSchema = {"L\xC3\xA9xico.db", "L\xC3\xA9xico", kLexiconColumns, true};
inline constexpr TableSchema kStoplistSchema = {"Stoplist.db", "Stoplist", kWordColumns, true};
inline constexpr TableSchema kCuePhrasesSchema = {"Cuephrases.db", "Cuephrases", kWordColumns, false};

// `name` as an SQL identifier: in double quotes.
std::string Quoted(std::string_view name);

// The CREATE TABLE statement of `schema`.
std::string CreateStatement(const TableSchema& schema);

}  // namespace casewright

#endif  // CASEWRIGHT_LEXICON_TABLE_SCHEMA_H_
