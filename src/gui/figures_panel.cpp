#include "gui/figures_panel.h"

#include <QApplication>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QBuffer>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QFileInfo>
#include <QGraphicsLayout>
#include <QGraphicsScene>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPainter>
#include <QPen>
#include <QPushButton>
#include <QSvgGenerator>
#include <QTableWidget>
#include <QValueAxis>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>
#include <optional>
#include <sstream>

#include "core/run_error.h"
#include "output/output_files.h"

namespace casewright {
namespace {

// The share of a category the bars take together (QBarSeries' default).
constexpr double kBarWidth = 0.5;
// Half the width of a whisker's caps, in categories.
constexpr double kCapHalfWidth = 0.03;

bool IsF1(const std::string& name) { return name.size() > 3 && name.compare(name.size() - 3, 3, "_f1") == 0; }

QString FigureCell(double value, const std::optional<Interval>& interval) {
  QString cell = QString::number(value, 'f', 4);
  if (interval) cell += QStringLiteral(" [%1, %2]").arg(interval->low, 0, 'f', 2).arg(interval->high, 0, 'f', 2);
  return cell;
}

// A count is whole in a text's row and a mean in a mean row.
QString CountCell(double count) {
  return count == static_cast<double>(static_cast<long long>(count)) ? QString::number(static_cast<long long>(count))
                                                                      : QString::number(count, 'f', 4);
}

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

}  // namespace

FiguresPanel::FiguresPanel(GuiPrompts& prompts, QWidget* parent) : QWidget(parent), prompts_(prompts) {
  table_ = new QTableWidget(this);
  table_->setObjectName("SummaryFigures");
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
  chart_view_ = new QChartView(new QChart, this);
  chart_view_->setObjectName("FiguresChart");
  chart_view_->setRenderHint(QPainter::Antialiasing);
  chart_view_->setMinimumSize(360, 260);
  copy_button_ = new QPushButton(QStringLiteral("Copy as CSV"), this);
  copy_button_->setObjectName("CopyCsvButton");
  save_button_ = new QPushButton(QStringLiteral("Save chart..."), this);
  save_button_->setObjectName("SaveChartButton");
  save_button_->setToolTip(QStringLiteral("SVG or PNG, by the file name's extension"));

  auto* buttons = new QVBoxLayout;
  buttons->addWidget(copy_button_);
  buttons->addWidget(save_button_);
  buttons->addStretch();
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(table_, 1);
  layout->addWidget(chart_view_, 2);
  layout->addLayout(buttons);
  connect(copy_button_, &QPushButton::clicked, this, &FiguresPanel::CopyCsv);
  connect(save_button_, &QPushButton::clicked, this, &FiguresPanel::SaveChart);
  SetRows({});
}

void FiguresPanel::SetRows(std::vector<EvaluationRow> rows) {
  rows_ = std::move(rows);
  copy_button_->setEnabled(!rows_.empty());
  save_button_->setEnabled(!rows_.empty());
  FillTable();
  FillChart();
}

void FiguresPanel::FillTable() {
  QStringList systems;
  for (const EvaluationRow& row : rows_) systems.append(QString::fromStdString(row.system));
  std::vector<std::vector<std::optional<double>>> values;
  for (const EvaluationRow& row : rows_) values.push_back(FigureValues(row));

  QStringList names = {QStringLiteral("selected")};
  std::vector<QStringList> cells(1);
  for (const EvaluationRow& row : rows_) cells[0].append(CountCell(row.selected));
  const std::vector<std::string>& figures = FigureNames();
  for (std::size_t f = 0; f < figures.size(); ++f) {
    QStringList line;
    bool any = false;
    for (std::size_t s = 0; s < rows_.size(); ++s) {
      any = any || values[s][f].has_value();
      line.append(values[s][f] ? FigureCell(*values[s][f], IntervalOf(rows_[s], f)) : QString());
    }
    if (!any) continue;
    names.append(QString::fromStdString(figures[f]));
    cells.push_back(line);
  }
  table_->clear();
  table_->setColumnCount(static_cast<int>(systems.size()));
  table_->setRowCount(rows_.empty() ? 0 : static_cast<int>(names.size()));
  table_->setHorizontalHeaderLabels(systems);
  table_->setVerticalHeaderLabels(names);
  for (int r = 0; r < table_->rowCount(); ++r) {
    for (int c = 0; c < table_->columnCount(); ++c) {
      auto* item = new QTableWidgetItem(cells[r][c]);
      item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      table_->setItem(r, c, item);
    }
  }
}

void FiguresPanel::FillChart() {
  QChart* old = chart_view_->chart();
  chart_view_->setChart(MakeChart());
  delete old;
}

QChart* FiguresPanel::MakeChart() const {
  auto* chart = new QChart;
  chart->setTitle(QStringLiteral("F1"));
  const std::vector<std::string>& figures = FigureNames();
  std::vector<std::size_t> f1;
  for (std::size_t f = 0; f < figures.size(); ++f) {
    bool any = false;
    for (const EvaluationRow& row : rows_) any = any || FigureValues(row)[f].has_value();
    if (IsF1(figures[f]) && any) f1.push_back(f);
  }
  auto* x_axis = new QBarCategoryAxis;
  for (std::size_t f : f1) x_axis->append(QString::fromStdString(figures[f]));
  auto* y_axis = new QValueAxis;
  y_axis->setRange(0, 1);
  chart->addAxis(x_axis, Qt::AlignBottom);
  chart->addAxis(y_axis, Qt::AlignLeft);

  auto* bars = new QBarSeries;
  bars->setBarWidth(kBarWidth);
  std::vector<QLineSeries*> whiskers;
  const double slot = kBarWidth / static_cast<double>(std::max<std::size_t>(rows_.size(), 1));
  for (std::size_t s = 0; s < rows_.size(); ++s) {
    auto* set = new QBarSet(QString::fromStdString(rows_[s].system));
    const std::vector<std::optional<double>> values = FigureValues(rows_[s]);
    for (std::size_t k = 0; k < f1.size(); ++k) {
      set->append(values[f1[k]].value_or(0));
      // A bar's centre: its category, less half the bars, plus its slot.
      const double x = static_cast<double>(k) - kBarWidth / 2 + slot * (static_cast<double>(s) + 0.5);
      if (const std::optional<Interval> interval = IntervalOf(rows_[s], f1[k])) whiskers.push_back(Whisker(x, *interval));
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

QByteArray FiguresPanel::ChartSvg(const QSize& size) const {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  QSvgGenerator svg;
  svg.setOutputDevice(&buffer);
  svg.setSize(size);
  svg.setViewBox(QRect(QPoint(0, 0), size));
  svg.setTitle(QStringLiteral("F1"));
  QPainter painter(&svg);
  RenderChart(painter, size);
  return bytes;
}

QByteArray FiguresPanel::ChartPng(const QSize& size) const {
  QImage image(size, QImage::Format_ARGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  RenderChart(painter, size);
  painter.end();
  QByteArray bytes;
  QBuffer buffer(&bytes);
  image.save(&buffer, "PNG");
  return bytes;
}

void FiguresPanel::RenderChart(QPainter& painter, const QSize& size) const {
  // A scene of its own, laid out at the asked size whatever the panel's.
  QGraphicsScene scene;
  QChart* chart = MakeChart();
  scene.addItem(chart);  // which owns it
  const QRectF area(QPointF(0, 0), QSizeF(size));
  chart->setGeometry(area);
  chart->layout()->activate();
  scene.render(&painter, area, area);
}

void FiguresPanel::CopyCsv() {
  std::ostringstream csv;
  WriteEvaluation(rows_, EvaluationFormat::kCsv, csv);
  QApplication::clipboard()->setText(QString::fromStdString(csv.str()));
}

void FiguresPanel::SaveChart() {
  // The dialog opens in the folder of the figures' first input (the text).
  const QString folder =
      inputs_.empty() ? QString() : QFileInfo(QString::fromStdString(inputs_.front().path)).absolutePath();
  const QString chosen = prompts_.SaveFileNameOfType(this, folder, QStringLiteral("SVG (*.svg);;PNG (*.png)"));
  if (chosen.isEmpty()) return;
  const std::string path = chosen.toStdString();
  const QString extension = QFileInfo(chosen).suffix().toLower();
  try {
    std::vector<RunFile> files = inputs_;
    files.push_back({path, "chart", true});
    RefuseSharedFiles(files);
    if (extension != QLatin1String("svg") && extension != QLatin1String("png")) {
      throw RunError("A chart is saved as .svg or .png", path);
    }
    const QSize size = chart_view_->size().expandedTo(QSize(800, 500));
    const QByteArray bytes = extension == QLatin1String("svg") ? ChartSvg(size) : ChartPng(size);
    OutputFiles out;
    out.Open(path).Write(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    out.CommitAll();
  } catch (const std::exception& error) {
    prompts_.ShowError(this, QString::fromStdString(DescribeError(error)));
  }
}

}  // namespace casewright
