// TextRank (Mihalcea and Tarau, 2004): the sentences as a graph whose edge
// between two sentences weighs the content tokens they share (each distinct
// token once) divided by log |Si| + log |Sj|, |S| a sentence's number of
// content tokens; a sentence of fewer than 2 has no edge.  A sentence's score
// is its weighted PageRank (sentence_graph.h), damping 0.85.
#ifndef CASEWRIGHT_SUMMARY_METHODS_TEXTRANK_H_
#define CASEWRIGHT_SUMMARY_METHODS_TEXTRANK_H_

#include "summary/methods/method.h"
#include "summary/methods/sentence_graph.h"

namespace casewright {

// The graph TextRank ranks, of each sentence's content tokens.
SentenceGraph TextRankGraph(const SentenceTokens& content);

class TextRank : public SummaryMethod {
 public:
  std::string Name() const override { return "textrank"; }
  std::vector<double> Scores(const MethodText& text) const override;
};

}  // namespace casewright

#endif  // CASEWRIGHT_SUMMARY_METHODS_TEXTRANK_H_
