// Run > Cross-validate... on the offscreen platform: the dialog shows the
// core's mean rows, and Cancel stops the work between two folds with
// nothing written.
#include "gui/crossval_dialog.h"

#include <QAction>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <filesystem>

#include "core/progress.h"
#include "gui/Main2.h"
#include "gui/answering_prompts.h"
#include "testing/memory_tables.h"
#include "testing/temp_dir.h"

using casewright::testing::TempDir;
using casewright::testing::WriteFile;

namespace {

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().string());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

class CrossvalDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    dir_ = std::make_unique<TempDir>();
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(dir_->Path("settings")));
    // Four texts of four sentences, the longer sentences in the reference.
    std::string manifest;
    for (int t = 1; t <= 4; ++t) {
      const std::string name = "t" + std::to_string(t);
      WriteFile(dir_->Path(name + ".txt"), "Um dois tr\xEAs quatro cinco. Seis. Sete oito nove dez onze doze. Treze.");
      WriteFile(dir_->Path(name + ".classes"), "1 0 1 0\n");
      manifest += name + ".txt\t" + name + ".classes\t\n";
    }
    WriteFile(dir_->Path("m.tsv"), manifest);
    window_ = std::make_unique<casewright::TMainForm2>(tables_, prompts_);
    window_->findChild<QAction*>("ActionCrossValidate")->trigger();
    dialog_ = window_->findChild<casewright::CrossvalDialog*>("CrossvalDialog");
    QVERIFY(dialog_ && dialog_->isVisible());
    dialog_->findChild<QLineEdit*>("CrossvalManifest")->setText(QString::fromStdString(dir_->Path("m.tsv")));
  }
  void cleanup() {
    window_.reset();
    dir_.reset();
  }

  void showsTheMeanRowsOfTheCoreCrossValidation() {
    dialog_->findChild<QSpinBox*>("CrossvalFolds")->setValue(2);
    QSignalSpy finished(dialog_, &casewright::CrossvalDialog::Finished);
    QTest::mouseClick(dialog_->findChild<QPushButton*>("CrossvalRun"), Qt::LeftButton);
    QVERIFY(finished.wait(30000));
    QVERIFY2(prompts_.errors.isEmpty(), qPrintable(prompts_.errors.join('\n')));
    QCOMPARE(dialog_->findChild<QProgressBar*>("CrossvalProgress")->value(), 2);

    casewright::WindowCrossval request;
    request.manifest = dir_->Path("m.tsv");
    request.folds = 2;
    const casewright::CrossvalOutcome outcome = casewright::CrossValidateManifest(request, tables_, {});
    const auto& table = *dialog_->findChild<QTableWidget*>("SummaryFigures");
    QCOMPARE(table.columnCount(), 3);
    for (int column = 0; column < 3; ++column) {
      const casewright::EvaluationRow& mean = outcome.rows[outcome.rows.size() - 3 + column];
      QCOMPARE(table.horizontalHeaderItem(column)->text(), QString::fromStdString(mean.system));
      QCOMPARE(table.item(1, column)->text().left(6), QString::number(mean.sentence->precision, 'f', 4));
    }
  }

  void cancelStopsBetweenFoldsWritingNothing() {
    const std::vector<std::string> before = FilesIn(dir_->Path(""));
    dialog_->findChild<QSpinBox*>("CrossvalFolds")->setValue(4);
    QSignalSpy finished(dialog_, &casewright::CrossvalDialog::Finished);
    QTest::mouseClick(dialog_->findChild<QPushButton*>("CrossvalRun"), Qt::LeftButton);
    QTest::mouseClick(dialog_->findChild<QPushButton*>("CrossvalCancel"), Qt::LeftButton);
    QVERIFY(finished.wait(30000));
    const auto& progress = *dialog_->findChild<QProgressBar*>("CrossvalProgress");
    QCOMPARE(progress.value(), 1);  // the fold under way ended, no other began
    QCOMPARE(progress.maximum(), 4);
    QCOMPARE(dialog_->findChild<QTableWidget*>("SummaryFigures")->columnCount(), 0);
    QVERIFY(prompts_.errors.isEmpty());
    QCOMPARE(FilesIn(dir_->Path("")), before);
  }

 private:
  std::unique_ptr<TempDir> dir_;
  casewright::MemoryTables tables_;
  casewright::AnsweringPrompts prompts_;
  std::unique_ptr<casewright::TMainForm2> window_;
  casewright::CrossvalDialog* dialog_ = nullptr;
};

QTEST_MAIN(CrossvalDialogTest)
#include "crossval_dialog_test.moc"
