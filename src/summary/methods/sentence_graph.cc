#include "summary/methods/sentence_graph.h"

#include <algorithm>
#include <cmath>

#include "absl/container/flat_hash_map.h"

namespace casewright {

SentenceGraph SharedTokenProducts(const std::vector<SparseVector>& vectors) {
  absl::flat_hash_map<TokenId, std::vector<std::pair<std::size_t, double>>> postings;
  for (std::size_t i = 0; i < vectors.size(); ++i) {
    for (const auto& [token, weight] : vectors[i]) postings[token].emplace_back(i, weight);
  }
  SentenceGraph products{std::vector<std::vector<std::pair<std::size_t, double>>>(vectors.size())};
  std::vector<double> sum(vectors.size(), 0.0);
  std::vector<std::size_t> touched;
  for (std::size_t i = 0; i < vectors.size(); ++i) {
    for (const auto& [token, weight] : vectors[i]) {
      // The postings are in sentence order: the later sentences follow i's.
      const auto& list = postings[token];
      auto later = std::upper_bound(list.begin(), list.end(), i,
                                    [](std::size_t s, const auto& posting) { return s < posting.first; });
      for (; later != list.end(); ++later) {
        if (sum[later->first] == 0.0) touched.push_back(later->first);
        sum[later->first] += weight * later->second;
      }
    }
    std::sort(touched.begin(), touched.end());
    for (std::size_t j : touched) {
      if (sum[j] != 0.0) products.edges[i].emplace_back(j, sum[j]);
      sum[j] = 0.0;
    }
    touched.clear();
  }
  return products;
}

std::vector<double> PageRank(const SentenceGraph& graph, double damping, double tolerance, int max_iterations) {
  const std::size_t n = graph.edges.size();
  if (n == 0) return {};
  std::vector<double> out_weight(n, 0.0);
  for (std::size_t i = 0; i < n; ++i) {
    for (const auto& [j, weight] : graph.edges[i]) {
      out_weight[i] += weight;
      out_weight[j] += weight;
    }
  }
  // What each sentence passes on per unit of an edge's weight.
  std::vector<double> rank(n, 1.0 / static_cast<double>(n)), next(n), share(n);
  for (int iteration = 0; iteration < max_iterations; ++iteration) {
    double dangling = 0;
    for (std::size_t i = 0; i < n; ++i) {
      if (out_weight[i] == 0) dangling += rank[i];
    }
    std::fill(next.begin(), next.end(), (1 - damping + damping * dangling) / static_cast<double>(n));
    for (std::size_t i = 0; i < n; ++i) share[i] = out_weight[i] == 0 ? 0 : damping * rank[i] / out_weight[i];
    for (std::size_t i = 0; i < n; ++i) {
      for (const auto& [j, weight] : graph.edges[i]) {
        next[j] += share[i] * weight;
        next[i] += share[j] * weight;
      }
    }
    double moved = 0;
    for (std::size_t i = 0; i < n; ++i) moved = std::max(moved, std::abs(next[i] - rank[i]));
    rank.swap(next);
    if (moved <= tolerance) break;
  }
  return rank;
}

}  // namespace casewright
