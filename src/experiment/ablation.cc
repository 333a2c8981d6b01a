#include "experiment/ablation.h"

#include <algorithm>
#include <cstdio>

#include "summary/bootstrap.h"

namespace casewright {
namespace {

// The figures the table compares: the F1s and the ranking figures.
std::vector<std::size_t> ComparedFigures() {
  std::vector<std::size_t> compared;
  const std::vector<std::string>& names = FigureNames();
  for (std::size_t f = 0; f < names.size(); ++f) {
    if (names[f].ends_with("_f1") || names[f] == "auc" || names[f] == "average_precision") compared.push_back(f);
  }
  return compared;
}

// The corpus with the codes of `feature` taken out of every sentence.
CorpusCases WithoutFeature(const CorpusCases& corpus, FeatureSet features, Feature feature) {
  std::size_t column = 0;
  for (const FeatureInfo& info : kFeatures) {
    if (info.feature == feature) break;
    column += features.Has(info.feature);
  }
  CorpusCases without = corpus;
  for (TextCases& text : without.texts) {
    for (std::string& codes : text.codes) codes.erase(column, 1);
    for (std::vector<double>& values : text.values) values.erase(values.begin() + column);
  }
  return without;
}

struct ModelFigures {
  EvaluationRow mean;
  std::vector<TextFigures> per_text;
};

ModelFigures ModelFiguresOf(const CrossvalOutcome& outcome, int resamples, std::uint64_t seed) {
  std::vector<EvaluationRow> means;
  std::copy_if(outcome.rows.begin(), outcome.rows.end(), std::back_inserter(means),
               [](const EvaluationRow& row) { return row.text == "mean" && row.system == "model"; });
  std::vector<EvaluationRow> text_rows;
  std::copy_if(outcome.rows.begin(), outcome.rows.end(), std::back_inserter(text_rows),
               [](const EvaluationRow& row) { return row.repeat.has_value(); });
  AddBootstrapIntervals(text_rows, means, resamples, seed);
  return {means.front(), FiguresPerText(text_rows, "model")};
}

// The lines of one run; `all` is the run of every feature, compared with,
// or null for that run itself.
void AddLines(const std::string& left_out, const ModelFigures& run, const ModelFigures* all, int resamples,
              std::uint64_t seed, std::vector<AblationLine>& lines) {
  const std::vector<std::optional<double>> values = FigureValues(run.mean);
  for (std::size_t f : ComparedFigures()) {
    AblationLine& line = lines.emplace_back(AblationLine{left_out, FigureNames()[f], values[f], {}, {}});
    if (f < run.mean.intervals.size()) line.interval = run.mean.intervals[f];
    if (all == nullptr) continue;
    std::vector<double> a, b;
    for (std::size_t t = 0; t < run.per_text.size(); ++t) {
      const std::optional<double> mine = run.per_text[t].figures[f], theirs = all->per_text[t].figures[f];
      if (!mine || !theirs) continue;
      a.push_back(*mine);
      b.push_back(*theirs);
    }
    if (!a.empty()) line.difference = ComparePaired(a, b, resamples, seed);
  }
}

std::string Cell(std::optional<double> value) {
  if (!value) return "";
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.4f", *value);
  return buffer;
}

}  // namespace

std::vector<AblationLine> Ablate(const CorpusCases& corpus, const std::vector<std::string>& names,
                                 const FoldAssignment& folds, const CrossvalSettings& settings,
                                 const CrossvalOutcome& all, int resamples) {
  std::vector<AblationLine> lines;
  const ModelFigures every = ModelFiguresOf(all, resamples, settings.seed);
  AddLines("none", every, nullptr, resamples, settings.seed, lines);
  for (const FeatureInfo& info : kFeatures) {
    if (!settings.features.Has(info.feature)) continue;
    CrossvalSettings fewer = settings;
    fewer.features.Set(info.feature, false);
    fewer.bootstrap = 0;  // the model's intervals alone are computed, below
    const CrossvalOutcome outcome =
        CrossValidate(WithoutFeature(corpus, settings.features, info.feature), names, folds, fewer);
    AddLines(std::string(info.short_name), ModelFiguresOf(outcome, resamples, settings.seed), &every, resamples,
             settings.seed, lines);
  }
  return lines;
}

std::string AblationCsv(const std::vector<AblationLine>& lines) {
  std::string csv =
      "left_out,figure,mean,low,high,difference,difference_low,difference_high,bootstrap_p,wilcoxon_p\n";
  for (const AblationLine& line : lines) {
    const auto& d = line.difference;
    const std::optional<double> cells[] = {
        line.mean,
        line.interval ? std::optional(line.interval->low) : std::nullopt,
        line.interval ? std::optional(line.interval->high) : std::nullopt,
        d ? std::optional(d->mean_difference) : std::nullopt,
        d ? std::optional(d->interval.low) : std::nullopt,
        d ? std::optional(d->interval.high) : std::nullopt,
        d ? std::optional(d->bootstrap_p) : std::nullopt,
        d ? std::optional(d->wilcoxon_p) : std::nullopt,
    };
    csv += line.left_out + "," + line.figure;
    for (const std::optional<double>& cell : cells) csv += "," + Cell(cell);
    csv += "\n";
  }
  return csv;
}

}  // namespace casewright
