// The raw value of a feature of a sentence: the number behind its code, as
// `--raw` writes it for features 9 to 16 and feature:N ranks by it.
//
// The numbers are the computed ones (size in words, the weights, the
// similarities, the TextRank score, the position (k - 1) / n); a flag is 1
// or 0; a location is 3 for begin, 2 for middle and 1 for end, so that the
// beginning ranks first (0 when it was not computed).
#ifndef CASEWRIGHT_CORE_FEATURE_VALUES_H_
#define CASEWRIGHT_CORE_FEATURE_VALUES_H_

#include "core/features.h"
#include "core/records.h"

namespace casewright {

// The raw value of `feature` of `sentence`; 0 for a feature whose stage has
// not run.
double RawValue(const frase& sentence, Feature feature);

// Whether the raw value of `feature` is a measure (a count, a weight, a
// similarity, a position or a score) rather than a label or a flag.
bool IsMeasure(Feature feature);

}  // namespace casewright

#endif  // CASEWRIGHT_CORE_FEATURE_VALUES_H_
