#include "summary/methods/luhn.h"

#include <algorithm>

#include "absl/container/flat_hash_map.h"

namespace casewright {
namespace {

// The best cluster's score of one sentence, given which of its tokens are
// significant.
double BestCluster(const std::vector<bool>& significant) {
  double best = 0;
  std::size_t first = 0, last = 0, count = 0;
  const auto close = [&] {
    if (count > 0) best = std::max(best, static_cast<double>(count * count) / static_cast<double>(last - first + 1));
  };
  for (std::size_t p = 0; p < significant.size(); ++p) {
    if (!significant[p]) continue;
    if (count > 0 && p - last - 1 > kLuhnMostInsignificant) {
      close();
      count = 0;
    }
    if (count == 0) first = p;
    last = p;
    ++count;
  }
  close();
  return best;
}

}  // namespace

std::vector<double> Luhn::Scores(const MethodText& text) const {
  absl::flat_hash_map<TokenId, std::size_t> occurrences;
  for (const std::vector<TokenId>& sentence : ContentTokens(text)) {
    for (TokenId token : sentence) ++occurrences[token];
  }
  std::vector<double> scores;
  for (std::size_t i = 0; i < text.tokens.size(); ++i) {
    std::vector<bool> significant(text.tokens[i].size());
    for (std::size_t t = 0; t < significant.size(); ++t) {
      significant[t] = !text.stopwords[i][t] && occurrences[text.tokens[i][t]] >= 2;
    }
    scores.push_back(BestCluster(significant));
  }
  return scores;
}

}  // namespace casewright
