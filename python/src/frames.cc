#include "frames.h"

#include <pybind11/numpy.h>
#include <pybind11/stl.h>

#include <cstdint>

#include "core/cp1252.h"
#include "output/case_layout.h"

namespace casewright::python {
namespace py = pybind11;

namespace {

// The class of each sentence; the classes of a corpus are a few values, so
// each value's Python string is made once.
py::list ClassColumn(const std::vector<const TextCases*>& texts, std::size_t rows) {
  py::list column(rows);
  std::unordered_map<std::string, py::object> made;
  std::size_t row = 0;
  for (const TextCases* text : texts) {
    for (const std::string& value : text->classes) {
      auto [it, added] = made.try_emplace(value);
      if (added) it->second = value.empty() ? py::none() : py::object(py::str(Cp1252ToUtf8(value)));
      column[row++] = it->second;
    }
  }
  return column;
}

// A row per sentence, a column per feature, of `Cell`s from each sentence's
// `per_sentence` (its code digits, or its raw values).
template <typename Cell, typename Of>
py::array_t<Cell> Matrix(const std::vector<const TextCases*>& texts, std::size_t rows, std::size_t width,
                         Of per_sentence) {
  py::array_t<Cell> matrix({static_cast<py::ssize_t>(rows), static_cast<py::ssize_t>(width)});
  Cell* cell = matrix.mutable_data();
  for (const TextCases* text : texts) {
    for (std::size_t s = 0; s < text->codes.size(); ++s) cell = per_sentence(*text, s, cell);
  }
  return matrix;
}

}  // namespace

py::dict CaseColumns(const std::vector<const TextCases*>& texts, const std::vector<std::string>& names,
                     FeatureSet features, CaseValues values) {
  std::vector<std::string> columns;
  for (const FeatureInfo& info : TickedFeatures(features)) columns.push_back(ColumnName(info, values));
  const std::size_t width = columns.size();
  std::size_t rows = 0;
  std::vector<std::int64_t> counts;
  for (const TextCases* text : texts) {
    counts.push_back(static_cast<std::int64_t>(text->codes.size()));
    rows += text->codes.size();
  }
  py::array_t<std::int64_t> sentence(static_cast<py::ssize_t>(rows));
  std::int64_t* number = sentence.mutable_data();
  for (const TextCases* text : texts) {
    for (std::size_t s = 0; s < text->codes.size(); ++s) *number++ = static_cast<std::int64_t>(s + 1);
  }
  py::object codes;
  if (values == CaseValues::kRaw) {
    codes = Matrix<double>(texts, rows, width, [](const TextCases& text, std::size_t s, double* cell) {
      return std::copy(text.values[s].begin(), text.values[s].end(), cell);
    });
  } else {
    codes = Matrix<std::int64_t>(texts, rows, width, [](const TextCases& text, std::size_t s, std::int64_t* cell) {
      for (char digit : text.codes[s]) *cell++ = digit - '0';
      return cell;
    });
  }
  py::dict frame;
  frame["names"] = names;
  frame["counts"] = counts;
  frame["sentence"] = sentence;
  frame["columns"] = columns;
  frame["codes"] = codes;
  frame["class"] = ClassColumn(texts, rows);
  return frame;
}

py::list Messages(const std::vector<std::string>& messages) { return py::cast(messages); }

}  // namespace casewright::python
