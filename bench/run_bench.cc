// Benchmarks of a whole run on a large text with all eight features, with
// the default tables (as a user's run) and with tables held in memory (the
// analysis alone); and of aligning a reference extract with that text.
//
//   casewright-bench [--benchmark_filter=...]
//
// The text is data/examples/large-1mb.txt when present, else a text of the
// same size made of Portuguese-looking sentences.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <algorithm>
#include <random>

#include "pipeline/pipeline.h"
#include "testing/memory_tables.h"
#include "lexicon/sqlite_tables.h"
#include "text/extract_classes.h"
#include "text/load_text.h"

namespace casewright {
namespace {

namespace fs = std::filesystem;

std::string MadeUpText(std::size_t size) {
  const char* words[] = {"casa", "Casas", "de", "o", "sistema", "arquivo", "para", "um", "Debian",
                         "pacote", "usu\xE1rio", "configura\xE7\xE3o", "e", "que", "rede", "3.5", "(veja)"};
  std::mt19937 random(42);
  std::string text;
  while (text.size() < size) {
    int length = 3 + static_cast<int>(random() % 20);
    for (int i = 0; i < length; ++i) {
      text += words[random() % std::size(words)];
      text += ' ';
    }
    text.back() = '.';
    text += random() % 5 == 0 ? "\r\n" : " ";
  }
  return text;
}

const std::string& LargeText() {
  static const std::string text = [] {
    fs::path file = fs::path(CASEWRIGHT_SOURCE_DIR) / "data/examples/large-1mb.txt";
    return fs::exists(file) ? LoadText(file.string()) : MadeUpText(1 << 20);
  }();
  return text;
}

void RunAllFeatures(benchmark::State& state, const LexicalTables& tables) {
  const std::string& text = LargeText();
  fs::path dir = fs::temp_directory_path() / ("casewright-bench-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  RunSettings settings;
  settings.text_path = (dir / "text").string();
  settings.classes_path = (dir / "classes").string();
  settings.output_path = (dir / "cases").string();
  { std::ofstream(settings.classes_path) << "1 0 1"; }
  for (auto _ : state) {
    RunOutcome outcome = RunCasesOnText(settings, text, tables);
    benchmark::DoNotOptimize(outcome);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
  fs::remove_all(dir);
}

void BM_RunWithDefaultTables(benchmark::State& state) {
  SqliteTables tables(ResolveTablesFolder());
  RunAllFeatures(state, tables);
}
BENCHMARK(BM_RunWithDefaultTables)->Unit(benchmark::kMillisecond);

void BM_RunWithMemoryTables(benchmark::State& state) {
  MemoryTables tables({{"casas", "casa"}}, {"de", "o", "e", "que", "um", "para"}, {"sistema"});
  RunAllFeatures(state, tables);
}
BENCHMARK(BM_RunWithMemoryTables)->Unit(benchmark::kMillisecond);

// The alignment alone (the text segmented once) of an extract of every 25th
// sentence, one a line, in the text's order (argument 0) or shuffled (1).
void BM_ClassesFromExtract(benchmark::State& state) {
  SqliteTables tables(ResolveTablesFolder());
  fs::path dir = fs::temp_directory_path() / ("casewright-bench-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  { std::ofstream(dir / "text", std::ios::binary) << LargeText(); }
  SegmentedText text((dir / "text").string(), TextEncoding::kWindows1252, tables);
  std::vector<std::string> taken;
  for (std::size_t i = 0; i < text.size(); i += 25) taken.push_back(text.Original(i));
  if (state.range(0) == 1) std::shuffle(taken.begin(), taken.end(), std::mt19937(42));
  {
    std::ofstream extract(dir / "extract", std::ios::binary);
    for (const std::string& sentence : taken) extract << sentence << "\n";
  }
  const ExtractSettings settings{(dir / "extract").string(), TextEncoding::kUtf8};
  for (auto _ : state) {
    ExtractClasses found = ClassesFromExtract(text.run(), settings);
    benchmark::DoNotOptimize(found);
  }
  state.counters["sentences"] = static_cast<double>(text.size());
  fs::remove_all(dir);
}
BENCHMARK(BM_ClassesFromExtract)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace casewright

BENCHMARK_MAIN();
