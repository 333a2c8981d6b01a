// A whole run over a short Portuguese text with small tables, all eight
// features, checked against values worked out by hand.
//
// Text (three paragraphs, CR LF line breaks):
//   O gato viu o rato. O rato fugiu.
//   Portanto, o gato dormiu. Os gatos comem queijo.
//   O queijo acabou.
// Lexicon: gatos -> gato, os -> o.  Stoplist: o.  Cue words: portanto, a
// missing value, "em resumo".
//
// Keys of the sentences, and the WordTable in first-occurrence order:
//   S1 o gato viu o rato      S2 o rato fugiu       S3 portanto o gato dormiu
//   S4 o gato comem queijo    S5 o queijo acabou
//   o 6 (stopword, 0), gato 3, viu 1, rato 2, fugiu 1, portanto 1, dormiu 1,
//   comem 1, queijo 2, acabou 1
//
// Distribution weight: S1 (3+1+2)/3 = 2, S2 3/2, S3 5/3, S4 6/3 = 2, S5 3/2.
// TF-ISF (N = 5; n: o 5, gato 3, rato 2, queijo 2, the others 1):
//   S1 (log 5/3 + log 5 + log 2.5) / 5 = 0.2637518
//   S2 (log 2.5 + log 5) / 3          = 0.3656367
//   S3 (2 log 5 + log 5/3) / 4        = 0.4049472
//   S4 (log 5/3 + log 5 + log 2.5) / 4 = 0.3296897
//   S5 (log 2.5 + log 5) / 3          = 0.3656367
// Gist: S1 and S4 weigh 2, the later one wins: gato comem queijo, held by all
// but S2.  Keywords: gato (3), then rato, which ties with queijo and comes
// first: held by all but S5.  Cue: portanto, in S3 only.
// Paragraphs [S1 S2] [S3 S4] [S5]: in text begin begin middle middle end; in
// paragraph begin end begin end end.
//
// Codes: size 5 3 4 4 3 (average 3.8, low 1.9, high 4.4) -> 4 2 3 3 2;
// distribution (average 1.733, low 0.867, high 1.867) -> 4 2 2 4 2;
// TF-ISF (average 0.3459, low 0.1730, high 0.3754) -> 2 3 4 2 3.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "pipeline/pipeline.h"
#include "testing/memory_tables.h"
#include "testing/temp_dir.h"

namespace casewright {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

constexpr char kText[] =
    "O gato viu o rato. O rato fugiu.\r\n"
    "Portanto, o gato dormiu. Os gatos comem queijo.\r\n"
    "O queijo acabou.\r\n";

using Codes = std::array<int, kDefaultFeatureCount>;

// The codes of features 1 to 8 of each sentence, all features ticked.
const std::vector<Codes> kAllCodes = {
    {4, 1, 1, 1, 1, 4, 2, 0},  // S1
    {2, 1, 3, 1, 0, 2, 3, 0},  // S2
    {3, 2, 1, 1, 1, 2, 4, 1},  // S3
    {3, 2, 3, 1, 1, 4, 2, 0},  // S4
    {2, 3, 3, 0, 1, 2, 3, 0},  // S5
};
const std::vector<std::string> kClasses = {"1", "0", "0", "1", "0"};

// Without the distribution weights every sentence weighs 0, so the last
// sentence is the gist: queijo acabou, held by S4 and S5.
constexpr std::array<int, 5> kGistWithoutDistribution = {0, 0, 0, 1, 1};

class EndToEndTest : public ::testing::Test {
 protected:
  EndToEndTest()
      : tables_({{"gatos", "gato"}, {"os", "o"}}, {"o"}, {"portanto", std::nullopt, "em resumo"}) {
    // The text is handed over already loaded; its name only has to differ
    // from the output files'.
    settings_.text_path = dir_.Path("text.txt");
    settings_.classes_path = dir_.Path("classes.txt");
    settings_.output_path = dir_.Path("cases.txt");
    WriteFile(settings_.classes_path, "1 0 0 1 0");
  }

  std::string RunAndRead() {
    RunCasesOnText(settings_, kText, tables_);
    return ReadFile(settings_.output_path);
  }

  // The expected file for the ticked features.
  std::string Expected(const std::vector<Codes>& codes, bool quinlan) const {
    std::string file;
    for (std::size_t s = 0; s < codes.size(); ++s) {
      for (int k = 0; k < kDefaultFeatureCount; ++k) {
        if (!settings_.features.Has(kFeatures[k].feature)) continue;
        file += std::to_string(codes[s][k]);
        file += quinlan ? ", " : " ";
      }
      file += kClasses[s];
      file += quinlan ? ".\r\n" : "\r\n";
    }
    return file;
  }

  TempDir dir_;
  MemoryTables tables_;
  RunSettings settings_;
};

TEST_F(EndToEndTest, AllFeaturesInBothFormats) {
  EXPECT_EQ(RunAndRead(),
            "4 1 1 1 1 4 2 0 1\r\n"
            "2 1 3 1 0 2 3 0 0\r\n"
            "3 2 1 1 1 2 4 1 0\r\n"
            "3 2 3 1 1 4 2 0 1\r\n"
            "2 3 3 0 1 2 3 0 0\r\n");
  settings_.format = CaseFormat::kQuinlan;
  EXPECT_EQ(RunAndRead(),
            "4, 1, 1, 1, 1, 4, 2, 0, 1.\r\n"
            "2, 1, 3, 1, 0, 2, 3, 0, 0.\r\n"
            "3, 2, 1, 1, 1, 2, 4, 1, 0.\r\n"
            "3, 2, 3, 1, 1, 4, 2, 0, 1.\r\n"
            "2, 3, 3, 0, 1, 2, 3, 0, 0.\r\n");
}

TEST_F(EndToEndTest, EachFeatureSwitchedOffInTurn) {
  for (bool quinlan : {false, true}) {
    settings_.format = quinlan ? CaseFormat::kQuinlan : CaseFormat::kPlain;
    for (int off = 0; off < kDefaultFeatureCount; ++off) {
      SCOPED_TRACE("feature " + std::to_string(off + 1) + " off" + (quinlan ? ", Quinlan" : ""));
      settings_.features = FeatureSet::Default();
      settings_.features.Set(kFeatures[off].feature, false);
      std::vector<Codes> codes = kAllCodes;
      if (off == 5) {
        for (std::size_t s = 0; s < codes.size(); ++s) codes[s][4] = kGistWithoutDistribution[s];
      }
      EXPECT_EQ(RunAndRead(), Expected(codes, quinlan));
    }
  }
}

// The raw values carry the unrounded features: the weights exactly, TF-ISF
// to the precision worked out by hand.
TEST_F(EndToEndTest, RawValues) {
  settings_.raw_path = dir_.Path("raw.tsv");
  RunAndRead();
  std::istringstream rows(ReadFile(settings_.raw_path));
  std::string line;
  std::getline(rows, line);
  EXPECT_EQ(line.substr(0, 7), "number\t");
  const std::vector<std::string> kFront = {
      "1\tO#gato#viu#o#rato\t5\t0\tbegin\tbegin\t1\t1\t0\t2\t",
      "2\tO#rato#fugiu\t3\t1\tbegin\tend\t1\t0\t0\t1.5\t",
      "3\tPortanto,#o#gato#dormiu\t4\t0\tmiddle\tbegin\t1\t1\t1\t1.6666666666666667\t",
      "4\tOs#gatos#comem#queijo\t4\t1\tmiddle\tend\t1\t1\t0\t2\t",
      "5\tO#queijo#acabou\t3\t1\tend\tend\t0\t1\t0\t1.5\t",
  };
  const std::vector<double> kTfIsf = {0.2637518, 0.3656367, 0.4049472, 0.3296897, 0.3656367};
  for (std::size_t s = 0; s < kFront.size(); ++s) {
    ASSERT_TRUE(std::getline(rows, line));
    EXPECT_EQ(line.substr(0, kFront[s].size()), kFront[s]);
    std::size_t tf_isf = kFront[s].size();
    std::size_t tab = line.find('\t', tf_isf);
    EXPECT_NEAR(std::strtod(line.substr(tf_isf, tab - tf_isf).c_str(), nullptr), kTfIsf[s], 5e-8);
    EXPECT_EQ(line.substr(tab + 1), kClasses[s]);
  }
  EXPECT_FALSE(std::getline(rows, line));
}

}  // namespace
}  // namespace casewright
