// The table of the Sentences view: one row a sentence, with its number, its
// paragraph flags ("[" begins a paragraph, "]" ends one), the class the
// classes file gives it, the class the extract gives it and the sentence;
// then, when given, a column per ticked feature with the sentence's code
// and a column per raw value.  Each cell's Qt::UserRole is what it sorts by:
// a number where the cell holds one.
// A model rather than a table of items, so that a text of a million
// sentences costs one string a sentence.
#ifndef CASEWRIGHT_GUI_SENTENCE_TABLE_MODEL_H_
#define CASEWRIGHT_GUI_SENTENCE_TABLE_MODEL_H_

#include <QAbstractTableModel>
#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "gui/sentence_features.h"

namespace casewright {

class SentenceTableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  enum Column { kNumber, kParagraph, kFileClass, kExtractClass, kSentence, kColumnCount };

  struct Sentence {
    QString flags;
    QString text;
  };

  using QAbstractTableModel::QAbstractTableModel;

  void SetSentences(std::vector<Sentence> sentences);
  // The classes column (an empty class shows as "-"); `mark` is the row
  // where the classes stop fitting, with `why` as its tooltip.
  // REQUIRES: classes.size() equals the number of sentences.
  void SetFileClasses(const std::vector<std::string>& classes, std::optional<std::size_t> mark, const QString& why);
  void SetExtractClasses(const std::vector<std::string>& classes);
  // The feature columns after the sentence: the codes, then the raw values
  // (empty names: none).  REQUIRES: a row per sentence in each.
  void SetFeatureColumns(SentenceColumns codes, SentenceColumns raw);

  // The first row whose two classes differ, once both columns are filled.
  std::optional<std::size_t> FirstDisagreement() const;
  std::optional<std::size_t> mark() const { return mark_; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  // Finds the first disagreement again after a column changed, and redraws.
  void FindDisagreement();
  // The cell of the feature columns at `column` (from kColumnCount).
  QString FeatureCell(std::size_t row, int column) const;
  QString FeatureHeader(int column) const;

  std::vector<Sentence> sentences_;
  std::vector<QString> file_classes_;
  std::vector<QString> extract_classes_;
  std::optional<std::size_t> mark_;
  QString why_;
  std::optional<std::size_t> disagreement_;
  SentenceColumns codes_;
  SentenceColumns raw_;
};

}  // namespace casewright

#endif  // CASEWRIGHT_GUI_SENTENCE_TABLE_MODEL_H_
