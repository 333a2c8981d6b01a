// The window's Sentences view (Options > Sentences...): the sentences of the
// text, numbered as a run finds them and shown as the file has them, beside
// the class the classes file gives each; once a reference extract is chosen,
// also the class the extract gives each (extract_classes.h), which can be
// saved as the classes file unless words of the extract match no sentence
// (as `casewright-cli classes` refuses them without --allow-unmatched).
//
// The first sentence where the classes file stops fitting the sentences
// (its classes run out, one is empty or runs its digits together, or classes
// are left over after the last sentence) is highlighted in red, the first
// where the file and the extract disagree in yellow, and the earlier of the
// two is selected.  What the classes file and the extract have to say is
// listed under the sentences.
//
// After the sentence, a column per feature ticked in the window holds the
// sentence's code, as its case has it; "Raw values" adds the values the
// codes are made from, as `--raw` writes them.  When the Summary view
// remembers a model, a score column (6 decimals) comes first.  Every column
// sorts.
#ifndef CASEWRIGHT_GUI_SENTENCES_VIEW_H_
#define CASEWRIGHT_GUI_SENTENCES_VIEW_H_

#include <QDialog>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/lexical_tables.h"
#include "gui/gui_prompts.h"
#include "gui/sentence_features.h"
#include "text/segmented_text.h"
#include "text/text_encoding.h"

class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;

namespace casewright {

class SentenceTableModel;

class SentencesView : public QDialog {
  Q_OBJECT

 public:
  // `tables` and `prompts` must outlive the view; `features` are the ticked
  // ones, whose codes the view shows.
  SentencesView(const LexicalTables& tables, GuiPrompts& prompts, FeatureSet features, QWidget* parent);
  ~SentencesView() override;

  // Segments the text and reads the classes file (empty path: none).
  // Returns false, after showing the error, when the text cannot be read.
  bool Load(const std::string& text_path, const TextReading& reading, const std::string& classes_path);

 signals:
  // The extract's classes were saved to `path`, which the run may now use.
  void ClassesSaved(const QString& path);

 private slots:
  void ChooseExtract();
  void MatchExtract();
  void SaveClasses();
  // Shows the codes, and the raw values when asked for.
  void ShowFeatures();

 private:
  // Reads the classes file at `path` into the classes column.
  void ShowFileClasses(const std::string& path);
  // Highlights the first mismatches and selects the earlier.
  void ShowMismatches();
  void ShowMessages();
  // The remembered model's scores (when the Summary view has one) and the
  // codes of the ticked features.  Throws RunError.
  SentenceColumns ScoresAndCodes();

  const LexicalTables& tables_;
  GuiPrompts& prompts_;
  std::unique_ptr<SegmentedText> text_;
  FeatureSet features_;
  std::string text_path_;
  TextReading reading_;
  std::optional<SentenceColumns> codes_;
  // Computed the first time they are asked for.
  std::optional<SentenceColumns> raw_;
  std::string extract_path_;
  std::vector<std::string> extract_classes_;
  // What the text, the classes file and the extract have to say.
  std::vector<QString> text_messages_;
  std::vector<QString> file_messages_;
  std::vector<QString> extract_messages_;

  SentenceTableModel* model_;
  QSortFilterProxyModel* sorted_;
  QCheckBox* raw_box_;
  QLabel* summary_;
  QTableView* table_;
  QPlainTextEdit* messages_;
  QPushButton* extract_button_;
  QDoubleSpinBox* min_overlap_;
  QCheckBox* extract_lines_;
  QPushButton* save_button_;
};

// Opens the Sentences view of the text at `text_path`, with the classes
// file at `classes_path`, over `parent`; a classes file saved from it goes
// into `classes_edit`.  Shows the error and opens nothing when the text
// cannot be read.
void OpenSentencesView(QWidget* parent, const LexicalTables& tables, GuiPrompts& prompts,
                       const std::string& text_path, const TextReading& reading, const std::string& classes_path,
                       QLineEdit* classes_edit, FeatureSet features);

}  // namespace casewright

#endif  // CASEWRIGHT_GUI_SENTENCES_VIEW_H_
