#include "output/case_writer.h"

#include <gtest/gtest.h>

#include "app/run_error.h"
#include "lexicon/memory_tables.h"
#include "testing/temp_dir.h"

namespace casewright {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

double SizeOf(const frase& s) { return s.WordCount; }

SentenceList SentencesOfSizes(std::initializer_list<int> sizes) {
  SentenceList sentences;
  for (int size : sizes) {
    frase s;
    s.WordCount = size;
    sentences.push_back(s);
  }
  return sentences;
}

TEST(ThresholdsTest, AverageMaximumAndTheLevelsBetween) {
  FeatureThresholds t = ComputeThresholds(SentencesOfSizes({4, 8, 12, 20}), SizeOf);
  EXPECT_EQ(t.Maximum, 20);
  EXPECT_EQ(t.Average, 11);
  EXPECT_EQ(t.Low, 5.5);
  EXPECT_EQ(t.High, 15.5);
  EXPECT_EQ(LevelCode(4, t), 1);
  EXPECT_EQ(LevelCode(8, t), 2);
  EXPECT_EQ(LevelCode(12, t), 3);
  EXPECT_EQ(LevelCode(20, t), 4);
  // A value equal to a threshold takes the lower level.
  EXPECT_EQ(LevelCode(5.5, t), 1);
  EXPECT_EQ(LevelCode(11, t), 2);
  EXPECT_EQ(LevelCode(15.5, t), 3);
  EXPECT_EQ(LevelCode(16, t), 4);
}

TEST(ThresholdsTest, EqualAndZeroValues) {
  FeatureThresholds same = ComputeThresholds(SentencesOfSizes({7, 7, 7}), SizeOf);
  EXPECT_EQ(same.Maximum, 7);
  EXPECT_EQ(same.High, 7);
  EXPECT_EQ(LevelCode(7, same), 2);
  FeatureThresholds zero = ComputeThresholds(SentencesOfSizes({0, 0}), SizeOf);
  EXPECT_EQ(zero.Maximum, 0);
  EXPECT_EQ(zero.High, 0);
  EXPECT_EQ(LevelCode(0, zero), 1);
  // The maximum never goes below 0.
  SentenceList negative(2);
  negative[0].TfIsf = -1.0;
  negative[1].TfIsf = -3.0;
  FeatureThresholds below = ComputeThresholds(negative, [](const frase& s) { return s.TfIsf; });
  EXPECT_EQ(below.Maximum, 0.0);
  EXPECT_EQ(below.Average, -2.0);
}

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
  EXPECT_EQ(ClassesOf("1 0 0 1", 4), (Classes{"1", "0", "0", "1"}));
  EXPECT_EQ(ClassesOf("1 0 0 1", 6), (Classes{"1", "0", "0", "1", "", ""}));
  EXPECT_EQ(ClassesOf("1\r\n0\r\n1", 3), (Classes{"101", "", ""}));
  EXPECT_EQ(ClassesOf(" 1 0", 3), (Classes{"", "1", "0"}));
  EXPECT_EQ(ClassesOf("1  0", 3), (Classes{"1", "", "0"}));
  EXPECT_EQ(ClassesOf("1a2 x 007 ", 3), (Classes{"12", "", "007"}));
  EXPECT_EQ(ClassesOf("1 2\x1A 3 4", 3), (Classes{"1", "2", ""}));
  EXPECT_EQ(ClassesOf("", 1), (Classes{""}));
}

TEST(ClassesFileTest, CountsTheClassesLeftUnread) {
  TempDir dir;
  WriteFile(dir.Path("c"), "1 0 1 1 x \n");
  ClassesFile file(dir.Path("c"));
  file.ReadNextClass();
  EXPECT_EQ(file.CountUnreadClasses(), 3u);
}

// A run of hand-made sentences written to a file.
class WriterTest : public ::testing::Test {
 protected:
  WriterTest() : run_(tables_, {}) {
    frase a;  // 3, 2, 1, 1, 0, 4, 2, 0 with the sentences below
    a.WordCount = 20;
    a.TextLocation = "middle";
    a.ParagraphLocation = "begin";
    a.HasKeyword = true;
    a.DistributionWeight = 8.0;
    a.TfIsf = 1.0;
    frase b;
    b.WordCount = 4;
    b.TextLocation = "end";
    b.ParagraphLocation = "";
    b.HasGistWord = true;
    b.HasCuePhrase = true;
    b.TfIsf = 0.5;
    run_.sentence_list = {a, b};
  }

  std::string Write(const std::string& classes, std::array<bool, 8> features, CaseFormat format,
                    std::vector<std::string>* warnings = nullptr) {
    WriteFile(dir_.Path("classes"), classes);
    ClassesFile classes_file(dir_.Path("classes"));
    OutputFile out(dir_.Path("out"));
    CasesWritten written = WriteCases(run_, features, format, classes_file, out);
    out.Commit();
    if (warnings) *warnings = written.warnings;
    return ReadFile(dir_.Path("out"));
  }

  static constexpr std::array<bool, 8> kAll = {true, true, true, true, true, true, true, true};
  TempDir dir_;
  MemoryTables tables_;
  casewright::Run run_;
};

TEST_F(WriterTest, BothFormatsAllFeatures) {
  EXPECT_EQ(Write("1 0", kAll, CaseFormat::kPlain), "4 2 1 1 0 4 4 0 1\r\n1 3 3 0 1 1 2 1 0\r\n");
  EXPECT_EQ(Write("1 0", kAll, CaseFormat::kQuinlan),
            "4, 2, 1, 1, 0, 4, 4, 0, 1.\r\n1, 3, 3, 0, 1, 1, 2, 1, 0.\r\n");
}

TEST_F(WriterTest, SomeOrNoFeatures) {
  std::array<bool, 8> first_and_last = {true, false, false, false, false, false, false, true};
  EXPECT_EQ(Write("1 0", first_and_last, CaseFormat::kPlain), "4 0 1\r\n1 1 0\r\n");
  EXPECT_EQ(Write("1 0", first_and_last, CaseFormat::kQuinlan), "4, 0, 1.\r\n1, 1, 0.\r\n");
  EXPECT_EQ(Write("1 0", {}, CaseFormat::kPlain), "1\r\n0\r\n");
  EXPECT_EQ(Write("1 0", {}, CaseFormat::kQuinlan), "1.\r\n0.\r\n");
}

TEST_F(WriterTest, ClassCountMismatchesAreWarnings) {
  std::vector<std::string> warnings;
  std::array<bool, 8> size_only = {true};
  EXPECT_EQ(Write("7", size_only, CaseFormat::kQuinlan, &warnings), "4, 7.\r\n1, .\r\n");
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_NE(warnings[0].find("1 sentence got an empty class"), std::string::npos) << warnings[0];

  EXPECT_EQ(Write("1 0 1 1\r\n", size_only, CaseFormat::kPlain, &warnings), "4 1\r\n1 0\r\n");
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_NE(warnings[0].find("2 classes were left unread"), std::string::npos) << warnings[0];

  EXPECT_EQ(Write("1 0\r\n", size_only, CaseFormat::kPlain, &warnings), "4 1\r\n1 0\r\n");
  EXPECT_TRUE(warnings.empty());
}

TEST_F(WriterTest, NoSentenceWritesAnEmptyFileAndWarns) {
  run_.sentence_list.clear();
  std::vector<std::string> warnings;
  EXPECT_EQ(Write("1 0", kAll, CaseFormat::kPlain, &warnings), "");
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_NE(warnings[0].find("no sentence"), std::string::npos);
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
    EXPECT_EQ(std::string(e.what()), "Invalid filename");
  }
}

}  // namespace
}  // namespace casewright
