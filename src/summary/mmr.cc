#include "summary/mmr.h"

#include <algorithm>
#include <cmath>

#include "absl/container/flat_hash_map.h"

namespace casewright {
namespace {

using Counts = absl::flat_hash_map<TokenId, double>;

double Cosine(const Counts& a, const Counts& b, double norm_a, double norm_b) {
  if (norm_a == 0 || norm_b == 0) return 0;
  const Counts& small = a.size() <= b.size() ? a : b;
  const Counts& large = a.size() <= b.size() ? b : a;
  double product = 0;
  for (const auto& [token, count] : small) {
    if (auto found = large.find(token); found != large.end()) product += count * found->second;
  }
  return product / (norm_a * norm_b);
}

// The scores brought to [0, 1].
std::vector<double> Normalised(const std::vector<double>& scores) {
  const auto [low, high] = std::minmax_element(scores.begin(), scores.end());
  std::vector<double> normalised;
  for (double score : scores) normalised.push_back(*high == *low ? 1.0 : (score - *low) / (*high - *low));
  return normalised;
}

}  // namespace

std::vector<std::size_t> ChooseByMmr(const std::vector<double>& scores, const SentenceTokens& tokens,
                                     std::size_t count, double lambda) {
  const std::size_t n = scores.size();
  if (count == 0) return {};
  const std::vector<double> relevance = Normalised(scores);
  std::vector<Counts> counts(n);
  std::vector<double> norms(n, 0.0);
  for (std::size_t i = 0; i < n; ++i) {
    for (TokenId token : tokens[i]) ++counts[i][token];
    for (const auto& entry : counts[i]) norms[i] += entry.second * entry.second;
    norms[i] = std::sqrt(norms[i]);
  }
  // Each sentence's highest likeness to a chosen one, updated after each
  // choice: count * n cosines in all.
  std::vector<double> likeness(n, 0.0);
  std::vector<bool> taken(n, false);
  std::vector<std::size_t> chosen;
  while (chosen.size() < count) {
    std::size_t best = n;
    double best_value = -INFINITY;
    for (std::size_t i = 0; i < n; ++i) {
      if (taken[i]) continue;
      const double value = lambda * relevance[i] - (1 - lambda) * likeness[i];
      if (value > best_value) {
        best = i;
        best_value = value;
      }
    }
    taken[best] = true;
    chosen.push_back(best);
    for (std::size_t i = 0; i < n; ++i) {
      if (!taken[i]) likeness[i] = std::max(likeness[i], Cosine(counts[i], counts[best], norms[i], norms[best]));
    }
  }
  std::sort(chosen.begin(), chosen.end());
  return chosen;
}

}  // namespace casewright
