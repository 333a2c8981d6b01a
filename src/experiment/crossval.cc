#include "experiment/crossval.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>

#include "core/run_error.h"
#include "pipeline/method_baselines.h"
#include "summary/bootstrap.h"
#include "summary/csv_fields.h"
#include "summary/ranking_figures.h"
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

// What a held-out text needs to be scored, whatever its fold.
struct HeldOutText {
  std::size_t count = 0;  // sentences a summary takes
  Reference reference;
  std::vector<bool> flags;
};

HeldOutText HeldOut(const TextCases& text, double rate) {
  std::vector<bool> flags = ReferenceFlags(text);
  Reference reference = ExtractReference(text.tokens, flags);
  const std::size_t count = text.codes.empty() ? 0 : SentencesAtRate(rate, text.codes.size());
  return {count, std::move(reference), std::move(flags)};
}

// The baselines' rows of each text with sentences (lead, random and the
// methods, as settings ask), which do not depend on the folds.
std::vector<std::vector<EvaluationRow>> BaselineRows(const CorpusCases& corpus, const std::vector<std::string>& names,
                                                     const std::vector<HeldOutText>& held,
                                                     const CrossvalSettings& settings) {
  std::vector<std::vector<EvaluationRow>> rows(corpus.texts.size());
  const MethodBaselines methods(settings.methods);
  for (std::size_t i = 0; i < corpus.texts.size(); ++i) {
    const TextCases& text = corpus.texts[i];
    const std::size_t n = text.codes.size();
    if (n == 0) continue;
    const HeldOutText& h = held[i];
    if (settings.lead) {
      rows[i].push_back(RowOf(names[i], "lead", n, h.count, h.reference,
                              FiguresOf(text.tokens, ChooseLead(h.count), h.reference)));
    }
    if (settings.random) {
      RandomChoice random(RandomBaselineSeed(settings.seed, names[i], n));
      rows[i].push_back(RowOf(names[i], "random", n, h.count, h.reference,
                              MeanOfRandomDraws(text.tokens, h.count, h.reference, random, settings.random_draws)));
    }
    const MethodText view{text.tokens, text.stopwords, &text.raw, &h.reference};
    for (const auto& [method, chosen] : methods.Choices(view, h.count)) {
      rows[i].push_back(RowOf(names[i], method, n, h.count, h.reference, FiguresOf(text.tokens, chosen, h.reference)));
    }
  }
  return rows;
}

// The model's scores of the texts of one repeat, each from the model that
// held it out; `folds_before` folds of earlier repeats are done.
std::vector<std::vector<double>> OutOfFoldScores(const CorpusCases& corpus, const std::vector<std::size_t>& fold_of,
                                                 std::size_t folds, std::size_t folds_before, std::size_t all_folds,
                                                 const CrossvalSettings& settings) {
  std::vector<std::vector<double>> scores(corpus.texts.size());
  for (std::size_t fold = 0; fold < folds; ++fold) {
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
        SentenceModel::Train(settings.features, settings.values, set.rows, set.labels, corpus.class_values,
                             settings.training);
    for (std::size_t i : held_out) scores[i] = model.Probabilities(RowsOf(corpus.texts[i], settings.features));
    if (settings.fold_done) settings.fold_done(folds_before + fold + 1, all_folds);
  }
  return scores;
}

EvaluationRow ModelRow(const TextCases& text, const std::string& name, const HeldOutText& held,
                       const std::vector<double>& scores) {
  EvaluationRow row = RowOf(name, "model", text.codes.size(), held.count, held.reference,
                            FiguresOf(text.tokens, ChooseBest(scores, held.count), held.reference));
  const RankingFigures ranking = RankingFiguresOf(scores, held.flags);
  row.auc = ranking.auc;
  row.average_precision = ranking.average_precision;
  return row;
}

// The sample standard deviation of `values`.
// REQUIRES: values.size() >= 2.
double SampleDeviation(const std::vector<double>& values) {
  const double mean = std::accumulate(values.begin(), values.end(), 0.0) / values.size();
  double squares = 0;
  for (double v : values) squares += (v - mean) * (v - mean);
  return std::sqrt(squares / (values.size() - 1));
}

// Sets each mean row's deviations across the `repeats` repeats of `rows`.
void AddRepeatDeviations(const std::vector<EvaluationRow>& rows, std::size_t repeats,
                         std::vector<EvaluationRow>& means) {
  if (repeats < 2) return;
  const std::size_t figures = FigureNames().size();
  // per_repeat[system][figure]: the system's mean figure in each repeat.
  std::vector<std::vector<std::vector<double>>> per_repeat(means.size(), std::vector<std::vector<double>>(figures));
  for (std::size_t r = 1; r <= repeats; ++r) {
    std::vector<EvaluationRow> repeat_rows;
    std::copy_if(rows.begin(), rows.end(), std::back_inserter(repeat_rows),
                 [r](const EvaluationRow& row) { return row.repeat == r; });
    for (const EvaluationRow& repeat_mean : MeanRows(repeat_rows)) {
      const auto system = std::find_if(means.begin(), means.end(), [&](const EvaluationRow& mean) {
        return mean.system == repeat_mean.system;
      });
      const std::vector<std::optional<double>> values = FigureValues(repeat_mean);
      for (std::size_t f = 0; f < figures; ++f) {
        if (values[f]) per_repeat[system - means.begin()][f].push_back(*values[f]);
      }
    }
  }
  for (std::size_t s = 0; s < means.size(); ++s) {
    means[s].deviations.assign(figures, std::nullopt);
    for (std::size_t f = 0; f < figures; ++f) {
      if (per_repeat[s][f].size() >= 2) means[s].deviations[f] = SampleDeviation(per_repeat[s][f]);
    }
  }
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

// Repeats step through the seeds by the golden ratio's 64-bit fraction
// (SplitMix64's increment), which FoldOfEachText mixes in turn.
std::uint64_t RepeatSeed(std::uint64_t seed, std::size_t repeat) {
  return seed + (repeat - 1) * 0x9E3779B97F4A7C15u;
}

FoldAssignment DrawFolds(std::size_t texts, std::size_t folds, std::size_t repeats, std::uint64_t seed) {
  FoldAssignment assignment{folds, {}};
  for (std::size_t r = 1; r <= repeats; ++r) {
    assignment.fold_of.push_back(FoldOfEachText(texts, folds, RepeatSeed(seed, r)));
  }
  return assignment;
}

CrossvalOutcome CrossValidate(const CorpusCases& corpus, const std::vector<std::string>& names,
                              const FoldAssignment& folds, const CrossvalSettings& settings) {
  std::vector<HeldOutText> held;
  for (const TextCases& text : corpus.texts) held.push_back(HeldOut(text, settings.rate));
  const std::vector<std::vector<EvaluationRow>> baselines = BaselineRows(corpus, names, held, settings);
  CrossvalOutcome outcome;
  for (std::size_t r = 0; r < folds.repeats(); ++r) {
    outcome.scores.push_back(
        OutOfFoldScores(corpus, folds.fold_of[r], folds.folds, r * folds.folds, folds.repeats() * folds.folds, settings));
    for (std::size_t i = 0; i < corpus.texts.size(); ++i) {
      if (corpus.texts[i].codes.empty()) continue;
      const std::size_t first = outcome.rows.size();
      outcome.rows.push_back(ModelRow(corpus.texts[i], names[i], held[i], outcome.scores[r][i]));
      outcome.rows.insert(outcome.rows.end(), baselines[i].begin(), baselines[i].end());
      for (std::size_t k = first; k < outcome.rows.size(); ++k) outcome.rows[k].repeat = r + 1;
    }
  }
  std::vector<EvaluationRow> means = MeanRows(outcome.rows);
  AddRepeatDeviations(outcome.rows, folds.repeats(), means);
  AddBootstrapIntervals(outcome.rows, means, settings.bootstrap, settings.seed);
  outcome.rows.insert(outcome.rows.end(), means.begin(), means.end());
  return outcome;
}

std::string OutOfFoldScoresCsv(const CrossvalOutcome& outcome, const std::vector<std::string>& names) {
  std::string csv = "text,repeat,sentence,score\n";
  for (std::size_t r = 0; r < outcome.scores.size(); ++r) {
    for (std::size_t i = 0; i < names.size(); ++i) {
      const std::string prefix = CsvField(names[i]) + "," + std::to_string(r + 1) + ",";
      const std::vector<double>& scores = outcome.scores[r][i];
      for (std::size_t s = 0; s < scores.size(); ++s) {
        // Nine significant digits give back the very float XGBoost
        // computed, so summaries chosen from the file are the same.
        char score[32];
        std::snprintf(score, sizeof score, "%.9g", scores[s]);
        csv += prefix + std::to_string(s + 1) + "," + score + "\n";
      }
    }
  }
  return csv;
}

}  // namespace casewright
