#include "core/features.h"

namespace casewright {

std::string FeatureBits(FeatureSet features) {
  const int count = features.HasAnyBeyondDefault() ? kFeatureCount : kDefaultFeatureCount;
  std::string bits;
  for (int k = 0; k < count; ++k) bits += features.Has(kFeatures[k].feature) ? '1' : '0';
  return bits;
}

std::optional<FeatureSet> FeatureSetOfBits(std::string_view bits) {
  if (bits.size() != kDefaultFeatureCount && bits.size() != kFeatureCount) return std::nullopt;
  if (bits.find_first_not_of("01") != std::string_view::npos) return std::nullopt;
  FeatureSet features = FeatureSet::None();
  for (std::size_t k = 0; k < bits.size(); ++k) features.Set(kFeatures[k].feature, bits[k] == '1');
  return features;
}

}  // namespace casewright
