// The main window: the three files, the eight feature switches, the output
// format, the text being analysed and the Execute button, with the Options
// menu (options_menu.h) for the text's encoding, the other output formats
// and the C4.5 names file.  The window only gathers the settings, shows the
// text and reports progress; the run itself is the core's RunCasesOnText, on
// a worker thread so that the window keeps repainting while it works.
//
// The file dialogs open in the folder of the path in their field, else in
// the folder of the last file chosen, which QSettings keeps between starts.
#ifndef CASEWRIGHT_GUI_MAIN2_H_
#define CASEWRIGHT_GUI_MAIN2_H_

#include <QLocale>
#include <QTime>
#include <QWidget>
#include <array>
#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "core/features.h"
#include "core/lexical_tables.h"
#include "gui/gui_prompts.h"
#include "gui/memo_filler.h"
#include "pipeline/pipeline.h"
#include "text/text_encoding.h"

class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTimer;

namespace casewright {

class OptionsMenu;

// The time of day as the locale writes it in its long format, without the
// time zone (the Execute button has room for the time only).
QString LongTimeOfDay(const QLocale& locale, const QTime& time);

class TMainForm2 : public QWidget {
  Q_OBJECT

 public:
  // `tables` and `prompts` must outlive the window.
  TMainForm2(const LexicalTables& tables, GuiPrompts& prompts, QWidget* parent = nullptr);
  // Waits for a run still in progress.
  ~TMainForm2() override;

  bool running() const { return running_; }

 signals:
  // Execute has been handled to the end: the run's final box ("Done!" or an
  // error) has been closed and the window is idle again.
  void ExecuteFinished();

 protected:
  // Refuses to close while a run is in progress.
  void closeEvent(QCloseEvent* event) override;

 private slots:
  // The Search buttons: a file dialog whose answer goes into the field
  // beside it; the text is also shown in the memo.
  void ChooseTextFile();
  void ChooseClassesFile();
  void ChooseOutputFile();
  // Execute: loads the text and runs the pipeline on a worker thread.
  void Execute();
  // Shows the latest progress tick: the time on the Execute button and the
  // progress bar.  Driven by a timer during a run, so the window changes a
  // few times a second however often the run reports.
  void ShowProgress();

 private:
  struct RunResult {
    RunSettings settings;
    std::optional<RunOutcome> outcome;  // empty when the run failed
    QString error;
  };

  // A text as loaded: its bytes, shared by the memo and the run, and what
  // decoding it had to say.
  struct LoadedText {
    std::shared_ptr<const std::string> bytes;  // Windows-1252
    std::vector<std::string> warnings;
    std::vector<std::string> notes;
  };

  void BuildControls();
  bool CaptionsFit() const;
  void FitCaptions();
  void FormCreate();
  // Clears the memo and loads the file at `path` into it, in the encoding
  // the options give.  On failure shows the error and returns nullopt,
  // leaving the memo empty.
  std::optional<LoadedText> LoadIntoMemo(const QString& path);
  // The folder a file dialog opens in for a field holding `path`.
  QString DialogFolder(const QString& path) const;
  // Keeps the folder of a file the user chose, for the next dialog.
  void RememberFolder(const QString& chosen);
  RunSettings ReadSettings() const;
  void EnterRunning();
  void FinishRun(const RunResult& result);
  void ReturnToIdle();

  const LexicalTables& tables_;
  GuiPrompts& prompts_;

  // The controls, with the object names that users and tests see.
  QLabel* input_heading_;                                // Label4 "Input"
  QFrame* input_frame_;                                  // Bevel1
  QLabel* text_label_;                                   // Label1
  QLineEdit* text_path_edit_;                            // Edit1
  QPushButton* text_search_button_;                      // Button1
  QLabel* classes_label_;                                // Label2
  QLineEdit* classes_path_edit_;                         // Edit2
  QPushButton* classes_search_button_;                   // Button2
  QLabel* output_heading_;                               // Label5 "Output"
  QFrame* output_frame_;                                 // Bevel2
  QLabel* output_label_;                                 // Label3
  QLineEdit* output_path_edit_;                          // Edit3
  QPushButton* output_search_button_;                    // Button3
  QGroupBox* features_group_;                            // GroupBox1
  std::array<QCheckBox*, kFeatureCount> feature_boxes_;  // CheckBox1 to CheckBox8, in feature order
  QProgressBar* progress_bar_;                           // ProgressBar1
  QPushButton* execute_button_;                          // Button4
  QLabel* text_heading_;                                 // Label6 "Text"
  QPlainTextEdit* text_memo_;                            // Memo1
  MemoFiller* memo_filler_;                              // shows a long text a piece at a time
  QCheckBox* quinlan_box_;                               // CheckBox9 "Formato Quinlan"
  OptionsMenu* options_menu_;                            // ToolButton1 "Options"
  QTimer* progress_timer_;

  bool running_ = false;
  std::thread worker_;
  // Written by the worker's progress callback, read by ShowProgress: the
  // time of day of the latest tick (ms since midnight, -1 before the first)
  // and how far the run has got, in thousandths.
  std::atomic<int> tick_time_ms_{-1};
  std::atomic<int> tick_permille_{0};
};

}  // namespace casewright

#endif  // CASEWRIGHT_GUI_MAIN2_H_
