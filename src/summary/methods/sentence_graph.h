// The graph of a text's sentences that TextRank and LexRank rank, and the
// PageRank that ranks it.  The graph is sparse: it holds only the pairs of
// sentences whose similarity is not zero, found through an inverted index of
// their tokens, so a text of thousands of sentences needs no square table.
#ifndef CASEWRIGHT_SUMMARY_METHODS_SENTENCE_GRAPH_H_
#define CASEWRIGHT_SUMMARY_METHODS_SENTENCE_GRAPH_H_

#include <cstddef>
#include <utility>
#include <vector>

#include "summary/metrics.h"

namespace casewright {

// A sentence as a sparse vector: its distinct tokens, ascending, with a
// weight each.
using SparseVector = std::vector<std::pair<TokenId, double>>;

// Undirected and weighted, each edge listed once, at its first sentence:
// edges[i] holds the later sentences j linked to i, ascending, with the
// weight of the edge.  No sentence is linked to itself.
struct SentenceGraph {
  std::vector<std::vector<std::pair<std::size_t, double>>> edges;
};

// The graph linking each sentence i to every later sentence j whose vector
// shares a token with i's, weighted by the dot product of the two vectors:
// the pairs a similarity can be non-zero for.
SentenceGraph SharedTokenProducts(const std::vector<SparseVector>& vectors);

// Weighted PageRank: each sentence's rank is (1 - damping) / n plus damping
// times the rank its neighbours pass on, each in proportion to the weight of
// its edge among all its edges' weights; a sentence without edges passes its
// rank to every sentence alike.  The ranks start at 1 / n and sum to 1;
// the iteration stops when no rank moves by more than `tolerance`, or after
// `max_iterations`.
std::vector<double> PageRank(const SentenceGraph& graph, double damping = 0.85, double tolerance = 1e-6,
                             int max_iterations = 200);

}  // namespace casewright

#endif  // CASEWRIGHT_SUMMARY_METHODS_SENTENCE_GRAPH_H_
