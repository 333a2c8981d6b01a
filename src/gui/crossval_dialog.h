// Run > Cross-validate...: `casewright-cli crossval` in the window.  The
// dialog takes a manifest (as crossval reads it), the folds, the rate, the
// repeats and the baselines, with crossval's defaults (rate 0.2, one
// repeat, lead and random, the intervals of its default bootstrap; ten
// folds, as its example uses), and the window's ticked features and
// encoding.
//
// Run cross-validates on a worker thread with the core's CrossValidate
// (experiment/crossval.h), the very code of `crossval`, whose fold_done
// hook moves the progress bar once a fold and is where Cancel stops the
// work, between two folds.  Nothing is written: the result is the mean
// rows, shown as the figures table and chart (figures_panel.h), which Copy
// as CSV and Save chart... take out.
#ifndef CASEWRIGHT_GUI_CROSSVAL_DIALOG_H_
#define CASEWRIGHT_GUI_CROSSVAL_DIALOG_H_

#include <QDialog>
#include <atomic>
#include <cstddef>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "core/features.h"
#include "core/lexical_tables.h"
#include "experiment/crossval.h"
#include "gui/gui_prompts.h"
#include "text/text_encoding.h"

class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;

namespace casewright {

class FiguresPanel;

// A cross-validation as the dialog asks for it.
struct WindowCrossval {
  std::string manifest;
  std::size_t folds = 10;
  std::size_t repeats = 1;
  double rate = 0.2;
  std::vector<std::string> baselines = {"lead", "random"};  // lead, random or methods
  FeatureSet features = FeatureSet::All();
  TextEncoding encoding = TextEncoding::kWindows1252;
};

// Reads the manifest, computes its texts' cases and cross-validates them
// as `crossval --folds K --repeats R --rate R --baselines LIST` does, with
// its default seed and bootstrap; calls `fold_done` after each fold (it may throw to
// stop).  Throws RunError.
CrossvalOutcome CrossValidateManifest(const WindowCrossval& request, const LexicalTables& tables,
                                      std::function<void(std::size_t done, std::size_t total)> fold_done);

class CrossvalDialog : public QDialog {
  Q_OBJECT

 public:
  // `tables` and `prompts` must outlive the dialog.
  CrossvalDialog(const LexicalTables& tables, GuiPrompts& prompts, FeatureSet features, TextEncoding encoding,
                 QWidget* parent);
  // Cancels a cross-validation in progress and waits for it to stop.
  ~CrossvalDialog() override;

  bool running() const { return worker_.joinable(); }

 signals:
  // A cross-validation has ended: shown, failed or cancelled.
  void Finished();

 private slots:
  void ChooseManifest();
  void Start();
  void Cancel();

 private:
  WindowCrossval Request() const;
  void ShowFold(std::size_t done, std::size_t total);
  // Shows the mean rows, or the error; `cancelled` says so in the status.
  void Finish(std::vector<EvaluationRow> means, const QString& error, bool cancelled);
  void SetRunning(bool running);

  const LexicalTables& tables_;
  GuiPrompts& prompts_;
  FeatureSet features_;
  TextEncoding encoding_;
  std::thread worker_;
  std::atomic<bool> cancel_requested_{false};

  QLineEdit* manifest_;
  QSpinBox* folds_;
  QDoubleSpinBox* rate_;
  QSpinBox* repeats_;
  std::vector<std::pair<std::string, QCheckBox*>> baselines_;  // in the order offered
  QProgressBar* progress_;
  QLabel* status_;
  QPushButton* run_button_;
  QPushButton* cancel_button_;
  FiguresPanel* figures_;
};

// Opens the dialog over `parent`, with the window's features and encoding.
void OpenCrossvalDialog(QWidget* parent, const LexicalTables& tables, GuiPrompts& prompts, FeatureSet features,
                        TextEncoding encoding);

}  // namespace casewright

#endif  // CASEWRIGHT_GUI_CROSSVAL_DIALOG_H_
