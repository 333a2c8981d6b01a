// Sentences as sparse vectors over their content words, and the cosines
// between them.
//
// A sentence's content words are its words whose key is neither empty (a
// word of punctuation only) nor in the stoplist: the tokens `--tokens keys`
// gives without the stopwords.  A sentence's count vector holds, for each of
// its distinct content keys, the number of times the key occurs in it; its
// TF-ISF vector holds tf(k, s) * log10(N / n(k)) instead, N being the
// number of sentences of the text and n(k) the number that hold k (the
// weight feature 7 sums, over content words only).
//
// A vector holds only the keys the sentence has, so a cosine costs the
// length of the shorter vector when the other is spread out densely
// (one slot per WordId), and a stage over every sentence stays linear in the
// words of the text.
#ifndef CASEWRIGHT_FEATURES_WORD_VECTORS_H_
#define CASEWRIGHT_FEATURES_WORD_VECTORS_H_

#include <vector>

#include "core/run.h"

namespace casewright {

struct WordWeight {
  WordId word;
  double weight;
};
// Each key at most once, in the order the sentence first has it.
using WordVector = std::vector<WordWeight>;

// One count vector per sentence of the run, in order.
// REQUIRES: SuppressStopwords has run.
std::vector<WordVector> CountVectors(const Run& run);

// The same vectors with each count multiplied by its key's log10(N / n(k)).
std::vector<WordVector> TfIsfVectors(const Run& run);

// The Euclidean length of `v`.
double Norm(const WordVector& v);

// A vector spread out over every WordId of a run, zero where it has no key.
using DenseVector = std::vector<double>;

// Adds `scale` times `v` to `to`.
// REQUIRES: `to` covers every key of `v`.
void AddScaled(DenseVector& to, const WordVector& v, double scale);

// The dot product of `v` and `dense`.
// REQUIRES: `dense` covers every key of `v`.
double Dot(const WordVector& v, const DenseVector& dense);

// The cosine of `v` and `dense`, whose lengths are given; 0 when either
// length is 0.
double Cosine(const WordVector& v, double v_norm, const DenseVector& dense, double dense_norm);

}  // namespace casewright

#endif  // CASEWRIGHT_FEATURES_WORD_VECTORS_H_
