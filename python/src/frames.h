// The cases of texts as the columns of a pandas DataFrame, in the CSV
// layout's order: text, sentence, one column of codes per ticked feature
// (its short name), class.  The Python package makes the frame; here the
// columns are made as arrays at C++ speed.
#ifndef CASEWRIGHT_PYTHON_FRAMES_H_
#define CASEWRIGHT_PYTHON_FRAMES_H_

#include <pybind11/pybind11.h>

#include <string>
#include <vector>

#include "core/case_values.h"
#include "core/features.h"
#include "pipeline/pipeline.h"

namespace casewright::python {

// A dict of "names" (each text's name) and "counts" (its sentences), for
// the text column; "sentence" (int64, from 1 in each text); "columns" (the
// features' CSV column names) and "codes" (a row per sentence, a column per
// feature: int64 codes, or float64 raw values when `values` says so);
// "class" (a str per sentence, None when it has none).
// REQUIRES: names.size() == texts.size(); each text's codes hold one digit
// per feature of `features`, and with raw values each text holds them.
pybind11::dict CaseColumns(const std::vector<const TextCases*>& texts, const std::vector<std::string>& names,
                           FeatureSet features, CaseValues values);

// Each message, from the core's UTF-8, as a Python list.
pybind11::list Messages(const std::vector<std::string>& messages);

}  // namespace casewright::python

#endif  // CASEWRIGHT_PYTHON_FRAMES_H_
