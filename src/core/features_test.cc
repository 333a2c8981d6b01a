#include "core/features.h"

#include <gtest/gtest.h>

namespace casewright {
namespace {

TEST(FeatureBits, EightDigitsUnlessAFeatureBeyondTheDefaultIsTicked) {
  EXPECT_EQ(FeatureBits(FeatureSet::Default()), "11111111");
  EXPECT_EQ(FeatureBits(FeatureSet::None()), "00000000");
  FeatureSet some = FeatureSet::None();
  some.Set(Feature::kSentenceSize);
  some.Set(Feature::kCentrality);
  EXPECT_EQ(FeatureBits(some), "1000000000000001");
  EXPECT_EQ(FeatureBits(FeatureSet::All()), std::string(16, '1'));
  for (FeatureSet set : {FeatureSet::Default(), some, FeatureSet::All()}) EXPECT_EQ(FeatureSetOfBits(FeatureBits(set)), set);
  EXPECT_EQ(FeatureSetOfBits("000000000"), std::nullopt);
  EXPECT_EQ(FeatureSetOfBits("1111111x"), std::nullopt);
}

}  // namespace
}  // namespace casewright
