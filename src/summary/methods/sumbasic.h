// SumBasic (Nenkova and Vanderwende, 2005): a content token's probability is
// its share of the text's content tokens; a sentence scores the mean
// probability of its content tokens (0 without one).  The best sentence is
// chosen, the probability of each of its tokens is squared, and the next is
// chosen by the new scores, and so on: its choice depends on the size.  As
// scores, the order of choice (the first chosen scores highest).
#ifndef CASEWRIGHT_SUMMARY_METHODS_SUMBASIC_H_
#define CASEWRIGHT_SUMMARY_METHODS_SUMBASIC_H_

#include "summary/methods/method.h"

namespace casewright {

class SumBasic : public GreedyMethod {
 public:
  std::string Name() const override { return "sumbasic"; }
  std::vector<std::size_t> Order(const MethodText& text, std::size_t count) const override;
};

}  // namespace casewright

#endif  // CASEWRIGHT_SUMMARY_METHODS_SUMBASIC_H_
