#include "experiment/crossval.h"

#include <algorithm>
#include <numeric>

#include "core/run_error.h"
#include "summary/bootstrap.h"
#include "summary/selection.h"
#include "summary/summary_figures.h"

namespace casewright {
namespace {

// SplitMix64's finaliser: a well-mixed 64-bit value from any input.
std::uint64_t Mix(std::uint64_t x) {
  x += 0x9E3779B97F4A7C15u;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9u;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBu;
  return x ^ (x >> 31);
}

std::vector<bool> ReferenceFlags(const TextCases& text) {
  std::vector<bool> flags;
  for (const std::string& c : text.classes) flags.push_back(c == "1");
  return flags;
}

// The rows of one held-out text summarised by `model`.
void AddTextRows(const TextCases& text, const std::string& name, const SentenceModel& model,
                 const CrossvalSettings& settings, RandomChoice& random, std::vector<EvaluationRow>& rows) {
  const std::size_t n = text.codes.size();
  const std::size_t count = SentencesAtRate(settings.rate, n);
  const Reference reference = ExtractReference(text.tokens, ReferenceFlags(text));
  const std::vector<std::size_t> chosen = ChooseBest(model.Probabilities(RowsOf(text, settings.features)), count);
  rows.push_back(RowOf(name, "model", n, count, reference, FiguresOf(text.tokens, chosen, reference)));
  rows.push_back(RowOf(name, "lead", n, count, reference, FiguresOf(text.tokens, ChooseLead(count), reference)));
  rows.push_back(RowOf(name, "random", n, count, reference,
                       MeanOfRandomDraws(text.tokens, count, reference, random, settings.random_draws)));
}

}  // namespace

std::vector<std::size_t> FoldOfEachText(std::size_t texts, std::size_t folds, std::uint64_t seed) {
  std::vector<std::uint64_t> keys(texts);
  for (std::size_t i = 0; i < texts; ++i) keys[i] = Mix(seed ^ Mix(i));
  std::vector<std::size_t> order(texts);
  std::iota(order.begin(), order.end(), 0);
  std::sort(order.begin(), order.end(),
            [&keys](std::size_t a, std::size_t b) { return keys[a] != keys[b] ? keys[a] < keys[b] : a < b; });
  std::vector<std::size_t> fold(texts);
  for (std::size_t position = 0; position < texts; ++position) fold[order[position]] = position % folds;
  return fold;
}

std::vector<EvaluationRow> CrossValidate(const CorpusCases& corpus, const std::vector<std::string>& names,
                                         const CrossvalSettings& settings) {
  const std::vector<std::size_t> fold_of = FoldOfEachText(corpus.texts.size(), settings.folds, settings.seed);
  std::vector<std::vector<EvaluationRow>> rows_of_text(corpus.texts.size());
  for (std::size_t fold = 0; fold < settings.folds; ++fold) {
    std::vector<std::size_t> training, held_out;
    for (std::size_t i = 0; i < corpus.texts.size(); ++i) (fold_of[i] == fold ? held_out : training).push_back(i);
    const TrainingSet set = TrainingSetOf(corpus, training, settings.features);
    // A model of no sentence scores every sentence alike, which would pass
    // the lead baseline off as the model's figures.
    if (set.labels.empty()) {
      throw RunError("Fold " + std::to_string(fold + 1) + " has no sentence with a class to train on: the texts "
                     "outside it are empty; use fewer folds or leave the empty texts out");
    }
    const SentenceModel model =
        SentenceModel::Train(settings.features, set.rows, set.labels, corpus.class_values, settings.training);
    for (std::size_t i : held_out) {
      if (corpus.texts[i].codes.empty()) continue;
      RandomChoice random(Mix(settings.seed ^ Mix(i)));
      AddTextRows(corpus.texts[i], names[i], model, settings, random, rows_of_text[i]);
    }
  }
  std::vector<EvaluationRow> rows;
  for (std::vector<EvaluationRow>& text_rows : rows_of_text) {
    rows.insert(rows.end(), text_rows.begin(), text_rows.end());
  }
  std::vector<EvaluationRow> means = MeanRows(rows);
  AddBootstrapIntervals(rows, means, settings.bootstrap, settings.seed);
  rows.insert(rows.end(), means.begin(), means.end());
  return rows;
}

}  // namespace casewright
