#include "summary/methods/feature_value.h"

#include "core/feature_values.h"

namespace casewright {

RawFeatures RawFeaturesOf(const frase& sentence) {
  RawFeatures values{};
  for (const FeatureInfo& info : kFeatures) {
    values[static_cast<int>(info.feature)] = RawValue(sentence, info.feature);
  }
  return values;
}

FeatureSet FeatureValue::FeaturesRead() const {
  FeatureSet read = FeatureSet::None();
  read.Set(kFeatures[number_ - 1].feature);
  return read;
}

std::vector<double> FeatureValue::Scores(const MethodText& text) const {
  std::vector<double> scores;
  for (const RawFeatures& values : *text.features) scores.push_back(values[number_ - 1]);
  return scores;
}

}  // namespace casewright
