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
#ifndef CASEWRIGHT_GUI_SENTENCES_VIEW_H_
#define CASEWRIGHT_GUI_SENTENCES_VIEW_H_

#include <QDialog>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/lexical_tables.h"
#include "gui/gui_prompts.h"
#include "text/segmented_text.h"
#include "text/text_encoding.h"

class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableView;

namespace casewright {

class SentenceTableModel;

class SentencesView : public QDialog {
  Q_OBJECT

 public:
  // `tables` and `prompts` must outlive the view.
  SentencesView(const LexicalTables& tables, GuiPrompts& prompts, QWidget* parent);
  ~SentencesView() override;

  // Segments the text and reads the classes file (empty path: none).
  // Returns false, after showing the error, when the text cannot be read.
  bool Load(const std::string& text_path, TextEncoding encoding, const std::string& classes_path);

 signals:
  // The extract's classes were saved to `path`, which the run may now use.
  void ClassesSaved(const QString& path);

 private slots:
  void ChooseExtract();
  void MatchExtract();
  void SaveClasses();

 private:
  // Reads the classes file at `path` into the classes column.
  void ShowFileClasses(const std::string& path);
  // Highlights the first mismatches and selects the earlier.
  void ShowMismatches();
  void ShowMessages();

  const LexicalTables& tables_;
  GuiPrompts& prompts_;
  std::unique_ptr<SegmentedText> text_;
  std::string text_path_;
  std::string extract_path_;
  std::vector<std::string> extract_classes_;
  // What the text, the classes file and the extract have to say.
  std::vector<QString> text_messages_;
  std::vector<QString> file_messages_;
  std::vector<QString> extract_messages_;

  SentenceTableModel* model_;
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
                       const std::string& text_path, TextEncoding encoding, const std::string& classes_path,
                       QLineEdit* classes_edit);

}  // namespace casewright

#endif  // CASEWRIGHT_GUI_SENTENCES_VIEW_H_
