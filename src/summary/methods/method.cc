#include "summary/methods/method.h"

#include <algorithm>

#include "summary/selection.h"

namespace casewright {

std::vector<std::size_t> SummaryMethod::Choose(const MethodText& text, std::size_t count) const {
  return ChooseBest(Scores(text), count);
}

SentenceTokens ContentTokens(const MethodText& text) {
  SentenceTokens content(text.tokens.size());
  for (std::size_t i = 0; i < content.size(); ++i) {
    for (std::size_t t = 0; t < text.tokens[i].size(); ++t) {
      if (!text.stopwords[i][t]) content[i].push_back(text.tokens[i][t]);
    }
  }
  return content;
}

std::vector<double> GreedyMethod::Scores(const MethodText& text) const {
  const std::vector<std::size_t> order = Order(text, text.tokens.size());
  std::vector<double> scores(order.size());
  for (std::size_t position = 0; position < order.size(); ++position) {
    scores[order[position]] = static_cast<double>(order.size() - position);
  }
  return scores;
}

std::vector<std::size_t> GreedyMethod::Choose(const MethodText& text, std::size_t count) const {
  std::vector<std::size_t> chosen = Order(text, count);
  std::sort(chosen.begin(), chosen.end());
  return chosen;
}

}  // namespace casewright
