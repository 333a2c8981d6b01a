// The scores a model of `casewright-cli train` gives the sentences of one
// text: summarize --model, the window and the Python module all score a
// text through here, so that they give the same scores.
#ifndef CASEWRIGHT_EXPERIMENT_MODEL_SCORES_H_
#define CASEWRIGHT_EXPERIMENT_MODEL_SCORES_H_

#include <string>
#include <vector>

#include "core/lexical_tables.h"
#include "pipeline/pipeline.h"
#include "text/text_encoding.h"

namespace casewright {

// The probability of class 1 the model at `model_path` gives each sentence
// of `text`, the Windows-1252 bytes loaded from run.text_path as `run`
// reads it.  The sentences' cases are computed with the model's features
// and its kind of values (codes or raw), whatever `run` ticks, so that a
// text is scored from what the model learnt from.  Throws RunError.
std::vector<double> ModelScoresOfText(const std::string& model_path, RunSettings run, DecodedText text,
                                      const LexicalTables& tables);

}  // namespace casewright

#endif  // CASEWRIGHT_EXPERIMENT_MODEL_SCORES_H_
