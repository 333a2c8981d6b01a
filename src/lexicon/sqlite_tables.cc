#include "lexicon/sqlite_tables.h"

#include <sqlite3.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <mutex>

#include "core/cp1252.h"
#include "core/run_error.h"
#include "lexicon/sqlite_database.h"
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

namespace {

// What keeps `database` from serving as the table of `schema`: the table or
// one of its columns missing.  Checked when a table is opened, so that a
// misnamed column fails at once instead of giving wrong cases.
std::optional<std::string> SchemaProblem(const SqliteDatabase& database, const TableSchema& schema) {
  SqliteStatement columns = database.Prepare("SELECT name FROM pragma_table_info(?1)");
  columns.BindText(1, schema.table);
  std::vector<std::string> present;
  while (columns.Step()) present.push_back(columns.ColumnText(0).value_or(""));
  if (present.empty()) return "the file holds no table " + Quoted(schema.table);
  for (std::string_view column : schema.columns) {
    if (std::find(present.begin(), present.end(), column) == present.end()) {
      return "the table has no column " + Quoted(column);
    }
  }
  return std::nullopt;
}

}  // namespace

// One open table with its single prepared query.  A mutex serialises the
// use of the statement, so runs on several threads can share the tables.
class SqliteTables::Table {
 public:
  Table(const std::string& folder, const TableSchema& schema, const std::string& sql)
      : database_(Open(folder, schema)), statement_(Prepare(folder, schema, sql)) {}

  const std::string& path() const { return database_.path(); }

  // Runs the query with `key` (UTF-8) bound, or with nothing bound when
  // `key` is null, and hands each row to `row` until it returns false.
  template <typename RowFn>
  void Query(const std::string* key, RowFn&& row) const {
    std::lock_guard lock(mutex_);
    statement_.Reset();
    if (key) statement_.BindText(1, *key);
    while (statement_.Step()) {
      if (!row(statement_)) break;
    }
    statement_.Reset();
  }

 private:
  [[noreturn]] static void Fail(const std::string& folder, const TableSchema& schema, const std::string& why) {
    throw RunError("Cannot open table " + Quoted(schema.table) + " of alias " + kTablesAlias + " in folder \"" +
                       folder + "\": " + why,
                   (fs::path(folder) / schema.file).string());
  }

  static SqliteDatabase Open(const std::string& folder, const TableSchema& schema) {
    std::string path = (fs::path(folder) / schema.file).string();
    std::error_code error;
    if (!fs::is_directory(folder, error)) Fail(folder, schema, "the folder does not exist");
    if (!fs::is_regular_file(path, error)) Fail(folder, schema, "the file " + std::string(schema.file) + " does not exist");
    try {
      SqliteDatabase database(ImmutableUri(path), SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, path);
      // Pages are read through a memory map rather than a read per page.
      database.Execute("PRAGMA mmap_size = " + std::to_string(kMapBytes));
      return database;
    } catch (const RunError& e) {
      Fail(folder, schema, e.what());
    }
  }

  // A "file:" URI naming `path` with immutable=1; "%", "?" and "#" are
  // escaped so that any file name reads back as itself.
  static std::string ImmutableUri(const std::string& path) {
    std::string uri = "file:";
    for (char c : path) {
      if (c == '%' || c == '?' || c == '#') {
        static constexpr char kHex[] = "0123456789ABCDEF";
        uri += '%';
        uri += kHex[static_cast<unsigned char>(c) >> 4];
        uri += kHex[static_cast<unsigned char>(c) & 15];
      } else {
        uri += c;
      }
    }
    return uri + "?immutable=1";
  }

  static constexpr std::int64_t kMapBytes = std::int64_t{1} << 30;

  SqliteStatement Prepare(const std::string& folder, const TableSchema& schema, const std::string& sql) {
    std::optional<std::string> problem;
    try {
      problem = SchemaProblem(database_, schema);
      if (!problem) return database_.Prepare(sql);
    } catch (const RunError& e) {
      Fail(folder, schema, e.what());
    }
    Fail(folder, schema, *problem);
  }

  SqliteDatabase database_;
  mutable SqliteStatement statement_;
  mutable std::mutex mutex_;
};

namespace {

constexpr std::size_t kCachedWords = 1 << 20;
constexpr std::size_t kThreadCachedWords = 1 << 18;

std::uint64_t NextTablesSerial() {
  static std::atomic<std::uint64_t> last{0};
  return ++last;
}

std::string Select(std::string_view column, const TableSchema& schema, std::string_view rest) {
  return "SELECT " + std::string(column) + " FROM " + Quoted(schema.table) + " " + std::string(rest);
}

}  // namespace

SqliteTables::SqliteTables(const std::string& folder)
    : folder_(folder),
      serial_(NextTablesSerial()),
      lexicon_(std::make_unique<Table>(
          folder, kLexiconSchema,
          Select(Quoted(kCanonicalColumn), kLexiconSchema, "WHERE " + Quoted(kWordColumn) + " = ?1"))) {
  // A stored stopword with no Windows-1252 spelling can match no key.
  Table stoplist(folder, kStoplistSchema, Select(Quoted(kWordColumn), kStoplistSchema, ""));
  stoplist.Query(nullptr, [&](const SqliteStatement& row) {
    if (auto word = row.ColumnText(0)) {
      if (auto key = Utf8ToCp1252(*word)) stopwords_.insert(std::move(*key));
    }
    return true;
  });
  Table cue_phrases(folder, kCuePhrasesSchema, Select(Quoted(kWordColumn), kCuePhrasesSchema, "ORDER BY rowid"));
  cue_phrases.Query(nullptr, [&](const SqliteStatement& row) {
    auto value = row.ColumnText(0);
    cue_words_.push_back(value ? Utf8ToCp1252(*value) : std::nullopt);
    return true;
  });
}

SqliteTables::~SqliteTables() = default;

std::vector<std::string> SqliteTables::StoredFiles() const {
  std::vector<std::string> files;
  for (const TableSchema* schema : {&kLexiconSchema, &kStoplistSchema, &kCuePhrasesSchema}) {
    files.push_back((std::filesystem::path(folder_) / schema->file).string());
  }
  return files;
}

// The answers that one thread has used, as kept by the tables numbered
// `tables_serial`.
struct SqliteTables::ThreadAnswers {
  std::uint64_t tables_serial = 0;
  AnswerIndex index;
};

SqliteTables::ThreadAnswers& SqliteTables::ThreadAnswersFor(std::uint64_t serial) {
  thread_local ThreadAnswers answers;
  if (answers.tables_serial != serial) {
    // Answers of other tables, perhaps closed since: never to be read.
    answers.index.clear();
    answers.tables_serial = serial;
  }
  return answers;
}

std::string SqliteTables::Canonicalize(const std::string& word) const {
  ThreadAnswers& mine = ThreadAnswersFor(serial_);
  if (auto known = mine.index.find(word); known != mine.index.end()) return known->second->canonical.value_or(word);
  std::optional<std::string> canonical;
  const Answer* shared = SharedAnswer(word, canonical);
  if (shared != nullptr && mine.index.size() < kThreadCachedWords) mine.index.emplace(shared->word, shared);
  return canonical.value_or(word);
}

const SqliteTables::Answer* SqliteTables::SharedAnswer(const std::string& word,
                                                       std::optional<std::string>& canonical) const {
  {
    std::shared_lock lock(answers_mutex_);
    if (auto known = answer_index_.find(word); known != answer_index_.end()) {
      canonical = known->second->canonical;
      return known->second;
    }
  }
  std::string utf8 = Cp1252ToUtf8(word);
  std::optional<std::optional<std::string>> found;
  lexicon_->Query(&utf8, [&](const SqliteStatement& row) {
    found = row.ColumnText(0);
    return false;
  });
  if (found) {
    if (!*found) throw MissingCanonicalForm(word, lexicon_->path());
    canonical = Utf8ToCp1252(**found);
    if (!canonical) throw UnrepresentableCanonicalForm(word, **found, lexicon_->path());
  }
  std::unique_lock lock(answers_mutex_);
  // Another thread may have kept the same answer meanwhile.
  if (auto known = answer_index_.find(word); known != answer_index_.end()) return known->second;
  if (answers_.size() >= kCachedWords) return nullptr;
  answers_.push_back(Answer{word, canonical});
  const Answer& kept = answers_.back();
  answer_index_.emplace(kept.word, &kept);
  return &kept;
}

bool SqliteTables::IsStopword(const std::string& key) const { return stopwords_.contains(key); }

std::vector<std::optional<std::string>> SqliteTables::ReadCueWords() const { return cue_words_; }

}  // namespace casewright
