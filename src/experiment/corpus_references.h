// What cross-validation asks of a corpus before it runs: every sentence's
// class, the reference its summaries are scored against.
#ifndef CASEWRIGHT_EXPERIMENT_CORPUS_REFERENCES_H_
#define CASEWRIGHT_EXPERIMENT_CORPUS_REFERENCES_H_

#include <string>
#include <vector>

#include "batch/manifest.h"
#include "experiment/corpus_cases.h"

namespace casewright {

// Throws RunError naming "<manifest>:<line>" for the first text with a
// sentence without a class, which gives the learner no reference to be
// scored against.
// REQUIRES: corpus.texts.size() == entries.size().
void RequireReferences(const std::vector<ManifestEntry>& entries, const CorpusCases& corpus,
                       const std::string& manifest);

}  // namespace casewright

#endif  // CASEWRIGHT_EXPERIMENT_CORPUS_REFERENCES_H_
