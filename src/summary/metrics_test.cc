#include "summary/metrics.h"
#include "summary/summary_figures.h"

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

TEST(MetricsTest, SequenceFiguresDivideByEachSidesOwnLength) {
  // "the cat sat on the mat" against "the cat": ROUGE-1 and the LCS match 2
  // of the reference's 2 tokens and of the summary's 6, ROUGE-2 1 of its 1
  // bigram and of the summary's 5.  SU4: the reference's 1 skip-bigram and
  // 2 unigrams match; the summary has 5+4+3+2+1 = 15 skip-bigrams and 6
  // unigrams.
  const SequenceFigures figures = RougeReference(std::vector<TokenId>{1, 2}).Compare(kTheCatSatOnTheMat);
  ExpectScores(figures.rouge1, 2.0 / 6, 1, 0.5);
  ExpectScores(figures.rouge2, 1.0 / 5, 1, 2.0 / 6);
  ExpectScores(figures.rougeLseq, 2.0 / 6, 1, 0.5);
  ExpectScores(figures.rougeSU4, 3.0 / 21, 1, 2 * (3.0 / 21) / (1 + 3.0 / 21));
  // "the gunman kill police" against "police kill the gunman": an LCS of 2.
  EXPECT_EQ(LongestCommonSubsequence(std::vector<TokenId>{3, 4, 2, 1}, std::vector<TokenId>{1, 2, 3, 4}), 2u);
}

TEST(MetricsTest, SkipBigramsReachFiveTokensOnAndNoFurther) {
  // "a c b" against "a b c": skip-bigrams (a,c) and (a,b) of 3 match, and
  // the 3 unigrams: 5 of 6 each side.
  ExpectScores(RougeReference(std::vector<TokenId>{1, 2, 3}).Compare(std::vector<TokenId>{1, 3, 2}).rougeSU4,
               5.0 / 6, 5.0 / 6, 5.0 / 6);
  // "a b" against a reference with a and b five positions apart: (a,b)
  // counts; the reference has 5+4+3+2+1 skip-bigrams and 6 unigrams.
  const std::vector<TokenId> summary = {1, 2};
  ExpectScores(RougeReference(std::vector<TokenId>{1, 7, 7, 7, 7, 2}).Compare(summary).rougeSU4, 1, 3.0 / 21,
               2 * (3.0 / 21) / (1 + 3.0 / 21));
  // Six apart, it does not: only the unigrams match, of 20 + 7.
  const Scores beyond = RougeReference(std::vector<TokenId>{1, 7, 7, 7, 7, 7, 2}).Compare(summary).rougeSU4;
  EXPECT_NEAR(beyond.precision, 2.0 / 3, 1e-12);
  EXPECT_NEAR(beyond.recall, 2.0 / 27, 1e-12);
  // Sentences looked up one by one give the same pairs, across sentences of
  // fewer than five tokens too.
  const RougeReference reference(std::vector<TokenId>{1, 2, 3, 4, 5, 6, 1, 3});
  const std::vector<std::uint32_t> a = reference.Distinct(std::vector<TokenId>{1}),
                                   b = reference.Distinct(std::vector<TokenId>{3, 9}),
                                   c = reference.Distinct(std::vector<TokenId>{4, 5, 6, 2, 1, 3, 5});
  std::vector<std::uint32_t> all = a, within = reference.SkipBigramIds(a);
  for (const auto* sentence : {&b, &c}) {
    all.insert(all.end(), sentence->begin(), sentence->end());
    const std::vector<std::uint32_t> ids = reference.SkipBigramIds(*sentence);
    within.insert(within.end(), ids.begin(), ids.end());
  }
  const Scores joined = reference.CompareSentences(all, {1, 3}, within).rougeSU4;
  const Scores whole = reference.CompareDistinct(all).rougeSU4;
  ExpectScores(joined, whole.precision, whole.recall, whole.f1);
}

TEST(MetricsTest, SummaryLevelRougeLTakesTheUnionOfEachReferenceSentencesLcs) {
  // Lin's example: r = w1 w2 w3 w4 w5, c1 = w1 w2 w6 w7 w8, c2 = w1 w3 w8
  // w9 w5.  LCS(r, c1) = w1 w2, LCS(r, c2) = w1 w3 w5; the union w1 w2 w3
  // w5 gives 4 hits: R 4/5, P 4/10.
  ExpectScores(SummaryLevelRougeL({{1, 2, 3, 4, 5}}, {{1, 2, 6, 7, 8}, {1, 3, 8, 9, 5}}), 0.4, 0.8, 2 * 0.32 / 1.2);
  // Each union token is a hit only while both sides have it left: "a b" and
  // "a c" against the summary "a" give the union {a} twice, but the summary
  // holds one a.  R 1/4, P 1/1.
  ExpectScores(SummaryLevelRougeL({{1, 2}, {1, 3}}, {{1}}), 1, 0.25, 0.4);
  // Of the LCSs "a" and "b" of "a b" and "b a", reading back from the end
  // (b against a: no match, and a step along "b a" would keep no longer an
  // LCS) steps along the reference and takes "a".  Against "b a b" the ends
  // match: "a b", both positions.
  const SentenceTokens a_b = {{1, 2}};
  ExpectScores(SummaryLevelRougeL(a_b, {{2, 1}}), 0.5, 0.5, 0.5);
  ExpectScores(SummaryLevelRougeL(a_b, {{2, 1, 2}}), 2.0 / 3, 1, 0.8);
  ExpectScores(SummaryLevelRougeL({{1}}, {}), 0, 0, 0);
}

TEST(MetricsTest, SummaryLevelRougeLOfManySummariesIsEachOnItsOwn) {
  // The shared comparisons give each summary the figures it gets alone, with
  // sentences longer than a word of bits and a very long one, which is read
  // back a block of rows at a time.
  std::mt19937 random(5);
  SentenceTokens text(12);
  for (std::size_t s = 0; s < text.size(); ++s) {
    text[s].resize(s == 3 ? 300 : s == 7 ? 70000 : 1 + random() % 90);
    for (TokenId& t : text[s]) t = random() % 9;
  }
  const SentenceTokens reference = {text[1], text[3], {1, 2, 3}};
  const std::vector<std::vector<std::size_t>> summaries = {{0, 2, 3}, {7}, {1, 3, 5, 8}, {}};
  const std::vector<Scores> together = SummaryLevelRougeL(reference, text, summaries);
  for (std::size_t d = 0; d < summaries.size(); ++d) {
    SentenceTokens alone;
    for (std::size_t s : summaries[d]) alone.push_back(text[s]);
    const Scores expected = SummaryLevelRougeL(reference, alone);
    ExpectScores(together[d], expected.precision, expected.recall, expected.f1);
  }
}

// The bit-parallel LCS against the textbook table, on sequences longer than
// one word of bits so that carries and borrows cross words.
TEST(MetricsTest, LongestCommonSubsequenceAgreesWithTheTable) {
  std::mt19937 random(3);
  for (int round = 0; round < 30; ++round) {
    std::vector<TokenId> a(1 + random() % 900), b(1 + random() % 900);
    // A few tokens in most words of 64 (a row of bits each) and many rare
    // ones (visited word by word where they stand).
    const auto token = [&random] {
      return static_cast<TokenId>(random() % 3 == 0 ? 10 + random() % 300 : random() % 4);
    };
    for (TokenId& t : a) t = token();
    for (TokenId& t : b) t = token();
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

// The random baseline draws 100 times up to 1,000 sentences, then fewer, but
// never fewer than 10 nor more than asked.
TEST(MetricsTest, RandomDrawsShrinkOnLongTextsWithinTheirBounds) {
  EXPECT_EQ(RandomDrawsFor(0, 100), 100);
  EXPECT_EQ(RandomDrawsFor(1000, 100), 100);
  EXPECT_EQ(RandomDrawsFor(1011, 100), 99);
  EXPECT_EQ(RandomDrawsFor(9091, 100), 11);
  EXPECT_EQ(RandomDrawsFor(16000, 100), 10);
  EXPECT_EQ(RandomDrawsFor(16000, 3), 3);
}

}  // namespace
}  // namespace casewright
