#include "gui/sentence_table_model.h"

#include <QColor>

namespace casewright {
namespace {

const QColor kMarkColor(255, 190, 190);
const QColor kDisagreementColor(255, 235, 150);

std::vector<QString> Shown(const std::vector<std::string>& classes) {
  std::vector<QString> shown;
  shown.reserve(classes.size());
  for (const std::string& sentence_class : classes) {
    shown.push_back(sentence_class.empty() ? QStringLiteral("-") : QString::fromStdString(sentence_class));
  }
  return shown;
}

}  // namespace

void SentenceTableModel::SetSentences(std::vector<Sentence> sentences) {
  beginResetModel();
  sentences_ = std::move(sentences);
  file_classes_.clear();
  extract_classes_.clear();
  mark_.reset();
  disagreement_.reset();
  codes_ = {};
  raw_ = {};
  endResetModel();
}

void SentenceTableModel::SetFeatureColumns(SentenceColumns codes, SentenceColumns raw) {
  beginResetModel();
  codes_ = std::move(codes);
  raw_ = std::move(raw);
  endResetModel();
}

QString SentenceTableModel::FeatureCell(std::size_t row, int column) const {
  const auto k = static_cast<qsizetype>(column - kColumnCount);
  if (k < codes_.names.size()) return codes_.rows[row].value(k);
  return raw_.rows[row].value(k - codes_.names.size());
}

QString SentenceTableModel::FeatureHeader(int column) const {
  const auto k = static_cast<qsizetype>(column - kColumnCount);
  if (k < codes_.names.size()) return codes_.names[k];
  // Raw values share some names with the codes (text_location).
  return raw_.names.value(k - codes_.names.size()) + QStringLiteral(" (raw)");
}

void SentenceTableModel::SetFileClasses(const std::vector<std::string>& classes, std::optional<std::size_t> mark,
                                        const QString& why) {
  file_classes_ = Shown(classes);
  mark_ = mark;
  why_ = why;
  FindDisagreement();
}

void SentenceTableModel::SetExtractClasses(const std::vector<std::string>& classes) {
  extract_classes_ = Shown(classes);
  FindDisagreement();
}

void SentenceTableModel::FindDisagreement() {
  disagreement_.reset();
  if (!file_classes_.empty() && file_classes_.size() == extract_classes_.size()) {
    for (std::size_t row = 0; row < file_classes_.size(); ++row) {
      if (file_classes_[row] != extract_classes_[row]) {
        disagreement_ = row;
        break;
      }
    }
  }
  if (sentences_.empty()) return;
  // The highlights may have moved on any row.
  emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

std::optional<std::size_t> SentenceTableModel::FirstDisagreement() const { return disagreement_; }

int SentenceTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(sentences_.size());
}

int SentenceTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumnCount + static_cast<int>(codes_.names.size() + raw_.names.size());
}

QVariant SentenceTableModel::data(const QModelIndex& index, int role) const {
  const auto row = static_cast<std::size_t>(index.row());
  if (!index.isValid() || row >= sentences_.size()) return {};
  if (role == Qt::UserRole) {
    // Numbers sort as numbers; a cell that holds none sorts as text.
    const QVariant shown = data(index, Qt::DisplayRole);
    bool number = false;
    const double value = shown.toString().toDouble(&number);
    return number ? QVariant(value) : shown;
  }
  if (role == Qt::DisplayRole) {
    if (index.column() >= kColumnCount) return FeatureCell(row, index.column());
    switch (index.column()) {
      case kNumber:
        return index.row() + 1;
      case kParagraph:
        return sentences_[row].flags;
      case kFileClass:
        return row < file_classes_.size() ? file_classes_[row] : QString();
      case kExtractClass:
        return row < extract_classes_.size() ? extract_classes_[row] : QString();
      case kSentence:
        return sentences_[row].text;
    }
  }
  if (role == Qt::BackgroundRole) {
    if (row == mark_) return kMarkColor;
    if (row == disagreement_) return kDisagreementColor;
  }
  if (role == Qt::ToolTipRole && row == mark_) return why_;
  if (role == Qt::TextAlignmentRole && index.column() != kSentence) return Qt::AlignCenter;
  return {};
}

QVariant SentenceTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  if (section >= kColumnCount) return FeatureHeader(section);
  switch (section) {
    case kNumber:
      return QStringLiteral("No.");
    case kParagraph:
      return QStringLiteral("Par.");
    case kFileClass:
      return QStringLiteral("Classes file");
    case kExtractClass:
      return QStringLiteral("Extract");
    case kSentence:
      return QStringLiteral("Sentence");
  }
  return {};
}

}  // namespace casewright
