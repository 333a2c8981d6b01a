// Features 9 to 16 on short texts worked out by hand.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "features/centrality.h"
#include "features/locations.h"
#include "features/similarities.h"
#include "features/stopwords.h"
#include "features/word_shapes.h"
#include "summary/methods/textrank.h"
#include "testing/memory_tables.h"
#include "text/segment.h"

namespace casewright {
namespace {

class NewFeaturesTest : public ::testing::Test {
 protected:
  NewFeaturesTest() : tables_({}, {"o", "e"}), run_(tables_, {}) {}

  // Segments `text` (kept alive by the fixture) and gives stopwords 0.
  void Segment(std::string text) {
    text_ = std::move(text);
    run_.ResetLists();
    SegmentText(run_, text_);
    SuppressStopwords(run_);
  }

  std::vector<double> Values(double frase::*value) const {
    std::vector<double> values;
    for (const frase& s : run_.sentence_list) values.push_back(s.*value);
    return values;
  }

  MemoryTables tables_;
  casewright::Run run_;
  std::string text_;
};

void ExpectNear(const std::vector<double>& actual, const std::vector<double>& expected) {
  ASSERT_EQ(actual.size(), expected.size());
  for (std::size_t i = 0; i < actual.size(); ++i) EXPECT_NEAR(actual[i], expected[i], 1e-12) << "sentence " << i + 1;
}

// Content words (o is a stopword): S1 gato come peixe, S2 gato dorme,
// S3 ana viu 2 ratos, S4 peixe dorme.  With a = log10 2, the TF-ISF vectors
// are S1 (gato a, come 2a, peixe a), S2 (gato a, dorme a), S3 2a on each of
// its four words, S4 (peixe a, dorme a); the centroid is 2a on all eight.
TEST_F(NewFeaturesTest, SimilaritiesToTheTitleTheCentroidAndTheOtherSentences) {
  Segment("O gato come peixe. O gato dorme.\nAna viu 2 ratos.\nO peixe dorme.");
  ComputeTitleSimilarities(run_);
  ComputeCentroidSimilarities(run_);
  const double r6 = 1 / std::sqrt(6.0), r12 = 1 / std::sqrt(12.0);
  // Counts: S2 and S4 share one word with S1, S3 none.
  ExpectNear(Values(&frase::TitleSimilarity), {1, r6, 0, r6});
  ExpectNear(Values(&frase::CentroidSimilarity), {1 / std::sqrt(3.0), 0.5, 1 / std::sqrt(2.0), 0.5});
  // cos(S1, S2) = cos(S1, S4) = 1/sqrt 12, cos(S2, S4) = 1/2, S3 shares nothing.
  ExpectNear(Values(&frase::Cohesion), {2 * r12, r12 + 0.5, 0, r12 + 0.5});

  // A first sentence of stopwords only leaves nothing to be similar to.
  Segment("O e o. O gato dorme.");
  ComputeTitleSimilarities(run_);
  ComputeCentroidSimilarities(run_);
  ExpectNear(Values(&frase::TitleSimilarity), {0, 0});
  ExpectNear(Values(&frase::Cohesion), {0, 0});
}

TEST_F(NewFeaturesTest, ProperNounsAfterTheFirstWordAndNumerals) {
  Segment(
      "O Brasil tem estados. Ana chegou. \" Lisboa fica longe. Era o ano 1999 em \"Paris\" hoje. "
      "Tinha 3a classe. \xC9vora e \xC1gueda.");
  MarkWordShapes(run_, text_);
  std::vector<bool> proper, numeral;
  for (const frase& s : run_.sentence_list) {
    proper.push_back(s.HasProperNoun);
    numeral.push_back(s.HasNumeral);
  }
  EXPECT_EQ(proper, (std::vector<bool>{true, false, false, true, false, true}));
  EXPECT_EQ(numeral, (std::vector<bool>{false, false, false, true, true, false}));
}

// Paragraphs [S1 S2 S3] [S4] [S5 S6]: feature 3 takes S5 for a continuation
// of the one-sentence paragraph S4; feature 15 does not.
TEST_F(NewFeaturesTest, PositionsByFifthsAndByParagraphMarks) {
  Segment("Um. Dois. Tr\xEAs.\r\nQuatro.\r\nCinco. Seis.");
  MarkLocations(run_);
  MarkPositions(run_);
  std::string continuation, marks, fifths;
  for (const frase& s : run_.sentence_list) {
    continuation += LocationLabel(s.ParagraphPlace).front();
    marks += LocationLabel(s.ParagraphMark).front();
    fifths += static_cast<char>('0' + s.Fifth);
  }
  EXPECT_EQ(continuation, "bmebme");
  EXPECT_EQ(marks, "bmebbe");
  EXPECT_EQ(fifths, "112345");
  ExpectNear(Values(&frase::Position), {0, 1 / 6.0, 2 / 6.0, 3 / 6.0, 4 / 6.0, 5 / 6.0});
}

// Centrality is TextRank's score of the sentences' content keys: the same
// as TextRank on tokens of the same pattern.
TEST_F(NewFeaturesTest, CentralityIsTheTextRankScore) {
  Segment("O gato come peixe. O gato dorme peixe.\nAna viu ratos.\nO peixe dorme bem.");
  ComputeCentrality(run_);
  // gato 1, come 2, peixe 3, dorme 4, ana 5, viu 6, ratos 7, bem 8; the
  // stopwords' tokens are flagged and left out by TextRank.
  const SentenceTokens tokens = {{0, 1, 2, 3}, {0, 1, 4, 3}, {5, 6, 7}, {0, 3, 4, 8}};
  const StopwordFlags stopwords = {{true, false, false, false}, {true, false, false, false},
                                   {false, false, false}, {true, false, false, false}};
  const std::vector<double> expected = TextRank().Scores(MethodText{tokens, stopwords});
  ExpectNear(Values(&frase::Centrality), expected);
  EXPECT_GT(expected[1], expected[0]);  // S2 shares with both S1 and S4
  EXPECT_LT(expected[2], expected[0]);  // S3 shares with no one
}

}  // namespace
}  // namespace casewright
