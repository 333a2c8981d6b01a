#include "summary/evaluation_table.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

#include "summary/csv_fields.h"

namespace casewright {
namespace {

// A figure of three parts: precision, recall and F1.
struct ScoresFigure {
  const char* name;
  std::optional<Scores> (*of)(const EvaluationRow&);
};
const ScoresFigure kScoresFigures[] = {
    {"sentence", [](const EvaluationRow& row) { return row.sentence; }},
    {"rouge1", [](const EvaluationRow& row) { return std::optional<Scores>(row.rouge1); }},
    {"rouge2", [](const EvaluationRow& row) { return std::optional<Scores>(row.rouge2); }},
    {"rougeL", [](const EvaluationRow& row) { return std::optional<Scores>(row.rougeL); }},
    {"rougeLseq", [](const EvaluationRow& row) { return std::optional<Scores>(row.rougeLseq); }},
    {"rougeSU4", [](const EvaluationRow& row) { return std::optional<Scores>(row.rougeSU4); }},
};
// Figures of one value, written only when some row has them.
struct SingleFigure {
  const char* name;
  std::optional<double> EvaluationRow::*member;
};
const SingleFigure kSingleFigures[] = {
    {"auc", &EvaluationRow::auc},
    {"average_precision", &EvaluationRow::average_precision},
};
constexpr std::size_t kScoresColumns = 3 * std::size(kScoresFigures);

std::string Figure(double value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.4f", value);
  return buffer;
}

std::string Count(double value) {
  return value == std::floor(value) ? std::to_string(static_cast<long long>(value)) : Figure(value);
}

std::string FigureWithInterval(double value, const Interval& interval) {
  char buffer[96];
  std::snprintf(buffer, sizeof buffer, "%.4f [%.2f, %.2f]", value, interval.low, interval.high);
  return buffer;
}

// Which of the optional columns the rows call for.
struct Layout {
  bool repeat = false;
  bool intervals = false;
  bool deviations = false;
  std::vector<bool> figures;  // per FigureNames() entry
};

Layout LayoutOf(const std::vector<EvaluationRow>& rows) {
  Layout layout;
  layout.figures.assign(FigureNames().size(), false);
  std::fill(layout.figures.begin(), layout.figures.begin() + kScoresColumns, true);
  for (const EvaluationRow& row : rows) {
    layout.repeat = layout.repeat || row.repeat;
    layout.intervals = layout.intervals || !row.intervals.empty();
    layout.deviations = layout.deviations || !row.deviations.empty();
    for (std::size_t i = 0; i < std::size(kSingleFigures); ++i) {
      if (row.*kSingleFigures[i].member) layout.figures[kScoresColumns + i] = true;
    }
  }
  return layout;
}

std::vector<std::string> Header(const Layout& layout, EvaluationFormat format) {
  std::vector<std::string> cells = {"text", "system"};
  if (layout.repeat) cells.push_back("repeat");
  cells.insert(cells.end(), {"sentences", "selected", "reference_selected"});
  const std::vector<std::string>& names = FigureNames();
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (!layout.figures[i]) continue;
    cells.push_back(names[i]);
    if (layout.intervals && format == EvaluationFormat::kCsv) {
      cells.push_back(names[i] + "_low");
      cells.push_back(names[i] + "_high");
    }
    if (layout.deviations) cells.push_back(names[i] + "_sd");
  }
  return cells;
}

template <typename T>
const std::optional<T>* At(const std::vector<std::optional<T>>& values, std::size_t i) {
  return i < values.size() ? &values[i] : nullptr;
}

std::vector<std::string> Cells(const EvaluationRow& row, const Layout& layout, EvaluationFormat format) {
  std::vector<std::string> cells = {row.text, row.system};
  if (layout.repeat) cells.push_back(row.repeat ? std::to_string(*row.repeat) : "");
  cells.insert(cells.end(), {Count(row.sentences), Count(row.selected),
                             row.reference_selected ? Count(*row.reference_selected) : ""});
  const std::vector<std::optional<double>> values = FigureValues(row);
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (!layout.figures[i]) continue;
    const auto* interval = At(row.intervals, i);
    const bool with_interval = values[i] && interval && *interval;
    if (format == EvaluationFormat::kTable && with_interval) {
      cells.push_back(FigureWithInterval(*values[i], **interval));
    } else {
      cells.push_back(values[i] ? Figure(*values[i]) : "");
    }
    if (layout.intervals && format == EvaluationFormat::kCsv) {
      cells.push_back(with_interval ? Figure((*interval)->low) : "");
      cells.push_back(with_interval ? Figure((*interval)->high) : "");
    }
    if (layout.deviations) {
      const auto* deviation = At(row.deviations, i);
      cells.push_back(deviation && *deviation ? Figure(**deviation) : "");
    }
  }
  return cells;
}

// Sums of a system's figures, for its mean.
struct Sums {
  EvaluationRow row;
  std::size_t rows = 0;
  std::size_t with_reference = 0;  // rows with a reference extract
  Scores sentence;
  std::size_t with_auc = 0, with_average_precision = 0;
};

Scores Divided(const Scores& scores, double by) {
  Scores divided;
  AddScaled(divided, scores, 1 / by);
  return divided;
}

}  // namespace

const std::vector<std::string>& FigureNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> all;
    for (const ScoresFigure& figure : kScoresFigures) {
      for (const char* part : {"_precision", "_recall", "_f1"}) all.push_back(std::string(figure.name) + part);
    }
    for (const SingleFigure& figure : kSingleFigures) all.push_back(figure.name);
    return all;
  }();
  return names;
}

std::vector<std::optional<double>> FigureValues(const EvaluationRow& row) {
  std::vector<std::optional<double>> values;
  for (const ScoresFigure& figure : kScoresFigures) {
    const std::optional<Scores> scores = figure.of(row);
    for (double Scores::*part : {&Scores::precision, &Scores::recall, &Scores::f1}) {
      values.push_back(scores ? std::optional<double>((*scores).*part) : std::nullopt);
    }
  }
  for (const SingleFigure& figure : kSingleFigures) values.push_back(row.*figure.member);
  return values;
}

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
  row.rougeLseq = figures.rougeLseq;
  row.rougeSU4 = figures.rougeSU4;
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
    AddScaled(sum.row.rougeLseq, row.rougeLseq, 1);
    AddScaled(sum.row.rougeSU4, row.rougeSU4, 1);
    if (row.reference_selected && row.sentence) {
      ++sum.with_reference;
      sum.row.reference_selected = sum.row.reference_selected.value_or(0) + *row.reference_selected;
      AddScaled(sum.sentence, *row.sentence, 1);
    }
    if (row.auc) {
      ++sum.with_auc;
      sum.row.auc = sum.row.auc.value_or(0) + *row.auc;
    }
    if (row.average_precision) {
      ++sum.with_average_precision;
      sum.row.average_precision = sum.row.average_precision.value_or(0) + *row.average_precision;
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
    mean.rougeLseq = Divided(mean.rougeLseq, n);
    mean.rougeSU4 = Divided(mean.rougeSU4, n);
    if (sum.with_reference > 0) {
      const auto m = static_cast<double>(sum.with_reference);
      *mean.reference_selected /= m;
      mean.sentence = Divided(sum.sentence, m);
    }
    if (mean.auc) *mean.auc /= static_cast<double>(sum.with_auc);
    if (mean.average_precision) *mean.average_precision /= static_cast<double>(sum.with_average_precision);
    means.push_back(std::move(mean));
  }
  return means;
}

void WriteEvaluation(const std::vector<EvaluationRow>& rows, EvaluationFormat format, std::ostream& out) {
  const Layout layout = LayoutOf(rows);
  std::vector<std::vector<std::string>> table = {Header(layout, format)};
  for (const EvaluationRow& row : rows) table.push_back(Cells(row, layout, format));
  if (format == EvaluationFormat::kCsv) {
    for (const auto& cells : table) {
      for (std::size_t i = 0; i < cells.size(); ++i) out << (i ? "," : "") << CsvField(cells[i]);
      out << '\n';
    }
    return;
  }
  std::vector<std::size_t> widths(table[0].size(), 0);
  for (const auto& cells : table) {
    for (std::size_t i = 0; i < cells.size(); ++i) widths[i] = std::max(widths[i], cells[i].size());
  }
  for (const auto& cells : table) {
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i) {
      const std::string padding(widths[i] - cells[i].size(), ' ');
      if (i > 0) line += "  ";
      line += i < 2 ? cells[i] + padding : padding + cells[i];  // names to the left, numbers to the right
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    out << line << '\n';
  }
}

}  // namespace casewright
