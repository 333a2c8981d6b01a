// The options of the commands that train the learner (`train`, `crossval`):
// the manifest and how its texts are read, as for a batch, and the
// learner's own settings.
#ifndef CASEWRIGHT_CLI_LEARNER_OPTIONS_H_
#define CASEWRIGHT_CLI_LEARNER_OPTIONS_H_

#include <cstdint>
#include <string>

#include "cli/command.h"
#include "experiment/corpus_cases.h"
#include "learner/sentence_model.h"
#include "summary/selection.h"

namespace casewright::cli {

struct TrainOptions {
  std::string manifest;
  RunOptions run;
  ExtractOptions extract;
  int rounds = 100;
  int depth = 4;
  std::uint64_t seed = kDefaultSeed;
  std::string jobs;  // empty: one per core
  std::string model;  // train only
};

struct LearnerChoices {
  CorpusSettings corpus;
  TrainingOptions training;
};

// The manifest, --features, --values, --segmented, --encoding, --tables, --strict-classes, the
// extract options, --rounds, --depth, --seed and --jobs.
void AddLearnerOptions(CLI::App& app, TrainOptions& options);

// Throws UsageError for a bad feature list or --min-overlap.
LearnerChoices ChooseLearner(const TrainOptions& options);

// The warnings and notes of the corpus's texts, on stderr, each after its
// manifest line.
void PrintCorpusMessages(const std::vector<ManifestEntry>& entries, const CorpusCases& corpus,
                         const std::string& manifest);

}  // namespace casewright::cli

#endif  // CASEWRIGHT_CLI_LEARNER_OPTIONS_H_
