#include "summary/paired_test.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "summary/bootstrap.h"
#include "summary/selection.h"

namespace casewright {
namespace {

constexpr double kEqual = 1e-12;
constexpr std::size_t kMostExactPairs = 25;

// Twice the ranks of `magnitudes` (ascending), ties sharing their mean, so
// that every rank is a whole number.
std::vector<long> DoubledRanks(const std::vector<double>& magnitudes) {
  std::vector<long> ranks(magnitudes.size());
  for (std::size_t i = 0; i < magnitudes.size();) {
    std::size_t j = i;
    while (j + 1 < magnitudes.size() && magnitudes[j + 1] - magnitudes[i] <= kEqual) ++j;
    for (std::size_t k = i; k <= j; ++k) ranks[k] = static_cast<long>(i + j + 2);  // 2 * mean of i+1 .. j+1
    i = j + 1;
  }
  return ranks;
}

// P(S <= statistic) for S the sum of the doubled ranks given a + sign, each
// sign equally likely: the number of sign assignments, counted by sum.
double ExactLowerTail(const std::vector<long>& ranks, long statistic) {
  long total = 0;
  for (long rank : ranks) total += rank;
  std::vector<double> ways(static_cast<std::size_t>(total) + 1, 0);
  ways[0] = 1;
  long reach = 0;
  for (long rank : ranks) {
    reach += rank;
    for (long sum = reach; sum >= rank; --sum) ways[sum] += ways[sum - rank];
  }
  double below = 0;
  for (long sum = 0; sum <= statistic; ++sum) below += ways[sum];
  return below / std::ldexp(1.0, static_cast<int>(ranks.size()));
}

double NormalTwoSided(const std::vector<long>& ranks, const std::vector<double>& magnitudes, double statistic) {
  const auto n = static_cast<double>(ranks.size());
  const double mean = n * (n + 1) / 4;
  double variance = n * (n + 1) * (2 * n + 1) / 24;
  for (std::size_t i = 0; i < magnitudes.size();) {
    std::size_t j = i;
    while (j + 1 < magnitudes.size() && magnitudes[j + 1] - magnitudes[i] <= kEqual) ++j;
    const auto tied = static_cast<double>(j - i + 1);
    variance -= (tied * tied * tied - tied) / 48;
    i = j + 1;
  }
  if (variance <= 0) return 1;
  const double correction = statistic > mean ? 0.5 : statistic < mean ? -0.5 : 0;
  const double z = (statistic - mean - correction) / std::sqrt(variance);
  return std::erfc(std::abs(z) / std::sqrt(2.0));
}

}  // namespace

double WilcoxonSignedRankP(std::span<const double> differences) {
  std::vector<double> nonzero;
  for (double d : differences) {
    if (std::abs(d) > kEqual) nonzero.push_back(d);
  }
  if (nonzero.empty()) return 1;
  std::sort(nonzero.begin(), nonzero.end(), [](double a, double b) { return std::abs(a) < std::abs(b); });
  std::vector<double> magnitudes;
  for (double d : nonzero) magnitudes.push_back(std::abs(d));
  const std::vector<long> ranks = DoubledRanks(magnitudes);
  long plus = 0, minus = 0;
  for (std::size_t i = 0; i < nonzero.size(); ++i) (nonzero[i] > 0 ? plus : minus) += ranks[i];
  const long smaller = std::min(plus, minus);
  const double p = nonzero.size() <= kMostExactPairs ? 2 * ExactLowerTail(ranks, smaller)
                                                     : NormalTwoSided(ranks, magnitudes, smaller / 2.0);
  return std::min(1.0, p);
}

PairedTest ComparePaired(std::span<const double> a, std::span<const double> b, int resamples, std::uint64_t seed) {
  std::vector<double> differences(a.size());
  double sum = 0;
  for (std::size_t i = 0; i < a.size(); ++i) {
    differences[i] = a[i] - b[i];
    sum += differences[i];
  }
  PairedTest test;
  test.pairs = a.size();
  test.mean_difference = sum / static_cast<double>(a.size());
  RandomChoice random(seed);
  std::vector<double> means(static_cast<std::size_t>(resamples));
  std::size_t at_or_below = 0, at_or_above = 0;
  for (double& mean : means) {
    double resampled = 0;
    for (std::size_t i = 0; i < differences.size(); ++i) resampled += differences[random.Below(differences.size())];
    mean = resampled / static_cast<double>(differences.size());
    at_or_below += mean <= kEqual;
    at_or_above += mean >= -kEqual;
  }
  std::sort(means.begin(), means.end());
  test.interval = {Percentile(means, 0.025), Percentile(means, 0.975)};
  test.bootstrap_p =
      std::min(1.0, 2.0 * static_cast<double>(std::min(at_or_below, at_or_above)) / static_cast<double>(resamples));
  test.wilcoxon_p = WilcoxonSignedRankP(differences);
  return test;
}

}  // namespace casewright
