#include "chart/figures_chart.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QBuffer>
#include <QChart>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QImage>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPainter>
#include <QPen>
#include <QSvgGenerator>
#include <QValueAxis>
#include <algorithm>
#include <optional>

namespace casewright {
namespace {

// The share of a category the bars take together (QBarSeries' default).
constexpr double kBarWidth = 0.5;
// Half the width of a whisker's caps, in categories.
constexpr double kCapHalfWidth = 0.03;

bool IsF1(const std::string& name) { return name.size() > 3 && name.compare(name.size() - 3, 3, "_f1") == 0; }

std::optional<Interval> IntervalOf(const EvaluationRow& row, std::size_t figure) {
  return figure < row.intervals.size() ? row.intervals[figure] : std::nullopt;
}

// The whisker of an interval, at `x`, with its caps.
QLineSeries* Whisker(double x, const Interval& interval) {
  auto* whisker = new QLineSeries;
  whisker->append({{x - kCapHalfWidth, interval.low},
                   {x + kCapHalfWidth, interval.low},
                   {x, interval.low},
                   {x, interval.high},
                   {x - kCapHalfWidth, interval.high},
                   {x + kCapHalfWidth, interval.high}});
  return whisker;
}

// The F1 figures, by their index in FigureNames(), that some row has.
std::vector<std::size_t> F1Figures(const std::vector<EvaluationRow>& rows) {
  const std::vector<std::string>& figures = FigureNames();
  std::vector<std::size_t> f1;
  for (std::size_t f = 0; f < figures.size(); ++f) {
    bool any = false;
    for (const EvaluationRow& row : rows) any = any || FigureValues(row)[f].has_value();
    if (IsF1(figures[f]) && any) f1.push_back(f);
  }
  return f1;
}

// Draws the chart of `rows` at `size` with `painter`, in a scene of its own.
void RenderChart(const std::vector<EvaluationRow>& rows, QPainter& painter, const QSize& size) {
  QGraphicsScene scene;
  QChart* chart = MakeFiguresChart(rows);
  scene.addItem(chart);  // which owns it
  const QRectF area(QPointF(0, 0), QSizeF(size));
  chart->setGeometry(area);
  chart->layout()->activate();
  scene.render(&painter, area, area);
}

}  // namespace

QChart* MakeFiguresChart(const std::vector<EvaluationRow>& rows) {
  auto* chart = new QChart;
  chart->setTitle(QStringLiteral("F1"));
  const std::vector<std::size_t> f1 = F1Figures(rows);
  auto* x_axis = new QBarCategoryAxis;
  for (std::size_t f : f1) x_axis->append(QString::fromStdString(FigureNames()[f]));
  auto* y_axis = new QValueAxis;
  y_axis->setRange(0, 1);
  chart->addAxis(x_axis, Qt::AlignBottom);
  chart->addAxis(y_axis, Qt::AlignLeft);

  auto* bars = new QBarSeries;
  bars->setBarWidth(kBarWidth);
  std::vector<QLineSeries*> whiskers;
  const double slot = kBarWidth / static_cast<double>(std::max<std::size_t>(rows.size(), 1));
  for (std::size_t s = 0; s < rows.size(); ++s) {
    auto* set = new QBarSet(QString::fromStdString(rows[s].system));
    const std::vector<std::optional<double>> values = FigureValues(rows[s]);
    for (std::size_t k = 0; k < f1.size(); ++k) {
      set->append(values[f1[k]].value_or(0));
      // A bar's centre: its category, less half the bars, plus its slot.
      const double x = static_cast<double>(k) - kBarWidth / 2 + slot * (static_cast<double>(s) + 0.5);
      if (const std::optional<Interval> interval = IntervalOf(rows[s], f1[k])) whiskers.push_back(Whisker(x, *interval));
    }
    bars->append(set);
  }
  chart->addSeries(bars);
  bars->attachAxis(x_axis);
  bars->attachAxis(y_axis);
  for (QLineSeries* whisker : whiskers) {
    chart->addSeries(whisker);
    whisker->attachAxis(x_axis);
    whisker->attachAxis(y_axis);
    // After addSeries, which gives the series the theme's colour.
    whisker->setPen(QPen(Qt::black, 1.5));
    for (QLegendMarker* marker : chart->legend()->markers(whisker)) marker->setVisible(false);
  }
  return chart;
}

QByteArray FiguresChartSvg(const std::vector<EvaluationRow>& rows, const QSize& size) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  QSvgGenerator svg;
  svg.setOutputDevice(&buffer);
  svg.setSize(size);
  svg.setViewBox(QRect(QPoint(0, 0), size));
  svg.setTitle(QStringLiteral("F1"));
  QPainter painter(&svg);
  RenderChart(rows, painter, size);
  painter.end();
  return bytes;
}

QByteArray FiguresChartPng(const std::vector<EvaluationRow>& rows, const QSize& size) {
  QImage image(size, QImage::Format_ARGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  RenderChart(rows, painter, size);
  painter.end();
  QByteArray bytes;
  QBuffer buffer(&bytes);
  image.save(&buffer, "PNG");
  return bytes;
}

}  // namespace casewright
