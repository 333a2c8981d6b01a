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

}  // namespace

py::dict CaseColumns(const std::vector<const TextCases*>& texts, const std::vector<std::string>& names,
                     FeatureSet features) {
  std::vector<std::string> columns;
  for (const FeatureInfo& info : TickedFeatures(features)) columns.emplace_back(info.short_name);
  const std::size_t width = columns.size();
  std::size_t rows = 0;
  std::vector<std::int64_t> counts;
  for (const TextCases* text : texts) {
    counts.push_back(static_cast<std::int64_t>(text->codes.size()));
    rows += text->codes.size();
  }
  py::array_t<std::int64_t> sentence(static_cast<py::ssize_t>(rows));
  py::array_t<std::int64_t> codes({static_cast<py::ssize_t>(rows), static_cast<py::ssize_t>(width)});
  std::int64_t* number = sentence.mutable_data();
  std::int64_t* code = codes.mutable_data();
  for (const TextCases* text : texts) {
    std::int64_t in_text = 0;
    for (const std::string& digits : text->codes) {
      *number++ = ++in_text;
      for (char digit : digits) *code++ = digit - '0';
    }
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
