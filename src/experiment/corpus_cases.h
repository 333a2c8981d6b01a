// The cases of every text of a manifest, computed in memory on worker
// threads, and the learner trained on some of them: what `train` and
// `crossval` share.
#ifndef CASEWRIGHT_EXPERIMENT_CORPUS_CASES_H_
#define CASEWRIGHT_EXPERIMENT_CORPUS_CASES_H_

#include <cstddef>
#include <string>
#include <vector>

#include "batch/manifest.h"
#include "core/features.h"
#include "core/lexical_tables.h"
#include "learner/sentence_model.h"
#include "pipeline/pipeline.h"
#include "pipeline/run_files.h"

namespace casewright {

// How each text of the manifest is read: as a batch reads it.
struct CorpusSettings {
  FeatureSet features = FeatureSet::Default();
  // What the rows of TrainingSetOf and RowsOf hold: codes or raw values.
  CaseValues values = CaseValues::kCodes;
  TextEncoding encoding = TextEncoding::kWindows1252;
  // Whether each text holds one sentence a line (RunSettings::segmented).
  bool segmented = false;
  ExtractSettings extract;  // path unused: each entry names its extract
  bool strict_classes = false;
  unsigned jobs = 1;
  // Whether each text keeps its sentences' tokens, to score summaries, and
  // which tokens.
  bool with_tokens = false;
  TokenChoice tokens;
};

struct CorpusCases {
  // One per manifest entry, in manifest order.
  std::vector<TextCases> texts;
  // Every class value but the empty one, in ascending order (class_values.h).
  std::vector<std::string> class_values;
};

// Refuses, before anything is read: a text that two entries name (by any
// spelling, a link included: its sentences would be trained on and held
// out at once), naming both lines; and an output among `outputs` that is
// the manifest, a file an entry names, a lexical table, or another output.
// Throws RunError.
void RefuseCorpusFiles(const std::vector<ManifestEntry>& entries, const std::string& manifest,
                       const LexicalTables& tables, const std::vector<RunFile>& outputs);

// The warnings of each text, as "<manifest>:<line>: <warning>", and its notes
// with the number of texts that gave each ("3 texts: <note>").
struct CorpusMessages {
  std::vector<std::string> warnings;
  std::vector<std::string> notes;
};
CorpusMessages MessagesOf(const std::vector<ManifestEntry>& entries, const CorpusCases& corpus,
                          const std::string& manifest);

// The cases of every entry.  Throws RunError naming "<manifest>:<line>"
// for the first entry (in manifest order) that fails; `manifest` is the
// manifest's name as messages give it.
CorpusCases ComputeCorpusCases(const std::vector<ManifestEntry>& entries, const CorpusSettings& settings,
                               const LexicalTables& tables, const std::string& manifest);

// The rows and labels of the texts `chosen` (indexes into corpus.texts),
// their raw values when the texts hold them (TextCases::values), else
// their codes:
// label 1 for class "1", 0 for any other class.  Sentences without a class
// are left out.
struct TrainingSet {
  CodeRows rows;
  std::vector<float> labels;
  std::size_t positives = 0;
};
TrainingSet TrainingSetOf(const CorpusCases& corpus, const std::vector<std::size_t>& chosen, FeatureSet features);

// The rows of one text, to score its sentences.
CodeRows RowsOf(const TextCases& text, FeatureSet features);

}  // namespace casewright

#endif  // CASEWRIGHT_EXPERIMENT_CORPUS_CASES_H_
