// Similarity of a sentence to the first sentence, to the text's centroid and
// to the other sentences (features 9, 10 and 11), over the vectors of
// word_vectors.h:
//
//   TitleSimilarity(s)    = cos(count(s), count(s1)), s1 the text's first
//                           sentence, which gets 1 (0 when it has no content
//                           word, as every sentence then does);
//   CentroidSimilarity(s) = cos(tfisf(s), sum of tfisf(t) over every t);
//   Cohesion(s)           = sum over t != s of cos(tfisf(s), tfisf(t)).
//
// A cosine with a vector of length 0 is 0.  Cohesion is one dot product per
// sentence: with u(t) the unit vector of tfisf(t) (none for a vector of
// length 0), the sum of the cosines with every other sentence is
// u(s) . (sum of every u(t)) - 1, so the stage is linear in the words of the
// text rather than quadratic in its sentences.
#ifndef CASEWRIGHT_FEATURES_SIMILARITIES_H_
#define CASEWRIGHT_FEATURES_SIMILARITIES_H_

#include "core/run.h"

namespace casewright {

// Sets TitleSimilarity of every sentence.
// REQUIRES: SuppressStopwords has run.
void ComputeTitleSimilarities(Run& run);

// Sets CentroidSimilarity and Cohesion of every sentence.
// REQUIRES: SuppressStopwords has run.
void ComputeCentroidSimilarities(Run& run);

}  // namespace casewright

#endif  // CASEWRIGHT_FEATURES_SIMILARITIES_H_
