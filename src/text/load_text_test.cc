#include "text/load_text.h"

#include <gtest/gtest.h>

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
    EXPECT_EQ(std::string(e.what()), "Text exceeds memo capacity");
  }
  EXPECT_EQ(LoadText(dir.Path("big.txt"), 12).size(), 12u);
}

}  // namespace
}  // namespace casewright
