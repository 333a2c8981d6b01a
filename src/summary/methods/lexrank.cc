#include "summary/methods/lexrank.h"

#include <algorithm>
#include <cmath>

#include "absl/container/flat_hash_map.h"

namespace casewright {
namespace {

// Each sentence's TF-ISF vector.
std::vector<SparseVector> TfIsfVectors(const SentenceTokens& content) {
  // Each sentence's distinct tokens, ascending, with their counts.
  std::vector<SparseVector> counts(content.size());
  absl::flat_hash_map<TokenId, double> sentences_with;
  for (std::size_t i = 0; i < content.size(); ++i) {
    std::vector<TokenId> tokens = content[i];
    std::sort(tokens.begin(), tokens.end());
    for (TokenId token : tokens) {
      if (counts[i].empty() || counts[i].back().first != token) {
        counts[i].emplace_back(token, 0.0);
        ++sentences_with[token];
      }
      ++counts[i].back().second;
    }
  }
  const double n = static_cast<double>(content.size());
  std::vector<SparseVector> vectors(content.size());
  for (std::size_t i = 0; i < content.size(); ++i) {
    for (const auto& [token, count] : counts[i]) {
      // A token of every sentence weighs log 1 = 0: it tells none apart.
      const double weight = count * std::log(n / sentences_with[token]);
      if (weight > 0) vectors[i].emplace_back(token, weight);
    }
  }
  return vectors;
}

}  // namespace

SentenceGraph LexRankGraph(const SentenceTokens& content, bool continuous) {
  const std::vector<SparseVector> vectors = TfIsfVectors(content);
  std::vector<double> norm(vectors.size(), 0.0);
  for (std::size_t i = 0; i < vectors.size(); ++i) {
    for (const auto& entry : vectors[i]) norm[i] += entry.second * entry.second;
    norm[i] = std::sqrt(norm[i]);
  }
  SentenceGraph graph = SharedTokenProducts(vectors);  // weighted by the dot products
  for (std::size_t i = 0; i < graph.edges.size(); ++i) {
    auto& edges = graph.edges[i];
    for (auto& [j, weight] : edges) weight /= norm[i] * norm[j];
    if (continuous) continue;
    std::erase_if(edges, [](const auto& edge) { return edge.second < kLexRankThreshold; });
    for (auto& edge : edges) edge.second = 1.0;
  }
  return graph;
}

std::vector<double> LexRank::Scores(const MethodText& text) const {
  return PageRank(LexRankGraph(ContentTokens(text), continuous_));
}

}  // namespace casewright
