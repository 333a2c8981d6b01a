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

// Undirected and weighted: for each sentence, its neighbours with the
// weight of the edge, each edge listed at both ends.  No sentence is its own
// neighbour.
struct SentenceGraph {
  std::vector<std::vector<std::pair<std::size_t, double>>> edges;
};

// For each sentence i, every later sentence j whose vector shares a token
// with i's, with the dot product of the two vectors: the pairs a similarity
// can be non-zero for.
std::vector<std::vector<std::pair<std::size_t, double>>> SharedTokenProducts(const std::vector<SparseVector>& vectors);

// Adds the edge i - j of weight `weight` at both ends.
// REQUIRES: i != j, both < graph.edges.size().
void AddEdge(SentenceGraph& graph, std::size_t i, std::size_t j, double weight);

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
