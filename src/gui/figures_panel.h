// The figures of one or more systems' summaries, as the window shows them:
// a table with a column per system and a row per figure (FigureNames(), so
// that a figure the core adds shows by itself; a figure no system has is
// left out), an interval in its figure's cell when the row has one
// (`0.4637 [0.41, 0.52]`, as the table form writes it), and beside it a bar
// chart of the F1 figures, a bar per system, with the intervals as
// whiskers (chart/figures_chart.h).
//
//   Copy as CSV    puts the rows on the clipboard as `evaluate --format csv`
//                  writes them
//   Save chart...  writes the chart as SVG or PNG, by the name's extension
#ifndef CASEWRIGHT_GUI_FIGURES_PANEL_H_
#define CASEWRIGHT_GUI_FIGURES_PANEL_H_

#include <QWidget>
#include <string>
#include <vector>

#include "gui/gui_prompts.h"
#include "pipeline/run_files.h"
#include "summary/evaluation_table.h"

class QChartView;
class QPushButton;
class QTableWidget;

namespace casewright {

class FiguresPanel : public QWidget {
  Q_OBJECT

 public:
  // `prompts` must outlive the panel.
  FiguresPanel(GuiPrompts& prompts, QWidget* parent);

  // Shows `rows`, one column and one bar per row, named by its system.
  void SetRows(std::vector<EvaluationRow> rows);
  // The files a saved chart may not replace (the inputs of the figures).
  void SetInputs(std::vector<RunFile> inputs) { inputs_ = std::move(inputs); }

 private slots:
  void CopyCsv();
  void SaveChart();

 private:
  void FillTable();
  void FillChart();

  GuiPrompts& prompts_;
  std::vector<EvaluationRow> rows_;
  std::vector<RunFile> inputs_;
  QTableWidget* table_;
  QChartView* chart_view_;
  QPushButton* copy_button_;
  QPushButton* save_button_;
};

}  // namespace casewright

#endif  // CASEWRIGHT_GUI_FIGURES_PANEL_H_
