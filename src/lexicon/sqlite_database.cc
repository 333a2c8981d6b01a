#include "lexicon/sqlite_database.h"

#include <sqlite3.h>

#include <utility>

#include "core/run_error.h"

namespace casewright {

SqliteStatement::SqliteStatement(sqlite3_stmt* statement, std::string path)
    : statement_(statement), path_(std::move(path)) {}

SqliteStatement::SqliteStatement(SqliteStatement&& other) noexcept
    : statement_(std::exchange(other.statement_, nullptr)), path_(std::move(other.path_)) {}

SqliteStatement& SqliteStatement::operator=(SqliteStatement&& other) noexcept {
  if (this != &other) {
    sqlite3_finalize(statement_);
    statement_ = std::exchange(other.statement_, nullptr);
    path_ = std::move(other.path_);
  }
  return *this;
}

SqliteStatement::~SqliteStatement() { sqlite3_finalize(statement_); }

void SqliteStatement::Reset() {
  sqlite3_reset(statement_);
  sqlite3_clear_bindings(statement_);
}

void SqliteStatement::BindText(int index, std::string_view text) {
  if (sqlite3_bind_text(statement_, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT) !=
      SQLITE_OK) {
    Fail();
  }
}

void SqliteStatement::BindNull(int index) {
  if (sqlite3_bind_null(statement_, index) != SQLITE_OK) Fail();
}

bool SqliteStatement::Step() {
  int status = sqlite3_step(statement_);
  if (status == SQLITE_ROW) return true;
  if (status == SQLITE_DONE) return false;
  Fail();
}

std::optional<std::string> SqliteStatement::ColumnText(int column) const {
  if (sqlite3_column_type(statement_, column) == SQLITE_NULL) return std::nullopt;
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
  return std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(statement_, column)));
}

void SqliteStatement::Fail() const {
  std::string message = sqlite3_errmsg(sqlite3_db_handle(statement_));
  // Resetting leaves the statement usable for the next call.
  sqlite3_reset(statement_);
  throw RunError(message, path_);
}

SqliteDatabase::SqliteDatabase(const std::string& name, int flags, std::string path)
    : path_(path.empty() ? name : std::move(path)) {
  if (sqlite3_open_v2(name.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
    // A failed open may still hand out a connection, which holds the message.
    std::string message = db_ != nullptr ? sqlite3_errmsg(db_) : "out of memory";
    Close();
    throw RunError(message, path_);
  }
  // Without this, SQLite reads a double-quoted name that matches no column
  // as a string literal, and a table with a misnamed column would answer
  // every query with the column's name instead of failing.
  sqlite3_db_config(db_, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
  sqlite3_db_config(db_, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
}

SqliteDatabase::SqliteDatabase(SqliteDatabase&& other) noexcept
    : path_(std::move(other.path_)), db_(std::exchange(other.db_, nullptr)) {}

SqliteDatabase& SqliteDatabase::operator=(SqliteDatabase&& other) noexcept {
  if (this != &other) {
    Close();
    path_ = std::move(other.path_);
    db_ = std::exchange(other.db_, nullptr);
  }
  return *this;
}

SqliteDatabase::~SqliteDatabase() { Close(); }

void SqliteDatabase::Close() noexcept {
  sqlite3_close(db_);
  db_ = nullptr;
}

void SqliteDatabase::Execute(const std::string& sql) {
  if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) Fail();
}

SqliteStatement SqliteDatabase::Prepare(const std::string& sql) const {
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) Fail();
  return SqliteStatement(statement, path_);
}

void SqliteDatabase::Fail() const { throw RunError(sqlite3_errmsg(db_), path_); }

}  // namespace casewright
