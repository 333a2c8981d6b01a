#include "features/similarities.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "features/word_vectors.h"

namespace casewright {

void ComputeTitleSimilarities(Run& run) {
  if (run.sentence_list.empty()) return;
  const std::vector<WordVector> counts = CountVectors(run);
  DenseVector title(run.word_table.size(), 0.0);
  AddScaled(title, counts[0], 1.0);
  const double title_norm = Norm(counts[0]);
  for (std::size_t i = 0; i < counts.size(); ++i) {
    run.sentence_list[i].TitleSimilarity = Cosine(counts[i], Norm(counts[i]), title, title_norm);
  }
  // Its own cosine, exactly rather than as the rounding leaves it.
  if (title_norm != 0.0) run.sentence_list[0].TitleSimilarity = 1.0;
}

void ComputeCentroidSimilarities(Run& run) {
  const std::vector<WordVector> vectors = TfIsfVectors(run);
  std::vector<double> norms;
  norms.reserve(vectors.size());
  DenseVector centroid(run.word_table.size(), 0.0);
  DenseVector unit_sum(run.word_table.size(), 0.0);
  for (const WordVector& v : vectors) {
    norms.push_back(Norm(v));
    AddScaled(centroid, v, 1.0);
    if (norms.back() != 0.0) AddScaled(unit_sum, v, 1.0 / norms.back());
  }
  double centroid_squares = 0.0;
  for (double weight : centroid) centroid_squares += weight * weight;
  const double centroid_norm = std::sqrt(centroid_squares);
  for (std::size_t i = 0; i < vectors.size(); ++i) {
    frase& sentence = run.sentence_list[i];
    sentence.CentroidSimilarity = Cosine(vectors[i], norms[i], centroid, centroid_norm);
    // Its cosine with itself is 1; rounding may leave a sentence that shares
    // nothing a hair below 0.
    sentence.Cohesion = norms[i] == 0.0 ? 0.0 : std::max(0.0, Dot(vectors[i], unit_sum) / norms[i] - 1.0);
  }
}

}  // namespace casewright
