#include "output/case_writer.h"

#include <gtest/gtest.h>

#include "output/discretize.h"
#include "output/names_file.h"
#include "testing/memory_tables.h"
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

// A run of hand-made sentences written to a file.
class WriterTest : public ::testing::Test {
 protected:
  WriterTest() : run_(tables_, {}) {
    frase a;  // 3, 2, 1, 1, 0, 4, 2, 0 with the sentences below
    a.WordCount = 20;
    a.TextPlace = Location::kMiddle;
    a.ParagraphPlace = Location::kBegin;
    a.HasKeyword = true;
    a.DistributionWeight = 8.0;
    a.TfIsf = 1.0;
    frase b;
    b.WordCount = 4;
    b.TextPlace = Location::kEnd;
    b.HasGistWord = true;
    b.HasCuePhrase = true;
    b.TfIsf = 0.5;
    run_.sentence_list = {a, b};
  }

  std::string Write(const std::vector<std::string>& classes, FeatureSet features, CaseFormat format,
                    bool ids = false, std::string_view text_name = "t", CaseValues values = CaseValues::kCodes) {
    OutputFile out(dir_.Path("out"));
    WriteCases(run_, CaseSchema{features, ClassValues(classes), "t", ids, values}, *MakeCaseLayout(format), classes,
               text_name, out);
    out.Commit();
    return ReadFile(dir_.Path("out"));
  }

  static FeatureSet Only(std::initializer_list<Feature> ticked) {
    FeatureSet set = FeatureSet::None();
    for (Feature f : ticked) set.Set(f);
    return set;
  }

  const FeatureSet kAll = FeatureSet::Default();
  TempDir dir_;
  MemoryTables tables_;
  casewright::Run run_;
};

TEST_F(WriterTest, BothFormatsAllFeatures) {
  EXPECT_EQ(Write({"1", "0"}, kAll, CaseFormat::kPlain), "4 2 1 1 0 4 4 0 1\r\n1 3 3 0 1 1 2 1 0\r\n");
  EXPECT_EQ(Write({"1", "0"}, kAll, CaseFormat::kQuinlan),
            "4, 2, 1, 1, 0, 4, 4, 0, 1.\r\n1, 3, 3, 0, 1, 1, 2, 1, 0.\r\n");
}

TEST_F(WriterTest, SomeOrNoFeatures) {
  FeatureSet first_and_last = Only({Feature::kSentenceSize, Feature::kCuePhrases});
  EXPECT_EQ(Write({"1", "0"}, first_and_last, CaseFormat::kPlain), "4 0 1\r\n1 1 0\r\n");
  EXPECT_EQ(Write({"1", "0"}, first_and_last, CaseFormat::kQuinlan), "4, 0, 1.\r\n1, 1, 0.\r\n");
  EXPECT_EQ(Write({"1", "0"}, FeatureSet::None(), CaseFormat::kPlain), "1\r\n0\r\n");
  EXPECT_EQ(Write({"1", "0"}, FeatureSet::None(), CaseFormat::kQuinlan), "1.\r\n0.\r\n");
}

TEST_F(WriterTest, EmptyClassesEndTheLineAsAnyOther) {
  FeatureSet size_only = Only({Feature::kSentenceSize});
  EXPECT_EQ(Write({"7", ""}, size_only, CaseFormat::kQuinlan), "4, 7.\r\n1, .\r\n");
  EXPECT_EQ(Write({"7", ""}, size_only, CaseFormat::kPlain), "4 7\r\n1 \r\n");
}

// The raw values in place of the codes: the numbers to 6 significant
// digits, a location or a flag its code (an unset location 3, as coded).
TEST_F(WriterTest, RawValuesWithHeadersThatSaySo) {
  run_.sentence_list[0].TfIsf = 1.0 / 3;
  const std::string rows = "20,2,1,1,0,8,0.333333,0,1\n4,3,3,0,1,0,0.5,1,0\n";
  EXPECT_EQ(Write({"1", "0"}, kAll, CaseFormat::kCsv, false, "t", CaseValues::kRaw),
            "size_raw,text_location_raw,paragraph_location_raw,keyword_raw,gist_word_raw,distribution_weight_raw,"
            "tf_isf_raw,cue_phrase_raw,class\n" + rows);
  const FeatureSet size_only = Only({Feature::kSentenceSize});
  EXPECT_EQ(Write({"1", "0"}, size_only, CaseFormat::kArff, true, "t", CaseValues::kRaw),
            "@relation t\n\n@attribute text string\n@attribute sentence numeric\n@attribute size numeric\n"
            "@attribute class {0,1}\n\n@data\nt,1,20,1\nt,2,4,0\n");
  EXPECT_EQ(NamesFileText({size_only, {"1", "0"}, "t", false, CaseValues::kRaw}), "1, 0.\n\nsize: continuous.\n");
}

TEST_F(WriterTest, ArffAndCsvForTodaysLearners) {
  FeatureSet size_and_cue = Only({Feature::kSentenceSize, Feature::kCuePhrases});
  EXPECT_EQ(Write({"10", ""}, size_and_cue, CaseFormat::kArff),
            "@relation t\n\n@attribute size {1,2,3,4}\n@attribute cue_phrase {0,1}\n@attribute class {10}\n\n"
            "@data\n4,0,10\n1,1,?\n");
  EXPECT_EQ(Write({"10", ""}, size_and_cue, CaseFormat::kCsv), "size,cue_phrase,class\n4,0,10\n1,1,\n");
  EXPECT_EQ(Write({"1", "0"}, FeatureSet::None(), CaseFormat::kCsv), "class\n1\n0\n");
  // A relation that is not one plain word is quoted.
  EXPECT_EQ(MakeArffLayout()->Header({FeatureSet::None(), {"1"}, "o texto d'ele"}),
            "@relation 'o texto d\\'ele'\n\n@attribute class {1}\n\n@data\n");
}

TEST_F(WriterTest, IdsLeadTheCasesQuotedAsTheLayoutNeeds) {
  const FeatureSet size_only = Only({Feature::kSentenceSize});
  EXPECT_EQ(Write({"1", "0"}, size_only, CaseFormat::kArff, true, "c/o d'ele.txt"),
            "@relation t\n\n@attribute text string\n@attribute sentence numeric\n@attribute size {1,2,3,4}\n"
            "@attribute class {0,1}\n\n@data\n'c/o d\\'ele.txt',1,4,1\n'c/o d\\'ele.txt',2,1,0\n");
  const std::string escaped = Write({"1", "0"}, size_only, CaseFormat::kArff, true, "a\tb\nc.txt");
  EXPECT_EQ(escaped.substr(escaped.find("@data")), "@data\n'a\\tb\\nc.txt',1,4,1\n'a\\tb\\nc.txt',2,1,0\n");
  EXPECT_EQ(Write({"1", "0"}, size_only, CaseFormat::kCsv, true, "a \"b\",c.txt"),
            "text,sentence,size,class\n\"a \"\"b\"\",c.txt\",1,4,1\n\"a \"\"b\"\",c.txt\",2,1,0\n");
}

TEST_F(WriterTest, AnUnlabelledTextGetsTheMissingClass) {
  const FeatureSet size_only = Only({Feature::kSentenceSize});
  EXPECT_EQ(Write({}, size_only, CaseFormat::kPlain), "4 ?\r\n1 ?\r\n");
  EXPECT_EQ(Write({}, size_only, CaseFormat::kQuinlan), "4, ?.\r\n1, ?.\r\n");
  const std::string arff = Write({}, size_only, CaseFormat::kArff);
  EXPECT_EQ(arff.substr(arff.find("@attribute class")), "@attribute class {}\n\n@data\n4,?\n1,?\n");
  EXPECT_EQ(Write({}, size_only, CaseFormat::kCsv), "size,class\n4,\n1,\n");
}

TEST(ClassValuesTest, SeenValuesInNumericOrder) {
  EXPECT_EQ(ClassValues({"1", "", "10", "0", "1", "9", "01"}),
            (std::vector<std::string>{"0", "01", "1", "9", "10"}));
  EXPECT_EQ(DeclaredClassValues({"1", "0"}, {"0"}), (std::vector<std::string>{"1", "0"}));
}

TEST(ClassValuesTest, DeclaredListsAndTheClassesOutsideThem) {
  EXPECT_EQ(ParseClassValues("1,0,10"), (std::vector<std::string>{"1", "0", "10"}));
  for (const char* bad : {"", "0,", ",1", "0,,1", "0,a", "0, 1", "-1"}) {
    EXPECT_THROW(ParseClassValues(bad), std::invalid_argument) << bad;
  }
  try {
    ParseClassValues("0,1,0");
    ADD_FAILURE();
  } catch (const std::invalid_argument& e) {
    EXPECT_STREQ(e.what(), "the class value 0 comes twice");
  }
  EXPECT_EQ(FirstUndeclaredClass({"0", "", "1", "2"}, {"0", "1"}), 3u);
  EXPECT_EQ(FirstUndeclaredClass({"0", "", "1"}, {"1", "0"}), std::nullopt);
  EXPECT_EQ(FirstUndeclaredClass({"7"}, {}), std::nullopt);
}

TEST(NamesFileTest, ClassesThenTheTickedFeatures) {
  FeatureSet features = FeatureSet::None();
  features.Set(Feature::kTextLocation);
  features.Set(Feature::kKeywords);
  EXPECT_EQ(NamesFileText({features, {"1", "0", "9"}, "t"}),
            "1, 0, 9.\n\ntext_location: 1, 2, 3.\nkeyword: 0, 1.\n");
}

}  // namespace
}  // namespace casewright
