#include "lexicon/sqlite_tables.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>

#include "absl/container/flat_hash_map.h"

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

// One open table with its single prepared query.  Neither is shared between
// threads at once: each thread has its own (see ReaderOfThisThread), so the
// connection is opened without SQLite's own mutex.
class SqliteTables::Table {
 public:
  // What tells one version of a file from another: a table replaced by the
  // builder is a new file (a rename), one changed in place has a new size or
  // modification time.
  struct Version {
    dev_t device;
    ino_t inode;
    off_t size;
    timespec modified;

    bool operator==(const Version& other) const {
      return device == other.device && inode == other.inode && size == other.size &&
             modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec;
    }
  };

  // The version of the file at `path`; nullopt when it cannot be examined.
  static std::optional<Version> VersionOf(const std::string& path) {
    struct stat info;
    if (::stat(path.c_str(), &info) != 0) return std::nullopt;
    return Version{info.st_dev, info.st_ino, info.st_size, info.st_mtim};
  }

  Table(const std::string& folder, const TableSchema& schema, const std::string& sql)
      : database_(Open(folder, schema)), version_(VersionOf(database_.path())), statement_(Prepare(folder, schema, sql)) {
    // One read transaction for the connection's life rather than one per
    // look-up: starting and ending one cost about a twentieth of a run.  The
    // file is immutable, so holding it keeps no writer waiting.
    database_.Execute("BEGIN");
  }

  const std::string& path() const { return database_.path(); }
  // The file as it was just after it was opened.
  const std::optional<Version>& version() const { return version_; }

  // Runs the query with `key` (UTF-8) bound, or with nothing bound when
  // `key` is null, and hands each row to `row` until it returns false.
  template <typename RowFn>
  void Query(const std::string* key, RowFn&& row) const {
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
      SqliteDatabase database(ImmutableUri(path), SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX,
                              path);
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
  std::optional<Version> version_;
  mutable SqliteStatement statement_;
};

namespace {

// A thread's answers are capped, so that a corpus of endless distinct words
// cannot exhaust memory; past the cap a word is looked up in the store.
constexpr std::size_t kCachedWords = 1 << 18;
// The threads that get a connection of their own; any more share the first,
// so that a batch of a thousand threads does not spend as many file
// descriptors (and run out of them for its texts) on the lexicon.
constexpr std::size_t kOwnConnections = 64;

std::uint64_t NextTablesSerial() {
  static std::atomic<std::uint64_t> last{0};
  return ++last;
}

std::string Select(std::string_view column, const TableSchema& schema, std::string_view rest) {
  return "SELECT " + std::string(column) + " FROM " + Quoted(schema.table) + " " + std::string(rest);
}

std::string LexiconQuery() {
  return Select(Quoted(kCanonicalColumn), kLexiconSchema, "WHERE " + Quoted(kWordColumn) + " = ?1");
}

}  // namespace

// One thread's way to the lexicon: its own connection (or, when the table
// was replaced since the tables were opened or there are many threads, the
// tables' first one, under its mutex) and the answers the thread has had,
// by word.  Texts of one
// corpus share most of their words, so a batch's thread looks most of them
// up in the store only once.
struct SqliteTables::Reader {
  std::unique_ptr<Table> own;
  absl::flat_hash_map<std::string, std::optional<std::string>> answers;
};

SqliteTables::SqliteTables(const std::string& folder)
    : folder_(folder),
      serial_(NextTablesSerial()),
      lexicon_(std::make_unique<Table>(folder, kLexiconSchema, LexiconQuery())),
      readers_(std::make_shared<Readers>()) {
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

namespace {

// The readers' maps in which the calling thread has a reader; when the
// thread ends, it takes its reader out of those whose tables are still open.
template <typename Readers>
class ThreadsReaders {
 public:
  ~ThreadsReaders() {
    for (const std::weak_ptr<Readers>& held : held_) {
      if (std::shared_ptr<Readers> readers = held.lock()) {
        std::lock_guard lock(readers->mutex);
        readers->by_thread.erase(std::this_thread::get_id());
      }
    }
  }
  void Add(const std::shared_ptr<Readers>& readers) { held_.push_back(readers); }

 private:
  std::vector<std::weak_ptr<Readers>> held_;
};

}  // namespace

SqliteTables::Reader& SqliteTables::ReaderOfThisThread() const {
  // The reader this thread used last, and the serial of its tables: a
  // pointer into tables that may be closed since, never followed then.
  thread_local std::uint64_t last_serial = 0;
  thread_local Reader* last_reader = nullptr;
  if (last_serial == serial_) return *last_reader;
  thread_local ThreadsReaders<Readers> readers_of_thread;
  std::lock_guard lock(readers_->mutex);
  std::unique_ptr<Reader>& reader = readers_->by_thread[std::this_thread::get_id()];
  if (!reader) {
    reader = std::make_unique<Reader>();
    readers_of_thread.Add(readers_);
    // The file must be the one opened first, before and after this open.
    const std::optional<Table::Version> before = Table::VersionOf(lexicon_->path());
    if (readers_->by_thread.size() <= kOwnConnections && before && before == lexicon_->version()) {
      try {
        reader->own = std::make_unique<Table>(folder_, kLexiconSchema, LexiconQuery());
        if (reader->own->version() != before) reader->own.reset();
      } catch (const RunError&) {
        // Out of descriptors, say: the first connection still serves.
      }
    }
  }
  last_serial = serial_;
  last_reader = reader.get();
  return *reader;
}

std::optional<std::string> SqliteTables::LookUp(const Table& lexicon, const std::string& word) {
  const std::string utf8 = Cp1252ToUtf8(word);
  std::optional<std::optional<std::string>> found;
  lexicon.Query(&utf8, [&](const SqliteStatement& row) {
    found = row.ColumnText(0);
    return false;
  });
  if (!found) return std::nullopt;
  if (!*found) throw MissingCanonicalForm(word, lexicon.path());
  std::optional<std::string> canonical = Utf8ToCp1252(**found);
  if (!canonical) throw UnrepresentableCanonicalForm(word, **found, lexicon.path());
  return canonical;
}

std::string SqliteTables::Canonicalize(const std::string& word) const {
  Reader& reader = ReaderOfThisThread();
  if (auto known = reader.answers.find(word); known != reader.answers.end()) {
    return known->second.value_or(word);
  }
  std::optional<std::string> canonical;
  if (reader.own) {
    canonical = LookUp(*reader.own, word);
  } else {
    std::lock_guard lock(shared_mutex_);
    canonical = LookUp(*lexicon_, word);
  }
  if (reader.answers.size() < kCachedWords) reader.answers.emplace(word, canonical);
  return canonical.value_or(word);
}

bool SqliteTables::IsStopword(const std::string& key) const { return stopwords_.contains(key); }

std::vector<std::optional<std::string>> SqliteTables::ReadCueWords() const { return cue_words_; }

}  // namespace casewright
