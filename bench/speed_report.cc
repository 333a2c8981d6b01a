// casewright-speed: how fast a run is, against what reading the text costs.
//
// Builds texts of about 1, 10 and 50 MB from the speed corpus (real
// Portuguese prose, speed_corpus.h: its texts one after the other; a size
// past the corpus's 10.8 MB repeats it), then reports for each, as the
// median of several runs:
//   - the whole command line with all eight features, start to exit, and its
//     peak resident memory;
//   - `wc -w` on the same file, timed in the same loop, and the ratio to it,
//     in wall time and in processor time (user and system: on a busy machine
//     the wall time also counts the waits for a core);
//   - the same run with the tables already open, stage by stage.
// Last, the time to open the default tables and the cost of a run on a 2 KB
// text with the tables open, which is what a batch pays per text.
//
//   casewright-speed [--sizes 1,10,50] [--runs 5]
//
// The output is Markdown, ready for the README.
#include <CLI/CLI.hpp>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <string>
#include <utility>
#include <vector>

#include "bundled_text.h"
#include "speed_corpus.h"
#include "core/progress.h"
#include "lexicon/sqlite_tables.h"
#include "pipeline/pipeline.h"

namespace casewright {
namespace {

namespace fs = std::filesystem;
using bench::TextOfSize;
using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// The processor time (user and system) this process has used so far.
double ProcessorSeconds() {
  struct timespec t {};
  ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + t.tv_nsec / 1e9;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  std::size_t n = values.size();
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

double Seconds(const struct timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; }

struct ProcessRun {
  double seconds;
  double cpu_seconds;  // user and system
  long peak_kb;
};


// Runs `argv` with its output discarded, under GNU time, which reports its
// peak memory.  (A child forked from this program would start with this
// program's pages, the corpus among them, counted in its peak memory; GNU
// time's child starts from a small program.)  The processor time comes from
// wait4, which counts the descendants too, to the microsecond.
ProcessRun RunProcess(const fs::path& dir, const std::vector<std::string>& argv) {
  const std::string report = (dir / "time").string();
  std::vector<std::string> timed = {"/usr/bin/time", "-f", "%M", "-o", report};
  timed.insert(timed.end(), argv.begin(), argv.end());
  std::vector<char*> args;
  for (const std::string& a : timed) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  posix_spawn_file_actions_t discard;
  ::posix_spawn_file_actions_init(&discard);
  ::posix_spawn_file_actions_addopen(&discard, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  ::posix_spawn_file_actions_addopen(&discard, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  Clock::time_point start = Clock::now();
  pid_t child = 0;
  int spawned = ::posix_spawn(&child, args[0], &discard, nullptr, args.data(), environ);
  ::posix_spawn_file_actions_destroy(&discard);
  if (spawned != 0) throw std::runtime_error("cannot run /usr/bin/time: " + std::string(std::strerror(spawned)));
  int status = 0;
  struct rusage usage {};
  ::wait4(child, &status, 0, &usage);
  double seconds = SecondsSince(start);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    throw std::runtime_error(argv[0] + " failed with status " + std::to_string(status));
  }
  long peak_kb = 0;
  std::ifstream(report) >> peak_kb;
  return {seconds, Seconds(usage.ru_utime) + Seconds(usage.ru_stime), peak_kb};
}

// The time of each stage of one run with the tables open, loading first.
constexpr int kColumns = kRunStageCount + 1;
constexpr std::array<const char*, kColumns> kStageNames = {
    "load", "segment", "stopwords", "distribution", "tf-isf", "gist", "keywords", "locations", "cues", "write"};

struct StagedRun {
  double seconds;
  double cpu_seconds;
  std::array<double, kColumns> stages{};
};

StagedRun RunWithTablesOpen(const RunSettings& settings, const LexicalTables& tables) {
  StagedRun run;
  const double cpu_start = ProcessorSeconds();
  Clock::time_point start = Clock::now();
  Clock::time_point stage_start = start;
  int column = 0;  // loading, until the first stage reports
  RunCases(settings, tables, [&](const ProgressTick& tick) {
    int now = static_cast<int>(tick.stage) + 1;
    if (now == column) return;
    Clock::time_point t = Clock::now();
    run.stages[column] += std::chrono::duration<double>(t - stage_start).count();
    column = now;
    stage_start = t;
  });
  run.stages[column] += SecondsSince(stage_start);
  run.seconds = SecondsSince(start);
  run.cpu_seconds = ProcessorSeconds() - cpu_start;
  return run;
}

struct SizeReport {
  double megabytes;
  bool repeated;  // the corpus repeated to reach the size
  double cli_seconds;
  double cli_cpu_seconds;
  long cli_peak_kb;
  double wc_seconds;
  double wc_cpu_seconds;
  double open_seconds;
  double open_cpu_seconds;
  std::array<double, kColumns> stages{};
};

SizeReport MeasureSize(const fs::path& dir, const std::string& text, bool repeated, const LexicalTables& tables,
                       int runs) {
  fs::path text_path = dir / "text.txt";
  WriteBytes(text_path, text);
  RunSettings settings;
  settings.text_path = text_path.string();
  settings.classes_path = (dir / "classes").string();
  settings.output_path = (dir / "cases").string();
  const std::vector<std::string> cli = {CASEWRIGHT_CLI, "--text", settings.text_path, "--classes",
                                        settings.classes_path, "--output", settings.output_path};
  const std::vector<std::string> wc = {"wc", "-w", settings.text_path};

  std::vector<double> cli_times, cli_cpu_times, wc_times, wc_cpu_times, open_times, open_cpu_times;
  std::vector<long> peaks;
  std::array<std::vector<double>, kColumns> stage_times;
  RunProcess(dir, cli);  // once to warm the page cache
  for (int i = 0; i < runs; ++i) {
    ProcessRun c = RunProcess(dir, cli);
    cli_times.push_back(c.seconds);
    cli_cpu_times.push_back(c.cpu_seconds);
    peaks.push_back(c.peak_kb);
    ProcessRun w = RunProcess(dir, wc);
    wc_times.push_back(w.seconds);
    wc_cpu_times.push_back(w.cpu_seconds);
    StagedRun staged = RunWithTablesOpen(settings, tables);
    open_times.push_back(staged.seconds);
    open_cpu_times.push_back(staged.cpu_seconds);
    for (int s = 0; s < kColumns; ++s) stage_times[s].push_back(staged.stages[s]);
  }
  SizeReport report;
  report.megabytes = static_cast<double>(text.size()) / 1e6;
  report.repeated = repeated;
  report.cli_seconds = Median(cli_times);
  report.cli_cpu_seconds = Median(cli_cpu_times);
  report.wc_cpu_seconds = Median(wc_cpu_times);
  report.cli_peak_kb = *std::max_element(peaks.begin(), peaks.end());
  report.wc_seconds = Median(wc_times);
  report.open_seconds = Median(open_times);
  report.open_cpu_seconds = Median(open_cpu_times);
  for (int s = 0; s < kColumns; ++s) report.stages[s] = Median(stage_times[s]);
  return report;
}

double MedianOpenSeconds(const std::string& folder, int runs) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    Clock::time_point start = Clock::now();
    SqliteTables tables(folder);
    times.push_back(SecondsSince(start));
  }
  return Median(times);
}

// The median cost, in wall and processor time, of one run on a small text
// with the tables open.
std::pair<double, double> SmallTextSeconds(const fs::path& dir, const std::string& source,
                                           const LexicalTables& tables) {
  WriteBytes(dir / "small.txt", TextOfSize(source, 2048));
  RunSettings settings;
  settings.text_path = (dir / "small.txt").string();
  settings.classes_path = (dir / "classes").string();
  settings.output_path = (dir / "small.cases").string();
  std::vector<double> times, cpu_times;
  for (int i = 0; i < 1000; ++i) {
    const double cpu_start = ProcessorSeconds();
    Clock::time_point start = Clock::now();
    RunCases(settings, tables);
    times.push_back(SecondsSince(start));
    cpu_times.push_back(ProcessorSeconds() - cpu_start);
  }
  return {Median(times), Median(cpu_times)};
}

void Print(const std::vector<SizeReport>& reports, double open_seconds, std::pair<double, double> small_seconds,
           int runs) {
  std::printf("Speed corpus, medians of %d runs, all eight features, default tables.\n\n", runs);
  std::printf("Wall time:\n\n| Size | Command line | MB/s | Peak memory | wc -w | Ratio | Tables open | Ratio |\n");
  std::printf("|---:|---:|---:|---:|---:|---:|---:|---:|\n");
  for (const SizeReport& r : reports) {
    std::printf("| %.0f MB%s | %.3f s | %.0f | %.0f MB | %.3f s | %.1f | %.3f s | %.1f |\n", r.megabytes,
                r.repeated ? " (repeated)" : "", r.cli_seconds, r.megabytes / r.cli_seconds, r.cli_peak_kb / 1024.0,
                r.wc_seconds, r.cli_seconds / r.wc_seconds, r.open_seconds, r.open_seconds / r.wc_seconds);
  }
  std::printf("\nProcessor time (user and system):\n\n| Size | Command line | wc -w | Ratio | Tables open | Ratio |\n");
  std::printf("|---:|---:|---:|---:|---:|---:|\n");
  for (const SizeReport& r : reports) {
    std::printf("| %.0f MB%s | %.3f s | %.3f s | %.1f | %.3f s | %.1f |\n", r.megabytes,
                r.repeated ? " (repeated)" : "", r.cli_cpu_seconds, r.wc_cpu_seconds,
                r.cli_cpu_seconds / r.wc_cpu_seconds, r.open_cpu_seconds, r.open_cpu_seconds / r.wc_cpu_seconds);
  }
  std::printf("\nStages with the tables open (seconds):\n\n| Size |");
  for (const char* name : kStageNames) std::printf(" %s |", name);
  std::printf("\n|---:|");
  for (int s = 0; s < kColumns; ++s) std::printf("---:|");
  std::printf("\n");
  for (const SizeReport& r : reports) {
    std::printf("| %.0f MB%s |", r.megabytes, r.repeated ? " (repeated)" : "");
    for (double t : r.stages) std::printf(" %.3f |", t);
    std::printf("\n");
  }
  std::printf("\nOpening the default tables: %.2f ms\n", open_seconds * 1e3);
  std::printf("A run on a 2 KB text with the tables open: %.3f ms (processor %.3f ms)\n", small_seconds.first * 1e3,
              small_seconds.second * 1e3);
}

}  // namespace
}  // namespace casewright

int main(int argc, char** argv) {
  namespace cw = casewright;
  std::vector<int> sizes = {1, 10, 50};
  int runs = 5;
  CLI::App app{"Times Casewright's runs on real texts of growing size against wc -w."};
  app.add_option("--sizes", sizes, "Text sizes in MB")->delimiter(',');
  app.add_option("--runs", runs, "Runs per measurement (the median is reported)")->check(CLI::PositiveNumber);
  CLI11_PARSE(app, argc, argv);

  cw::fs::path dir = cw::fs::temp_directory_path() / ("casewright-speed-" + std::to_string(::getpid()));
  cw::fs::create_directories(dir);
  cw::WriteBytes(dir / "classes", "1 0 1");
  try {
    const std::string folder = cw::ResolveTablesFolder();
    const std::string source = cw::bench::SpeedCorpusText(cw::bench::SpeedCorpusFolder());
    cw::SqliteTables tables(folder);
    std::vector<cw::SizeReport> reports;
    for (int mb : sizes) {
      std::cerr << "measuring " << mb << " MB...\n";
      const std::size_t bytes = static_cast<std::size_t>(mb) * 1000000;
      reports.push_back(cw::MeasureSize(dir, cw::TextOfSize(source, bytes), bytes > source.size(), tables, runs));
    }
    cw::Print(reports, cw::MedianOpenSeconds(folder, 2 * runs + 1), cw::SmallTextSeconds(dir, source, tables), runs);
  } catch (const std::exception& e) {
    std::cerr << "casewright-speed: " << e.what() << "\n";
    cw::fs::remove_all(dir);
    return 1;
  }
  cw::fs::remove_all(dir);
  return 0;
}
