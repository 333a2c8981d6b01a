#include "chart/plot_module.h"

#include <QApplication>
#include <exception>
#include <memory>
#include <type_traits>

#include "chart/figures_chart.h"

extern "C" __attribute__((visibility("default"))) bool casewright_plot(
    const std::vector<casewright::EvaluationRow>& rows, casewright::PlotFormat format, int width, int height,
    std::string& bytes, std::string& error) {
  using casewright::PlotFormat;
  try {
    // A chart file needs no display: the offscreen platform draws it.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "casewright-cli";
    static char* argv[] = {name, nullptr};
    std::unique_ptr<QApplication> application;
    if (QApplication::instance() == nullptr) application = std::make_unique<QApplication>(argc, argv);
    const QSize size(width, height);
    const QByteArray drawn = format == PlotFormat::kSvg ? casewright::FiguresChartSvg(rows, size)
                                                        : casewright::FiguresChartPng(rows, size);
    if (drawn.isEmpty()) {
      error = "Qt drew an empty chart";
      return false;
    }
    bytes.assign(drawn.constData(), static_cast<std::size_t>(drawn.size()));
    return true;
  } catch (const std::exception& failure) {
    error = failure.what();
    return false;
  }
}

// The program calls the entry point through this type.
static_assert(std::is_same_v<decltype(&casewright_plot), casewright::PlotEntry>);
