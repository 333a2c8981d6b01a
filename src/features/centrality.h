// Sentence centrality (feature 16): the sentence's TextRank score
// (summary/methods/textrank.h), the summariser `textrank` run on the
// sentences' keys with the stopwords out, as `--tokens keys` gives them.
#ifndef CASEWRIGHT_FEATURES_CENTRALITY_H_
#define CASEWRIGHT_FEATURES_CENTRALITY_H_

#include "core/run.h"

namespace casewright {

// Sets Centrality of every sentence.
// REQUIRES: SuppressStopwords has run.
void ComputeCentrality(Run& run);

}  // namespace casewright

#endif  // CASEWRIGHT_FEATURES_CENTRALITY_H_
