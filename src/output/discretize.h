// The codes of a sentence's features.
//
// The numeric features (sentence size, distribution weight, TF-ISF, the
// three similarities, centrality) are discretised into four levels against
// thresholds drawn from their average and maximum over the text; the
// locations become 1 ("begin"), 2 ("middle") or 3 (anything else); the
// presence flags 1 or 0; the position is its fifth, 1 to 5.  Every code is
// one digit.
#ifndef CASEWRIGHT_OUTPUT_DISCRETIZE_H_
#define CASEWRIGHT_OUTPUT_DISCRETIZE_H_

#include <array>
#include <string>

#include "core/features.h"
#include "core/records.h"

namespace casewright {

struct FeatureThresholds {
  double Maximum = 0.0;  // the greatest value, never below 0.0
  double Average = 0.0;
  double Low = 0.0;      // Average / 2
  double High = 0.0;     // midway between Average and Maximum
};

// The thresholds of the feature `value` gives for each sentence.
// REQUIRES: !sentences.empty().
FeatureThresholds ComputeThresholds(const SentenceList& sentences, double (*value)(const frase&));

// Level 1 to 4 of `value`; a value equal to a threshold takes the lower level.
int LevelCode(double value, const FeatureThresholds& thresholds);

// The code digit of every feature of a sentence, indexed by Feature.
using FeatureCodes = std::array<char, kFeatureCount>;

// Appends to `out` the codes of the features `features` holds, in feature
// order: what a case holds before its class.
void AppendTickedCodes(const FeatureCodes& all, FeatureSet features, std::string& out);

// Codes the sentences of one text, whose thresholds it computes once.
class CaseCoder {
 public:
  // REQUIRES: !sentences.empty().
  explicit CaseCoder(const SentenceList& sentences);

  FeatureCodes CodesOf(const frase& sentence) const;

 private:
  FeatureThresholds size_;
  FeatureThresholds distribution_;
  FeatureThresholds tf_isf_;
  FeatureThresholds title_;
  FeatureThresholds centroid_;
  FeatureThresholds cohesion_;
  FeatureThresholds centrality_;
};

}  // namespace casewright

#endif  // CASEWRIGHT_OUTPUT_DISCRETIZE_H_
