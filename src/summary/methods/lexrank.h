// LexRank (Erkan and Radev, 2004): each sentence a TF-ISF vector of its
// content tokens (a token's count in the sentence times log(n / the number
// of the text's n sentences holding it)), sentences linked by the cosine of
// their vectors.  LexRank links two sentences whose cosine is at least 0.1,
// every link alike, so that a sentence's rank is shared equally among its
// links (degree-normalised); continuous LexRank links every pair with a
// cosine above 0, weighted by it.  A sentence's score is its PageRank
// (sentence_graph.h), damping 0.85.
#ifndef CASEWRIGHT_SUMMARY_METHODS_LEXRANK_H_
#define CASEWRIGHT_SUMMARY_METHODS_LEXRANK_H_

#include "summary/methods/method.h"
#include "summary/methods/sentence_graph.h"

namespace casewright {

inline constexpr double kLexRankThreshold = 0.1;

// The graph LexRank ranks, of each sentence's content tokens: thresholded
// (weight 1 where the cosine is at least kLexRankThreshold) or continuous.
SentenceGraph LexRankGraph(const SentenceTokens& content, bool continuous);

class LexRank : public SummaryMethod {
 public:
  explicit LexRank(bool continuous) : continuous_(continuous) {}
  std::string Name() const override { return continuous_ ? "lexrank-continuous" : "lexrank"; }
  std::vector<double> Scores(const MethodText& text) const override;

 private:
  bool continuous_;
};

}  // namespace casewright

#endif  // CASEWRIGHT_SUMMARY_METHODS_LEXRANK_H_
