// feature:N: each sentence scores the raw value of feature N (1 to 16, as
// core/features.h numbers them): e.g. feature:7 ranks by TF-ISF, higher
// first.
#ifndef CASEWRIGHT_SUMMARY_METHODS_FEATURE_VALUE_H_
#define CASEWRIGHT_SUMMARY_METHODS_FEATURE_VALUE_H_

#include "core/records.h"
#include "summary/methods/method.h"

namespace casewright {

// The raw values of `sentence`, once every feature stage has run on it.
RawFeatures RawFeaturesOf(const frase& sentence);

class FeatureValue : public SummaryMethod {
 public:
  // REQUIRES: 1 <= number <= kFeatureCount.
  explicit FeatureValue(int number) : number_(number) {}
  std::string Name() const override { return "feature:" + std::to_string(number_); }
  MethodNeeds Needs() const override { return MethodNeeds::kFeatures; }
  FeatureSet FeaturesRead() const override;
  std::vector<double> Scores(const MethodText& text) const override;

 private:
  int number_;
};

}  // namespace casewright

#endif  // CASEWRIGHT_SUMMARY_METHODS_FEATURE_VALUE_H_
