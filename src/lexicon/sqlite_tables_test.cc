#include "lexicon/sqlite_tables.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <memory>
#include <thread>

#include "core/run_error.h"
#include "core/cp1252.h"
#include "lexicon/sqlite_database.h"
#include "lexicon/table_builder.h"
#include "testing/temp_dir.h"

namespace casewright {
namespace {

using testing::TempDir;
using testing::WriteFile;

// Builds tables from the given source texts into dir/tables.
std::string Build(const TempDir& dir, const std::string& lexicon, const std::string& stoplist,
                  const std::string& cues) {
  WriteFile(dir.Path("lexicon.tsv"), lexicon);
  WriteFile(dir.Path("stoplist.txt"), stoplist);
  WriteFile(dir.Path("cues.txt"), cues);
  BuildTables({dir.Path("lexicon.tsv"), dir.Path("stoplist.txt"), dir.Path("cues.txt")}, dir.Path("tables"));
  return dir.Path("tables");
}

std::string MessageOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const RunError& e) {
    return e.Describe();
  }
  return "no failure";
}

void Execute(const std::string& db_path, const std::string& sql) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(db_path.c_str(), &db), SQLITE_OK);
  EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
  sqlite3_close(db);
}

TEST(SqliteTablesTest, LooksWordsUpExactly) {
  TempDir dir;
  SqliteTables tables(Build(dir, "casas\tcasa\nfoi\tser\n\xC3\xA9\tser\nCasa\tCASA\n", "# comment\nser\nde\n",
                            "conclus\xC3\xA3o\nresumo\n"));
  EXPECT_EQ(tables.Canonicalize("casas"), "casa");
  EXPECT_EQ(tables.Canonicalize("\xE9"), "ser");  // é, Windows-1252
  EXPECT_EQ(tables.Canonicalize("Casa"), "CASA");
  EXPECT_EQ(tables.Canonicalize("casa"), "casa");
  EXPECT_EQ(tables.Canonicalize(""), "");
  EXPECT_TRUE(tables.IsStopword("ser"));
  EXPECT_FALSE(tables.IsStopword("Ser"));
  EXPECT_FALSE(tables.IsStopword("# comment"));
  EXPECT_EQ(tables.ReadCueWords(), (std::vector<std::optional<std::string>>{"conclus\xE3o", "resumo"}));
}

// A folder's name is read as itself, not as a URI: "%41" is no "A".
TEST(SqliteTablesTest, AFolderNameWithPercentEscapesOpensItself) {
  TempDir dir;
  const std::filesystem::path tables = Build(dir, "casas\tcasa\n", "de\n", "resumo\n");
  std::filesystem::rename(tables, dir.Path("t%41?#"));
  EXPECT_EQ(SqliteTables(dir.Path("t%41?#")).Canonicalize("casas"), "casa");
}

// Each thread keeps a copy of the answers it has used: they must never be
// taken for those of other tables, whether open side by side or opened
// after the first were closed (perhaps at the same address).
TEST(SqliteTablesTest, AnswersKeptByAThreadBelongToTheirTables) {
  TempDir a_dir, b_dir;
  const std::string a_folder = Build(a_dir, "casas\tcasa\n", "", "");
  const std::string b_folder = Build(b_dir, "casas\tlar\n", "", "");
  SqliteTables a(a_folder), b(b_folder);
  EXPECT_EQ(a.Canonicalize("casas"), "casa");
  EXPECT_EQ(b.Canonicalize("casas"), "lar");
  EXPECT_EQ(a.Canonicalize("casas"), "casa");
  std::string in_other_thread;
  std::thread([&] { in_other_thread = b.Canonicalize("casas"); }).join();
  EXPECT_EQ(in_other_thread, "lar");
  for (int i = 0; i < 2; ++i) {
    auto first = std::make_unique<SqliteTables>(i == 0 ? a_folder : b_folder);
    EXPECT_EQ(first->Canonicalize("casas"), i == 0 ? "casa" : "lar");
  }
}

// Each thread reads through a connection of its own, opened on its first
// look-up: one opened after the table was rebuilt must not read the new file.
TEST(SqliteTablesTest, ATableRebuiltWhileOpenAnswersAsWhenOpened) {
  TempDir dir;
  const std::string folder = Build(dir, "casas\tcasa\n", "", "");
  SqliteTables tables(folder);
  Build(dir, "casas\tlar\n", "", "");
  std::string in_other_thread;
  std::thread([&] { in_other_thread = tables.Canonicalize("casas"); }).join();
  EXPECT_EQ(in_other_thread, "casa");
  EXPECT_EQ(tables.Canonicalize("casas"), "casa");
  EXPECT_EQ(SqliteTables(folder).Canonicalize("casas"), "lar");
}

int OpenDescriptors() {
  const std::filesystem::directory_iterator fds("/proc/self/fd");
  return static_cast<int>(std::distance(begin(fds), end(fds)));
}

// Threads past those with a connection of their own share the first; a
// thread that ends closes its connection (the window starts one per run).
TEST(SqliteTablesTest, EveryThreadOfAManyThreadedBatchGetsItsAnswers) {
  TempDir dir;
  SqliteTables tables(Build(dir, "casas\tcasa\n", "", ""));
  const int descriptors = OpenDescriptors();
  std::atomic<int> right{0};
  std::vector<std::jthread> threads;
  for (int i = 0; i < 80; ++i) {
    threads.emplace_back([&] { right += tables.Canonicalize("casas") == "casa" ? 1 : 0; });
  }
  threads.clear();
  EXPECT_EQ(right, 80);
  EXPECT_EQ(OpenDescriptors(), descriptors);
}

// The builder keeps the keyed tables without rowids (one B-tree search a
// word); tables with rowids, as earlier builds and other tools make them,
// read the same.
TEST(SqliteTablesTest, ReadsKeyedTablesWithOrWithoutRowids) {
  TempDir dir;
  const std::string folder = Build(dir, "casas\tcasa\n", "de\n", "");
  const std::string lexicon = folder + "/L\xC3\xA9xico.db";
  SqliteDatabase built(lexicon, SQLITE_OPEN_READONLY);
  SqliteStatement create = built.Prepare("SELECT sql FROM sqlite_master");
  ASSERT_TRUE(create.Step());
  EXPECT_TRUE(create.ColumnText(0).value_or("").ends_with(" WITHOUT ROWID"));
  std::filesystem::remove(lexicon);
  std::filesystem::remove(folder + "/Stoplist.db");
  Execute(lexicon,
          "CREATE TABLE \"L\xC3\xA9xico\" (\"Palavra\" TEXT PRIMARY KEY, \"Can\xC3\xB4nica\" TEXT);"
          "INSERT INTO \"L\xC3\xA9xico\" VALUES ('foi', 'ser')");
  Execute(folder + "/Stoplist.db", "CREATE TABLE \"Stoplist\" (\"Palavra\" TEXT PRIMARY KEY); "
                                   "INSERT INTO \"Stoplist\" VALUES ('e')");
  SqliteTables tables(folder);
  EXPECT_EQ(tables.Canonicalize("foi"), "ser");
  EXPECT_EQ(tables.Canonicalize("casas"), "casas");
  EXPECT_TRUE(tables.IsStopword("e"));
}

TEST(SqliteTablesTest, EveryByteRoundTripsThroughTheStore) {
  TempDir dir;
  std::string folder = Build(dir, "", "", "");
  std::string all;
  for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
  // Store the word and its canonical form through SQLite's own binding of
  // the UTF-8 forms, as any tool filling the tables would.
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open((folder + "/L\xC3\xA9xico.db").c_str(), &db), SQLITE_OK);
  sqlite3_stmt* insert = nullptr;
  sqlite3_prepare_v2(db, "INSERT INTO \"L\xC3\xA9xico\" VALUES (?1, ?2)", -1, &insert, nullptr);
  std::string key = Cp1252ToUtf8("k" + all);
  std::string value = Cp1252ToUtf8(all);
  sqlite3_bind_text(insert, 1, key.data(), static_cast<int>(key.size()), SQLITE_TRANSIENT);
  sqlite3_bind_text(insert, 2, value.data(), static_cast<int>(value.size()), SQLITE_TRANSIENT);
  ASSERT_EQ(sqlite3_step(insert), SQLITE_DONE);
  sqlite3_finalize(insert);
  sqlite3_close(db);
  EXPECT_EQ(SqliteTables(folder).Canonicalize("k" + all), all);
}

TEST(SqliteTablesTest, CueWordsKeepTableOrderNullsAndRepeats) {
  TempDir dir;
  std::string folder = Build(dir, "", "", "b\na\nb\n");
  Execute(folder + "/Cuephrases.db",
          "INSERT INTO \"Cuephrases\" VALUES (NULL); INSERT INTO \"Cuephrases\" VALUES ('\xC4\x9F')");
  EXPECT_EQ(SqliteTables(folder).ReadCueWords(),
            (std::vector<std::optional<std::string>>{"b", "a", "b", std::nullopt, std::nullopt}));
}

TEST(SqliteTablesTest, BadCanonicalFormsFailNamingTheWord) {
  TempDir dir;
  std::string folder = Build(dir, "nada\t\\N\nchar\t\xC4\x9F\n", "", "");
  SqliteTables tables(folder);
  std::string missing = MessageOf([&] { tables.Canonicalize("nada"); });
  EXPECT_NE(missing.find("Invalid variant type conversion"), std::string::npos) << missing;
  EXPECT_NE(missing.find("\"nada\""), std::string::npos) << missing;
  std::string unrepresentable = MessageOf([&] { tables.Canonicalize("char"); });
  EXPECT_NE(unrepresentable.find("\"char\""), std::string::npos) << unrepresentable;
}

TEST(SqliteTablesTest, MissingOrBrokenTablesNameAliasFolderAndTable) {
  TempDir dir;
  std::string missing_folder = MessageOf([&] { SqliteTables tables(dir.Path("nowhere")); });
  EXPECT_NE(missing_folder.find("Orbelin"), std::string::npos) << missing_folder;
  EXPECT_NE(missing_folder.find(dir.Path("nowhere")), std::string::npos) << missing_folder;

  std::string folder = Build(dir, "", "", "");
  std::filesystem::remove(folder + "/Stoplist.db");
  std::string no_table = MessageOf([&] { SqliteTables tables(folder); });
  EXPECT_NE(no_table.find("\"Stoplist\""), std::string::npos) << no_table;

  WriteFile(folder + "/Stoplist.db", "this is not a database, just text that is long enough............");
  std::string not_db = MessageOf([&] { SqliteTables tables(folder); });
  EXPECT_NE(not_db.find("\"Stoplist\""), std::string::npos) << not_db;

  Build(dir, "", "", "");
  Execute(folder + "/Cuephrases.db", "DROP TABLE \"Cuephrases\"");
  std::string dropped = MessageOf([&] { SqliteTables tables(folder); });
  EXPECT_NE(dropped.find("the file holds no table \"Cuephrases\""), std::string::npos) << dropped;
  EXPECT_NE(dropped.find("Orbelin"), std::string::npos) << dropped;
}

TEST(SqliteTablesTest, MisnamedColumnsFailNamingFileTableAndColumn) {
  TempDir dir;
  struct Case {
    const char* file;
    const char* table;
    const char* create;
    const char* missing;
  };
  const Case cases[] = {
      {"L\xC3\xA9xico.db", "\"L\xC3\xA9xico\"", "(\"Palavra\" TEXT PRIMARY KEY, \"Canonica\" TEXT)",
       "\"Can\xC3\xB4nica\""},
      {"Stoplist.db", "\"Stoplist\"", "(\"Word\" TEXT PRIMARY KEY)", "\"Palavra\""},
      {"Cuephrases.db", "\"Cuephrases\"", "(\"Palavras\" TEXT)", "\"Palavra\""},
  };
  for (const Case& c : cases) {
    std::string folder = Build(dir, "casas\tcasa\n", "de\n", "resumo\n");
    std::string file = folder + "/" + c.file;
    std::filesystem::remove(file);
    Execute(file, std::string("CREATE TABLE ") + c.table + " " + c.create);
    std::string message = MessageOf([&] { SqliteTables tables(folder); });
    EXPECT_TRUE(message.starts_with(file + ": ")) << message;
    EXPECT_NE(message.find(c.table), std::string::npos) << message;
    EXPECT_NE(message.find(std::string("no column ") + c.missing), std::string::npos) << message;
  }
}

TEST(SqliteDatabaseTest, DoubleQuotesAlwaysNameAColumn) {
  TempDir dir;
  SqliteDatabase db(dir.Path("t.db"), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
  db.Execute("CREATE TABLE t (a TEXT)");
  EXPECT_THROW(db.Prepare("SELECT \"b\" FROM t"), RunError);
}

TEST(SqliteTablesTest, AnInvalidStoredValueIsEscapedInTheMessage) {
  TempDir dir;
  std::string folder = Build(dir, "", "", "");
  Execute(folder + "/L\xC3\xA9xico.db",
          "INSERT INTO \"L\xC3\xA9xico\" VALUES ('bad', CAST(X'41FF0A7FC3A942' AS TEXT))");
  std::string message = MessageOf([&] { SqliteTables(folder).Canonicalize("bad"); });
  EXPECT_NE(message.find("\"A\\xFF\\x0A\\x7F\xC3\xA9" "B\""), std::string::npos) << message;
  EXPECT_TRUE(IsValidUtf8(message));
}

TEST(TableBuilderTest, SkipsAByteOrderMark) {
  TempDir dir;
  SqliteTables tables(Build(dir, "\xEF\xBB\xBF" "casas\tcasa\n", "\xEF\xBB\xBF" "de\n", "\xEF\xBB\xBF" "resumo\n"));
  EXPECT_EQ(tables.Canonicalize("casas"), "casa");
  EXPECT_TRUE(tables.IsStopword("de"));
  EXPECT_EQ(tables.ReadCueWords(), (std::vector<std::optional<std::string>>{"resumo"}));
}

TEST(TableBuilderTest, RejectsMalformedSources) {
  TempDir dir;
  EXPECT_NE(MessageOf([&] { Build(dir, "casa casa\n", "", ""); }).find("line 1"), std::string::npos);
  EXPECT_NE(MessageOf([&] { Build(dir, "a\tb\n\na\tc\n", "", ""); }).find("line 3"), std::string::npos);
  EXPECT_NE(MessageOf([&] { Build(dir, "", "de\nde\n", ""); }).find("twice"), std::string::npos);
  EXPECT_NE(MessageOf([&] { Build(dir, "", "", "\xFF\n"); }).find("UTF-8"), std::string::npos);
}

TEST(TableBuilderTest, ARebuiltTableKeepsItsOwnerAndPermissions) {
  if (::geteuid() != 0) GTEST_SKIP() << "only root may give a file to another user";
  TempDir dir;
  const std::string stoplist = Build(dir, "", "o\n", "") + "/Stoplist.db";
  ASSERT_EQ(::chown(stoplist.c_str(), 65534, 65534), 0);
  ASSERT_EQ(::chmod(stoplist.c_str(), 0640), 0);
  Build(dir, "", "a\n", "");
  struct stat st;
  ASSERT_EQ(::stat(stoplist.c_str(), &st), 0);
  EXPECT_EQ(st.st_uid, 65534u);
  EXPECT_EQ(st.st_gid, 65534u);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_TRUE(SqliteTables(dir.Path("tables")).IsStopword("a"));
}

TEST(ResolveTablesFolderTest, OverrideThenEnvironmentThenDefault) {
  ::setenv("CASEWRIGHT_ORBELIN", "/from/env", 1);
  EXPECT_EQ(ResolveTablesFolder("given"), "given");
  EXPECT_EQ(ResolveTablesFolder(), "/from/env");
  ::setenv("CASEWRIGHT_ORBELIN", "", 1);  // set but empty: as if unset
  EXPECT_NE(ResolveTablesFolder().find("share/casewright/tables"), std::string::npos);
  ::unsetenv("CASEWRIGHT_ORBELIN");
  EXPECT_NE(ResolveTablesFolder().find("share/casewright/tables"), std::string::npos);
}

}  // namespace
}  // namespace casewright
