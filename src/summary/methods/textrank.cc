#include "summary/methods/textrank.h"

#include <algorithm>
#include <cmath>

namespace casewright {

SentenceGraph TextRankGraph(const SentenceTokens& content) {
  std::vector<SparseVector> distinct(content.size());
  for (std::size_t i = 0; i < content.size(); ++i) {
    if (content[i].size() < 2) continue;  // log 1 = 0: no edge, whose weight could divide by 0
    std::vector<TokenId> tokens = content[i];
    std::sort(tokens.begin(), tokens.end());
    tokens.erase(std::unique(tokens.begin(), tokens.end()), tokens.end());
    for (TokenId token : tokens) distinct[i].emplace_back(token, 1.0);
  }
  const auto log_size = [&content](std::size_t i) { return std::log(static_cast<double>(content[i].size())); };
  SentenceGraph graph = SharedTokenProducts(distinct);  // weighted by the tokens shared
  for (std::size_t i = 0; i < graph.edges.size(); ++i) {
    for (auto& [j, weight] : graph.edges[i]) weight /= log_size(i) + log_size(j);
  }
  return graph;
}

std::vector<double> TextRank::Scores(const MethodText& text) const {
  return PageRank(TextRankGraph(ContentTokens(text)));
}

}  // namespace casewright
