#include "summary/comparison.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "summary/bootstrap.h"

namespace casewright {
namespace {

constexpr const char* kComparedFigures[] = {"sentence_f1", "rouge1_f1", "rouge2_f1", "rougeL_f1"};

bool EndsWith(const std::string& name, const std::string& suffix) {
  return name.size() > suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::string Fixed(double value, int decimals) {
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
  return buffer;
}


}  // namespace

std::vector<std::pair<std::string, std::string>> PairsToCompare(const std::vector<std::string>& systems,
                                                                 const std::vector<EvaluationRow>& rows) {
  std::vector<std::string> baselines;
  for (const EvaluationRow& row : rows) {
    if (std::find(systems.begin(), systems.end(), row.system) == systems.end() &&
        std::find(baselines.begin(), baselines.end(), row.system) == baselines.end()) {
      baselines.push_back(row.system);
    }
  }
  std::vector<std::pair<std::string, std::string>> pairs;
  for (const std::string& system : systems) {
    for (const std::string& baseline : baselines) {
      if (systems.size() == 1 || EndsWith(baseline, ":" + system)) pairs.emplace_back(system, baseline);
    }
  }
  for (std::size_t i = 0; i < systems.size(); ++i) {
    for (std::size_t j = i + 1; j < systems.size(); ++j) pairs.emplace_back(systems[i], systems[j]);
  }
  return pairs;
}

std::vector<Comparison> CompareSystems(const std::vector<EvaluationRow>& rows,
                                       const std::vector<std::pair<std::string, std::string>>& pairs, int resamples,
                                       std::uint64_t seed) {
  const std::vector<std::string>& names = FigureNames();
  std::vector<Comparison> comparisons;
  for (const auto& [system, other] : pairs) {
    const std::vector<TextFigures> ours = FiguresPerText(rows, system);
    std::map<std::string, const TextFigures*> theirs;
    const std::vector<TextFigures> other_texts = FiguresPerText(rows, other);
    for (const TextFigures& text : other_texts) theirs.emplace(text.text, &text);
    for (const char* figure : kComparedFigures) {
      const auto f = static_cast<std::size_t>(std::find(names.begin(), names.end(), figure) - names.begin());
      std::vector<double> a, b;
      for (const TextFigures& text : ours) {
        const auto found = theirs.find(text.text);
        if (found == theirs.end() || !text.figures[f] || !found->second->figures[f]) continue;
        a.push_back(*text.figures[f]);
        b.push_back(*found->second->figures[f]);
      }
      if (!a.empty()) comparisons.push_back({system, other, figure, ComparePaired(a, b, resamples, seed)});
    }
  }
  return comparisons;
}

void WriteComparisons(const std::vector<Comparison>& comparisons, std::ostream& out) {
  out << "system,other,figure,texts,mean_difference,difference_low,difference_high,bootstrap_p,wilcoxon_p\n";
  for (const Comparison& c : comparisons) {
    out << CsvField(c.system) << ',' << CsvField(c.other) << ',' << c.figure << ',' << c.test.pairs << ','
        << Fixed(c.test.mean_difference, 4) << ',' << Fixed(c.test.interval.low, 4) << ','
        << Fixed(c.test.interval.high, 4) << ',' << Fixed(c.test.bootstrap_p, 6) << ','
        << Fixed(c.test.wilcoxon_p, 6) << '\n';
  }
}

}  // namespace casewright
