#include "summary/evaluation_table.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

namespace casewright {
namespace {

constexpr const char* kColumns[] = {
    "text",           "system",           "sentences",        "selected",      "reference_selected",
    "sentence_precision", "sentence_recall", "sentence_f1",   "rouge1_precision", "rouge1_recall",
    "rouge1_f1",      "rouge2_precision", "rouge2_recall",    "rouge2_f1",     "rougeL_precision",
    "rougeL_recall",  "rougeL_f1"};
constexpr std::size_t kColumnCount = std::size(kColumns);

std::string Figure(double value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.4f", value);
  return buffer;
}

std::string Count(double value) {
  return value == std::floor(value) ? std::to_string(static_cast<long long>(value)) : Figure(value);
}

void AddScores(std::vector<std::string>& cells, const std::optional<Scores>& scores) {
  for (double Scores::*part : {&Scores::precision, &Scores::recall, &Scores::f1}) {
    cells.push_back(scores ? Figure((*scores).*part) : "");
  }
}

std::vector<std::string> Cells(const EvaluationRow& row) {
  std::vector<std::string> cells = {row.text, row.system, Count(row.sentences), Count(row.selected),
                                    row.reference_selected ? Count(*row.reference_selected) : ""};
  AddScores(cells, row.sentence);
  AddScores(cells, row.rouge1);
  AddScores(cells, row.rouge2);
  AddScores(cells, row.rougeL);
  return cells;
}

std::string CsvField(const std::string& field) {
  if (field.find_first_of(",\"\n\r") == std::string::npos) return field;
  std::string quoted = "\"";
  for (char c : field) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

// Sums of a system's figures, for its mean.
struct Sums {
  EvaluationRow row;
  std::size_t rows = 0;
  std::size_t with_reference = 0;  // rows with a reference extract
  Scores sentence;
};

Scores Divided(const Scores& scores, double by) {
  Scores divided;
  AddScaled(divided, scores, 1 / by);
  return divided;
}

}  // namespace

EvaluationRow RowOf(const std::string& text, const std::string& system, std::size_t sentences, std::size_t selected,
                    const Reference& reference, const SummaryFigures& figures) {
  EvaluationRow row;
  row.text = text;
  row.system = system;
  row.sentences = static_cast<double>(sentences);
  row.selected = static_cast<double>(selected);
  if (reference.sentences) {
    row.reference_selected =
        static_cast<double>(std::count(reference.sentences->begin(), reference.sentences->end(), true));
  }
  row.sentence = figures.sentence;
  row.rouge1 = figures.rouge1;
  row.rouge2 = figures.rouge2;
  row.rougeL = figures.rougeL;
  return row;
}

std::vector<EvaluationRow> MeanRows(const std::vector<EvaluationRow>& rows) {
  std::vector<Sums> sums;
  std::map<std::string, std::size_t> index_of;
  for (const EvaluationRow& row : rows) {
    auto [it, added] = index_of.try_emplace(row.system, sums.size());
    if (added) {
      Sums& sum = sums.emplace_back();
      sum.row.text = "mean";
      sum.row.system = row.system;
    }
    Sums& sum = sums[it->second];
    ++sum.rows;
    sum.row.sentences += row.sentences;
    sum.row.selected += row.selected;
    AddScaled(sum.row.rouge1, row.rouge1, 1);
    AddScaled(sum.row.rouge2, row.rouge2, 1);
    AddScaled(sum.row.rougeL, row.rougeL, 1);
    if (row.reference_selected && row.sentence) {
      ++sum.with_reference;
      sum.row.reference_selected = sum.row.reference_selected.value_or(0) + *row.reference_selected;
      AddScaled(sum.sentence, *row.sentence, 1);
    }
  }
  std::vector<EvaluationRow> means;
  for (Sums& sum : sums) {
    EvaluationRow mean = sum.row;
    const auto n = static_cast<double>(sum.rows);
    mean.sentences /= n;
    mean.selected /= n;
    mean.rouge1 = Divided(mean.rouge1, n);
    mean.rouge2 = Divided(mean.rouge2, n);
    mean.rougeL = Divided(mean.rougeL, n);
    if (sum.with_reference > 0) {
      const auto m = static_cast<double>(sum.with_reference);
      *mean.reference_selected /= m;
      mean.sentence = Divided(sum.sentence, m);
    }
    means.push_back(std::move(mean));
  }
  return means;
}

void WriteEvaluation(const std::vector<EvaluationRow>& rows, EvaluationFormat format, std::ostream& out) {
  std::vector<std::vector<std::string>> table = {std::vector<std::string>(std::begin(kColumns), std::end(kColumns))};
  for (const EvaluationRow& row : rows) table.push_back(Cells(row));
  if (format == EvaluationFormat::kCsv) {
    for (const auto& cells : table) {
      for (std::size_t i = 0; i < cells.size(); ++i) out << (i ? "," : "") << CsvField(cells[i]);
      out << '\n';
    }
    return;
  }
  std::size_t widths[kColumnCount] = {};
  for (const auto& cells : table) {
    for (std::size_t i = 0; i < kColumnCount; ++i) widths[i] = std::max(widths[i], cells[i].size());
  }
  for (const auto& cells : table) {
    std::string line;
    for (std::size_t i = 0; i < kColumnCount; ++i) {
      const std::string padding(widths[i] - cells[i].size(), ' ');
      if (i > 0) line += "  ";
      line += i < 2 ? cells[i] + padding : padding + cells[i];  // names to the left, numbers to the right
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    out << line << '\n';
  }
}

}  // namespace casewright
