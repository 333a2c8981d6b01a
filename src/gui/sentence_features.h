// What the window shows of each sentence's features: the codes of the
// ticked features, as a case holds them, and on demand the raw values that
// `--raw` writes.  Both come from the core's run of the text (ComputeCases,
// RunCases with a raw values file); the window only splits them into cells.
#ifndef CASEWRIGHT_GUI_SENTENCE_FEATURES_H_
#define CASEWRIGHT_GUI_SENTENCE_FEATURES_H_

#include <QString>
#include <QStringList>
#include <string>
#include <vector>

#include "core/features.h"
#include "core/lexical_tables.h"
#include "text/text_encoding.h"

namespace casewright {

// How the window reads a text: its encoding, and whether its lines are its
// sentences (Options > Text already segmented), as --segmented reads them.
struct TextReading {
  TextEncoding encoding = TextEncoding::kWindows1252;
  bool segmented = false;
};

// The QSettings key of the model that scores texts in the window's views
// (the Summary view's "Model...").
inline constexpr const char* kModelKey = "summaryModel";

// The probabilities of class 1 the model at `model_path` (of
// `casewright-cli train`) gives the sentences of the text at `text_path`,
// from the kind of values the model learnt from.
// Throws RunError.
std::vector<double> ModelScores(const std::string& model_path, const std::string& text_path,
                                const TextReading& reading, const LexicalTables& tables);

// A score as the views show it: 6 decimals, as --scores-output writes it,
// so that near ties show.
QString ScoreText(double score);

// The name of the file at `path`, without its folders, as the views'
// titles and messages show it.
QString FileNameOf(const std::string& path);

// A table of one row per sentence, each row one cell per name.
struct SentenceColumns {
  QStringList names;
  std::vector<QStringList> rows;
};

// The short names of the ticked features, in case order.
QStringList TickedFeatureNames(FeatureSet features);

// The codes of the ticked features of each sentence of the text at `path`:
// one column per ticked feature, named by its short name.  Throws RunError.
SentenceColumns FeatureCodes(const std::string& path, const TextReading& reading, FeatureSet features,
                             const LexicalTables& tables);

// The raw values of each sentence, as the raw values file has them, without
// its number, text and class columns.  Throws RunError.
SentenceColumns RawValues(const std::string& path, const TextReading& reading, FeatureSet features,
                          const LexicalTables& tables);

// "size 2, text_location 1" for `row` of `columns`, or empty.
// REQUIRES: row < columns.rows.size().
QString DescribeRow(const SentenceColumns& columns, std::size_t row);

}  // namespace casewright

#endif  // CASEWRIGHT_GUI_SENTENCE_FEATURES_H_
