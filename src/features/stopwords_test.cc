#include "features/stopwords.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "testing/run_builder.h"

namespace casewright {
namespace {

using testing::TestRun;

TEST(SuppressStopwordsTest, ZeroesAndFlagsStoplistKeysOnly) {
  TestRun t(MemoryTables({}, {"de", "", "Casa"}));
  t.AddSentence({"casa", "de", "pedra", "", "de"});
  SuppressStopwords(t.run);

  // "Casa" is in the stoplist, but the key "casa" is not.
  EXPECT_EQ(t.run.word_table[t.Id("casa")].Weight, 1.0);
  EXPECT_EQ(t.run.word_table[t.Id("pedra")].Weight, 1.0);
  EXPECT_EQ(t.run.word_table[t.Id("de")].Weight, 0.0);
  EXPECT_FALSE(std::signbit(t.run.word_table[t.Id("de")].Weight));
  EXPECT_EQ(t.run.word_table[t.Id("")].Weight, 0.0);
  EXPECT_EQ(t.run.stopwords, (std::vector<bool>{false, true, false, true}));
}

TEST(SuppressStopwordsTest, EmptyWordTable) {
  TestRun t(MemoryTables({}, {"de"}));
  SuppressStopwords(t.run);
  EXPECT_TRUE(t.run.stopwords.empty());
}

TEST(DistributionWeightTest, AveragesTheCountsOfNonStopwords) {
  TestRun t(MemoryTables({}, {"de"}));
  t.AddSentence({"casa", "de", "casa", "azul"});
  t.AddSentence({"casa"});
  t.AddSentence({"verde", "verde"});
  SuppressStopwords(t.run);
  ComputeDistributionWeights(t.run);

  // casa occurs 3 times in the text: (3 + 3 + 1) / 3, the stopword left out
  // of both the sum and the divisor.
  EXPECT_EQ(t.run.sentence_list[0].DistributionWeight, 7.0 / 3.0);
  EXPECT_EQ(t.run.sentence_list[1].DistributionWeight, 3.0);
  EXPECT_EQ(t.run.sentence_list[2].DistributionWeight, 2.0);
}

TEST(DistributionWeightTest, SentenceWithoutContributingWordGetsZero) {
  TestRun t(MemoryTables({}, {"de", "a"}));
  t.AddSentence({"de", "a", "de"});
  t.AddSentence({});
  SuppressStopwords(t.run);
  ComputeDistributionWeights(t.run);

  EXPECT_EQ(t.run.sentence_list[0].DistributionWeight, 0.0);
  EXPECT_EQ(t.run.sentence_list[1].DistributionWeight, 0.0);
}

TEST(DistributionWeightTest, EmptyKeyCountsLikeAnyWord) {
  TestRun t;
  t.AddSentence({"", "mesa", ""});
  SuppressStopwords(t.run);
  ComputeDistributionWeights(t.run);
  EXPECT_EQ(t.run.sentence_list[0].DistributionWeight, 5.0 / 3.0);
}

}  // namespace
}  // namespace casewright
