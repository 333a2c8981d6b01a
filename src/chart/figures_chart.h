// The bar chart of a set of systems' figures, drawn with Qt Charts: a group
// of bars per F1 figure that some row has (in FigureNames() order), a bar
// per row named by its system, on an axis from 0 to 1, and each interval
// the row has for the figure as a black whisker with caps.  The window's
// figures panel shows it and `--plot` writes it, from this one function,
// so that a saved chart and a paper's figure are the same picture.
//
// The SVG and PNG forms draw a chart of their own at the asked size,
// whatever any view's; they need a QApplication (Qt Charts draws through
// the widgets' graphics scene), which may run on the offscreen platform.
#ifndef CASEWRIGHT_CHART_FIGURES_CHART_H_
#define CASEWRIGHT_CHART_FIGURES_CHART_H_

#include <QByteArray>
#include <QSize>
#include <vector>

#include "summary/evaluation_table.h"

class QChart;

namespace casewright {

// A new chart of `rows`, which the caller owns.
QChart* MakeFiguresChart(const std::vector<EvaluationRow>& rows);

// The chart of `rows` as an SVG document or a PNG image of `size` pixels.
// REQUIRES: a QApplication exists.
QByteArray FiguresChartSvg(const std::vector<EvaluationRow>& rows, const QSize& size);
QByteArray FiguresChartPng(const std::vector<EvaluationRow>& rows, const QSize& size);

}  // namespace casewright

#endif  // CASEWRIGHT_CHART_FIGURES_CHART_H_
