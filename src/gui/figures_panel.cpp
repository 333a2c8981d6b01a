#include "gui/figures_panel.h"

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPainter>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>
#include <optional>
#include <sstream>

#include "chart/figures_chart.h"
#include "core/run_error.h"
#include "output/output_files.h"

namespace casewright {
namespace {

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
  chart_view_->setChart(MakeFiguresChart(rows_));
  delete old;
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
    const QByteArray bytes = extension == QLatin1String("svg") ? FiguresChartSvg(rows_, size) : FiguresChartPng(rows_, size);
    OutputFiles out;
    out.Open(path).Write(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    out.CommitAll();
  } catch (const std::exception& error) {
    prompts_.ShowError(this, QString::fromStdString(DescribeError(error)));
  }
}

}  // namespace casewright
