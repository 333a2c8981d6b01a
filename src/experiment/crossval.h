// Cross-validation of the learner, grouped by text: the texts of a corpus
// (never the sentences of one text, which share its word statistics) are
// split into K folds; for each fold, a model trained on the other K-1
// summarises each of its texts at a compression rate, and the summary is
// scored against the text's reference extract (its sentences of class 1),
// beside the lead and random baselines of the same size.  The model's rows
// also give how well its probabilities rank the reference's sentences
// (ranking_figures.h).
//
// Repeated, the whole is done once per draw of folds (a repeat); the lead
// and random baselines do not depend on the folds and are the same in
// every repeat.  The mean rows average every text row of a system, and
// give for each figure the standard deviation across repeats of the
// per-repeat means (the sample deviation, divided by R - 1; absent with
// one repeat).
#ifndef CASEWRIGHT_EXPERIMENT_CROSSVAL_H_
#define CASEWRIGHT_EXPERIMENT_CROSSVAL_H_

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "experiment/corpus_cases.h"
#include "experiment/fold_file.h"
#include "learner/sentence_model.h"
#include "summary/evaluation_table.h"
#include "summary/selection.h"

namespace casewright {

// The fold of each of `texts` texts, from 0 to folds - 1: the texts are put
// in an order drawn from `seed` and dealt out to the folds in turn, so the
// folds differ in size by one text at most.  The draw depends on the seed
// alone, the same on every machine.
// REQUIRES: 1 <= folds <= texts.
std::vector<std::size_t> FoldOfEachText(std::size_t texts, std::size_t folds, std::uint64_t seed);

// `repeats` draws of folds: repeat r (from 1) drawn from RepeatSeed(seed,
// r), so that the first repeat is the draw of the seed itself.
// REQUIRES: as FoldOfEachText; repeats >= 1.
FoldAssignment DrawFolds(std::size_t texts, std::size_t folds, std::size_t repeats, std::uint64_t seed);
std::uint64_t RepeatSeed(std::uint64_t seed, std::size_t repeat);

struct CrossvalSettings {
  FeatureSet features = FeatureSet::Default();
  // What the model learns from; the corpus must have been computed with the
  // same (CorpusSettings::values).
  CaseValues values = CaseValues::kCodes;
  double rate = 0.2;
  std::uint64_t seed = kDefaultSeed;
  TrainingOptions training;
  int random_draws = 100;
  int bootstrap = 0;  // resamples for the mean rows' intervals (bootstrap.h); 0: none
  bool lead = true;
  bool random = true;
  // The other baselines: the methods of summary/methods/registry.h, by name.
  std::vector<std::string> methods;
  // Called after each fold's model has scored its texts, with the folds
  // done so far and the folds of every repeat together; none: not called.
  // It may throw (RunCancelled, core/progress.h) to stop between folds.
  std::function<void(std::size_t done, std::size_t total)> fold_done;
};

struct CrossvalOutcome {
  // Per repeat, per text with sentences in corpus order, the rows `model`,
  // `lead` and `random` (as settings ask) and one per method of
  // settings.methods (evaluation_table.h), each with its repeat; then a
  // mean row per system, with intervals when settings.bootstrap > 0.
  std::vector<EvaluationRow> rows;
  // scores[r][i]: the model's probability for each sentence of text i in
  // repeat r, from the model that held the text out.
  std::vector<std::vector<std::vector<double>>> scores;
};

// Cross-validates on `folds`, the texts named by `names` (one per text, as
// the manifest gives its path: the random baseline's seed is drawn from it,
// RandomBaselineSeed).  Throws RunError for a fold whose other texts hold
// no sentence to train on.
// REQUIRES: corpus.texts were computed with their tokens, each with a class
// for every sentence; names.size() == corpus.texts.size(); folds assigns
// every text in every repeat; IsValidRate(rate).
CrossvalOutcome CrossValidate(const CorpusCases& corpus, const std::vector<std::string>& names,
                              const FoldAssignment& folds, const CrossvalSettings& settings);

// The out-of-fold scores as a CSV score file (score_file.h) that `evaluate`
// reads: `text,repeat,sentence,score`, sentences from 1.
std::string OutOfFoldScoresCsv(const CrossvalOutcome& outcome, const std::vector<std::string>& names);

}  // namespace casewright

#endif  // CASEWRIGHT_EXPERIMENT_CROSSVAL_H_
