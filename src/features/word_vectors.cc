#include "features/word_vectors.h"

#include <cmath>
#include <cstdint>

namespace casewright {
namespace {

bool IsContentWord(const Run& run, WordId id) { return !run.stopwords[id] && !run.word_table[id].Word.empty(); }

// log10(N / n(k)) for every key, n(k) counting each sentence once.
std::vector<double> Rarities(const Run& run, const std::vector<WordVector>& counts) {
  std::vector<std::uint32_t> holding(run.word_table.size(), 0);
  for (const WordVector& v : counts) {
    for (const WordWeight& w : v) ++holding[w.word];
  }
  std::vector<double> rarity(holding.size(), 0.0);
  const double n = static_cast<double>(counts.size());
  for (std::size_t id = 0; id < holding.size(); ++id) {
    if (holding[id] != 0) rarity[id] = std::log10(n / holding[id]);
  }
  return rarity;
}

}  // namespace

std::vector<WordVector> CountVectors(const Run& run) {
  std::vector<WordVector> vectors;
  vectors.reserve(run.sentence_list.size());
  // Where each key stands in the current sentence's vector, plus one; 0
  // when it is not there yet.  Reset after each sentence.
  std::vector<std::uint32_t> slot(run.word_table.size(), 0);
  for (const frase& sentence : run.sentence_list) {
    WordVector& v = vectors.emplace_back();
    for (WordId id : run.Words(sentence)) {
      if (!IsContentWord(run, id)) continue;
      if (slot[id] == 0) {
        v.push_back({id, 0.0});
        slot[id] = static_cast<std::uint32_t>(v.size());
      }
      v[slot[id] - 1].weight += 1.0;
    }
    for (const WordWeight& w : v) slot[w.word] = 0;
  }
  return vectors;
}

std::vector<WordVector> TfIsfVectors(const Run& run) {
  std::vector<WordVector> vectors = CountVectors(run);
  const std::vector<double> rarity = Rarities(run, vectors);
  for (WordVector& v : vectors) {
    for (WordWeight& w : v) w.weight *= rarity[w.word];
  }
  return vectors;
}

double Norm(const WordVector& v) {
  double sum = 0.0;
  for (const WordWeight& w : v) sum += w.weight * w.weight;
  return std::sqrt(sum);
}

void AddScaled(DenseVector& to, const WordVector& v, double scale) {
  for (const WordWeight& w : v) to[w.word] += scale * w.weight;
}

double Dot(const WordVector& v, const DenseVector& dense) {
  double sum = 0.0;
  for (const WordWeight& w : v) sum += w.weight * dense[w.word];
  return sum;
}

double Cosine(const WordVector& v, double v_norm, const DenseVector& dense, double dense_norm) {
  if (v_norm == 0.0 || dense_norm == 0.0) return 0.0;
  return Dot(v, dense) / (v_norm * dense_norm);
}

}  // namespace casewright
