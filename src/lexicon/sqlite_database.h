// A thin owner of SQLite handles: a database connection and its prepared
// statements, each closed exactly once by its destructor.  Movable, never
// copied, so a handle cannot be closed twice or leaked on a failed open.
//
// Every failure throws RunError with SQLite's message and the database
// file's path.
#ifndef CASEWRIGHT_LEXICON_SQLITE_DATABASE_H_
#define CASEWRIGHT_LEXICON_SQLITE_DATABASE_H_

#include <optional>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace casewright {

class SqliteStatement {
 public:
  SqliteStatement(SqliteStatement&& other) noexcept;
  SqliteStatement& operator=(SqliteStatement&& other) noexcept;
  ~SqliteStatement();

  // Clears the bindings and the previous execution.
  void Reset();
  // Binds UTF-8 `text` to parameter `index` (from 1); the text is copied.
  void BindText(int index, std::string_view text);
  void BindNull(int index);
  // Runs the statement to its next row: true when there is one, false when
  // it is done.
  bool Step();
  // The current row's column as UTF-8 text, or nullopt when it is NULL.
  std::optional<std::string> ColumnText(int column) const;

 private:
  friend class SqliteDatabase;
  SqliteStatement(sqlite3_stmt* statement, std::string path);
  [[noreturn]] void Fail() const;

  sqlite3_stmt* statement_ = nullptr;
  std::string path_;  // of the database, for messages
};

class SqliteDatabase {
 public:
  // Opens the database `name` (a file's path, or a "file:" URI with
  // SQLITE_OPEN_URI) with the SQLITE_OPEN_* `flags`.  Messages name `path`,
  // the file itself, which is `name` when not given.  A double-quoted string
  // is always a name, never a string literal.
  SqliteDatabase(const std::string& name, int flags, std::string path = {});
  SqliteDatabase(SqliteDatabase&& other) noexcept;
  SqliteDatabase& operator=(SqliteDatabase&& other) noexcept;
  ~SqliteDatabase();

  // Runs `sql`, which returns no rows.
  void Execute(const std::string& sql);
  SqliteStatement Prepare(const std::string& sql) const;

  const std::string& path() const { return path_; }

  // Throws RunError with the connection's latest message.
  [[noreturn]] void Fail() const;

 private:
  void Close() noexcept;

  std::string path_;
  sqlite3* db_ = nullptr;
};

}  // namespace casewright

#endif  // CASEWRIGHT_LEXICON_SQLITE_DATABASE_H_
