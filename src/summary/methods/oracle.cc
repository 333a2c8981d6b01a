#include "summary/methods/oracle.h"

#include <algorithm>

namespace casewright {
namespace {

// The ROUGE-2 F1 of the summary of the sentences `chosen` (ascending) and
// `added` against one reference, each sentence given as its tokens among the
// reference's.
double Rouge2With(const std::vector<std::vector<std::uint32_t>>& distinct, const std::vector<std::size_t>& chosen,
                  std::size_t added, const RougeReference& reference, std::vector<std::uint32_t>& summary) {
  summary.clear();
  const auto append = [&](std::size_t i) { summary.insert(summary.end(), distinct[i].begin(), distinct[i].end()); };
  bool placed = false;
  for (std::size_t i : chosen) {
    if (!placed && added < i) {
      append(added);
      placed = true;
    }
    append(i);
  }
  if (!placed) append(added);
  return reference.RougeNOfDistinct(summary, 2).f1;
}

}  // namespace

std::vector<std::size_t> Oracle::Order(const MethodText& text, std::size_t count) const {
  const Reference& reference = *text.reference;
  const std::size_t n = text.tokens.size();
  // Per reference summary, each sentence's tokens among that summary's.
  std::vector<std::vector<std::vector<std::uint32_t>>> distinct(reference.summaries.size());
  for (std::size_t r = 0; r < distinct.size(); ++r) {
    for (const std::vector<TokenId>& sentence : text.tokens) {
      distinct[r].push_back(reference.summaries[r].tokens.Distinct(sentence));
    }
  }
  // The sentences that may be chosen now: the reference's while any is left.
  std::vector<bool> open = reference.sentences ? *reference.sentences : std::vector<bool>(n, true);
  std::vector<std::size_t> order, chosen;
  std::vector<std::uint32_t> summary;
  while (order.size() < count) {
    if (std::find(open.begin(), open.end(), true) == open.end()) {
      open.assign(n, true);
      for (std::size_t i : chosen) open[i] = false;
    }
    std::size_t best = n;
    double best_f1 = -1;
    for (std::size_t i = 0; i < n; ++i) {
      if (!open[i]) continue;
      // With several references, the mean F1, as evaluate reports it.
      double f1 = 0;
      for (std::size_t r = 0; r < distinct.size(); ++r) {
        f1 += Rouge2With(distinct[r], chosen, i, reference.summaries[r].tokens, summary);
      }
      if (f1 > best_f1) {
        best = i;
        best_f1 = f1;
      }
    }
    open[best] = false;
    order.push_back(best);
    chosen.insert(std::upper_bound(chosen.begin(), chosen.end(), best), best);
  }
  return order;
}

}  // namespace casewright
