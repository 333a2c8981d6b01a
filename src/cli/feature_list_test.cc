#include "cli/feature_list.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace casewright {
namespace {

using Features = std::array<bool, 8>;

TEST(FeatureListTest, NumbersRangesAndNone) {
  EXPECT_EQ(ParseFeatureList("1-8"), (Features{true, true, true, true, true, true, true, true}));
  EXPECT_EQ(ParseFeatureList("none"), Features{});
  EXPECT_EQ(ParseFeatureList("1-3,8"), (Features{true, true, true, false, false, false, false, true}));
  EXPECT_EQ(ParseFeatureList("5"), (Features{false, false, false, false, true}));
  EXPECT_EQ(ParseFeatureList("2,2,4-4"), (Features{false, true, false, true}));
}

TEST(FeatureListTest, RejectsAnythingElse) {
  for (const char* bad : {"", "0", "9", "1,", ",1", "1-", "3-1", "1-9", "a", "1 2", "12", "None"}) {
    EXPECT_THROW(ParseFeatureList(bad), std::invalid_argument) << bad;
  }
}

}  // namespace
}  // namespace casewright
