#include "cli/feature_list.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace casewright {
namespace {

// The set with exactly the features whose numbers are listed.
FeatureSet Features(std::initializer_list<int> numbers) {
  FeatureSet set = FeatureSet::None();
  for (int n : numbers) set.Set(kFeatures[n - 1].feature);
  return set;
}

TEST(FeatureListTest, NumbersRangesAndNone) {
  EXPECT_EQ(ParseFeatureList("1-8"), FeatureSet::Default());
  EXPECT_EQ(ParseFeatureList("1-16"), FeatureSet::All());
  EXPECT_EQ(ParseFeatureList("1-8,9,13"), Features({1, 2, 3, 4, 5, 6, 7, 8, 9, 13}));
  EXPECT_EQ(ParseFeatureList("16"), Features({16}));
  EXPECT_EQ(ParseFeatureList("none"), FeatureSet::None());
  EXPECT_EQ(ParseFeatureList("1-3,8"), Features({1, 2, 3, 8}));
  EXPECT_EQ(ParseFeatureList("5"), Features({5}));
  EXPECT_EQ(ParseFeatureList("2,2,4-4"), Features({2, 4}));
}

TEST(FeatureListTest, RejectsAnythingElse) {
  for (const char* bad : {"", "0", "17", "1,", ",1", "1-", "3-1", "1-17", "a", "1 2", "09", "None"}) {
    EXPECT_THROW(ParseFeatureList(bad), std::invalid_argument) << bad;
  }
  try {
    ParseFeatureList("1-17");
    FAIL();
  } catch (const std::invalid_argument& error) {
    EXPECT_STREQ(error.what(), "\"1-17\" is not a feature number from 1 to 16 or a range of them");
  }
}

}  // namespace
}  // namespace casewright
