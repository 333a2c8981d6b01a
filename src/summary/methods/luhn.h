// Luhn (1958): the significant words of a text are its content tokens that
// occur at least twice in it.  In a sentence's tokens (stopwords included),
// a cluster runs from a significant word to a significant word with at most
// 4 insignificant tokens between any two in a row; it scores (its
// significant words)^2 / its length in tokens.  A sentence scores its best
// cluster's score, 0 without one.
#ifndef CASEWRIGHT_SUMMARY_METHODS_LUHN_H_
#define CASEWRIGHT_SUMMARY_METHODS_LUHN_H_

#include "summary/methods/method.h"

namespace casewright {

inline constexpr std::size_t kLuhnMostInsignificant = 4;

class Luhn : public SummaryMethod {
 public:
  std::string Name() const override { return "luhn"; }
  std::vector<double> Scores(const MethodText& text) const override;
};

}  // namespace casewright

#endif  // CASEWRIGHT_SUMMARY_METHODS_LUHN_H_
