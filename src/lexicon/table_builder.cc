#include "lexicon/table_builder.h"

#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <set>
#include <vector>

#include "app/run_error.h"
#include "lexicon/cp1252.h"
#include "lexicon/sqlite_tables.h"

namespace casewright {
namespace fs = std::filesystem;
namespace {

struct Line {
  std::size_t number;
  std::string text;
};

// The entries of a source file: its lines without blank and comment lines.
std::vector<Line> ReadEntries(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw RunError("Cannot open file " + path, path);
  std::vector<Line> lines;
  std::string text;
  for (std::size_t number = 1; std::getline(in, text); ++number) {
    if (!text.empty() && text.back() == '\r') text.pop_back();
    if (text.empty() || text.front() == '#') continue;
    if (!IsValidUtf8(text)) {
      throw RunError("line " + std::to_string(number) + " is not valid UTF-8", path);
    }
    lines.push_back({number, std::move(text)});
  }
  if (in.bad()) throw RunError("Cannot read file " + path, path);
  return lines;
}

RunError LineError(const std::string& path, const Line& line, const std::string& why) {
  return RunError("line " + std::to_string(line.number) + ": " + why, path);
}

// Rejects a second line with the same key: the tables search by key, so
// only one entry per key can ever be found.
void CheckUnique(std::set<std::string>& seen, const std::string& key, const std::string& path,
                 const Line& line) {
  if (!seen.insert(key).second) throw LineError(path, line, "\"" + key + "\" is given twice");
}

class Database {
 public:
  explicit Database(const std::string& path) : path_(path) {
    if (sqlite3_open(path.c_str(), &db_) != SQLITE_OK) Fail();
  }
  ~Database() { sqlite3_close(db_); }

  void Execute(const std::string& sql) {
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) Fail();
  }

  // Inserts one row per entry with `sql`, whose parameters `bind` fills.
  void InsertAll(const std::string& sql, const std::vector<Line>& entries,
                 const std::function<void(sqlite3_stmt*, const Line&)>& bind) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) Fail();
    for (const Line& entry : entries) {
      sqlite3_reset(statement);
      bind(statement, entry);
      if (sqlite3_step(statement) != SQLITE_DONE) {
        sqlite3_finalize(statement);
        Fail();
      }
    }
    sqlite3_finalize(statement);
  }

 private:
  [[noreturn]] void Fail() { throw RunError(std::string("SQLite: ") + sqlite3_errmsg(db_), path_); }

  std::string path_;
  sqlite3* db_ = nullptr;
};

void BindText(sqlite3_stmt* statement, int index, const std::string& text) {
  sqlite3_bind_text(statement, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

// Builds one table file next to its final place and renames it in.
void WriteTable(const fs::path& folder, const char* file, const std::string& schema,
                const std::string& insert, const std::vector<Line>& entries,
                const std::function<void(sqlite3_stmt*, const Line&)>& bind) {
  fs::path target = folder / file;
  fs::path temporary = folder / (std::string(file) + ".new");
  fs::remove(temporary);
  try {
    Database db(temporary.string());
    db.Execute(schema);
    db.Execute("BEGIN");
    db.InsertAll(insert, entries, bind);
    db.Execute("COMMIT");
  } catch (...) {
    std::error_code ignored;
    fs::remove(temporary, ignored);
    throw;
  }
  fs::rename(temporary, target);
}

}  // namespace

TableCounts BuildTables(const TableSources& sources, const std::string& folder) {
  std::vector<Line> lexicon = ReadEntries(sources.lexicon);
  std::vector<Line> stoplist = ReadEntries(sources.stoplist);
  std::vector<Line> cue_words = ReadEntries(sources.cue_words);

  std::set<std::string> forms;
  for (Line& entry : lexicon) {
    auto tab = entry.text.find('\t');
    if (tab == std::string::npos) throw LineError(sources.lexicon, entry, "no tab between form and canonical form");
    CheckUnique(forms, entry.text.substr(0, tab), sources.lexicon, entry);
  }
  std::set<std::string> stopwords;
  for (const Line& entry : stoplist) CheckUnique(stopwords, entry.text, sources.stoplist, entry);

  fs::path dir(folder);
  std::error_code error;
  fs::create_directories(dir, error);
  if (error) throw RunError("Cannot create the folder: " + error.message(), folder);

  WriteTable(dir, kLexiconFile,
             "CREATE TABLE \"L\xC3\xA9xico\" (\"Palavra\" TEXT PRIMARY KEY, \"Can\xC3\xB4nica\" TEXT)",
             "INSERT INTO \"L\xC3\xA9xico\" VALUES (?1, ?2)", lexicon, [](sqlite3_stmt* s, const Line& entry) {
               auto tab = entry.text.find('\t');
               BindText(s, 1, entry.text.substr(0, tab));
               std::string canonical = entry.text.substr(tab + 1);
               if (canonical == "\\N") {
                 sqlite3_bind_null(s, 2);
               } else {
                 BindText(s, 2, canonical);
               }
             });
  WriteTable(dir, kStoplistFile, "CREATE TABLE \"Stoplist\" (\"Palavra\" TEXT PRIMARY KEY)",
             "INSERT INTO \"Stoplist\" VALUES (?1)", stoplist,
             [](sqlite3_stmt* s, const Line& entry) { BindText(s, 1, entry.text); });
  WriteTable(dir, kCuePhrasesFile, "CREATE TABLE \"Cuephrases\" (\"Palavra\" TEXT)",
             "INSERT INTO \"Cuephrases\" VALUES (?1)", cue_words,
             [](sqlite3_stmt* s, const Line& entry) { BindText(s, 1, entry.text); });
  return {lexicon.size(), stoplist.size(), cue_words.size()};
}

}  // namespace casewright
