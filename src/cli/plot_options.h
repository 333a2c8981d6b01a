// `--plot FILE` and `--plot-size WxH` of the commands that write figures
// (`evaluate`, `crossval`): the bar chart of the mean rows' F1 figures, the
// window's chart, written as SVG or PNG by the file's extension.
//
// The chart is drawn by the plot module (chart/plot_module.h), opened with
// dlopen only when --plot is given: the command line starts without Qt, and
// a build or an install without the window refuses --plot with a message
// saying so.  The module is looked for beside the program (the build tree),
// then in the installed library folder.
#ifndef CASEWRIGHT_CLI_PLOT_OPTIONS_H_
#define CASEWRIGHT_CLI_PLOT_OPTIONS_H_

#include <string>
#include <vector>

#include "CLI/CLI.hpp"
#include "chart/plot_module.h"
#include "output/output_files.h"
#include "pipeline/run_files.h"
#include "summary/evaluation_table.h"

namespace casewright::cli {

struct PlotOptions {
  std::string path;  // empty: no chart
  std::string size = "800x500";
};

void AddPlotOptions(CLI::App& app, PlotOptions& options);

// Adds the chart file, if asked for, to the files a command writes.
void AddPlotFile(std::vector<RunFile>& outputs, const PlotOptions& options);

// The chart file asked for, opened, with the module that draws it.
struct PlotFile {
  std::string path;
  OutputFile* file = nullptr;  // null: no chart asked for
  PlotEntry draw = nullptr;
  PlotFormat format = PlotFormat::kSvg;
  int width = 0;
  int height = 0;
};

// Checks the chart's extension and size and loads the plot module, then
// opens the file in `files`; so that a chart that cannot be drawn fails the
// command before its work.  Throws UsageError or RunError.
PlotFile OpenPlotFile(const PlotOptions& options, OutputFiles& files);

// Writes the chart of `means` (the mean rows) to `plot`; nothing when no
// chart was asked for.
void WritePlotTo(const PlotFile& plot, const std::vector<EvaluationRow>& means);

}  // namespace casewright::cli

#endif  // CASEWRIGHT_CLI_PLOT_OPTIONS_H_
