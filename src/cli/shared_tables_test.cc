// Two runs side by side on one opened set of SQLite tables, as the window's
// worker and another run may go.  Built with ThreadSanitizer (make tsan),
// any data race between them fails the test.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "lexicon/sqlite_tables.h"
#include "lexicon/table_builder.h"
#include "pipeline/pipeline.h"
#include "testing/temp_dir.h"

namespace casewright {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

RunSettings SettingsFor(const TempDir& dir, const std::string& name, const std::string& text) {
  RunSettings settings;
  settings.text_path = dir.Path(name + ".txt");
  settings.classes_path = dir.Path(name + ".classes");
  settings.output_path = dir.Path(name + ".cases");
  settings.raw_path = dir.Path(name + ".tsv");
  std::string classes;
  for (char c : text) classes += c == '.' ? "10 " : "";
  WriteFile(settings.text_path, text);
  WriteFile(settings.classes_path, classes);
  return settings;
}

TEST(SharedTablesTest, TwoRunsSideBySideOnOneSetOfTables) {
  TempDir dir;
  WriteFile(dir.Path("lexicon.tsv"), "gatos\tgato\nos\to\nratos\trato\n");
  WriteFile(dir.Path("stoplist.txt"), "o\nde\n");
  WriteFile(dir.Path("cues.txt"), "portanto\nresumo\n");
  BuildTables({dir.Path("lexicon.tsv"), dir.Path("stoplist.txt"), dir.Path("cues.txt")}, dir.Path("tables"));
  const SqliteTables tables(dir.Path("tables"));

  std::string first_text;
  std::string second_text;
  for (int i = 0; i < 300; ++i) {
    first_text += "Os gatos de n\xFAmero " + std::to_string(i) + " viram o rato.\r\n";
    second_text += "Portanto, os ratos fugiram " + std::to_string(i % 7) + " vezes. Em resumo, nada.\r\n";
  }
  const RunSettings first = SettingsFor(dir, "first", first_text);
  const RunSettings second = SettingsFor(dir, "second", second_text);
  RunCases(first, tables);
  RunCases(second, tables);
  const std::string first_alone = ReadFile(first.output_path);
  const std::string second_alone = ReadFile(second.output_path);

  std::thread other([&] { RunCases(second, tables); });
  RunCases(first, tables);
  other.join();
  EXPECT_EQ(ReadFile(first.output_path), first_alone);
  EXPECT_EQ(ReadFile(second.output_path), second_alone);
}

}  // namespace
}  // namespace casewright
