// The main window: the three files, the eight feature switches, the output
// format, the text being analysed and the Execute button.  The window only
// gathers the settings, shows the text and reports progress; the run itself
// is the core's RunCasesOnText, on a worker thread so that the window keeps
// repainting while it works.
#ifndef CASEWRIGHT_APP_MAIN2_H_
#define CASEWRIGHT_APP_MAIN2_H_

#include <QLocale>
#include <QTime>
#include <QWidget>
#include <array>
#include <atomic>
#include <optional>
#include <string>
#include <thread>

#include "app/gui_prompts.h"
#include "app/pipeline.h"
#include "lexicon/lexical_tables.h"

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
  void Button1Click();
  void Button2Click();
  void Button3Click();
  void Button4Click();
  // Shows the latest progress tick: the time on the Execute button and the
  // progress bar.  Driven by a timer during a run, so the window changes a
  // few times a second however often the run reports.
  void ShowProgress();

 private:
  struct RunResult {
    std::optional<RunOutcome> outcome;  // empty when the run failed
    QString error;
  };

  void BuildControls();
  bool CaptionsFit() const;
  void FitCaptions();
  void FormCreate();
  // Clears the memo and loads the file at `path` into it.  On failure shows
  // the error and returns nullopt, leaving the memo empty.
  std::optional<std::string> LoadIntoMemo(const QString& path);
  RunSettings ReadSettings() const;
  void EnterRunning();
  void FinishRun(const RunResult& result);
  void ReturnToIdle();

  const LexicalTables& tables_;
  GuiPrompts& prompts_;

  QLabel* Label1;
  QLabel* Label2;
  QLabel* Label3;
  QLabel* Label4;
  QLabel* Label5;
  QLabel* Label6;
  QFrame* Bevel1;
  QFrame* Bevel2;
  QLineEdit* Edit1;
  QLineEdit* Edit2;
  QLineEdit* Edit3;
  QPushButton* Button1;
  QPushButton* Button2;
  QPushButton* Button3;
  QPushButton* Button4;
  QGroupBox* GroupBox1;
  std::array<QCheckBox*, kFeatureCount> feature_boxes_;  // CheckBox1 to CheckBox8
  QCheckBox* CheckBox9;
  QPlainTextEdit* Memo1;
  QProgressBar* ProgressBar1;
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

#endif  // CASEWRIGHT_APP_MAIN2_H_
