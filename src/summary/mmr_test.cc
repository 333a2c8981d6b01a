#include "summary/mmr.h"

#include <gtest/gtest.h>

namespace casewright {
namespace {

TEST(MmrTest, TradesScoreForNovelty) {
  // S1 repeats S0; S2 is new but scores lower.
  const SentenceTokens tokens = {{1, 2, 3}, {1, 2, 3}, {4, 5}, {}};
  const std::vector<double> scores = {0.9, 0.8, 0.5, 0.1};
  EXPECT_EQ(ChooseByMmr(scores, tokens, 2, 1.0), (std::vector<std::size_t>{0, 1}));
  EXPECT_EQ(ChooseByMmr(scores, tokens, 2, 0.7), (std::vector<std::size_t>{0, 2}));
  // At lambda 0, likeness alone: after S0, S2 and S3 are alike at 0, the
  // earlier goes first.
  EXPECT_EQ(ChooseByMmr(scores, tokens, 2, 0.0), (std::vector<std::size_t>{0, 2}));
  EXPECT_TRUE(ChooseByMmr(scores, tokens, 0, 0.7).empty());
  EXPECT_EQ(ChooseByMmr({2, 2}, {{1}, {1}}, 2, 0.7), (std::vector<std::size_t>{0, 1}));
}

}  // namespace
}  // namespace casewright
