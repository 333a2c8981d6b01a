// The figures of summaries against their references, one row per text and
// system, and the two forms they are written in:
//
//   csv    a header, then one row a line, LF-ended, with the columns
//          text,system[,repeat],sentences,selected,reference_selected,
//          then each figure of FigureNames() (sentence_precision,
//          sentence_recall, sentence_f1, rouge1_precision, ...).
//          `repeat` is written when some row has one (cross-validation
//          repeated), the ranking figures `auc` and `average_precision`
//          when some row has them.  When some mean row has intervals, each
//          figure is followed by its `_low` and `_high` columns, and when
//          some has deviations across repeats, by its `_sd` column; these
//          are empty in the other rows.  Figures have 4 decimals; a figure
//          that does not apply (sentence figures against a reference in its
//          own words) is empty.  A text or system name holding a comma or a
//          quotation mark is quoted.
//   table  the same cells, the columns aligned with blanks for reading,
//          except that an interval shares its figure's cell, with 2
//          decimals: `0.4637 [0.41, 0.52]`.
//
// The counts are whole numbers in a text's row and averages (4 decimals
// unless whole) in a mean row.  A mean row's figure is the mean of the
// texts' figures (a macro average), never a figure of the pooled texts.
#ifndef CASEWRIGHT_SUMMARY_EVALUATION_TABLE_H_
#define CASEWRIGHT_SUMMARY_EVALUATION_TABLE_H_

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "summary/metrics.h"
#include "summary/summary_figures.h"

namespace casewright {

// A 95 % interval of a figure.
struct Interval {
  double low = 0;
  double high = 0;
};

struct EvaluationRow {
  std::string text;    // "mean" in a mean row
  std::string system;
  double sentences = 0;  // of the text
  double selected = 0;   // by the system
  // Sentences of the reference extract; absent for a reference in its own
  // words, where the sentence figures do not apply either.
  std::optional<double> reference_selected;
  std::optional<Scores> sentence;
  Scores rouge1, rouge2, rougeL, rougeLseq, rougeSU4;
  // How well a system's scores rank the reference's sentences above the
  // others (for a system that scores every sentence): ROC AUC and average
  // precision.
  std::optional<double> auc, average_precision;
  // The draw of folds a cross-validated row comes from, from 1.
  std::optional<std::size_t> repeat;
  // In a mean row, one per figure of FigureNames() when computed (else
  // empty): the figure's 95 % interval, and its standard deviation across
  // repeats.
  std::vector<std::optional<Interval>> intervals;
  std::vector<std::optional<double>> deviations;
};

// The names of the figures, one per column of figures in the order they are
// written: each of sentence, rouge1, rouge2, rougeL, rougeLseq and rougeSU4
// as its _precision, _recall and _f1, then auc and average_precision.
const std::vector<std::string>& FigureNames();

// The figures of `row`, one per FigureNames() entry; absent where a figure
// does not apply.
std::vector<std::optional<double>> FigureValues(const EvaluationRow& row);

// The row of a summary of `selected` of the `sentences` sentences of `text`
// by `system`, with its figures against `reference`.
EvaluationRow RowOf(const std::string& text, const std::string& system, std::size_t sentences, std::size_t selected,
                    const Reference& reference, const SummaryFigures& figures);

// One row per system, in the order the systems first appear in `rows`,
// each field the mean of that system's rows (of those that have it).  The
// rows' repeats, intervals and deviations are not carried over.
std::vector<EvaluationRow> MeanRows(const std::vector<EvaluationRow>& rows);

enum class EvaluationFormat { kTable, kCsv };

void WriteEvaluation(const std::vector<EvaluationRow>& rows, EvaluationFormat format, std::ostream& out);

}  // namespace casewright

#endif  // CASEWRIGHT_SUMMARY_EVALUATION_TABLE_H_
