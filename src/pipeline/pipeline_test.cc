#include "pipeline/pipeline.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "core/run_error.h"
#include "testing/memory_tables.h"
#include "testing/temp_dir.h"

namespace casewright {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

FeatureSet SizeOnly() {
  FeatureSet set = FeatureSet::None();
  set.Set(Feature::kSentenceSize);
  return set;
}

class PipelineTest : public ::testing::Test {
 protected:
  PipelineTest() {
    settings_.text_path = dir_.Path("text.txt");
    settings_.classes_path = dir_.Path("classes.txt");
    settings_.output_path = dir_.Path("cases.txt");
    settings_.features = SizeOnly();
    WriteFile(settings_.text_path, "Um dois tr\xEAs quatro.\nCinco.\n");
    WriteFile(settings_.classes_path, "1 0");
  }

  std::string FailureOf(const RunSettings& settings) {
    try {
      RunCases(settings, tables_, {});
    } catch (const RunError& e) {
      return e.Describe();
    }
    return "no failure";
  }

  TempDir dir_;
  MemoryTables tables_;
  RunSettings settings_;
};

TEST_F(PipelineTest, WritesOneCasePerSentence) {
  RunOutcome outcome = RunCases(settings_, tables_, {});
  EXPECT_EQ(outcome.sentences, 2u);
  EXPECT_TRUE(outcome.warnings.empty());
  EXPECT_EQ(ReadFile(settings_.output_path), "4 1\r\n1 0\r\n");
  settings_.format = CaseFormat::kQuinlan;
  RunCases(settings_, tables_, {});
  EXPECT_EQ(ReadFile(settings_.output_path), "4, 1.\r\n1, 0.\r\n");
}

TEST_F(PipelineTest, NoSentenceWritesAnEmptyFileAndWarns) {
  WriteFile(settings_.text_path, "no terminator");
  RunOutcome outcome = RunCases(settings_, tables_, {});
  EXPECT_EQ(ReadFile(settings_.output_path), "");
  ASSERT_EQ(outcome.warnings.size(), 2u);
  EXPECT_NE(outcome.warnings[0].find("no sentence"), std::string::npos);
  EXPECT_NE(outcome.warnings[1].find("2 classes were left unread"), std::string::npos) << outcome.warnings[1];
}

TEST_F(PipelineTest, StrictClassesFailTheRunInsteadOfWarning) {
  WriteFile(settings_.output_path, "old");
  settings_.strict_classes = true;
  for (const char* classes : {"1", "1 0 1", "1\n0"}) {
    WriteFile(settings_.classes_path, classes);
    EXPECT_NE(FailureOf(settings_).find(settings_.classes_path + ": The classes file"), std::string::npos)
        << classes << ": " << FailureOf(settings_);
    EXPECT_EQ(ReadFile(settings_.output_path), "old");
  }
  WriteFile(settings_.classes_path, "1 0");
  EXPECT_TRUE(RunCases(settings_, tables_, {}).warnings.empty());
}

TEST_F(PipelineTest, ReportsProgressStageByStage) {
  std::vector<RunStage> stages;
  double last = -1;
  bool monotonic = true;
  RunCases(settings_, tables_, [&](const ProgressTick& tick) {
    if (stages.empty() || stages.back() != tick.stage) stages.push_back(tick.stage);
    monotonic = monotonic && tick.Fraction() >= last;
    last = tick.Fraction();
  });
  EXPECT_TRUE(monotonic);
  EXPECT_EQ(stages.front(), RunStage::kSegment);
  EXPECT_EQ(stages.back(), RunStage::kWrite);
  EXPECT_EQ(last, 1.0);
}

TEST_F(PipelineTest, EmptyNamesFailBeforeAnythingIsTouched) {
  RunSettings settings = settings_;
  settings.output_path.clear();
  EXPECT_EQ(FailureOf(settings), "No output file named");
  settings = settings_;
  settings.text_path.clear();
  EXPECT_EQ(FailureOf(settings), "No text file named");
}

TEST_F(PipelineTest, AnUnlabelledTextWithDeclaredClassValuesAndIds) {
  RunSettings settings = settings_;
  settings.classes_path.clear();
  settings.format = CaseFormat::kArff;
  settings.class_values = {"0", "1"};
  settings.ids = true;
  settings.text_name = "corpus/t.txt";
  settings.raw_path = dir_.Path("raw.tsv");
  RunOutcome outcome = RunCases(settings, tables_, {});
  EXPECT_TRUE(outcome.warnings.empty());
  EXPECT_EQ(ReadFile(settings.output_path),
            "@relation text\n\n@attribute text string\n@attribute sentence numeric\n@attribute size {1,2,3,4}\n"
            "@attribute class {0,1}\n\n@data\n'corpus/t.txt',1,4,?\n'corpus/t.txt',2,1,?\n");
  EXPECT_TRUE(ReadFile(settings.raw_path).ends_with("\t\n"));  // an empty class column
  // Without declared values, the header declares none: Weka would refuse it as a test set.
  settings.class_values.clear();
  outcome = RunCases(settings, tables_, {});
  ASSERT_EQ(outcome.warnings.size(), 1u);
  EXPECT_NE(outcome.warnings[0].find("(--class-values 0,1)"), std::string::npos);
  settings.format = CaseFormat::kCsv;
  EXPECT_TRUE(RunCases(settings, tables_, {}).warnings.empty());
}

TEST_F(PipelineTest, AClassOutsideTheDeclaredOnesFailsNamingItsSentence) {
  RunSettings settings = settings_;
  settings.class_values = {"1"};
  EXPECT_EQ(FailureOf(settings),
            settings.classes_path + ": Sentence 2 has the class 0, which is not one of the declared class values 1");
  EXPECT_FALSE(std::filesystem::exists(settings.output_path));
  settings.class_values = {"1", "0"};
  settings.names_path = dir_.Path("cases.names");
  RunCases(settings, tables_, {});
  EXPECT_EQ(ReadFile(settings.names_path), "1, 0.\n\nsize: 1, 2, 3, 4.\n");
  settings.ids = true;
  EXPECT_EQ(FailureOf(settings), "Cases with ids need the ARFF or CSV layout, not plain");
}

TEST_F(PipelineTest, RefusesToWriteOverAnInput) {
  RunSettings settings = settings_;
  settings.output_path = dir_.Path("./text.txt");
  EXPECT_NE(FailureOf(settings).find("same file as the text file"), std::string::npos);
  std::filesystem::create_symlink("classes.txt", dir_.Path("alias"));
  settings.output_path = dir_.Path("alias");
  EXPECT_NE(FailureOf(settings).find("same file as the classes file"), std::string::npos);
  EXPECT_EQ(ReadFile(settings_.classes_path), "1 0");
  settings = settings_;
  settings.raw_path = settings.output_path;
  EXPECT_NE(FailureOf(settings).find("same file as the output file"), std::string::npos);
  settings = settings_;
  settings.names_path = settings.output_path;
  EXPECT_EQ(FailureOf(settings), settings.output_path + ": The names file is the same file as the output file (" +
                                    settings.output_path + "); nothing was written");
  // A device is no file to lose: every output may be /dev/null.
  settings.output_path = settings.raw_path = settings.names_path = "/dev/null";
  EXPECT_EQ(FailureOf(settings), "no failure");
}

TEST(RelationOfTest, TheTextsNameWithoutFolderOrExtension) {
  EXPECT_EQ(RelationOf("corpus/x.txt"), "x");
  EXPECT_EQ(RelationOf("x"), "x");
  EXPECT_EQ(RelationOf("-"), "stdin");
}

TEST_F(PipelineTest, Utf8TextNamesFileAndTheCasesKept) {
  WriteFile(settings_.text_path, "\xEF\xBB\xBFUm dois tr\xC3\xAAs quatro.\nCinco.\n");
  WriteFile(settings_.classes_path, "1 0");
  RunSettings settings = settings_;
  settings.encoding = TextEncoding::kAuto;
  settings.names_path = dir_.Path("cases.names");
  settings.keep_cases = true;
  RunOutcome outcome = RunCases(settings, tables_, {});
  EXPECT_EQ(ReadFile(settings.output_path), "4 1\r\n1 0\r\n");  // as the Windows-1252 text gives
  EXPECT_EQ(outcome.cases, "4 1\r\n1 0\r\n");
  EXPECT_EQ(outcome.class_values, (std::vector<std::string>{"0", "1"}));
  EXPECT_EQ(outcome.notes, std::vector<std::string>{"The text was read as UTF-8."});
  EXPECT_EQ(ReadFile(settings.names_path), "0, 1.\n\nsize: 1, 2, 3, 4.\n");

  settings.names_path = settings.output_path;
  EXPECT_NE(FailureOf(settings).find("The names file is the same file as the output file"), std::string::npos);
  settings.names_path = settings.text_path;
  EXPECT_NE(FailureOf(settings).find("The names file is the same file as the text file"), std::string::npos);
  settings = settings_;
  settings.text_path = settings.classes_path = "-";
  EXPECT_EQ(FailureOf(settings), "The text and the classes file cannot both be standard input (-)");
}

TEST_F(PipelineTest, FailedRunLeavesTheOldOutput) {
  WriteFile(settings_.output_path, "previous cases");
  RunSettings settings = settings_;
  settings.classes_path = dir_.Path("missing");
  EXPECT_EQ(FailureOf(settings), dir_.Path("missing") + ": File not found");
  settings = settings_;
  settings.text_path = dir_.Path("missing");
  EXPECT_EQ(FailureOf(settings),
            dir_.Path("missing") + ": Cannot open file " + dir_.Path("missing") + " (File not found)");
  EXPECT_EQ(ReadFile(settings_.output_path), "previous cases");
}

TEST_F(PipelineTest, AFailureInAnyOutputReplacesNoOutput) {
  WriteFile(settings_.output_path, "previous cases");
  RunSettings settings = settings_;
  settings.raw_path = "/dev/full";  // written directly: fails once the cases are complete
  EXPECT_EQ(FailureOf(settings), "/dev/full: I/O error 28");
  EXPECT_EQ(ReadFile(settings_.output_path), "previous cases");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.root()), {}), 3);
}

// Cancelled at any stage, up to the last tick of writing, a run leaves the
// old output and no temporary file behind.
TEST_F(PipelineTest, CancelledRunChangesNoFile) {
  WriteFile(settings_.output_path, "previous cases");
  settings_.features = FeatureSet::All();
  for (RunStage stage : {RunStage::kSegment, RunStage::kTfIsf, RunStage::kWrite}) {
    std::atomic<bool> cancel{false};
    bool finished_writing = false;
    auto stop_at = [&](const ProgressTick& tick) {
      finished_writing = tick.stage == RunStage::kWrite && tick.done == tick.total;
      if (tick.stage == stage && (stage != RunStage::kWrite || finished_writing)) cancel = true;
    };
    try {
      RunCases(settings_, tables_, CancellableProgress(cancel, stop_at));
      ADD_FAILURE() << "not cancelled at stage " << static_cast<int>(stage);
    } catch (const RunCancelled& e) {
      EXPECT_EQ(e.Describe(), "Cancelled; no file was changed");
    }
    EXPECT_EQ(finished_writing, stage == RunStage::kWrite);
    EXPECT_EQ(ReadFile(settings_.output_path), "previous cases");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.root()), {}), 3);
  }
}

TEST_F(PipelineTest, OutputsThatAreOneFileAreRefusedBeforeTheyExist) {
  RunSettings settings = settings_;
  settings.raw_path = dir_.Path("./cases.txt");
  EXPECT_NE(FailureOf(settings).find("same file as the output file"), std::string::npos);
  std::filesystem::create_symlink("cases.txt", dir_.Path("dangling"));
  settings.raw_path = dir_.Path("dangling");
  EXPECT_NE(FailureOf(settings).find("same file as the output file"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(settings_.output_path));
}

TEST_F(PipelineTest, TwoRunsSideBySideAreIndependent) {
  RunSettings other = settings_;
  other.text_path = dir_.Path("other.txt");
  other.output_path = dir_.Path("other-cases.txt");
  WriteFile(other.text_path, "Fim.");
  std::thread first([&] { RunCases(settings_, tables_, {}); });
  std::thread second([&] { RunCases(other, tables_, {}); });
  first.join();
  second.join();
  EXPECT_EQ(ReadFile(settings_.output_path), "4 1\r\n1 0\r\n");
  EXPECT_EQ(ReadFile(other.output_path), "2 1\r\n");
}

}  // namespace
}  // namespace casewright
