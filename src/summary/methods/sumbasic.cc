#include "summary/methods/sumbasic.h"

#include <algorithm>

#include "absl/container/flat_hash_map.h"

namespace casewright {

std::vector<std::size_t> SumBasic::Order(const MethodText& text, std::size_t count) const {
  const SentenceTokens content = ContentTokens(text);
  absl::flat_hash_map<TokenId, double> probability;
  double total = 0;
  for (const std::vector<TokenId>& sentence : content) {
    for (TokenId token : sentence) ++probability[token];
    total += static_cast<double>(sentence.size());
  }
  for (auto& entry : probability) entry.second /= total;
  std::vector<bool> taken(content.size(), false);
  std::vector<std::size_t> order;
  while (order.size() < count) {
    std::size_t best = content.size();
    double best_score = -1;
    for (std::size_t i = 0; i < content.size(); ++i) {
      if (taken[i]) continue;
      double sum = 0;
      for (TokenId token : content[i]) sum += probability[token];
      const double score = content[i].empty() ? 0 : sum / static_cast<double>(content[i].size());
      if (score > best_score) {
        best = i;
        best_score = score;
      }
    }
    taken[best] = true;
    order.push_back(best);
    std::vector<TokenId> tokens = content[best];
    std::sort(tokens.begin(), tokens.end());
    tokens.erase(std::unique(tokens.begin(), tokens.end()), tokens.end());
    for (TokenId token : tokens) probability[token] *= probability[token];
  }
  return order;
}

}  // namespace casewright
