#include "text/load_text.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "core/run_error.h"
#include "testing/temp_dir.h"

namespace casewright {
namespace {

TEST(ConvertLineBreaksTest, EveryBreakBecomesCrLf) {
  EXPECT_EQ(ConvertLineBreaks(""), "");
  EXPECT_EQ(ConvertLineBreaks("a\r\nb"), "a\r\nb");
  EXPECT_EQ(ConvertLineBreaks("a\nb\rc"), "a\r\nb\r\nc");
  EXPECT_EQ(ConvertLineBreaks("a\n\rb"), "a\r\n\r\nb");
  EXPECT_EQ(ConvertLineBreaks("a\r\r\n\n"), "a\r\n\r\n\r\n");
  EXPECT_EQ(ConvertLineBreaks("\r"), "\r\n");
}

TEST(ConvertLineBreaksTest, NulEndsTheText) {
  EXPECT_EQ(ConvertLineBreaks(std::string("ab\0cd\n", 6)), "ab");
  EXPECT_EQ(ConvertLineBreaks(std::string("\0x", 2)), "");
}

TEST(LoadTextTest, ReadsAndConvertsAFile) {
  testing::TempDir dir;
  testing::WriteFile(dir.Path("t.txt"), std::string("Um.\nDois\xE9.\0rest", 14));
  EXPECT_EQ(LoadText(dir.Path("t.txt")), "Um.\r\nDois\xE9.");
}

TEST(LoadTextTest, Failures) {
  testing::TempDir dir;
  const std::string missing = dir.Path("missing.txt");
  try {
    LoadText(missing);
    FAIL();
  } catch (const RunError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot open file " + missing + " (File not found)");
    EXPECT_EQ(e.path(), missing);
  }
  EXPECT_THROW(LoadText(dir.Path("")), RunError);  // a folder
  try {
    LoadText("");
    FAIL();
  } catch (const RunError& e) {
    EXPECT_EQ(std::string(e.what()), "No text file named");
  }

  testing::WriteFile(dir.Path("big.txt"), "0123456789\n");
  try {
    LoadText(dir.Path("big.txt"), 11);  // 12 bytes once the break is CR LF
    FAIL();
  } catch (const RunError& e) {
    EXPECT_EQ(std::string(e.what()), "Text exceeds memo capacity (11 bytes once its line breaks are CR LF)");
  }
  EXPECT_EQ(LoadText(dir.Path("big.txt"), 12).size(), 12u);
}

// The text's limit met while reading an endless stream: from a pipe fed
// without end, and from a device of NUL bytes, which end the text yet not
// the file.
TEST(LoadTextTest, AnEndlessStreamFailsAtTheLimit) {
  const struct {
    const char* command;
    std::string message;
  } streams[] = {
      {"yes", "Text exceeds memo capacity (1 MiB once its line breaks are CR LF)"},
      {"cat /dev/zero", "Text exceeds memo capacity (the file goes on past 2 MiB)"},
  };
  for (const auto& stream : streams) {
    std::FILE* pipe = ::popen(stream.command, "r");
    ASSERT_NE(pipe, nullptr);
    const std::string path = "/dev/fd/" + std::to_string(::fileno(pipe));
    try {
      LoadTextAs(path, TextEncoding::kUtf8, std::size_t{1} << 20);
      ADD_FAILURE() << stream.command;
    } catch (const RunError& e) {
      EXPECT_EQ(std::string(e.what()), stream.message);
      EXPECT_EQ(e.path(), path);
    }
    ::pclose(pipe);  // the writer ends on its broken pipe
  }
}

// The same text in Windows-1252 and in UTF-8.
constexpr char kCp1252[] = "Ol\xE1, cora\xE7\xE3o.\nFim \x80 5.";
constexpr char kUtf8[] = "Ol\xC3\xA1, cora\xC3\xA7\xC3\xA3o.\nFim \xE2\x82\xAC 5.";

class LoadTextAsTest : public ::testing::Test {
 protected:
  DecodedText Load(std::string_view bytes, TextEncoding encoding) {
    testing::WriteFile(dir_.Path("t.txt"), bytes);
    return LoadTextAs(dir_.Path("t.txt"), encoding);
  }

  testing::TempDir dir_;
};

TEST_F(LoadTextAsTest, Utf8GivesTheWindows1252Bytes) {
  const std::string expected = ConvertLineBreaks(kCp1252);
  DecodedText utf8 = Load(kUtf8, TextEncoding::kUtf8);
  EXPECT_EQ(utf8.bytes, expected);
  EXPECT_TRUE(utf8.warnings.empty());
  EXPECT_EQ(Load(std::string("\xEF\xBB\xBF") + kUtf8, TextEncoding::kUtf8).bytes, expected);  // BOM skipped

  DecodedText detected = Load(kUtf8, TextEncoding::kAuto);
  EXPECT_EQ(detected.bytes, expected);
  EXPECT_EQ(detected.notes, std::vector<std::string>{"The text was read as UTF-8."});
  detected = Load(kCp1252, TextEncoding::kAuto);
  EXPECT_EQ(detected.bytes, expected);
  EXPECT_EQ(detected.notes, std::vector<std::string>{"The text was read as Windows-1252."});
}

TEST_F(LoadTextAsTest, WarningsAndErrors) {
  // Characters without a Windows-1252 form become blanks; the warning counts
  // them and gives the first one's line.
  DecodedText odd = Load("Um.\r\nDois\xC4\x9F.\rTr\xC3\xAAs \xF0\x9F\x98\x80.", TextEncoding::kUtf8);
  EXPECT_EQ(odd.bytes, "Um.\r\nDois .\r\nTr\xEAs  .");
  EXPECT_EQ(odd.warnings, std::vector<std::string>{
                              "2 characters of the text have no Windows-1252 form and were read as blanks; the "
                              "first is on line 2."});

  // A UTF-8 text read as Windows-1252 is kept as it is, with a warning.
  DecodedText kept = Load(kUtf8, TextEncoding::kWindows1252);
  EXPECT_EQ(kept.bytes, ConvertLineBreaks(kUtf8));
  ASSERT_EQ(kept.warnings.size(), 1u);
  EXPECT_NE(kept.warnings[0].find("--encoding utf-8"), std::string::npos);
  EXPECT_TRUE(Load(kCp1252, TextEncoding::kWindows1252).warnings.empty());

  // Under auto, UTF-8 that breaks off is read as Windows-1252 with a warning
  // naming the line of the first byte that is not UTF-8.
  DecodedText broken = Load(std::string(kUtf8) + "\n\xE9.", TextEncoding::kAuto);
  EXPECT_EQ(broken.warnings,
            std::vector<std::string>{
                "The text is valid UTF-8, with multi-byte characters, up to line 3, where byte 0xE9 (byte offset "
                "28) is not UTF-8; it was read as Windows-1252. If it is UTF-8, mend that line; if it is "
                "Windows-1252, say so (--encoding windows-1252)."});
  EXPECT_TRUE(Load(std::string("Um.\n") + kCp1252, TextEncoding::kAuto).warnings.empty());

  // Invalid UTF-8 names its offset in the file; what follows a NUL is not read.
  try {
    Load("\xEF\xBB\xBFOl\xE1.", TextEncoding::kUtf8);
    FAIL();
  } catch (const RunError& e) {
    EXPECT_EQ(e.Describe(), dir_.Path("t.txt") + ": Invalid UTF-8 at byte offset 5");
  }
  EXPECT_EQ(Load(std::string("Ol\xC3\xA1.\0\xFF", 8), TextEncoding::kUtf8).bytes, "Ol\xE1.");
}

}  // namespace
}  // namespace casewright
