// The figures of summaries against their references, one row per text and
// system, and the two forms they are written in:
//
//   csv    a header, then one row a line, LF-ended, with exactly the columns
//          text,system,sentences,selected,reference_selected,
//          sentence_precision,sentence_recall,sentence_f1,
//          rouge1_precision,rouge1_recall,rouge1_f1,rouge2_precision,
//          rouge2_recall,rouge2_f1,rougeL_precision,rougeL_recall,rougeL_f1
//          Figures have 4 decimals; a figure that does not apply (sentence
//          figures against a reference in its own words) is empty.  A text
//          or system name holding a comma or a quotation mark is quoted.
//   table  the same cells, the columns aligned with blanks for reading.
//
// The counts are whole numbers in a text's row and averages (4 decimals
// unless whole) in a mean row.
#ifndef CASEWRIGHT_SUMMARY_EVALUATION_TABLE_H_
#define CASEWRIGHT_SUMMARY_EVALUATION_TABLE_H_

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "summary/metrics.h"
#include "summary/summary_figures.h"

namespace casewright {

struct EvaluationRow {
  std::string text;    // "mean" in a mean row
  std::string system;
  double sentences = 0;  // of the text
  double selected = 0;   // by the system
  // Sentences of the reference extract; absent for a reference in its own
  // words, where the sentence figures do not apply either.
  std::optional<double> reference_selected;
  std::optional<Scores> sentence;
  Scores rouge1, rouge2, rougeL;
};

// The row of a summary of `selected` of the `sentences` sentences of `text`
// by `system`, with its figures against `reference`.
EvaluationRow RowOf(const std::string& text, const std::string& system, std::size_t sentences, std::size_t selected,
                    const Reference& reference, const SummaryFigures& figures);

// One row per system, in the order the systems first appear in `rows`,
// each field the mean of that system's rows (of those that have it).
std::vector<EvaluationRow> MeanRows(const std::vector<EvaluationRow>& rows);

enum class EvaluationFormat { kTable, kCsv };

void WriteEvaluation(const std::vector<EvaluationRow>& rows, EvaluationFormat format, std::ostream& out);

}  // namespace casewright

#endif  // CASEWRIGHT_SUMMARY_EVALUATION_TABLE_H_
