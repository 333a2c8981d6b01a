// Training cases: one per sentence, in sentence order, in a chosen layout.
#ifndef CASEWRIGHT_OUTPUT_CASE_WRITER_H_
#define CASEWRIGHT_OUTPUT_CASE_WRITER_H_

#include <string>
#include <vector>

#include "core/features.h"
#include "core/run.h"
#include "output/case_layout.h"
#include "output/class_values.h"
#include "output/output_file.h"

namespace casewright {

// Writes the layout's header for `schema`, then one case per sentence of
// the run: with schema.ids `text_name` and the sentence's number, the codes
// (or the raw values, as schema.values says) of schema.features, then the
// sentence's class.  Empty `classes` stand for
// an unlabelled text: every case gets the layout's missing class.  When
// `copy` is not null, the cases (not the header) are also appended to it.
// REQUIRES: classes is empty or classes.size() == run.sentence_list.size().
void WriteCases(Run& run, const CaseSchema& schema, const CaseLayout& layout, const std::vector<std::string>& classes,
                std::string_view text_name, OutputFile& out, std::string* copy = nullptr);

}  // namespace casewright

#endif  // CASEWRIGHT_OUTPUT_CASE_WRITER_H_
