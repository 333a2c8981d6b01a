// The plot module, libcasewright-plot.so: the figures chart (figures_chart.h)
// behind one C entry point, which casewright-cli opens with dlopen only when
// `--plot` is given, so that the command line neither starts slower nor
// needs Qt installed for anything else.  This header holds no Qt.
//
// The module and the program are built from the same tree, so the rows
// cross the boundary as they are: a module rather than a helper program,
// which would need the table written out and parsed back, intervals and
// all, and a second process to find and start.
#ifndef CASEWRIGHT_CHART_PLOT_MODULE_H_
#define CASEWRIGHT_CHART_PLOT_MODULE_H_

#include <string>
#include <vector>

#include "summary/evaluation_table.h"

namespace casewright {

// The module's file name, and the name of its entry point.
inline constexpr char kPlotModuleName[] = "libcasewright-plot.so";
inline constexpr char kPlotEntryName[] = "casewright_plot";

enum class PlotFormat { kSvg, kPng };

// Draws the chart of `rows` at width x height pixels into `bytes`; on
// failure returns false with the reason in `error`.  Makes a QApplication
// on Qt's offscreen platform (unless QT_QPA_PLATFORM names another) when
// the process has none.
// REQUIRES: called from the process's main thread; width, height > 0.
using PlotEntry = bool (*)(const std::vector<EvaluationRow>& rows, PlotFormat format, int width, int height,
                           std::string& bytes, std::string& error);

}  // namespace casewright

#endif  // CASEWRIGHT_CHART_PLOT_MODULE_H_
