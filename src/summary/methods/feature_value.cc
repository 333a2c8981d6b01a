#include "summary/methods/feature_value.h"

namespace casewright {
namespace {

// A location as a number that ranks the beginning first.
double LocationValue(Location place) {
  switch (place) {
    case Location::kBegin: return 3;
    case Location::kMiddle: return 2;
    case Location::kEnd: return 1;
    default: return 0;
  }
}

}  // namespace

RawFeatures RawFeaturesOf(const frase& sentence) {
  RawFeatures values{};
  const auto set = [&values](Feature feature, double value) { values[static_cast<int>(feature)] = value; };
  set(Feature::kSentenceSize, sentence.WordCount);
  set(Feature::kTextLocation, LocationValue(sentence.TextPlace));
  set(Feature::kParagraphLocation, LocationValue(sentence.ParagraphPlace));
  set(Feature::kKeywords, sentence.HasKeyword);
  set(Feature::kGistWords, sentence.HasGistWord);
  set(Feature::kDistributionWeight, sentence.DistributionWeight);
  set(Feature::kTfIsf, sentence.TfIsf);
  set(Feature::kCuePhrases, sentence.HasCuePhrase);
  return values;
}

std::vector<double> FeatureValue::Scores(const MethodText& text) const {
  std::vector<double> scores;
  for (const RawFeatures& values : *text.features) scores.push_back(values[number_ - 1]);
  return scores;
}

}  // namespace casewright
