#include "output/feature_values.h"

#include <charconv>

#include "core/feature_values.h"

namespace casewright {
namespace {

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
    out.push_back(IsMeasure(info.feature) ? AsWritten(RawValue(sentence, info.feature))
                                          : codes[static_cast<int>(info.feature)] - '0');
  }
}

std::string ValueText(double value) {
  char digits[32];
  const std::to_chars_result result = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::general, 6);
  return std::string(digits, result.ptr);
}

}  // namespace casewright
