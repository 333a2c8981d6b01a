#include "lexicon/sqlite_tables.h"

#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <mutex>

#include "app/run_error.h"
#include "lexicon/cp1252.h"
#include "lexicon/table_messages.h"

namespace casewright {
namespace fs = std::filesystem;

std::string ResolveTablesFolder(const std::string& override_folder) {
  if (!override_folder.empty()) return override_folder;
  if (const char* env = std::getenv("CASEWRIGHT_ORBELIN"); env != nullptr && *env != '\0') return env;
  std::error_code error;
  fs::path exe = fs::read_symlink("/proc/self/exe", error);
  if (error) return "share/casewright/tables";
  return (exe.parent_path().parent_path() / "share" / "casewright" / "tables").lexically_normal().string();
}

// One open table with its single prepared query.  A mutex serialises the
// use of the statement, so runs on several threads can share the tables.
class SqliteTables::Table {
 public:
  Table(const std::string& folder, const char* file, const std::string& sql) {
    path_ = (fs::path(folder) / file).string();
    std::string name = fs::path(file).stem().string();
    auto fail = [&](const std::string& why) {
      std::string message = std::string("Cannot open table \"") + name + "\" of alias " + kTablesAlias +
                            " in folder \"" + folder + "\": " + why;
      Close();
      throw RunError(message, path_);
    };
    std::error_code error;
    if (!fs::is_directory(folder, error)) fail("the folder does not exist");
    if (!fs::is_regular_file(path_, error)) fail("the file " + std::string(file) + " does not exist");
    if (sqlite3_open_v2(path_.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
      fail(db_ ? sqlite3_errmsg(db_) : "out of memory");
    }
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement_, nullptr) != SQLITE_OK) {
      fail(sqlite3_errmsg(db_));
    }
  }

  ~Table() { Close(); }

  const std::string& path() const { return path_; }

  // Runs the query with `key` (UTF-8) bound, or with nothing bound when
  // `key` is null, and hands each row to `row`.
  template <typename RowFn>
  void Query(const std::string* key, RowFn&& row) const {
    std::lock_guard lock(mutex_);
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
    if (key) sqlite3_bind_text(statement_, 1, key->data(), static_cast<int>(key->size()), SQLITE_TRANSIENT);
    int status;
    while ((status = sqlite3_step(statement_)) == SQLITE_ROW) {
      if (!row(statement_)) break;
    }
    if (status != SQLITE_ROW && status != SQLITE_DONE) {
      throw RunError(std::string("Table read failed: ") + sqlite3_errmsg(db_), path_);
    }
    sqlite3_reset(statement_);
  }

 private:
  void Close() {
    sqlite3_finalize(statement_);
    sqlite3_close(db_);
    statement_ = nullptr;
    db_ = nullptr;
  }

  std::string path_;
  sqlite3* db_ = nullptr;
  sqlite3_stmt* statement_ = nullptr;
  mutable std::mutex mutex_;
};

namespace {

// The text of a column as UTF-8, or nullopt for NULL.
std::optional<std::string> ColumnText(sqlite3_stmt* statement, int column) {
  if (sqlite3_column_type(statement, column) == SQLITE_NULL) return std::nullopt;
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
  return std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(statement, column)));
}

}  // namespace

SqliteTables::SqliteTables(const std::string& folder)
    : folder_(folder),
      lexicon_(std::make_unique<Table>(
          folder, kLexiconFile,
          "SELECT \"Can\xC3\xB4nica\" FROM \"L\xC3\xA9xico\" WHERE \"Palavra\" = ?1")),
      stoplist_(std::make_unique<Table>(folder, kStoplistFile,
                                        "SELECT 1 FROM \"Stoplist\" WHERE \"Palavra\" = ?1")),
      cue_phrases_(std::make_unique<Table>(folder, kCuePhrasesFile,
                                           "SELECT \"Palavra\" FROM \"Cuephrases\" ORDER BY rowid")) {}

SqliteTables::~SqliteTables() = default;

std::string SqliteTables::Canonicalize(const std::string& word) const {
  std::string utf8 = Cp1252ToUtf8(word);
  std::optional<std::optional<std::string>> found;
  lexicon_->Query(&utf8, [&](sqlite3_stmt* row) {
    found = ColumnText(row, 0);
    return false;
  });
  if (!found) return word;
  if (!*found) throw MissingCanonicalForm(word, lexicon_->path());
  auto canonical = Utf8ToCp1252(**found);
  if (!canonical) throw UnrepresentableCanonicalForm(word, **found, lexicon_->path());
  return *canonical;
}

bool SqliteTables::IsStopword(const std::string& key) const {
  std::string utf8 = Cp1252ToUtf8(key);
  bool found = false;
  stoplist_->Query(&utf8, [&](sqlite3_stmt*) {
    found = true;
    return false;
  });
  return found;
}

std::vector<std::optional<std::string>> SqliteTables::ReadCueWords() const {
  std::vector<std::optional<std::string>> words;
  cue_phrases_->Query(nullptr, [&](sqlite3_stmt* row) {
    auto value = ColumnText(row, 0);
    words.push_back(value ? Utf8ToCp1252(*value) : std::nullopt);
    return true;
  });
  return words;
}

}  // namespace casewright
