#include "pipeline/method_baselines.h"

#include <algorithm>

#include "pipeline/pipeline.h"
#include "summary/methods/registry.h"

namespace casewright {

MethodBaselines::MethodBaselines(const std::vector<std::string>& names) {
  for (const std::string& name : names) methods_.push_back(MakeMethod(name));
}

bool MethodBaselines::NeedsFeatures() const {
  return std::any_of(methods_.begin(), methods_.end(),
                     [](const auto& method) { return method->Needs() == MethodNeeds::kFeatures; });
}

FeatureSet MethodBaselines::FeaturesRead() const {
  FeatureSet read = FeatureSet::None();
  for (const auto& method : methods_) {
    for (const FeatureInfo& info : kFeatures) {
      if (method->FeaturesRead().Has(info.feature)) read.Set(info.feature);
    }
  }
  return read;
}

MethodBaselines::Inputs MethodBaselines::InputsOf(const Run& run, std::string_view text, SentenceBreaks breaks,
                                                  StopwordFlags stopwords) const {
  Inputs inputs;
  if (empty()) return inputs;
  inputs.stopwords = std::move(stopwords);
  if (NeedsFeatures()) inputs.features = RawFeaturesOfText(text, run.tables, breaks, FeaturesRead());
  return inputs;
}

std::vector<std::pair<std::string, std::vector<std::size_t>>> MethodBaselines::Choices(const MethodText& text,
                                                                                        std::size_t count) const {
  std::vector<std::pair<std::string, std::vector<std::size_t>>> choices;
  for (const auto& method : methods_) choices.emplace_back(method->Name(), method->Choose(text, count));
  return choices;
}

}  // namespace casewright
