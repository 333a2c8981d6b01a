// The figures panel on the offscreen platform: intervals in the cells and as
// whiskers, the rows copied as evaluate's CSV, the chart saved by extension.
#include "gui/figures_panel.h"

#include <QApplication>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QImage>
#include <QLineSeries>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QXmlStreamReader>
#include <algorithm>

#include "gui/answering_prompts.h"
#include "testing/temp_dir.h"

using casewright::EvaluationRow;
using casewright::testing::ReadFile;
using casewright::testing::TempDir;

namespace {

// A mean row of `system` whose every F1 is `f1`, with an interval around
// the sentence F1 when `with_interval`.
EvaluationRow MeanRow(const std::string& system, double f1, bool with_interval) {
  EvaluationRow row;
  row.text = "mean";
  row.system = system;
  row.sentences = 10;
  row.selected = 2.5;
  row.reference_selected = 3;
  row.sentence = casewright::Scores{f1, f1, f1};
  row.rouge1 = row.rouge2 = row.rougeL = casewright::Scores{f1, f1, f1};
  row.intervals.resize(casewright::FigureNames().size());
  const auto names = casewright::FigureNames();
  const auto at = std::find(names.begin(), names.end(), "sentence_f1") - names.begin();
  if (with_interval) row.intervals[at] = casewright::Interval{f1 - 0.1, f1 + 0.05};
  return row;
}

int RowNamed(const QTableWidget& table, const QString& name) {
  for (int row = 0; row < table.rowCount(); ++row) {
    if (table.verticalHeaderItem(row)->text() == name) return row;
  }
  return -1;
}

}  // namespace

class FiguresPanelTest : public QObject {
  Q_OBJECT

 private slots:
  void showsIntervalsInCellsAndAsWhiskers() {
    casewright::FiguresPanel panel(prompts_, nullptr);
    panel.SetRows({MeanRow("model", 0.5, true), MeanRow("lead", 0.25, false)});
    const auto& table = *panel.findChild<QTableWidget*>("SummaryFigures");
    QCOMPARE(table.columnCount(), 2);
    QCOMPARE(table.item(RowNamed(table, "selected"), 0)->text(), QString("2.5000"));
    QCOMPARE(table.item(RowNamed(table, "sentence_f1"), 0)->text(), QString("0.5000 [0.40, 0.55]"));
    QCOMPARE(table.item(RowNamed(table, "sentence_f1"), 1)->text(), QString("0.2500"));
    QCOMPARE(RowNamed(table, "auc"), -1);  // no row has it

    QChart& chart = *panel.findChild<QChartView*>("FiguresChart")->chart();
    auto* bars = qobject_cast<QBarSeries*>(chart.series().front());
    QCOMPARE(bars->barSets()[1]->at(0), 0.25);
    // One whisker, from the interval's low end to its high end.
    QList<QLineSeries*> whiskers;
    for (QAbstractSeries* series : chart.series()) {
      if (auto* line = qobject_cast<QLineSeries*>(series)) whiskers.append(line);
    }
    QCOMPARE(whiskers.size(), 1);
    double low = 1, high = 0;
    for (const QPointF& point : whiskers[0]->points()) {
      low = std::min(low, point.y());
      high = std::max(high, point.y());
    }
    QCOMPARE(low, 0.4);
    QCOMPARE(high, 0.55);

    QTest::mouseClick(panel.findChild<QPushButton*>("CopyCsvButton"), Qt::LeftButton);
    const QStringList csv = QApplication::clipboard()->text().split('\n');
    QVERIFY(csv[0].startsWith("text,system,sentences,selected,reference_selected,sentence_precision"));
    QVERIFY(csv[0].contains("sentence_f1,sentence_f1_low,sentence_f1_high,"));
    QVERIFY(csv[1].startsWith("mean,model,"));
  }

  void savesTheChartAsSvgOrPngByItsExtension() {
    TempDir dir;
    casewright::FiguresPanel panel(prompts_, nullptr);
    panel.resize(800, 400);
    panel.SetRows({MeanRow("model", 0.5, true)});
    const std::string svg = dir.Path("chart.svg"), png = dir.Path("chart.PNG");
    prompts_.answers = {QString::fromStdString(svg), QString::fromStdString(png),
                        QString::fromStdString(dir.Path("chart.pdf"))};
    auto* save = panel.findChild<QPushButton*>("SaveChartButton");
    for (int i = 0; i < 3; ++i) QTest::mouseClick(save, Qt::LeftButton);

    QXmlStreamReader xml(QByteArray::fromStdString(ReadFile(svg)));
    while (!xml.atEnd()) xml.readNext();
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    const QImage image = QImage::fromData(QByteArray::fromStdString(ReadFile(png)), "PNG");
    QVERIFY(!image.isNull() && image.width() >= 640);
    // The bar, in the series' first colour, is drawn.
    const QColor bar = qobject_cast<QBarSeries*>(panel.findChild<QChartView*>("FiguresChart")->chart()->series().front())
                           ->barSets()[0]->color();
    bool drawn = false;
    for (int y = 0; y < image.height() && !drawn; y += 2) {
      for (int x = 0; x < image.width() && !drawn; x += 2) drawn = image.pixelColor(x, y) == bar;
    }
    QVERIFY(drawn);
    QCOMPARE(prompts_.errors.size(), 1);
    QVERIFY2(prompts_.errors[0].endsWith("chart.pdf: A chart is saved as .svg or .png"), qPrintable(prompts_.errors[0]));
    QVERIFY(!std::filesystem::exists(dir.Path("chart.pdf")));
  }

 private:
  casewright::AnsweringPrompts prompts_;
};

QTEST_MAIN(FiguresPanelTest)
#include "figures_panel_test.moc"
