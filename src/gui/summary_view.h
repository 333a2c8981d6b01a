// The window's Summary view (Options > Summary...): the extract a
// classifier's scores give the text named in the window, at a rate set with
// a spin box, as `casewright-cli summarize` makes it; once a reference
// extract is loaded, the figures of that choice and of the lead baseline
// against it, as `casewright-cli evaluate` gives them (figures_panel.h).
//
// The text is listed a sentence a row, the chosen ones highlighted; with a
// reference, each sentence carries one of three marks, a sign in the first
// column and a colour of a palette that colour-blind readers tell apart:
// chosen and in the reference, chosen but not in it, in it but missed.
// Clicking a sentence shows its number, score, feature codes and raw values.
//
// The system's column is named as the command line names it: `model` when a
// model scored the text (as `crossval` names its row), the method's name
// for a method, else `system1`, as `evaluate` names a manifest's only system
// when no header names it.
//
//   Method                where the scores come from: "Scores or model"
//                         (the two buttons beside it), or a summariser of
//                         summary/methods/registry.h that needs no
//                         reference, as `summarize --method` runs it
//   Scores...             a scores file (score_file.h: one number a line,
//                         a CSV with sentence and score columns, or Weka's
//                         predictions)
//   Model...              a model of `casewright-cli train`, whose
//                         probabilities of class 1 become the scores; the
//                         model is remembered, and scores the text whenever
//                         the view opens
//   Rate                  the share of the sentences to choose, 0.01 to 1
//   Selection             top (the best scores) or mmr with its lambda, as
//                         `summarize --selection` chooses
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
#include "gui/sentence_features.h"
#include "summary/methods/method.h"
#include "summary/summary_figures.h"
#include "text/segmented_text.h"
#include "text/text_encoding.h"

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace casewright {

class FiguresPanel;

// What the view marks a sentence with.
enum class SentenceMark { kNone, kChosen, kChosenInReference, kChosenNotInReference, kMissed };

// The mark of a sentence chosen or not, in the reference or not (absent:
// no reference loaded).
SentenceMark MarkOf(bool chosen, std::optional<bool> in_reference);

// The sign a mark shows in the first column ("" for kNone).
QString SignOf(SentenceMark mark);

class SummaryView : public QDialog {
  Q_OBJECT

 public:
  // Columns of the sentence table.
  enum Column { kMark, kNumber, kScore, kSentence };

  // `tables` and `prompts` must outlive the view; `features` are the run's,
  // whose codes a clicked sentence shows.
  SummaryView(const LexicalTables& tables, GuiPrompts& prompts, FeatureSet features, QWidget* parent);
  ~SummaryView() override;

  // Segments the text.  Returns false, after showing the error, when it
  // cannot be read or holds no sentence.
  bool Load(const std::string& text_path, const TextReading& reading);

 private slots:
  void ChooseScores();
  void ChooseModel();
  void ChooseReference();
  // Scores the text with the method chosen in the list; the list's first
  // entry waits for a scores file or a model.
  void ChooseMethod();
  void SaveExtract();
  // Chooses the sentences at the rate, and shows them and their figures.
  void ShowChoice();
  // Shows the number, score, codes and raw values of the sentence in `row`.
  void ShowSentence(int row);

 private:
  // Scores the text with the model at `path`.  Throws RunError.
  void ScoreWithModel(const std::string& path);
  // Puts the method list back on "Scores or model".
  void ResetMethod();
  // Lists every sentence with its mark and score.
  void ShowSentences();
  // The choice's and the lead's figures against the reference.
  void ShowFigures();

  const LexicalTables& tables_;
  GuiPrompts& prompts_;
  std::unique_ptr<SegmentedText> text_;
  std::string text_path_;
  SentenceTokens tokens_;
  StopwordFlags stopwords_;
  TextReading reading_;
  FeatureSet features_;
  std::string scores_path_;
  bool scored_by_model_ = false;
  std::string method_name_;  // empty: the scores are a file's or a model's
  std::vector<double> scores_;
  std::vector<std::size_t> chosen_;
  std::optional<Reference> reference_;
  std::string reference_path_;
  QString reference_note_;
  // Computed on the first click, for the text as loaded.
  std::optional<SentenceColumns> codes_;
  std::optional<SentenceColumns> raw_;

  QLabel* about_;
  QLabel* legend_;
  QTableWidget* sentences_;
  QLabel* details_;
  QLabel* reference_label_;
  FiguresPanel* figures_;
  QComboBox* method_;
  QDoubleSpinBox* rate_;
  QComboBox* selection_;
  QDoubleSpinBox* lambda_;
  QPushButton* save_button_;
};

// Opens the Summary view of the text at `text_path` over `parent`.  Shows
// the error and opens nothing when the text cannot be read.
void OpenSummaryView(QWidget* parent, const LexicalTables& tables, GuiPrompts& prompts, const std::string& text_path,
                     const TextReading& reading, FeatureSet features);

}  // namespace casewright

#endif  // CASEWRIGHT_GUI_SUMMARY_VIEW_H_
