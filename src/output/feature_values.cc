#include "output/feature_values.h"

#include <charconv>
#include <optional>

namespace casewright {
namespace {

// The number a feature's code is made from, when it is more than a label
// or a flag.
std::optional<double> MeasureOf(const frase& sentence, Feature feature) {
  switch (feature) {
    case Feature::kSentenceSize:
      return sentence.WordCount;
    case Feature::kDistributionWeight:
      return sentence.DistributionWeight;
    case Feature::kTfIsf:
      return sentence.TfIsf;
    case Feature::kTitleSimilarity:
      return sentence.TitleSimilarity;
    case Feature::kCentroidSimilarity:
      return sentence.CentroidSimilarity;
    case Feature::kCohesion:
      return sentence.Cohesion;
    case Feature::kPosition:
      return sentence.Position;
    case Feature::kCentrality:
      return sentence.Centrality;
    default:
      return std::nullopt;
  }
}

// `value` as ValueText writes it, read back.
double AsWritten(double value) {
  const std::string text = ValueText(value);
  double written = value;
  std::from_chars(text.data(), text.data() + text.size(), written);
  return written;
}

}  // namespace

void AppendTickedValues(const frase& sentence, const FeatureCodes& codes, FeatureSet features,
                        std::vector<double>& out) {
  for (const FeatureInfo& info : kFeatures) {
    if (!features.Has(info.feature)) continue;
    const std::optional<double> measure = MeasureOf(sentence, info.feature);
    out.push_back(measure ? AsWritten(*measure) : codes[static_cast<int>(info.feature)] - '0');
  }
}

std::string ValueText(double value) {
  char digits[32];
  const std::to_chars_result result = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::general, 6);
  return std::string(digits, result.ptr);
}

}  // namespace casewright
