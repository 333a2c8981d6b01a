// Term frequency - inverse sentence frequency of a sentence.
//
// For every sentence s of a text of N sentences:
//
//   TfIsf(s) = (sum over the distinct keys k of s of tf(k, s) * log10(N / n(k)))
//              / T(s)
//
// where tf(k, s) is the number of occurrences of k in s, n(k) the number of
// sentences that hold k (s among them, so 1 <= n(k) <= N) and T(s) the number
// of word occurrences of s.  Every key is a term, stopwords and the empty key
// included; the WordTable weights play no part.
//
// The arithmetic is fixed so that results are reproducible to the bit: the
// quotient N / n(k) and its logarithm are taken in long double (extended
// precision on x86-64), multiplied by tf(k, s) there and rounded to double;
// the terms are added in double in the order in which their keys first occur
// in s, and the sum is divided by T(s) in double.  A sentence with no word
// (T(s) = 0) gets 0.0.
//
// Each key's n, and its logarithm, are computed once for the whole text, in
// one pass over the sentences, so the stage is linear in the number of words.
#ifndef CASEWRIGHT_FEATURES_TF_ISF_H_
#define CASEWRIGHT_FEATURES_TF_ISF_H_

#include "core/run.h"

namespace casewright {

// Sets the TfIsf of every sentence.
// REQUIRES: segmentation has run.
void ComputeTfIsf(Run& run);

}  // namespace casewright

#endif  // CASEWRIGHT_FEATURES_TF_ISF_H_
