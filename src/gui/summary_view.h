// The window's Summary view (Options > Summary...): the extract a
// classifier's scores give the text named in the window, at a rate set with
// a spin box, as `casewright-cli summarize` makes it; once a reference
// extract is loaded, the figures of that choice and of the lead baseline
// against it, as `casewright-cli evaluate` gives them.
//
//   Scores...             a scores file (score_file.h: one number a line,
//                         a CSV with sentence and score columns, or Weka's
//                         predictions)
//   Model...              a model of `casewright-cli train`, whose
//                         probabilities of class 1 become the scores; the
//                         model is remembered, and scores the text whenever
//                         the view opens
//   Rate                  the share of the sentences to choose, 0.01 to 1
//   Reference extract...  the text's reference summary, matched as
//                         `casewright-cli classes` matches it
//   Save extract...       writes the chosen sentences, one a line
#ifndef CASEWRIGHT_GUI_SUMMARY_VIEW_H_
#define CASEWRIGHT_GUI_SUMMARY_VIEW_H_

#include <QDialog>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/lexical_tables.h"
#include "gui/gui_prompts.h"
#include "summary/summary_figures.h"
#include "text/segmented_text.h"
#include "text/text_encoding.h"

class QDoubleSpinBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace casewright {

class SummaryView : public QDialog {
  Q_OBJECT

 public:
  // `tables` and `prompts` must outlive the view.
  SummaryView(const LexicalTables& tables, GuiPrompts& prompts, QWidget* parent);
  ~SummaryView() override;

  // Segments the text.  Returns false, after showing the error, when it
  // cannot be read or holds no sentence.
  bool Load(const std::string& text_path, TextEncoding encoding);

 private slots:
  void ChooseScores();
  void ChooseModel();
  void ChooseReference();
  void SaveExtract();
  // Chooses the sentences at the rate, and shows them and their figures.
  void ShowChoice();

 private:
  // Scores the text with the model at `path`.  Throws RunError.
  void ScoreWithModel(const std::string& path);

  const LexicalTables& tables_;
  GuiPrompts& prompts_;
  std::unique_ptr<SegmentedText> text_;
  std::string text_path_;
  SentenceTokens tokens_;
  TextEncoding encoding_ = TextEncoding::kWindows1252;
  std::string scores_path_;
  std::vector<double> scores_;
  std::vector<std::size_t> chosen_;
  std::optional<Reference> reference_;
  QString reference_note_;

  QLabel* about_;
  QPlainTextEdit* sentences_;
  QPlainTextEdit* figures_;
  QDoubleSpinBox* rate_;
  QPushButton* save_button_;
};

// Opens the Summary view of the text at `text_path` over `parent`.  Shows
// the error and opens nothing when the text cannot be read.
void OpenSummaryView(QWidget* parent, const LexicalTables& tables, GuiPrompts& prompts, const std::string& text_path,
                     TextEncoding encoding);

}  // namespace casewright

#endif  // CASEWRIGHT_GUI_SUMMARY_VIEW_H_
