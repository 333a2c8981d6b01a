// The main window: the three files, the eight feature switches, the output
// format, the text being analysed and the Execute button, with the Options
// menu (options_menu.h) for the text's encoding, the other output formats
// and the C4.5 names file.  The window only gathers the settings, shows the
// text and reports progress; the run itself is the core's RunCasesOnText, on
// a worker thread so that the window keeps repainting while it works.
//
// The controls keep their places of the 696 x 504 form; a larger window
// gives the extra room to the text.  A menu bar reaches every button (File,
// Run, Options, Help) with the platform's shortcuts, and a status bar shows
// the time of a run's last step, a cancelled run and a text that could not
// be shown.  Cancel stops a run at its next progress step; like any failed
// run, it changes no file.  File > Run batch... runs a manifest as
// `casewright-cli batch` does (window_batch.h).
//
// The file dialogs open in the folder of the path in their field, else in
// the folder of the last file chosen, which QSettings keeps between starts.
#ifndef CASEWRIGHT_GUI_MAIN2_H_
#define CASEWRIGHT_GUI_MAIN2_H_

#include <QLocale>
#include <QMainWindow>
#include <QTime>
#include <array>
#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "batch/batch.h"
#include "core/features.h"
#include "core/lexical_tables.h"
#include "gui/gui_prompts.h"
#include "gui/memo_filler.h"
#include "pipeline/pipeline.h"
#include "text/text_encoding.h"

class QAction;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTimer;
class QToolButton;

namespace casewright {

class OptionsMenu;
class WindowBatchObserver;

// The time of day as the locale writes it in its long format, without the
// time zone (the Execute button has room for the time only).
QString LongTimeOfDay(const QLocale& locale, const QTime& time);

class TMainForm2 : public QMainWindow {
  Q_OBJECT

 public:
  // `tables` and `prompts` must outlive the window.
  TMainForm2(const LexicalTables& tables, GuiPrompts& prompts, QWidget* parent = nullptr);
  // Cancels a run or batch still in progress and waits for it to stop.
  ~TMainForm2() override;

  bool running() const { return running_; }

  // Puts `path` in the text field and shows the text (the program's
  // argument).
  void OpenText(const QString& path);
  // The folder of the tables in use, for Help > About.
  void SetTablesFolder(const QString& folder) { tables_folder_ = folder; }

 signals:
  // Execute (or a batch) has been handled to the end: the run's final box
  // ("Done!" or an error) has been closed, or the status bar says it was
  // cancelled, and the window is idle again.
  void ExecuteFinished();

 protected:
  // Refuses to close while a run is in progress.
  void closeEvent(QCloseEvent* event) override;
  // Lays the form out again when it is resized.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private slots:
  // The Search buttons: a file dialog whose answer goes into the field
  // beside it; the text is also shown in the memo.
  void ChooseTextFile();
  void ChooseClassesFile();
  void ChooseOutputFile();
  // Execute: loads the text and runs the pipeline on a worker thread.
  void Execute();
  // Asks the run in progress to stop.
  void Cancel();
  // File > Run batch...: a manifest and a combined file, then the batch on a
  // worker thread.
  void RunBatchFromManifest();
  // Shows the latest progress: the share done on the Execute button and the
  // progress bar, the time of the last step (or the texts done) in the
  // status bar.  Driven by a timer during a run, so the window changes a
  // few times a second however often the run reports.
  void ShowProgress();
  void ShowManual();
  void ShowAbout();

 private:
  struct RunResult {
    RunSettings settings;
    std::optional<RunOutcome> outcome;  // empty when the run failed
    QString error;
    bool cancelled;
  };

  // A text as loaded: its bytes, shared by the memo and the run, and what
  // decoding it had to say.
  struct LoadedText {
    std::shared_ptr<const std::string> bytes;  // Windows-1252
    std::vector<std::string> warnings;
    std::vector<std::string> notes;
  };

  void BuildControls();
  void BuildMenus();
  // Places the controls for the form's size: the memo takes the room beyond
  // 696 x 504 (taller by GroupBox2 when it is unfolded), the bottom row
  // follows the form's bottom edge.
  void LayOutForm();
  // Shows or hides GroupBox2 (features 9 to 16), growing or shrinking the
  // form's smallest size by its height, and remembers the choice.
  void UnfoldMoreFeatures(bool unfolded);
  bool CaptionsFit() const;
  void FitCaptions();
  void FormCreate();
  // Clears the memo and loads the file at `path` into it, in the encoding
  // the options give.  On failure shows the error (in a box, or in the
  // status bar for a reload the user did not ask for) and returns nullopt,
  // leaving the memo empty.
  enum class ErrorsIn { kBox, kStatusBar };
  std::optional<LoadedText> LoadIntoMemo(const QString& path, ErrorsIn errors = ErrorsIn::kBox);
  // Shows the text field's file again (its path was edited, or the encoding
  // changed); an empty field clears the memo.
  void ReloadMemo();
  // Where the output dialog opens: the output field's file, else a file in
  // its folder named after the text, with `format`'s extension.
  QString SuggestedOutput(CaseFormat format) const;
  // The folder a file dialog opens in for a field holding `path`.
  QString DialogFolder(const QString& path) const;
  // Keeps the folder of a file the user chose, for the next dialog.
  void RememberFolder(const QString& chosen);
  RunSettings ReadSettings() const;
  // Locks the form for a run or a batch and offers Cancel.
  void EnterRunning();
  void FinishRun(const RunResult& result);
  void ReturnToIdle();
  // Starts the batch of `manifest` into `combined` on the worker thread.
  void StartBatch(const QString& manifest, const QString& combined);
  void FinishBatch(const BatchSettings& settings, const std::optional<BatchReport>& report, const QString& error);

  const LexicalTables& tables_;
  GuiPrompts& prompts_;
  QString tables_folder_;

  // The controls, with the object names that users and tests see.
  QWidget* form_;                                        // Form: the controls' parent
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
  QGroupBox* features_group_;                            // GroupBox1: features 1 to 8
  QToolButton* more_features_button_;                    // MoreFeaturesButton: folds GroupBox2
  QGroupBox* more_features_group_;                       // GroupBox2: features 9 to 16, folded by default
  // In feature order: CheckBox1 to CheckBox8 in GroupBox1, then FeatureBox9
  // to FeatureBox16 in GroupBox2 (CheckBox9 is the Quinlan box's name).
  std::array<QCheckBox*, kFeatureCount> feature_boxes_;
  QProgressBar* progress_bar_;                           // ProgressBar1
  QPushButton* execute_button_;                          // Button4
  QLabel* text_heading_;                                 // Label6 "Text"
  QPlainTextEdit* text_memo_;                            // Memo1
  MemoFiller* memo_filler_;                              // shows a long text a piece at a time
  QCheckBox* quinlan_box_;                               // CheckBox9 "Formato Quinlan"
  OptionsMenu* options_menu_;                            // ToolButton1 "Options"
  QPushButton* cancel_button_;                           // CancelButton, in the status bar during a run
  // The menu bar's actions that a run disables, and Cancel, which it enables.
  std::vector<QAction*> idle_actions_;
  QAction* cancel_action_;
  QTimer* progress_timer_;

  bool running_ = false;
  std::thread worker_;
  // Set by Cancel, read by the run's progress callback.
  std::atomic<bool> cancel_requested_{false};
  // Written by the worker's progress callback, read by ShowProgress: the
  // time of day of the latest tick (ms since midnight, -1 before the first)
  // and how far the run has got, in thousandths.
  std::atomic<int> tick_time_ms_{-1};
  std::atomic<int> tick_permille_{0};
  // The batch in progress, if any, whose counts ShowProgress reads instead.
  std::unique_ptr<WindowBatchObserver> batch_;
};

}  // namespace casewright

#endif  // CASEWRIGHT_GUI_MAIN2_H_
