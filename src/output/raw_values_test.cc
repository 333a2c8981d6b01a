#include "output/raw_values.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "testing/memory_tables.h"
#include "testing/temp_dir.h"

namespace casewright {
namespace {

using testing::ReadFile;
using testing::TempDir;

constexpr char kHeader[] =
    "number\ttext\tword_count\tends_paragraph\ttext_location\tparagraph_location\t"
    "has_keyword\thas_gist_word\thas_cue_phrase\tdistribution_weight\ttf_isf\tclass\n";

class RawValuesTest : public ::testing::Test {
 protected:
  std::string Write(const std::vector<std::string>& classes, std::string_view text = {}) {
    std::string path = dir_.Path("raw.tsv");
    OutputFile out(path);
    // The stored text of a sentence is its span of `text`, as is.
    WriteRawValues(
        run_, [text](const frase& s) { return std::string(text.substr(s.SpanStart, s.SpanEnd - s.SpanStart)); },
        FeatureSet::Default(), classes, out);
    out.Commit();
    return ReadFile(path);
  }

  TempDir dir_;
  MemoryTables tables_;
  casewright::Run run_{tables_, {}};
};

TEST_F(RawValuesTest, HeaderAndOneRowPerSentence) {
  frase first;
  first.SpanEnd = 6;  // "Ação#é" in Windows-1252
  first.WordCount = 2;
  first.EndsParagraph = true;
  first.TextPlace = Location::kBegin;
  first.ParagraphPlace = Location::kEnd;
  first.HasKeyword = true;
  first.HasCuePhrase = true;
  first.DistributionWeight = 7.0 / 3.0;
  first.TfIsf = 0.1;
  frase second;  // nothing computed, no words
  second.SpanStart = second.SpanEnd = 6;
  second.HasGistWord = true;
  run_.sentence_list = {first, second};

  EXPECT_EQ(
      Write({"2", ""}, "A\xE7\xE3o#\xE9"),
      std::string(kHeader) +
          "1\tA\xC3\xA7\xC3\xA3o#\xC3\xA9\t2\t1\tbegin\tend\t1\t0\t1\t2.3333333333333335\t0.1\t2\n"
          "2\t\t0\t0\t\t\t0\t1\t0\t0\t0\t\n");
}

TEST_F(RawValuesTest, RealValuesReadBackToTheSameDouble) {
  const std::vector<double> values = {1.0 / 3.0, 0.37677838437497994, 5e-324,
                                      1e21,      123456789.00000001,  2.2250738585072014e-308};
  for (double value : values) {
    frase s;
    s.DistributionWeight = value;
    s.TfIsf = -value;
    run_.sentence_list.push_back(s);
  }
  std::istringstream rows(Write(std::vector<std::string>(values.size(), "1")));
  std::string line;
  std::getline(rows, line);  // the header
  for (double value : values) {
    std::getline(rows, line);
    std::vector<std::string> fields;
    std::istringstream cells(line);
    for (std::string cell; std::getline(cells, cell, '\t');) fields.push_back(cell);
    ASSERT_EQ(fields.size(), 12u) << line;
    EXPECT_EQ(std::strtod(fields[9].c_str(), nullptr), value) << fields[9];
    EXPECT_EQ(std::strtod(fields[10].c_str(), nullptr), -value) << fields[10];
  }
}

TEST_F(RawValuesTest, NoSentenceWritesTheHeaderOnly) { EXPECT_EQ(Write({}), kHeader); }

}  // namespace
}  // namespace casewright
