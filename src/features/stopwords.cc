#include "features/stopwords.h"

#include <cstdint>

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
double DistributionWeight(std::span<const WordId> words, const WordTable& table) {
  double sum = 0.0;
  std::int64_t contributing = 0;
  for (WordId id : words) {
    double weight = table[id].Weight;
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
  std::uint64_t done = 0;
  for (frase& sentence : run.sentence_list) {
    sentence.DistributionWeight = DistributionWeight(run.Words(sentence), run.word_table);
    run.progress.Advance(++done);
  }
  run.progress.End();
}

}  // namespace casewright
