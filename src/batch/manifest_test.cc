#include "batch/manifest.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

#include "core/run_error.h"
#include "testing/temp_dir.h"

namespace casewright {
namespace {

using testing::TempDir;
using testing::WriteFile;

class ManifestTest : public ::testing::Test {
 protected:
  std::string Write(std::string_view bytes) {
    WriteFile(dir_.Path("m.tsv"), bytes);
    return dir_.Path("m.tsv");
  }

  // The error of reading `bytes` as a manifest.
  std::string ErrorOf(std::string_view bytes) {
    try {
      ReadManifest(Write(bytes));
    } catch (const RunError& e) {
      return e.Describe();
    }
    return "no error";
  }

  TempDir dir_;
};

TEST_F(ManifestTest, LinesCommentsAndPaths) {
  std::vector<ManifestEntry> entries =
      ReadManifest(Write("\xEF\xBB\xBF# corpus\na.txt\ta.cl\tout/a.cases\r\n\n/abs/b.txt\t-\tb.cases\n"));
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].index, 0u);
  EXPECT_EQ(entries[0].line, 2u);
  EXPECT_EQ(entries[0].text_path, dir_.Path("a.txt"));
  EXPECT_EQ(entries[0].output_path, dir_.Path("out/a.cases"));  // CR LF ends a line too
  EXPECT_EQ(entries[1].index, 1u);
  EXPECT_EQ(entries[1].line, 4u);
  EXPECT_EQ(entries[1].text_path, "/abs/b.txt");
  // "-" in a manifest is a file, never standard input.
  EXPECT_EQ(entries[1].classes_path, dir_.Path("-"));

  entries = ReadManifest(Write("a.txt\textract:s/a.txt\ta.cases\nb.txt\t./extract:b\tb.cases\n"));
  EXPECT_EQ(entries[0].classes_path, "");
  EXPECT_EQ(entries[0].extract_path, dir_.Path("s/a.txt"));
  EXPECT_EQ(entries[1].classes_path, dir_.Path("./extract:b"));
  EXPECT_EQ(entries[1].extract_path, "");

  // An empty classes field: an unlabelled text.  The text field is kept as written, for ids.
  entries = ReadManifest(Write("t/a.txt\t\ta.cases\n"));
  EXPECT_EQ(entries[0].classes_path, "");
  EXPECT_EQ(entries[0].extract_path, "");
  EXPECT_EQ(entries[0].text_name, "t/a.txt");
}

TEST_F(ManifestTest, MalformedLinesAreNamedBeforeAnythingRuns) {
  const std::string m = dir_.Path("m.tsv");
  EXPECT_EQ(ErrorOf("a\tb\tc\n# x\na\tb\n"), m + ":3: The line has 2 fields; a line is text<TAB>classes<TAB>output");
  EXPECT_EQ(ErrorOf("a\tb\tc\td\n"), m + ":1: The line has 4 fields; a line is text<TAB>classes<TAB>output");
  EXPECT_EQ(ErrorOf("a\xE9\tb\tc\n"), m + ":1: The line is not valid UTF-8");
  // Two lines writing one file, however spelled, or a line writing another's input.
  EXPECT_EQ(ErrorOf("a\tb\tout\nc\td\tx/../out\n"), m + ":2: The output file is also the output file of line 1");
  EXPECT_EQ(ErrorOf("a\tb\tc\nc\td\te\n"), m + ":1: The output file is the text file of line 2");
  EXPECT_EQ(ErrorOf("a\tb\tb\n"), m + ":1: The output file is the classes file of line 1");
  EXPECT_EQ(ErrorOf("a\textract:\tc\n"), m + ":1: The line has no extract");
  EXPECT_EQ(ErrorOf("a\textract:e\tc\nb\tx\te\n"), m + ":2: The output file is the extract of line 1");
}

TEST_F(ManifestTest, FieldsThatWouldSlipPastTheChecks) {
  const std::string m = dir_.Path("m.tsv");
  std::filesystem::create_symlink("tgt", dir_.Path("dl"));  // dangling: tgt does not exist
  WriteFile(dir_.Path("h1"), "text");
  std::filesystem::create_hard_link(dir_.Path("h1"), dir_.Path("h2"));
  const std::pair<std::string, std::string> cases[] = {
      // A NUL would cut "keep\0x" short of what the checks compared.
      {std::string("a\tb\tkeep\nc\td\tkeep\0x\n", 18), ":2: The output field holds a control character (0x00)"},
      {"a\x01\tb\tc\n", ":1: The text field holds a control character (0x01)"},
      {"a\tb\tc\x7F\n", ":1: The output field holds a control character (0x7F)"},
      {"a\tb\tc\rd\te\tf\r", ":1: The manifest uses CR line ends; save it with LF or CR LF line ends"},
      {"a\tb\tm.tsv\n", ":1: The output file is the manifest"},
      {"a\tb\tdl\nc\td\ttgt\n", ":2: The output file is also the output file of line 1"},
      {"h1\tb\tc\nd\te\th2\n", ":2: The output file is the text file of line 1"},
      {"a\tb\t\n", ":1: The line has no output file"},
  };
  for (const auto& [bytes, message] : cases) EXPECT_EQ(ErrorOf(bytes), m + message) << bytes;
}

TEST_F(ManifestTest, BlankLinesEmptyOutputsAndTheLimit) {
  std::vector<ManifestEntry> entries = ReadManifest(Write("  \t \na\tb\t\n"), {.outputs_optional = true});
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].line, 2u);
  EXPECT_EQ(entries[0].output_path, "");

  std::string bytes;
  EXPECT_EQ(ReadManifest(Write("a\tb\tc\n"), {.bytes = &bytes, .max_bytes = 6}).size(), 1u);
  EXPECT_EQ(bytes, "a\tb\tc\n");
  try {
    ReadManifest("/dev/zero", {.max_bytes = 1 << 20});
    ADD_FAILURE() << "/dev/zero read to its end";
  } catch (const RunError& e) {
    EXPECT_EQ(e.Describe(), "/dev/zero: The manifest is larger than 1 MiB");
  }
  try {
    ReadManifest(Write("a\tb\tcd\n"), {.max_bytes = 6});
    ADD_FAILURE();
  } catch (const RunError& e) {
    EXPECT_EQ(e.Describe(), dir_.Path("m.tsv") + ": The manifest is larger than 6 bytes");
  }
}

TEST(ShardTest, ParsesAndCoversTheManifestOnce) {
  EXPECT_EQ(ParseShard("2/3").k, 2u);
  EXPECT_EQ(ParseShard("2/3").n, 3u);
  for (const char* bad : {"3/3", "1/0", "1", "a/2", "1/2x", "-1/2", ""}) {
    EXPECT_THROW(ParseShard(bad), std::invalid_argument) << bad;
  }
  std::vector<ManifestEntry> entries(10);
  for (std::size_t i = 0; i < entries.size(); ++i) entries[i].index = i;
  std::vector<int> seen(entries.size());
  for (std::size_t k = 0; k < 3; ++k) {
    for (const ManifestEntry& entry : EntriesOfShard(entries, {k, 3})) {
      EXPECT_EQ(entry.index % 3, k);
      ++seen[entry.index];
    }
  }
  EXPECT_EQ(seen, std::vector<int>(entries.size(), 1));
}

}  // namespace
}  // namespace casewright
