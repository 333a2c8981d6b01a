#include "summary/metrics.h"

#include <algorithm>
#include <random>

#include <gtest/gtest.h>

namespace casewright {
namespace {

void ExpectScores(const Scores& scores, double precision, double recall, double f1) {
  EXPECT_NEAR(scores.precision, precision, 1e-12);
  EXPECT_NEAR(scores.recall, recall, 1e-12);
  EXPECT_NEAR(scores.f1, f1, 1e-12);
}

// Token ids of the examples: the=1 cat=2 sat=3 on=4 mat=5 a=6.
const std::vector<TokenId> kTheCatSatOnTheMat = {1, 2, 3, 4, 1, 5};

TEST(MetricsTest, SentenceScores) {
  // 1 of the 3 chosen is in the reference's 2: P 1/3, R 1/2, F1 (2/6)/(5/6) = 0.4.
  ExpectScores(SentenceScores({true, true, false, false, true}, {true, false, true, false, false}), 1.0 / 3, 0.5,
               0.4);
  ExpectScores(SentenceScores({false, false}, {true, false}), 0, 0, 0);
}

TEST(MetricsTest, RougeOneClipsEachWordToItsCountInTheReference) {
  // "the cat sat on the mat" against "the the the cat": the 2 (of 3) + cat 1
  // = 3 matches; P 3/6, R 3/4, F1 0.75/1.25 = 0.6.
  ExpectScores(RougeN(kTheCatSatOnTheMat, std::vector<TokenId>{1, 1, 1, 2}, 1), 0.5, 0.75, 0.6);
  // "the the the" against "the cat": the counts once; P 1/3, R 1/2, F1 0.4.
  ExpectScores(RougeN(std::vector<TokenId>{1, 1, 1}, std::vector<TokenId>{1, 2}, 1), 1.0 / 3, 0.5, 0.4);
}

TEST(MetricsTest, RougeTwoCountsTheBigramsOfTheWholeSequence) {
  // Against "the cat sat on a mat": the cat, cat sat, sat on match of 5 each.
  ExpectScores(RougeN(kTheCatSatOnTheMat, std::vector<TokenId>{1, 2, 3, 4, 6, 5}, 2), 0.6, 0.6, 0.6);
  // "the cat the cat" against "the cat sat": "the cat" twice, clipped to 1;
  // P 1/3, R 1/2.
  ExpectScores(RougeN(std::vector<TokenId>{1, 2, 1, 2}, std::vector<TokenId>{1, 2, 3}, 2), 1.0 / 3, 0.5, 0.4);
  ExpectScores(RougeN(std::vector<TokenId>{1}, std::vector<TokenId>{1, 2}, 2), 0, 0, 0);
  // A reference of more than 512 distinct tokens, whose bigrams are hashed
  // rather than tabled: the same 3 matches, of 605 bigrams.
  std::vector<TokenId> long_reference = {1, 2, 3, 4, 6, 5};
  for (TokenId t = 100; t < 700; ++t) long_reference.push_back(t);
  ExpectScores(RougeN(kTheCatSatOnTheMat, long_reference, 2), 0.6, 3.0 / 605, 2 * 0.6 * 3 / 605 / (0.6 + 3.0 / 605));
  // Trigrams: "the cat sat" and "cat sat on", 2 of 4 each side.
  ExpectScores(RougeN(kTheCatSatOnTheMat, std::vector<TokenId>{1, 2, 3, 4, 6, 5}, 3), 0.5, 0.5, 0.5);
}

TEST(MetricsTest, RougeLUsesTheLongestCommonSubsequence) {
  // LCS "the cat sat on mat" (5): P 5/6, R 5/6.
  ExpectScores(RougeL(kTheCatSatOnTheMat, std::vector<TokenId>{1, 2, 3, 4, 6, 5}), 5.0 / 6, 5.0 / 6, 5.0 / 6);
  // "the gunman kill police" against "police kill the gunman": "the gunman".
  ExpectScores(RougeL(std::vector<TokenId>{3, 4, 2, 1}, std::vector<TokenId>{1, 2, 3, 4}), 0.5, 0.5, 0.5);
  ExpectScores(RougeL(std::vector<TokenId>{}, std::vector<TokenId>{1}), 0, 0, 0);
}

TEST(MetricsTest, RougeAllDividesByEachSidesOwnLength) {
  // "the cat sat on the mat" against "the cat": every figure matches 2 of the
  // reference's 2 tokens (1 of its 1 bigram) and of the summary's 6 (5).
  const std::vector<Scores> all = RougeReference(std::vector<TokenId>{1, 2}).RougeAll(kTheCatSatOnTheMat);
  ASSERT_EQ(all.size(), 3u);
  ExpectScores(all[0], 2.0 / 6, 1, 0.5);
  ExpectScores(all[1], 1.0 / 5, 1, 2.0 / 6);
  ExpectScores(all[2], 2.0 / 6, 1, 0.5);
}

// The bit-parallel LCS against the textbook table, on sequences longer than
// one word of bits so that carries and borrows cross words.
TEST(MetricsTest, LongestCommonSubsequenceAgreesWithTheTable) {
  std::mt19937 random(3);
  for (int round = 0; round < 30; ++round) {
    std::vector<TokenId> a(1 + random() % 200), b(1 + random() % 200);
    for (TokenId& t : a) t = random() % 6;
    for (TokenId& t : b) t = random() % 6;
    std::vector<std::vector<std::size_t>> table(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
    for (std::size_t i = 1; i <= a.size(); ++i) {
      for (std::size_t j = 1; j <= b.size(); ++j) {
        table[i][j] = a[i - 1] == b[j - 1] ? table[i - 1][j - 1] + 1 : std::max(table[i - 1][j], table[i][j - 1]);
      }
    }
    EXPECT_EQ(LongestCommonSubsequence(a, b), table[a.size()][b.size()]) << a.size() << " x " << b.size();
  }
}

TEST(MetricsTest, VocabularyGivesOneIdPerToken) {
  TokenVocabulary vocabulary;
  const TokenId casa = vocabulary.Id("casa");
  EXPECT_NE(vocabulary.Id("rede"), casa);
  EXPECT_EQ(vocabulary.Id(std::string("ca") + "sa"), casa);
}

}  // namespace
}  // namespace casewright
