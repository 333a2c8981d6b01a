// The raw values a case holds instead of codes (`--values raw`).
//
// A feature's raw value is the number its code is made from, as `--raw`
// writes it: the word count (feature 1), the distribution weight (6), the
// TF-ISF (7).  A feature whose raw value is a label or a flag gives its code
// as a number: the locations 1 begin, 2 middle, 3 end; the presence of
// keywords, gist words and cue phrases 1 or 0.
//
// A value is written with up to 6 significant digits, in the shortest of
// the fixed and scientific forms ("12", "0.384615", "1.5e-07"), whatever
// the locale; a learner given the values in memory gets them as written, so
// that a model trained by this program and one trained on its file agree.
#ifndef CASEWRIGHT_OUTPUT_FEATURE_VALUES_H_
#define CASEWRIGHT_OUTPUT_FEATURE_VALUES_H_

#include <string>
#include <vector>

#include "core/features.h"
#include "core/records.h"
#include "output/discretize.h"

namespace casewright {

// Appends to `out` the raw value of each feature `features` holds, in
// feature order, as written (ValueText read back).  `codes` are the
// sentence's codes (CaseCoder::CodesOf).
void AppendTickedValues(const frase& sentence, const FeatureCodes& codes, FeatureSet features,
                        std::vector<double>& out);

// `value` with up to 6 significant digits.
std::string ValueText(double value);

}  // namespace casewright

#endif  // CASEWRIGHT_OUTPUT_FEATURE_VALUES_H_
