// The Sentences and Summary views, opened from the window's Options menu as
// a user would, on the offscreen platform; the file dialogs are answered from a
// script.
#include <QAction>
#include <QLabel>
#include <QDoubleSpinBox>
#include <QPlainTextEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTableView>
#include <QTest>

#include "gui/Main2.h"
#include "gui/sentence_table_model.h"
#include "gui/sentences_view.h"
#include "gui/summary_view.h"
#include "learner/sentence_model.h"
#include "testing/memory_tables.h"
#include "testing/temp_dir.h"

using casewright::SentenceTableModel;
using casewright::testing::ReadFile;
using casewright::testing::TempDir;
using casewright::testing::WriteFile;

namespace {

// Answers each file dialog with the next path given, and keeps the errors.
class AnsweringPrompts : public casewright::GuiPrompts {
 public:
  QStringList answers;
  QStringList errors;

  QString OpenFileName(QWidget*, const QString&) override { return Next(); }
  QString SaveFileName(QWidget*, const QString&) override { return Next(); }
  void ShowError(QWidget*, const QString& message) override { errors.append(message); }
  void ShowMessage(QWidget*, const QString&) override {}
  void ShowWarning(QWidget*, const QString&) override {}

 private:
  QString Next() { return answers.isEmpty() ? QString() : answers.takeFirst(); }
};

// The column `column` of every row of the view's table.
QStringList Column(const QTableView& table, int column) {
  QStringList cells;
  for (int row = 0; row < table.model()->rowCount(); ++row) {
    cells.append(table.model()->index(row, column).data().toString());
  }
  return cells;
}

bool Highlighted(const QTableView& table, int row) {
  return table.model()->index(row, SentenceTableModel::kSentence).data(Qt::BackgroundRole).isValid();
}

}  // namespace

class SentencesViewTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    dir_ = std::make_unique<TempDir>();
    // The remembered folder and model go to a settings file of the test's own.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(dir_->Path("settings")));
    window_ = std::make_unique<casewright::TMainForm2>(tables_, prompts_);
    window_->show();
  }
  void cleanup() {
    window_.reset();
    dir_.reset();
  }

  void showsTheClassesFileAndTheExtractAndSavesTheExtracts() {
    WriteFile(dir_->Path("t.txt"), "Um dois. Tr\xEAs quatro!\r\nCinco seis? Sete oito.");
    WriteFile(dir_->Path("t.classes"), "1\n0 1");  // one class a line, then too few
    WriteFile(dir_->Path("summary.txt"), "Sete oito.\nTR\xC3\x8AS quatro.");
    window_->findChild<QLineEdit*>("Edit1")->setText(QString::fromStdString(dir_->Path("t.txt")));
    auto* classes_edit = window_->findChild<QLineEdit*>("Edit2");
    classes_edit->setText(QString::fromStdString(dir_->Path("t.classes")));
    window_->findChild<QAction*>("ShowSentences")->trigger();
    auto* view = window_->findChild<casewright::SentencesView*>("SentencesView");
    QVERIFY(view && view->isVisible());
    const auto& table = *view->findChild<QTableView*>("SentencesTable");

    QCOMPARE(Column(table, SentenceTableModel::kSentence),
             (QStringList{"Um dois.", QString::fromUtf8("Tr\xC3\xAAs quatro!"), "Cinco seis?", "Sete oito."}));
    // Numbered from 1, as `casewright-cli sentences` numbers them.
    QCOMPARE(Column(table, SentenceTableModel::kNumber), (QStringList{"1", "2", "3", "4"}));
    QCOMPARE(Column(table, SentenceTableModel::kParagraph), (QStringList{"[ ", " ]", "[ ", " ]"}));
    QCOMPARE(Column(table, SentenceTableModel::kFileClass), (QStringList{"10", "1", "-", "-"}));
    // The merged class comes first.
    QVERIFY(Highlighted(table, 0));
    QVERIFY(!Highlighted(table, 2));
    QCOMPARE(table.currentIndex().row(), 0);

    prompts_.answers = {QString::fromStdString(dir_->Path("summary.txt")),
                        QString::fromStdString(dir_->Path("new.classes"))};
    QTest::mouseClick(view->findChild<QPushButton*>("ExtractButton"), Qt::LeftButton);
    QCOMPARE(Column(table, SentenceTableModel::kExtractClass), (QStringList{"0", "1", "0", "1"}));
    QTest::mouseClick(view->findChild<QPushButton*>("SaveClassesButton"), Qt::LeftButton);
    QCOMPARE(ReadFile(dir_->Path("new.classes")), std::string("0 1 0 1\n"));
    QCOMPARE(classes_edit->text(), QString::fromStdString(dir_->Path("new.classes")));
    QCOMPARE(Column(table, SentenceTableModel::kFileClass), (QStringList{"0", "1", "0", "1"}));
    for (int row = 0; row < 4; ++row) QVERIFY(!Highlighted(table, row));
    QVERIFY(prompts_.errors.isEmpty());
  }

  void theFirstDisagreementWithTheExtractIsHighlighted() {
    WriteFile(dir_->Path("t.txt"), "Um dois. Tr\xEAs quatro! Cinco seis?");
    WriteFile(dir_->Path("t.classes"), "1 0 1");
    WriteFile(dir_->Path("summary.txt"), "Um dois.");
    window_->findChild<QLineEdit*>("Edit1")->setText(QString::fromStdString(dir_->Path("t.txt")));
    window_->findChild<QLineEdit*>("Edit2")->setText(QString::fromStdString(dir_->Path("t.classes")));
    window_->findChild<QAction*>("ShowSentences")->trigger();
    auto* view = window_->findChild<casewright::SentencesView*>("SentencesView");
    const auto& table = *view->findChild<QTableView*>("SentencesTable");
    QVERIFY(!Highlighted(table, 0));
    prompts_.answers = {QString::fromStdString(dir_->Path("summary.txt"))};
    QTest::mouseClick(view->findChild<QPushButton*>("ExtractButton"), Qt::LeftButton);
    QVERIFY(!Highlighted(table, 0) && !Highlighted(table, 1) && Highlighted(table, 2));
    QCOMPARE(table.currentIndex().row(), 2);

    // Words that match no sentence keep the classes from being saved, as
    // the command line refuses them.
    auto* save = view->findChild<QPushButton*>("SaveClassesButton");
    QVERIFY(save->isEnabled());
    WriteFile(dir_->Path("summary.txt"), "Um dois.\nSete oito.");
    prompts_.answers = {QString::fromStdString(dir_->Path("summary.txt"))};
    QTest::mouseClick(view->findChild<QPushButton*>("ExtractButton"), Qt::LeftButton);
    QVERIFY(!save->isEnabled());
    QVERIFY(view->findChild<QPlainTextEdit*>("SentencesMessages")->toPlainText().contains("--allow-unmatched"));
  }

  void anUnreadableTextOpensNothing() {
    window_->findChild<QLineEdit*>("Edit1")->setText(QString::fromStdString(dir_->Path("none.txt")));
    window_->findChild<QAction*>("ShowSentences")->trigger();
    QVERIFY(!window_->findChild<casewright::SentencesView*>("SentencesView"));
    QCOMPARE(prompts_.errors.size(), 1);
    QVERIFY(prompts_.errors[0].contains("File not found"));
  }

  // The summary view: the best sentences at the rate, their figures and the
  // lead's against a reference, the extract saved, a bad scores file refused.
  void summaryChoosesAtTheRateAndScoresItAgainstTheReference() {
    WriteFile(dir_->Path("t.txt"), "Um dois. Tr\xEAs quatro! Cinco seis? Sete oito.");
    prompts_.errors.clear();  // the fixture's prompts outlive each test
    WriteFile(dir_->Path("t.scores"), "0.1\n0.9\n0.2\n0.8\n");
    WriteFile(dir_->Path("bad.scores"), "0.1\n0.9\n0.2\n");
    WriteFile(dir_->Path("reference.txt"), "Um dois.\nTr\xEAs quatro!\n");
    window_->findChild<QLineEdit*>("Edit1")->setText(QString::fromStdString(dir_->Path("t.txt")));
    window_->findChild<QAction*>("ShowSummary")->trigger();
    auto* view = window_->findChild<casewright::SummaryView*>("SummaryView");
    QVERIFY(view && view->isVisible());
    const auto* sentences = view->findChild<QPlainTextEdit*>("SummarySentences");
    const auto* figures = view->findChild<QPlainTextEdit*>("SummaryFigures");
    auto* scores_button = view->findChild<QPushButton*>("ScoresButton");

    prompts_.answers = {QString::fromStdString(dir_->Path("bad.scores"))};
    QTest::mouseClick(scores_button, Qt::LeftButton);
    QCOMPARE(prompts_.errors.size(), 1);
    QVERIFY(prompts_.errors[0].endsWith("bad.scores: The file holds 3 scores, but the text has 4 sentences"));
    QVERIFY(!view->findChild<QPushButton*>("SaveExtractButton")->isEnabled());

    prompts_.answers = {QString::fromStdString(dir_->Path("t.scores"))};
    QTest::mouseClick(scores_button, Qt::LeftButton);
    QCOMPARE(sentences->toPlainText(), QString::fromUtf8("2  0.900  Tr\xC3\xAAs quatro!"));  // 0.2 of 4 is 1
    view->findChild<QDoubleSpinBox*>("SummaryRate")->setValue(0.5);
    QCOMPARE(sentences->toPlainText(), QString::fromUtf8("2  0.900  Tr\xC3\xAAs quatro!\n4  0.800  Sete oito."));

    prompts_.answers = {QString::fromStdString(dir_->Path("reference.txt")),
                        QString::fromStdString(dir_->Path("t.extract"))};
    QTest::mouseClick(view->findChild<QPushButton*>("SummaryReferenceButton"), Qt::LeftButton);
    // Rows: header, the choice (1 of its 2 sentences right), the lead (the reference itself).
    const QStringList rows = figures->toPlainText().split('\n');
    QVERIFY(rows.size() >= 3);
    const QStringList choice = rows[1].split(' ', Qt::SkipEmptyParts);
    const QStringList lead = rows[2].split(' ', Qt::SkipEmptyParts);
    QCOMPARE(choice.mid(1, 5), (QStringList{"choice", "4", "2", "2", "0.5000"}));
    QCOMPARE(lead.mid(1, 5), (QStringList{"lead", "4", "2", "2", "1.0000"}));
    QTest::mouseClick(view->findChild<QPushButton*>("SaveExtractButton"), Qt::LeftButton);
    QCOMPARE(ReadFile(dir_->Path("t.extract")), std::string("Tr\xEAs quatro!\nSete oito.\n"));
    QCOMPARE(prompts_.errors.size(), 1);

    // A model scores the text, and scores it again when the view reopens.
    casewright::CodeRows sizes{1, {}};
    for (const char* code : {"1", "2", "3", "4"}) casewright::AppendCodeRow(code, sizes);
    casewright::FeatureSet size_only = casewright::FeatureSet::None();
    size_only.Set(casewright::Feature::kSentenceSize);
    const auto model = casewright::SentenceModel::Train(size_only, sizes, {0, 0, 1, 1}, {"0", "1"}, {});
    WriteFile(dir_->Path("model.json"), model.Json());
    prompts_.answers = {QString::fromStdString(dir_->Path("model.json"))};
    QTest::mouseClick(view->findChild<QPushButton*>("ModelButton"), Qt::LeftButton);
    QCOMPARE(sentences->toPlainText().count('\n'), 1);  // two of four sentences
    QVERIFY(view->findChild<QLabel*>("SummaryAbout")->text().contains("model.json"));
    view->close();
    window_->findChild<QAction*>("ShowSummary")->trigger();
    view = window_->findChild<casewright::SummaryView*>("SummaryView");
    QVERIFY(view->findChild<QLabel*>("SummaryAbout")->text().contains("model.json"));
  }

 private:
  std::unique_ptr<TempDir> dir_;
  casewright::MemoryTables tables_;
  AnsweringPrompts prompts_;
  std::unique_ptr<casewright::TMainForm2> window_;
};

QTEST_MAIN(SentencesViewTest)
#include "sentences_view_test.moc"
