#include "features/stopwords.h"

#include <cstdint>
#include <vector>

namespace casewright {

void SuppressStopwords(Run& run) {
  WordTable& table = run.word_table;
  run.stopwords.assign(table.size(), false);
  run.progress.Begin(RunStage::kStopwords, table.size());
  for (WordId id = 0; id < table.size(); ++id) {
    if (run.tables.IsStopword(table[id].Word)) {
      table[id].Weight = 0.0;
      run.stopwords[id] = true;
    }
    run.progress.Advance(id + 1);
  }
  run.progress.End();
}

namespace {

// Average of the non-zero word weights of `sentence`; 0.0 when none is.
double DistributionWeight(std::span<const WordId> words, const std::vector<double>& weights) {
  double sum = 0.0;
  std::int64_t contributing = 0;
  for (WordId id : words) {
    double weight = weights[id];
    if (weight != 0.0) {
      sum += weight;
      ++contributing;
    }
  }
  return contributing == 0 ? 0.0 : sum / static_cast<double>(contributing);
}

}  // namespace

void ComputeDistributionWeights(Run& run) {
  run.progress.Begin(RunStage::kDistribution, run.sentence_list.size());
  // The weights side by side, a fifth of the table's size, so that the
  // look-up of every word of the text stays in the processor's caches.
  std::vector<double> weights;
  weights.reserve(run.word_table.size());
  for (const palavra& word : run.word_table) weights.push_back(word.Weight);
  std::uint64_t done = 0;
  for (frase& sentence : run.sentence_list) {
    sentence.DistributionWeight = DistributionWeight(run.Words(sentence), weights);
    run.progress.Advance(++done);
  }
  run.progress.End();
}

}  // namespace casewright
