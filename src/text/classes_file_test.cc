#include "text/classes_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "core/run_error.h"
#include "testing/temp_dir.h"

namespace casewright {
namespace {

using testing::TempDir;
using testing::WriteFile;

std::vector<std::string> ClassesOf(const std::string& content, int count) {
  TempDir dir;
  WriteFile(dir.Path("c"), content);
  ClassesFile file(dir.Path("c"));
  std::vector<std::string> classes;
  for (int i = 0; i < count; ++i) classes.push_back(file.ReadNextClass());
  return classes;
}

using Classes = std::vector<std::string>;

TEST(ClassesFileTest, ClassesEndAtASpaceOrTheEndOfTheFile) {
  EXPECT_EQ(ClassesOf("10 9 0 1", 4), (Classes{"10", "9", "0", "1"}));
  EXPECT_EQ(ClassesOf("1 0 0 1", 6), (Classes{"1", "0", "0", "1", "", ""}));
  EXPECT_EQ(ClassesOf("1\r\n0\r\n1", 3), (Classes{"101", "", ""}));
  EXPECT_EQ(ClassesOf(" 1 0", 3), (Classes{"", "1", "0"}));
  EXPECT_EQ(ClassesOf("1  0", 3), (Classes{"1", "", "0"}));
  EXPECT_EQ(ClassesOf("1a2 x 007 ", 3), (Classes{"12", "", "007"}));
  EXPECT_EQ(ClassesOf("3-4 5\t6 78 ", 3), (Classes{"34", "56", "78"}));
  EXPECT_EQ(ClassesOf("1 2\x1A 3 4", 3), (Classes{"1", "2", ""}));
  EXPECT_EQ(ClassesOf("", 1), (Classes{""}));
}

TEST(ClassesFileTest, CountsTheClassesLeftUnread) {
  TempDir dir;
  WriteFile(dir.Path("c"), "1 0 1 1 x \n");
  ClassesFile file(dir.Path("c"));
  file.ReadNextClass();
  UnreadClasses unread = file.LookAhead(100);
  EXPECT_EQ(unread.count, 3u);
  EXPECT_TRUE(unread.all_counted);
}

TEST(ClassesFileTest, TheLookAheadIsBoundedAndNeverWaits) {
  TempDir dir;
  std::string many;
  for (int i = 0; i < 40000; ++i) many += "1 ";
  WriteFile(dir.Path("c"), many);
  SentenceClasses bounded = [&] {
    ClassesFile file(dir.Path("c"));
    return ReadSentenceClasses(file, 2);
  }();
  EXPECT_EQ(bounded.extra_classes, 32768u);
  ASSERT_EQ(bounded.warnings.size(), 1u);
  EXPECT_EQ(bounded.warnings[0], "The classes file has more classes than the text has sentences: at least 32768 "
                                 "classes were left unread (only the next 64 KiB after the last sentence's class "
                                 "were read).");

  // A pipe whose writer stays open: what has arrived is counted, and the
  // read does not wait for the rest.
  int ends[2];
  ASSERT_EQ(::pipe(ends), 0);
  ASSERT_EQ(::write(ends[1], "1 0 1 1 x ", 10), 10);
  SentenceClasses open = [&] {
    ClassesFile file("/dev/fd/" + std::to_string(ends[0]));
    return ReadSentenceClasses(file, 2);
  }();
  ::close(ends[0]);
  ::close(ends[1]);
  ASSERT_EQ(open.warnings.size(), 1u);
  EXPECT_EQ(open.warnings[0],
            "The classes file has more classes than the text has sentences: at least 2 classes were left unread.");
}

// The classes paired with `count` sentences, and the warnings.
SentenceClasses Paired(const std::string& content, std::size_t count) {
  TempDir dir;
  WriteFile(dir.Path("c"), content);
  ClassesFile file(dir.Path("c"));
  return ReadSentenceClasses(file, count);
}

TEST(ClassesFileTest, ClassCountMismatchesAreWarnings) {
  SentenceClasses fewer = Paired("7", 2);
  EXPECT_EQ(fewer.classes, (Classes{"7", ""}));
  ASSERT_EQ(fewer.warnings.size(), 1u);
  EXPECT_NE(fewer.warnings[0].find("1 sentence got an empty class"), std::string::npos) << fewer.warnings[0];

  SentenceClasses more = Paired("1 0 1 1\r\n", 2);
  EXPECT_EQ(more.classes, (Classes{"1", "0"}));
  ASSERT_EQ(more.warnings.size(), 1u);
  EXPECT_NE(more.warnings[0].find("2 classes were left unread"), std::string::npos) << more.warnings[0];

  SentenceClasses exact = Paired("1 0\r\n", 2);
  EXPECT_EQ(exact.classes, (Classes{"1", "0"}));
  EXPECT_TRUE(exact.warnings.empty());
}

TEST(ClassesFileTest, EveryEmptyClassIsCountedAndAShiftIsNamed) {
  SentenceClasses leading = Paired(" 10 9", 3);
  EXPECT_EQ(leading.classes, (Classes{"", "10", "9"}));
  ASSERT_EQ(leading.warnings.size(), 2u);
  EXPECT_NE(leading.warnings[0].find("classes shifted from sentence 1"), std::string::npos) << leading.warnings[0];
  EXPECT_NE(leading.warnings[1].find("1 sentence got an empty class"), std::string::npos) << leading.warnings[1];

  SentenceClasses doubled = Paired("10  9 0", 5);  // an empty class, then one too few
  EXPECT_EQ(doubled.classes, (Classes{"10", "", "9", "0", ""}));
  ASSERT_EQ(doubled.warnings.size(), 2u);
  EXPECT_NE(doubled.warnings[0].find("classes shifted from sentence 2"), std::string::npos) << doubled.warnings[0];
  EXPECT_NE(doubled.warnings[1].find("fewer classes"), std::string::npos) << doubled.warnings[1];
  EXPECT_NE(doubled.warnings[1].find("2 sentences got an empty class"), std::string::npos) << doubled.warnings[1];
}

TEST(ClassesFileTest, DigitsRunTogetherAcrossSkippedBytesAreNamedWithTheirLines) {
  SentenceClasses lines = Paired("0 1\r\n0\r\n1 1\n\n1", 4);
  EXPECT_EQ(lines.classes, (Classes{"0", "101", "11", ""}));
  EXPECT_EQ(lines.first_merged, 2u);
  ASSERT_FALSE(lines.warnings.empty());
  EXPECT_NE(lines.warnings[0].find("in 2 classes: the first is the class 101 of sentence 2, on lines 1 to 3"),
            std::string::npos)
      << lines.warnings[0];

  SentenceClasses letter = Paired("1 1a2 ", 2);
  ASSERT_EQ(letter.warnings.size(), 1u);
  EXPECT_NE(letter.warnings[0].find("class 12 of sentence 2, on line 1 "), std::string::npos) << letter.warnings[0];

  // Bytes before or after a class's digits run nothing together.
  EXPECT_TRUE(Paired("x1\r\n 0\r\n", 2).warnings.empty());
}

TEST(ClassesFileTest, MarksWhereTheClassesStopFittingTheSentences) {
  SentenceClasses shifted_then_short = Paired("1  0 ", 5);  // "1", "", "0", then the file ends
  EXPECT_EQ(shifted_then_short.first_empty, 2u);
  EXPECT_EQ(shifted_then_short.run_out, 4u);
  EXPECT_EQ(shifted_then_short.extra_classes, 0u);

  SentenceClasses longer = Paired("1 0 1 1\n", 2);
  EXPECT_EQ(longer.first_empty, 0u);
  EXPECT_EQ(longer.run_out, 0u);
  EXPECT_EQ(longer.extra_classes, 2u);
}

TEST(ClassesFileTest, AnEndlessFileStopsAtTheLimit) {
  ClassesFile endless("/dev/zero", 1000);
  try {
    endless.ReadNextClass();
    FAIL();
  } catch (const RunError& e) {
    EXPECT_EQ(e.path(), "/dev/zero");
    EXPECT_NE(std::string(e.what()).find("1000 bytes"), std::string::npos) << e.what();
  }
}

TEST(ClassesFileTest, MissingFileMessages) {
  TempDir dir;
  try {
    ClassesFile file(dir.Path("none"));
    FAIL();
  } catch (const RunError& e) {
    EXPECT_EQ(std::string(e.what()), "File not found");
    EXPECT_EQ(e.path(), dir.Path("none"));
  }
  try {
    ClassesFile file(dir.Path("no/such/folder"));
    FAIL();
  } catch (const RunError& e) {
    EXPECT_EQ(std::string(e.what()), "Folder not found: " + dir.Path("no"));
  }
  try {
    ClassesFile folder(dir.Path(""));
    ReadSentenceClasses(folder, 1);
    FAIL();
  } catch (const RunError& e) {
    EXPECT_EQ(e.path(), dir.Path(""));
  }
}

}  // namespace
}  // namespace casewright
