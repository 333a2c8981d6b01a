#include "lexicon/table_builder.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <vector>

#include "core/cp1252.h"
#include "core/file_path.h"
#include "core/read_file.h"
#include "core/run_error.h"
#include "core/temporary_file.h"
#include "lexicon/sqlite_database.h"
#include "lexicon/table_schema.h"

namespace casewright {
namespace fs = std::filesystem;
namespace {

struct Line {
  std::size_t number;
  std::string text;
};

// The entries of a source file: its lines without blank and comment lines.
std::vector<Line> ReadEntries(const std::string& path) {
  const std::string bytes = ReadFileWithin(path, kMaxSourceBytes);
  std::vector<Line> lines;
  // A byte-order mark, as some editors write, is no part of the first word.
  std::size_t start = bytes.starts_with(kUtf8ByteOrderMark) ? kUtf8ByteOrderMark.size() : 0;
  for (std::size_t number = 1; start < bytes.size(); ++number) {
    std::size_t end = std::min(bytes.find('\n', start), bytes.size());
    std::string text = bytes.substr(start, end - start);
    start = end + 1;
    if (!text.empty() && text.back() == '\r') text.pop_back();
    if (text.empty() || text.front() == '#') continue;
    if (!IsValidUtf8(text)) {
      throw RunError("line " + std::to_string(number) + " is not valid UTF-8", path);
    }
    lines.push_back({number, std::move(text)});
  }
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

using BindFn = std::function<void(SqliteStatement&, const Line&)>;

std::string InsertStatement(const TableSchema& schema) {
  std::string sql = "INSERT INTO " + Quoted(schema.table) + " VALUES (";
  for (std::size_t i = 1; i <= schema.columns.size(); ++i) sql += (i > 1 ? ", ?" : "?") + std::to_string(i);
  return sql + ")";
}

void FillTable(const std::string& path, const TableSchema& schema, const std::vector<Line>& entries,
               const BindFn& bind) {
  SqliteDatabase db(path, SQLITE_OPEN_READWRITE);
  // The file is new and thrown away whole on failure, so it needs no journal
  // on disk, which a failure would otherwise leave behind.
  db.Execute("PRAGMA journal_mode=MEMORY");
  db.Execute(CreateStatement(schema));
  db.Execute("BEGIN");
  SqliteStatement insert = db.Prepare(InsertStatement(schema));
  for (const Line& entry : entries) {
    insert.Reset();
    bind(insert, entry);
    insert.Step();
  }
  db.Execute("COMMIT");
}

// Builds one table in a temporary file beside its final place, removed
// again if anything fails.
std::unique_ptr<TemporaryFile> BuildTable(const fs::path& folder, const TableSchema& schema,
                                          const std::vector<Line>& entries, const BindFn& bind) {
  const std::string target = (folder / schema.file).string();
  auto temporary = std::make_unique<TemporaryFile>(folder.string(), target);
  temporary->Close();
  if (struct stat existing; ::stat(target.c_str(), &existing) == 0) temporary->TakeOwnerAndMode(existing);
  try {
    FillTable(temporary->path(), schema, entries, bind);
  } catch (const RunError& e) {
    throw RunError(e.what(), target);
  }
  return temporary;
}

// A source that is one of the tables to write would be lost when the table
// replaces it.
void RefuseSourceTables(const TableSources& sources, const std::string& folder) {
  for (const TableSchema* schema : {&kLexiconSchema, &kStoplistSchema, &kCuePhrasesSchema}) {
    const std::string table = (fs::path(folder) / schema->file).string();
    const FileIdentity written = IdentifyFile(table, true);
    for (const std::string* source : {&sources.lexicon, &sources.stoplist, &sources.cue_words}) {
      if (SameFile(IdentifyFile(*source, false), written)) {
        throw RunError("The source file is the table " + std::string(schema->file) + " that the build writes (" +
                           table + "); nothing was written",
                       *source);
      }
    }
  }
}

}  // namespace

TableCounts BuildTables(const TableSources& sources, const std::string& folder) {
  RefuseSourceTables(sources, folder);
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

  auto bind_lexicon = [](SqliteStatement& s, const Line& entry) {
    auto tab = entry.text.find('\t');
    s.BindText(1, std::string_view(entry.text).substr(0, tab));
    std::string_view canonical = std::string_view(entry.text).substr(tab + 1);
    if (canonical == "\\N") {
      s.BindNull(2);
    } else {
      s.BindText(2, canonical);
    }
  };
  auto bind_word = [](SqliteStatement& s, const Line& entry) { s.BindText(1, entry.text); };
  // The tables are put in place only once all three are complete.
  std::unique_ptr<TemporaryFile> built[] = {BuildTable(dir, kLexiconSchema, lexicon, bind_lexicon),
                                            BuildTable(dir, kStoplistSchema, stoplist, bind_word),
                                            BuildTable(dir, kCuePhrasesSchema, cue_words, bind_word)};
  const TableSchema* schemas[] = {&kLexiconSchema, &kStoplistSchema, &kCuePhrasesSchema};
  for (std::size_t i = 0; i < std::size(built); ++i) built[i]->MoveTo(std::string(schemas[i]->file));
  return {lexicon.size(), stoplist.size(), cue_words.size()};
}

}  // namespace casewright
