#include "summary/bootstrap.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "summary/selection.h"

namespace casewright {

double Percentile(std::span<const double> sorted, double q) {
  const double position = q * static_cast<double>(sorted.size() - 1);
  const auto below = static_cast<std::size_t>(std::floor(position));
  const std::size_t above = std::min(below + 1, sorted.size() - 1);
  return sorted[below] + (sorted[above] - sorted[below]) * (position - static_cast<double>(below));
}

Interval MeanInterval(std::span<const double> values, int resamples, std::uint64_t seed) {
  RandomChoice random(seed);
  std::vector<double> means(static_cast<std::size_t>(resamples));
  for (double& mean : means) {
    double sum = 0;
    for (std::size_t i = 0; i < values.size(); ++i) sum += values[random.Below(values.size())];
    mean = sum / static_cast<double>(values.size());
  }
  std::sort(means.begin(), means.end());
  return {Percentile(means, 0.025), Percentile(means, 0.975)};
}

std::vector<TextFigures> FiguresPerText(const std::vector<EvaluationRow>& rows, const std::string& system) {
  const std::size_t figures = FigureNames().size();
  struct Sums {
    std::string text;
    std::vector<double> sum;
    std::vector<int> count;
  };
  std::vector<Sums> texts;
  std::map<std::string, std::size_t> index_of;
  for (const EvaluationRow& row : rows) {
    if (row.system != system) continue;
    const auto [it, added] = index_of.try_emplace(row.text, texts.size());
    if (added) texts.push_back({row.text, std::vector<double>(figures, 0), std::vector<int>(figures, 0)});
    Sums& sums = texts[it->second];
    const std::vector<std::optional<double>> values = FigureValues(row);
    for (std::size_t f = 0; f < figures; ++f) {
      if (!values[f]) continue;
      sums.sum[f] += *values[f];
      ++sums.count[f];
    }
  }
  std::vector<TextFigures> means;
  for (const Sums& sums : texts) {
    TextFigures& mean = means.emplace_back(TextFigures{sums.text, std::vector<std::optional<double>>(figures)});
    for (std::size_t f = 0; f < figures; ++f) {
      if (sums.count[f] > 0) mean.figures[f] = sums.sum[f] / sums.count[f];
    }
  }
  return means;
}

void AddBootstrapIntervals(const std::vector<EvaluationRow>& rows, std::vector<EvaluationRow>& means, int resamples,
                           std::uint64_t seed) {
  if (resamples == 0) return;
  for (EvaluationRow& mean : means) {
    const std::vector<TextFigures> texts = FiguresPerText(rows, mean.system);
    mean.intervals.assign(FigureNames().size(), std::nullopt);
    for (std::size_t f = 0; f < mean.intervals.size(); ++f) {
      std::vector<double> values;
      for (const TextFigures& text : texts) {
        if (text.figures[f]) values.push_back(*text.figures[f]);
      }
      if (!values.empty()) mean.intervals[f] = MeanInterval(values, resamples, seed);
    }
  }
}

}  // namespace casewright
