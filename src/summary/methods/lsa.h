// Latent semantic analysis (Steinberger and Jezek, 2004): the binary
// term-by-sentence matrix A of the content tokens (A[t][s] = 1 when
// sentence s holds token t) is decomposed as U Sigma V^T; with k the number
// of singular values at least half the largest, sentence i scores
// sqrt(sum over the first k dimensions of sigma_k^2 V[i][k]^2), its length
// in the reduced latent space.
#ifndef CASEWRIGHT_SUMMARY_METHODS_LSA_H_
#define CASEWRIGHT_SUMMARY_METHODS_LSA_H_

#include "summary/methods/method.h"

namespace casewright {

// A row per distinct content token, in order of first occurrence, a column
// per sentence: 1 where the sentence holds the token, else 0.
std::vector<std::vector<double>> TermSentenceMatrix(const SentenceTokens& content);

// The singular values of `matrix` (given by rows), largest first.
std::vector<double> SingularValues(const std::vector<std::vector<double>>& matrix);

class Lsa : public SummaryMethod {
 public:
  std::string Name() const override { return "lsa"; }
  std::vector<double> Scores(const MethodText& text) const override;
};

}  // namespace casewright

#endif  // CASEWRIGHT_SUMMARY_METHODS_LSA_H_
