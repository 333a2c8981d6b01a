#include "features/keywords.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testing/run_builder.h"

namespace casewright {
namespace {

using testing::ListedKeys;
using testing::SentenceFlags;
using testing::TestRun;

// Fills the WordTable with w0, w1, ... of the given weights, one sentence
// per word.
void SetWeights(TestRun& t, const std::vector<double>& weights) {
  for (std::size_t i = 0; i < weights.size(); ++i) {
    t.AddSentence({"w" + std::to_string(i)});
    t.run.word_table[static_cast<WordId>(i)].Weight = weights[i];
  }
}

TEST(KeywordsTest, TiesGoToTheEarliestEntry) {
  {
    TestRun t;
    SetWeights(t, {5, 3, 5});
    MarkKeywords(t.run);
    EXPECT_EQ(ListedKeys(t.run, t.run.keyword_list), (std::vector<std::string>{"w0", "w2"}));
    EXPECT_EQ(SentenceFlags(t.run, &frase::HasKeyword), (std::vector<bool>{true, false, true}));
  }
  {
    TestRun t;
    SetWeights(t, {2, 7, 7, 7});
    MarkKeywords(t.run);
    EXPECT_EQ(ListedKeys(t.run, t.run.keyword_list), (std::vector<std::string>{"w1", "w2"}));
    EXPECT_EQ(SentenceFlags(t.run, &frase::HasKeyword),
              (std::vector<bool>{false, true, true, false}));
  }
}

TEST(KeywordsTest, FewerThanTwoPositiveWeightsFallBackToTheFirstEntry) {
  {
    SCOPED_TRACE("one positive entry, not the first");
    TestRun t;
    SetWeights(t, {0, 0, 4, 0});
    MarkKeywords(t.run);
    EXPECT_EQ(ListedKeys(t.run, t.run.keyword_list), (std::vector<std::string>{"w2", "w0"}));
    EXPECT_EQ(SentenceFlags(t.run, &frase::HasKeyword),
              (std::vector<bool>{true, false, true, false}));
  }
  {
    SCOPED_TRACE("the first entry is the only positive one");
    TestRun t;
    SetWeights(t, {3, 0});
    MarkKeywords(t.run);
    EXPECT_EQ(ListedKeys(t.run, t.run.keyword_list), (std::vector<std::string>{"w0", "w0"}));
  }
  {
    SCOPED_TRACE("all zero");
    TestRun t;
    SetWeights(t, {0, 0, 0});
    MarkKeywords(t.run);
    EXPECT_EQ(ListedKeys(t.run, t.run.keyword_list), (std::vector<std::string>{"w0", "w0"}));
    EXPECT_EQ(SentenceFlags(t.run, &frase::HasKeyword), (std::vector<bool>{true, false, false}));
  }
  {
    SCOPED_TRACE("one entry");
    TestRun t;
    SetWeights(t, {2});
    MarkKeywords(t.run);
    EXPECT_EQ(ListedKeys(t.run, t.run.keyword_list), (std::vector<std::string>{"w0", "w0"}));
  }
}

TEST(KeywordsTest, ChosenWeightsBecomeZero) {
  TestRun t;
  SetWeights(t, {1, 4, 2, 3});
  MarkKeywords(t.run);
  EXPECT_EQ(ListedKeys(t.run, t.run.keyword_list), (std::vector<std::string>{"w1", "w3"}));
  std::vector<double> weights;
  for (const palavra& word : t.run.word_table) weights.push_back(word.Weight);
  EXPECT_EQ(weights, (std::vector<double>{1, 0, 2, 0}));
}

TEST(KeywordsTest, SentenceHoldingAKeywordAnywhereIsMarked) {
  TestRun t;
  t.AddSentence({"", "casa", "", "pedra"});
  t.AddSentence({"pedra", "casa", "mar"});
  t.AddSentence({"mar"});
  t.AddSentence({});
  MarkKeywords(t.run);
  // The empty key occurs twice and wins; casa and pedra tie, casa first.
  EXPECT_EQ(ListedKeys(t.run, t.run.keyword_list), (std::vector<std::string>{"", "casa"}));
  EXPECT_EQ(SentenceFlags(t.run, &frase::HasKeyword),
            (std::vector<bool>{true, true, false, false}));
}

TEST(KeywordsTest, EmptyWordTable) {
  TestRun t;
  t.AddSentence({});
  MarkKeywords(t.run);
  EXPECT_TRUE(t.run.keyword_list.empty());
  EXPECT_FALSE(t.run.sentence_list[0].HasKeyword);
}

}  // namespace
}  // namespace casewright
