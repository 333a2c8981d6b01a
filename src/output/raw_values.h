// The raw values of a run: a UTF-8 TSV with a header row and one row per
// sentence, so that the features can be checked or discretised differently.
#ifndef CASEWRIGHT_OUTPUT_RAW_VALUES_H_
#define CASEWRIGHT_OUTPUT_RAW_VALUES_H_

#include <functional>
#include <string>
#include <vector>

#include "core/features.h"
#include "core/run.h"
#include "output/output_file.h"

namespace casewright {

// The stored text of a sentence of the run (SentenceText, in text/segment.h).
using StoredTextOf = std::function<std::string(const frase&)>;

// Writes one row per sentence of run.sentence_list to `out`, with a column
// for each feature of `features` beyond the default ones; `classes` holds
// the class paired with each sentence (one per sentence).
// REQUIRES: classes.size() == run.sentence_list.size().
void WriteRawValues(const Run& run, const StoredTextOf& stored_text, FeatureSet features,
                    const std::vector<std::string>& classes, OutputFile& out);

}  // namespace casewright

#endif  // CASEWRIGHT_OUTPUT_RAW_VALUES_H_
