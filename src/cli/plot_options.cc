#include "cli/plot_options.h"

#include <dlfcn.h>

#include <algorithm>
#include <charconv>
#include <filesystem>

#include "cli/command.h"
#include "core/run_error.h"

namespace casewright::cli {
namespace {

// Wider or taller than this, a PNG would take hundreds of megabytes.
constexpr int kLargestSide = 10000;
constexpr int kSmallestSide = 100;

PlotFormat FormatOf(const std::string& path) {
  std::string extension = std::filesystem::path(path).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (extension == ".svg") return PlotFormat::kSvg;
  if (extension == ".png") return PlotFormat::kPng;
  throw UsageError(path + ": --plot writes a chart as .svg or .png, by the file's extension");
}

int SideOf(std::string_view text) {
  int side = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), side);
  if (error != std::errc() || end != text.data() + text.size() || side < kSmallestSide || side > kLargestSide) {
    return 0;
  }
  return side;
}

// The module beside the program, else where an install puts it.
std::filesystem::path ModulePath() {
  std::error_code error;
  const std::filesystem::path folder = std::filesystem::read_symlink("/proc/self/exe", error).parent_path();
  const std::filesystem::path beside = folder / kPlotModuleName;
  if (std::filesystem::exists(beside, error)) return beside;
  return folder / CASEWRIGHT_PLOT_MODULE_FROM_BIN / kPlotModuleName;
}

PlotEntry LoadModule() {
  const std::filesystem::path path = ModulePath();
  if (!std::filesystem::exists(path)) {
    throw RunError(std::string("--plot draws with Qt through ") + kPlotModuleName +
                   ", which is not here: it is built with the window (-DCASEWRIGHT_BUILD_GUI=ON) and installed "
                   "with it (the casewright package)");
  }
  // Never closed: Qt does not unload cleanly, and the process ends soon.
  void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module == nullptr) throw RunError(std::string("--plot cannot load the plot module: ") + dlerror());
  auto* entry = reinterpret_cast<PlotEntry>(dlsym(module, kPlotEntryName));
  if (entry == nullptr) throw RunError(std::string("--plot: the plot module has no ") + kPlotEntryName, path);
  return entry;
}

}  // namespace

void AddPlotOptions(CLI::App& app, PlotOptions& options) {
  app.add_option("--plot", options.path,
                 "Also write the bar chart of the mean rows' F1 figures, with their intervals, as the window "
                 "draws it: SVG or PNG by FILE's extension (needs the window's Qt, no display)")
      ->type_name("FILE");
  app.add_option("--plot-size", options.size, "The chart's width and height in pixels")
      ->type_name("WxH")
      ->default_str("800x500");
}

void AddPlotFile(std::vector<RunFile>& outputs, const PlotOptions& options) {
  if (!options.path.empty()) outputs.push_back({options.path, "chart", true});
}

PlotFile OpenPlotFile(const PlotOptions& options, OutputFiles& files) {
  if (options.path.empty()) return {};
  PlotFile plot;
  plot.path = options.path;
  plot.format = FormatOf(options.path);
  const std::size_t x = options.size.find('x');
  if (x != std::string::npos) {
    plot.width = SideOf(std::string_view(options.size).substr(0, x));
    plot.height = SideOf(std::string_view(options.size).substr(x + 1));
  }
  if (plot.width == 0 || plot.height == 0) {
    throw UsageError("--plot-size " + options.size + ": give WIDTHxHEIGHT in pixels, each from " +
                     std::to_string(kSmallestSide) + " to " + std::to_string(kLargestSide));
  }
  plot.draw = LoadModule();
  plot.file = &files.Open(options.path);
  return plot;
}

void WritePlotTo(const PlotFile& plot, const std::vector<EvaluationRow>& means) {
  if (plot.file == nullptr) return;
  std::string bytes, error;
  if (!plot.draw(means, plot.format, plot.width, plot.height, bytes, error)) {
    throw RunError("Cannot draw the chart: " + error, plot.path);
  }
  plot.file->Write(bytes);
}

}  // namespace casewright::cli
