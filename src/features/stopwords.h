// Stopword suppression and the word-distribution weight of a sentence.
//
// SuppressStopwords runs in every run, right after segmentation: it gives
// every stopword of the WordTable the weight 0.0, so that no later reader of
// the word weights (the distribution weight below, the keyword choice) takes
// a stopword for a frequent word.  It also records, per WordId, whether the
// key is a stopword, so that the gist stage never asks the stoplist again.
//
// ComputeDistributionWeights gives each sentence the average, over its word
// occurrences whose WordTable weight is not 0.0, of that weight (the word's
// number of occurrences in the whole text):
//
//   DistributionWeight(s) = (sum of W(t) over occurrences t of s, W(t) != 0)
//                           / (number of those occurrences)
//
// The sum is taken in text order and rounded to double on each addition, so
// the result is the same bit for bit as adding the weights one by one.  A
// sentence with no contributing word (an empty sentence, or one of
// stopwords only) gets 0.0.
#ifndef CASEWRIGHT_FEATURES_STOPWORDS_H_
#define CASEWRIGHT_FEATURES_STOPWORDS_H_

#include "core/run.h"

namespace casewright {

// Sets the Weight of every WordTable entry whose key the stoplist holds to
// 0.0 and fills run.stopwords, one flag per WordId.  The stoplist is asked
// for the key (the canonical form), not for a surface form of the word.
// REQUIRES: segmentation has run.
void SuppressStopwords(Run& run);

// Sets the DistributionWeight of every sentence.
// REQUIRES: SuppressStopwords has run, and no stage has changed the
// WordTable weights since.
void ComputeDistributionWeights(Run& run);

}  // namespace casewright

#endif  // CASEWRIGHT_FEATURES_STOPWORDS_H_
