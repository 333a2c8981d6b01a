#include "summary/selection.h"

#include <cmath>

#include <gtest/gtest.h>

namespace casewright {
namespace {

TEST(SelectionTest, SentencesAtRateRoundsHalvesUpAndTakesAtLeastOne) {
  struct Case {
    double rate;
    std::size_t sentences;
    std::size_t expected;
  };
  for (const Case& c : {Case{0.2, 10, 2}, Case{0.25, 10, 3}, Case{0.15, 10, 2}, Case{0.14, 10, 1},
                        Case{0.3, 5, 2}, Case{0.01, 10, 1}, Case{1.0, 7, 7}, Case{0.5, 1, 1}}) {
    EXPECT_EQ(SentencesAtRate(c.rate, c.sentences), c.expected) << c.rate << " of " << c.sentences;
  }
}

TEST(SelectionTest, ValidRatesAreAboveZeroUpToOne) {
  EXPECT_TRUE(IsValidRate(1.0));
  EXPECT_TRUE(IsValidRate(1e-9));
  EXPECT_FALSE(IsValidRate(0.0));
  EXPECT_FALSE(IsValidRate(1.0000001));
  EXPECT_FALSE(IsValidRate(-0.5));
  EXPECT_FALSE(IsValidRate(std::nan("")));
}

TEST(SelectionTest, ChooseBestBreaksTiesForTheEarlierSentenceAndKeepsTextOrder) {
  const std::vector<double> scores = {0.5, 0.9, 0.5, 0.1, 0.9};
  EXPECT_EQ(ChooseBest(scores, 3), (std::vector<std::size_t>{0, 1, 4}));
  EXPECT_EQ(ChooseBest(scores, 1), (std::vector<std::size_t>{1}));
  EXPECT_EQ(ChooseBest(scores, 5), (std::vector<std::size_t>{0, 1, 2, 3, 4}));
  EXPECT_TRUE(ChooseBest(scores, 0).empty());
}

TEST(SelectionTest, RandomDrawsAreRepeatableDistinctAndInTextOrder) {
  RandomChoice first(7), second(7);
  for (int draw = 0; draw < 50; ++draw) {
    const std::vector<std::size_t> chosen = first.Draw(10, 4);
    EXPECT_EQ(chosen, second.Draw(10, 4));
    ASSERT_EQ(chosen.size(), 4u);
    for (std::size_t i = 1; i < chosen.size(); ++i) EXPECT_LT(chosen[i - 1], chosen[i]);
    EXPECT_LT(chosen.back(), 10u);
  }
  EXPECT_EQ(RandomChoice(1).Draw(3, 3), (std::vector<std::size_t>{0, 1, 2}));
  EXPECT_EQ(ChosenFlags({0, 2}, 4), (std::vector<bool>{true, false, true, false}));
}

}  // namespace
}  // namespace casewright
