#include "experiment/crossval.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace casewright {
namespace {

TEST(CrossvalTest, FoldsDealEveryTextToOneFoldOfNearlyEqualSize) {
  for (std::size_t texts : {2, 7, 1000}) {
    for (std::size_t folds : {std::size_t{2}, std::size_t{3}, texts}) {
      const std::vector<std::size_t> fold = FoldOfEachText(texts, folds, 5);
      ASSERT_EQ(fold.size(), texts);
      std::vector<std::size_t> sizes(folds);
      for (std::size_t f : fold) ++sizes.at(f);
      const auto [smallest, largest] = std::minmax_element(sizes.begin(), sizes.end());
      EXPECT_GE(*smallest, texts / folds) << texts << " texts, " << folds << " folds";
      EXPECT_LE(*largest - *smallest, 1u) << texts << " texts, " << folds << " folds";
    }
  }
  EXPECT_EQ(FoldOfEachText(50, 10, 5), FoldOfEachText(50, 10, 5));
  EXPECT_NE(FoldOfEachText(50, 10, 5), FoldOfEachText(50, 10, 6));
}

}  // namespace
}  // namespace casewright
