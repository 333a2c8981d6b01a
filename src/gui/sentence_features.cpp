#include "gui/sentence_features.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "core/run_error.h"
#include "experiment/model_scores.h"
#include "pipeline/pipeline.h"
#include "text/load_text.h"

namespace casewright {
namespace {

// The columns of the raw values file that are no feature's value.
bool IsFeatureValue(const QString& column) {
  return column != QLatin1String("number") && column != QLatin1String("text") && column != QLatin1String("class");
}

// The settings of a run of the text at `path` as `reading` says.
RunSettings RunOf(const std::string& path, const TextReading& reading, FeatureSet features) {
  RunSettings run;
  run.text_path = path;
  run.encoding = reading.encoding;
  run.segmented = reading.segmented;
  run.features = features;
  return run;
}

}  // namespace

std::vector<double> ModelScores(const std::string& model_path, const std::string& text_path,
                                const TextReading& reading, const LexicalTables& tables) {
  return ModelScoresOfText(model_path, RunOf(text_path, reading, FeatureSet::None()), LoadTextAs(text_path, reading.encoding), tables);
}

QString ScoreText(double score) { return QString::number(score, 'f', 6); }

QString FileNameOf(const std::string& path) { return QFileInfo(QString::fromStdString(path)).fileName(); }

QStringList TickedFeatureNames(FeatureSet features) {
  QStringList names;
  for (const FeatureInfo& info : kFeatures) {
    if (features.Has(info.feature)) names.append(QString::fromUtf8(info.short_name.data(), info.short_name.size()));
  }
  return names;
}

SentenceColumns FeatureCodes(const std::string& path, const TextReading& reading, FeatureSet features,
                             const LexicalTables& tables) {
  const RunSettings run = RunOf(path, reading, features);
  SentenceColumns columns{TickedFeatureNames(features), {}};
  // Every code is one digit (features.h), so a case's codes split by digit.
  for (const std::string& codes : ComputeCases(run, tables).codes) {
    QStringList& row = columns.rows.emplace_back();
    for (char code : codes) row.append(QChar::fromLatin1(code));
  }
  return columns;
}

SentenceColumns RawValues(const std::string& path, const TextReading& reading, FeatureSet features,
                          const LexicalTables& tables) {
  // The run writes its raw values file in a folder of its own, which goes
  // with it; the cases it must also write go there too.
  QTemporaryDir folder;
  if (!folder.isValid()) throw RunError("No temporary folder for the raw values: " + folder.errorString().toStdString());
  RunSettings run = RunOf(path, reading, features);
  run.output_path = QDir(folder.path()).filePath(QStringLiteral("cases")).toStdString();
  run.raw_path = QDir(folder.path()).filePath(QStringLiteral("raw.tsv")).toStdString();
  RunCases(run, tables);
  QFile file(QString::fromStdString(run.raw_path));
  if (!file.open(QIODevice::ReadOnly)) throw RunError("Cannot read the raw values", run.raw_path);
  const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  SentenceColumns columns;
  if (lines.isEmpty()) return columns;
  const QStringList header = lines.front().split(QLatin1Char('\t'));
  for (const QString& name : header) {
    if (IsFeatureValue(name)) columns.names.append(name);
  }
  for (qsizetype i = 1; i < lines.size(); ++i) {
    const QStringList fields = lines[i].split(QLatin1Char('\t'));
    QStringList& row = columns.rows.emplace_back();
    for (qsizetype k = 0; k < header.size() && k < fields.size(); ++k) {
      if (IsFeatureValue(header[k])) row.append(fields[k]);
    }
  }
  return columns;
}

QString DescribeRow(const SentenceColumns& columns, std::size_t row) {
  QStringList cells;
  for (qsizetype k = 0; k < columns.names.size() && k < columns.rows[row].size(); ++k) {
    cells.append(columns.names[k] + QLatin1Char(' ') + columns.rows[row][k]);
  }
  return cells.join(QStringLiteral(", "));
}

}  // namespace casewright
