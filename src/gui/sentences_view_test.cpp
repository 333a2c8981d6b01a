// The Sentences and Summary views, opened from the window's Options menu as
// a user would, on the offscreen platform; the file dialogs are answered from a
// script.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QTableWidget>
#include <QLabel>
#include <QDoubleSpinBox>
#include <QPlainTextEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QTableView>
#include <QTest>

#include "gui/Main2.h"
#include "gui/answering_prompts.h"
#include "gui/sentence_table_model.h"
#include "gui/sentences_view.h"
#include "gui/summary_view.h"
#include "learner/sentence_model.h"
#include "pipeline/summary_run.h"
#include "summary/methods/registry.h"
#include "summary/mmr.h"
#include "testing/memory_tables.h"
#include "testing/temp_dir.h"

using casewright::SentenceTableModel;
using casewright::testing::ReadFile;
using casewright::testing::TempDir;
using casewright::testing::WriteFile;

namespace {

// The column `column` of every row of the view's table.
QStringList Column(const QTableView& table, int column) {
  QStringList cells;
  for (int row = 0; row < table.model()->rowCount(); ++row) {
    cells.append(table.model()->index(row, column).data().toString());
  }
  return cells;
}

QStringList Cells(const QTableWidget& table, int column) {
  QStringList cells;
  for (int row = 0; row < table.rowCount(); ++row) cells.append(table.item(row, column)->text());
  return cells;
}

// The cells of the figures table's row named `figure`.
QStringList Figure(const QTableWidget& table, const QString& figure) {
  for (int row = 0; row < table.rowCount(); ++row) {
    if (table.verticalHeaderItem(row)->text() != figure) continue;
    QStringList cells;
    for (int column = 0; column < table.columnCount(); ++column) cells.append(table.item(row, column)->text());
    return cells;
  }
  return {};
}

using enum casewright::SentenceMark;
QString Sign(casewright::SentenceMark mark) { return casewright::SignOf(mark); }

// Each bar of the chart is its system's F1 figure in the table.
void ExpectBarsEqualTable(const QWidget& view) {
  const auto& table = *view.findChild<QTableWidget*>("SummaryFigures");
  const QChart& chart = *view.findChild<QChartView*>("FiguresChart")->chart();
  auto* bars = qobject_cast<QBarSeries*>(chart.series().front());
  auto* axis = qobject_cast<QBarCategoryAxis*>(chart.axes(Qt::Horizontal).front());
  QVERIFY(bars && axis);
  QStringList f1;
  for (int row = 0; row < table.rowCount(); ++row) {
    if (table.verticalHeaderItem(row)->text().endsWith("_f1")) f1.append(table.verticalHeaderItem(row)->text());
  }
  QVERIFY(f1.contains("sentence_f1") && f1.contains("rougeL_f1"));
  QCOMPARE(axis->categories(), f1);
  QCOMPARE(bars->count(), table.columnCount());
  for (int system = 0; system < bars->count(); ++system) {
    QCOMPARE(bars->barSets()[system]->label(), table.horizontalHeaderItem(system)->text());
    for (int k = 0; k < axis->count(); ++k) {
      const QString cell = Figure(table, axis->at(k))[system];
      QCOMPARE(QString::number(bars->barSets()[system]->at(k), 'f', 4), cell.left(6));
    }
  }
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

  // A column per ticked feature, raw values on demand, every column sorts.
  void showsTheTickedFeaturesCodesAndRawValues() {
    WriteFile(dir_->Path("t.txt"), "Um dois tr\xEAs quatro cinco seis. Sete oito.\r\n\r\nNove dez onze.");
    window_->findChild<QLineEdit*>("Edit1")->setText(QString::fromStdString(dir_->Path("t.txt")));
    for (int number = 1; number <= 8; ++number) {
      window_->findChild<QCheckBox*>(QString("CheckBox%1").arg(number))->setChecked(number == 1 || number == 3);
    }
    window_->findChild<QAction*>("ShowSentences")->trigger();
    auto* view = window_->findChild<casewright::SentencesView*>("SentencesView");
    auto& table = *view->findChild<QTableView*>("SentencesTable");
    const int size = SentenceTableModel::kColumnCount;
    QCOMPARE(table.model()->columnCount(), size + 2);
    QCOMPARE(table.model()->headerData(size, Qt::Horizontal).toString(), QString("size"));
    QCOMPARE(table.model()->headerData(size + 1, Qt::Horizontal).toString(), QString("paragraph_location"));
    QCOMPARE(Column(table, size), (QStringList{"4", "2", "2"}));
    // First in its paragraph, last in it, alone in its own.
    QCOMPARE(Column(table, size + 1), (QStringList{"1", "3", "3"}));

    view->findChild<QCheckBox*>("RawValuesBox")->setChecked(true);
    QCOMPARE(table.model()->headerData(size + 2, Qt::Horizontal).toString(), QString("word_count (raw)"));
    QCOMPARE(Column(table, size + 2), (QStringList{"6", "2", "3"}));
    table.sortByColumn(size + 2, Qt::AscendingOrder);
    QCOMPARE(Column(table, SentenceTableModel::kNumber), (QStringList{"2", "3", "1"}));
    view->findChild<QCheckBox*>("RawValuesBox")->setChecked(false);
    QCOMPARE(table.model()->columnCount(), size + 2);
    delete view;

    // The Summary view's model adds its scores, first, to 6 decimals.
    QSettings().setValue(casewright::kModelKey, QString::fromStdString(WriteSizeModel()));
    window_->findChild<QAction*>("ShowSentences")->trigger();
    view = window_->findChild<casewright::SentencesView*>("SentencesView");
    auto& scored = *view->findChild<QTableView*>("SentencesTable");
    QCOMPARE(scored.model()->headerData(size, Qt::Horizontal).toString(), QString("score"));
    QVERIFY(QRegularExpression("^0\\.\\d{6}$").match(Column(scored, size)[0]).hasMatch());
    scored.sortByColumn(size, Qt::DescendingOrder);
    QCOMPARE(Column(scored, SentenceTableModel::kNumber)[0], QString("1"));  // the longest
  }

  // Options > Text already segmented: each line is a sentence, in the view
  // as in the run, its codes from the same sentences.
  void aSegmentedTextIsReadALineASentence() {
    WriteFile(dir_->Path("t.txt"), "Um dois. Tr\xEAs quatro\r\n\r\nCinco seis\r\n");
    window_->findChild<QLineEdit*>("Edit1")->setText(QString::fromStdString(dir_->Path("t.txt")));
    window_->findChild<QAction*>("SegmentedText")->setChecked(true);
    window_->findChild<QAction*>("ShowSentences")->trigger();
    auto* view = window_->findChild<casewright::SentencesView*>("SentencesView");
    auto& table = *view->findChild<QTableView*>("SentencesTable");
    QCOMPARE(Column(table, SentenceTableModel::kNumber), (QStringList{"1", "2"}));
    // Its size and text location as `casewright-cli --segmented` codes them.
    QCOMPARE(Column(table, SentenceTableModel::kColumnCount), (QStringList{"4", "2"}));
    QCOMPARE(Column(table, SentenceTableModel::kColumnCount + 1), (QStringList{"1", "3"}));
    window_->findChild<QAction*>("SegmentedText")->setChecked(false);
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
    const auto& sentences = *view->findChild<QTableWidget*>("SummarySentences");
    const auto& figures = *view->findChild<QTableWidget*>("SummaryFigures");
    auto* scores_button = view->findChild<QPushButton*>("ScoresButton");

    prompts_.answers = {QString::fromStdString(dir_->Path("bad.scores"))};
    QTest::mouseClick(scores_button, Qt::LeftButton);
    QCOMPARE(prompts_.errors.size(), 1);
    QVERIFY(prompts_.errors[0].endsWith("bad.scores: The file holds 3 scores, but the text has 4 sentences"));
    QVERIFY(!view->findChild<QPushButton*>("SaveExtractButton")->isEnabled());

    prompts_.answers = {QString::fromStdString(dir_->Path("t.scores"))};
    QTest::mouseClick(scores_button, Qt::LeftButton);
    using casewright::SummaryView;
    // Every sentence is listed; the chosen one (0.2 of 4 is 1) is marked.
    QCOMPARE(Cells(sentences, SummaryView::kMark), (QStringList{"", Sign(kChosen), "", ""}));
    QCOMPARE(Cells(sentences, SummaryView::kScore), (QStringList{"0.100000", "0.900000", "0.200000", "0.800000"}));
    view->findChild<QDoubleSpinBox*>("SummaryRate")->setValue(0.5);
    QCOMPARE(Cells(sentences, SummaryView::kMark), (QStringList{"", Sign(kChosen), "", Sign(kChosen)}));

    prompts_.answers = {QString::fromStdString(dir_->Path("reference.txt")),
                        QString::fromStdString(dir_->Path("t.extract"))};
    QTest::mouseClick(view->findChild<QPushButton*>("SummaryReferenceButton"), Qt::LeftButton);
    // The reference holds sentences 1 and 2; the choice is 2 and 4.
    QCOMPARE(Cells(sentences, SummaryView::kMark),
             (QStringList{Sign(kMissed), Sign(kChosenInReference), "", Sign(kChosenNotInReference)}));
    QVERIFY(sentences.item(2, SummaryView::kSentence)->background().style() == Qt::NoBrush);
    QCOMPARE(sentences.item(0, SummaryView::kSentence)->background().color(),
             sentences.item(0, SummaryView::kMark)->background().color());
    QVERIFY(view->findChild<QLabel*>("SummaryLegend")->text().contains("in the reference, missed"));
    // Systems as columns, named as the command line names them.
    QCOMPARE(figures.horizontalHeaderItem(0)->text(), QString("system1"));
    QCOMPARE(figures.horizontalHeaderItem(1)->text(), QString("lead"));
    QCOMPARE(Figure(figures, "selected"), (QStringList{"2", "2"}));
    QCOMPARE(Figure(figures, "sentence_precision"), (QStringList{"0.5000", "1.0000"}));
    ExpectBarsEqualTable(*view);
    // The chart may not replace a file the figures come from.
    prompts_.answers.prepend(QString::fromStdString(dir_->Path("t.txt")));
    QTest::mouseClick(view->findChild<QPushButton*>("SaveChartButton"), Qt::LeftButton);
    QCOMPARE(prompts_.errors.size(), 2);
    QVERIFY2(prompts_.errors[1].contains("The chart is the same file as the text file"), qPrintable(prompts_.errors[1]));
    prompts_.errors.removeLast();

    // A clicked sentence shows its score, codes and raw values.
    view->findChild<QTableWidget*>("SummarySentences")->setCurrentCell(1, SummaryView::kSentence);
    const QString details = view->findChild<QLabel*>("SummaryDetails")->text();
    QVERIFY2(details.startsWith("Sentence 2, score 0.900000\nCodes: size "), qPrintable(details));
    QVERIFY2(details.contains("\nRaw values: word_count 2, "), qPrintable(details));
    QTest::mouseClick(view->findChild<QPushButton*>("SaveExtractButton"), Qt::LeftButton);
    QCOMPARE(ReadFile(dir_->Path("t.extract")), std::string("Tr\xEAs quatro!\nSete oito.\n"));
    QCOMPARE(prompts_.errors.size(), 1);

    // A model scores the text, and scores it again when the view reopens.
    prompts_.answers = {QString::fromStdString(WriteSizeModel())};
    QTest::mouseClick(view->findChild<QPushButton*>("ModelButton"), Qt::LeftButton);
    QCOMPARE(Cells(sentences, SummaryView::kMark).count(QString()), 2);  // two of four sentences
    QCOMPARE(figures.horizontalHeaderItem(0)->text(), QString("model"));
    QVERIFY(view->findChild<QLabel*>("SummaryAbout")->text().contains("model.json"));
    view->close();
    window_->findChild<QAction*>("ShowSummary")->trigger();
    view = window_->findChild<casewright::SummaryView*>("SummaryView");
    QVERIFY(view->findChild<QLabel*>("SummaryAbout")->text().contains("model.json"));
  }

  void summaryRunsAMethodAsSummarizeDoes() {
    WriteFile(dir_->Path("t.txt"), "O gato come peixe. O c\xE3o come carne. O gato e o c\xE3o dormem. A casa \xE9 grande. "
                                   "O peixe nada no rio. O gato v\xEA o peixe e o c\xE3o.");
    window_->findChild<QLineEdit*>("Edit1")->setText(QString::fromStdString(dir_->Path("t.txt")));
    window_->findChild<QAction*>("ShowSummary")->trigger();
    auto* view = window_->findChild<casewright::SummaryView*>("SummaryView");
    auto* method = view->findChild<QComboBox*>("SummaryMethod");
    QVERIFY(method->findText("feature:7") > 0 && method->findText("oracle") < 0);  // it needs a reference
    method->setCurrentText("textrank");
    view->findChild<QDoubleSpinBox*>("SummaryRate")->setValue(0.5);
    QVERIFY(view->findChild<QLabel*>("SummaryAbout")->text().contains("by textrank."));
    const auto summarizer = casewright::MakeMethod("textrank");
    for (const bool mmr : {false, true}) {
      view->findChild<QComboBox*>("SummarySelection")->setCurrentIndex(mmr ? 1 : 0);
      casewright::SummarizeSettings settings;
      settings.text_path = dir_->Path("t.txt");
      settings.method = summarizer.get();
      settings.size.rate = 0.5;
      settings.selection = {mmr, casewright::kDefaultMmrLambda};
      settings.extract_path = dir_->Path("summarize.extract");
      casewright::WriteSummary(settings, tables_);
      prompts_.answers = {QString::fromStdString(dir_->Path("view.extract"))};
      QTest::mouseClick(view->findChild<QPushButton*>("SaveExtractButton"), Qt::LeftButton);
      QCOMPARE(ReadFile(dir_->Path("view.extract")), ReadFile(dir_->Path("summarize.extract")));
    }
  }

 private:
  // Writes a model that scores by sentence size alone, the longer the
  // higher, and returns its path.
  std::string WriteSizeModel() {
    casewright::CodeRows sizes{1, {}};
    for (const char* code : {"1", "2", "3", "4"}) casewright::AppendCodeRow(code, sizes);
    casewright::FeatureSet size_only = casewright::FeatureSet::None();
    size_only.Set(casewright::Feature::kSentenceSize);
    const auto model = casewright::SentenceModel::Train(size_only, casewright::CaseValues::kCodes, sizes, {0, 0, 1, 1}, {"0", "1"}, {});
    WriteFile(dir_->Path("model.json"), model.Json());
    return dir_->Path("model.json");
  }

  std::unique_ptr<TempDir> dir_;
  casewright::MemoryTables tables_;
  casewright::AnsweringPrompts prompts_;
  std::unique_ptr<casewright::TMainForm2> window_;
};

QTEST_MAIN(SentencesViewTest)
#include "sentences_view_test.moc"
