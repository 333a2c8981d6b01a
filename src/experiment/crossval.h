// Cross-validation of the learner, grouped by text: the texts of a corpus
// (never the sentences of one text, which share its word statistics) are
// split into K folds; for each fold, a model trained on the other K-1
// summarises each of its texts at a compression rate, and the summary is
// scored against the text's reference extract (its sentences of class 1),
// beside the lead and random baselines of the same size.
#ifndef CASEWRIGHT_EXPERIMENT_CROSSVAL_H_
#define CASEWRIGHT_EXPERIMENT_CROSSVAL_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "experiment/corpus_cases.h"
#include "learner/sentence_model.h"
#include "summary/evaluation_table.h"

namespace casewright {

// The fold of each of `texts` texts, from 0 to folds - 1: the texts are put
// in an order drawn from `seed` and dealt out to the folds in turn, so the
// folds differ in size by one text at most.  The draw depends on the seed
// alone, the same on every machine.
// REQUIRES: 1 <= folds <= texts.
std::vector<std::size_t> FoldOfEachText(std::size_t texts, std::size_t folds, std::uint64_t seed);

struct CrossvalSettings {
  FeatureSet features = FeatureSet::All();
  std::size_t folds = 10;
  double rate = 0.2;
  std::uint64_t seed = 0;
  TrainingOptions training;
  int random_draws = 100;
  int bootstrap = 0;  // resamples for the mean rows' intervals; 0: none
};

// For each text with sentences, in corpus order, the rows `model`, `lead`
// and `random` (evaluation_table.h), named by `names` (one per text), then
// one mean row per system, with intervals when settings.bootstrap > 0.
// REQUIRES: corpus.texts were computed with their tokens, each with a class
// for every sentence; names.size() == corpus.texts.size(); 1 <= folds <=
// the number of texts; IsValidRate(rate).
std::vector<EvaluationRow> CrossValidate(const CorpusCases& corpus, const std::vector<std::string>& names,
                                         const CrossvalSettings& settings);

}  // namespace casewright

#endif  // CASEWRIGHT_EXPERIMENT_CROSSVAL_H_
