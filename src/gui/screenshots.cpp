// Pictures of the window and its views for the documentation, made by
// tools/screenshot.sh on Qt's offscreen platform: the main form filled with
// the bundled example and run, the Sentences view, the Summary view with
// its marks and figures, and a cross-validation's result, each 1280 x 900.
// The dialogs are answered from a script, as in the window's tests.
//
// Usage: casewright-screenshots FOLDER PICTURES
//   FOLDER    holds example.txt, example.classes, example.reference (the
//             extract of the class-1 sentences) and corpus.tsv; the
//             program works in it, so the pictures show short paths
//   PICTURES  where window.png, sentences.png, summary.png and
//             crossval.png go
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <cstdio>

#include "gui/Main2.h"
#include "gui/answering_prompts.h"
#include "gui/crossval_dialog.h"
#include "gui/gui_start.h"
#include "gui/summary_view.h"

namespace {

const QSize kPictureSize(1280, 900);

// Lets the event loop run until `object` emits `signal`.
template <typename Object, typename Signal>
void WaitFor(Object* object, Signal signal) {
  QEventLoop loop;
  QObject::connect(object, signal, &loop, &QEventLoop::quit);
  loop.exec();
}

// Lays `widget` out at the picture's size and saves it, compressed hard.
bool Save(QWidget* widget, const QString& path) {
  widget->resize(kPictureSize);
  QApplication::processEvents();
  const bool saved = widget->grab().toImage().save(path, "PNG", 0);
  std::fprintf(stderr, "casewright-screenshots: %s %s\n", saved ? "saved" : "cannot write", qPrintable(path));
  return saved;
}

template <typename T>
T* Child(QWidget* parent, const char* name) {
  T* child = parent->findChild<T*>(QString::fromLatin1(name));
  if (child == nullptr) std::fprintf(stderr, "casewright-screenshots: no %s\n", name);
  return child;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Casewright");
  QApplication::setOrganizationName("Casewright-screenshots");  // the user's own settings stay untouched
  if (argc != 3) {
    std::fprintf(stderr, "Usage: casewright-screenshots FOLDER PICTURES\n");
    return 2;
  }
  const QDir pictures(QDir(QString::fromLocal8Bit(argv[2])).absolutePath());
  if (!QDir::setCurrent(QString::fromLocal8Bit(argv[1]))) {
    std::fprintf(stderr, "casewright-screenshots: cannot work in %s\n", argv[1]);
    return 1;
  }
  casewright::AnsweringPrompts prompts;
  std::unique_ptr<casewright::LexicalTables> tables = casewright::OpenTablesOrReport(prompts);
  if (!tables) return 1;

  casewright::TMainForm2 window(*tables, prompts);
  window.show();
  Child<QLineEdit>(&window, "Edit1")->setText("example.txt");
  Child<QLineEdit>(&window, "Edit2")->setText("example.classes");
  Child<QLineEdit>(&window, "Edit3")->setText("example.cases");
  Child<QAction>(&window, "ActionExecute")->trigger();
  WaitFor(&window, &casewright::TMainForm2::ExecuteFinished);
  bool saved = Save(&window, pictures.filePath("window.png"));

  Child<QAction>(&window, "ShowSentences")->trigger();
  QWidget* sentences = Child<QWidget>(&window, "SentencesView");
  saved = sentences && Save(sentences, pictures.filePath("sentences.png")) && saved;
  if (sentences) sentences->close();

  Child<QAction>(&window, "ShowSummary")->trigger();
  auto* summary = Child<casewright::SummaryView>(&window, "SummaryView");
  if (summary) {
    Child<QComboBox>(summary, "SummaryMethod")->setCurrentText("textrank");
    prompts.answers = {"example.reference"};
    Child<QPushButton>(summary, "SummaryReferenceButton")->click();
    Child<QTableWidget>(summary, "SummarySentences")->setCurrentCell(2, casewright::SummaryView::kSentence);
    saved = Save(summary, pictures.filePath("summary.png")) && saved;
    summary->close();
  }

  Child<QAction>(&window, "ActionCrossValidate")->trigger();
  auto* crossval = Child<casewright::CrossvalDialog>(&window, "CrossvalDialog");
  if (crossval) {
    Child<QLineEdit>(crossval, "CrossvalManifest")->setText("corpus.tsv");
    Child<QSpinBox>(crossval, "CrossvalFolds")->setValue(3);
    for (const char* method : {"Baseline_textrank", "Baseline_lexrank", "Baseline_oracle"}) {
      if (auto* box = crossval->findChild<QAbstractButton*>(method)) box->setChecked(true);
    }
    Child<QPushButton>(crossval, "CrossvalRun")->click();
    WaitFor(crossval, &casewright::CrossvalDialog::Finished);
    saved = Save(crossval, pictures.filePath("crossval.png")) && saved;
  }
  for (const QString& error : prompts.errors) std::fprintf(stderr, "casewright-screenshots: %s\n", qPrintable(error));
  return saved && prompts.errors.isEmpty() ? 0 : 1;
}
