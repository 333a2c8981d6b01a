// Benchmarks of a whole run on a large text with all eight features, with
// the default tables (as a user's run) and with tables held in memory (the
// analysis alone); and of aligning a reference extract with that text.
//
//   casewright-bench [--benchmark_filter=...]
//
// The text is data/examples/large-1mb.txt when present, else a text of the
// same size made of Portuguese-looking sentences.
//
// BM_Evaluate* time `casewright-cli evaluate`'s work (the tables open) on a
// manifest of 1,000 texts of 50 sentences cut from that text, each with a
// reference of 10 sentences (a classes file, or an extract to match) and a
// system of scores at the rate 0.2, with the lead and random baselines.
//
// BM_EvaluateWithEveryMethod adds every summariser (summary/methods/) as a
// baseline to BM_EvaluateWithClassesReferences; BM_TextRank5000Sentences
// ranks the first 5,000 sentences of the large text by TextRank, from their
// tokens.
// BM_EvaluateTwoMegabyteText times `casewright-cli evaluate`'s work on one
// text of 2 MB (the bundled texts repeated), a reference of a fifth of its
// sentences drawn at random (a classes file) and a system of random scores
// at the rate 0.2, with the lead and random baselines (argument 1) or the
// lead alone (0).
//
// BM_FeaturesOfSpeedCorpus runs each text of the 10 MB speed corpus
// (speed_corpus.h) in memory with the default tables and features 1-8
// (argument 8) or 1-16 (argument 16): features 9 to 16 should cost at most
// half as much again as the first eight.
//
// BM_Crossval1000Texts times `casewright-cli crossval --folds 10 --rate 0.2`
// on those texts and their classes files, from reading the texts to the
// table of figures (the tables open), on one thread and on two.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>

#include "bundled_text.h"
#include "speed_corpus.h"
#include "batch/manifest.h"
#include "experiment/crossval.h"
#include "summary/bootstrap.h"
#include "summary/comparison.h"
#include "pipeline/evaluation.h"
#include "pipeline/pipeline.h"
#include "pipeline/summary_run.h"
#include "summary/methods/textrank.h"
#include "testing/memory_tables.h"
#include "lexicon/sqlite_tables.h"
#include "text/classes_file.h"
#include "text/extract_classes.h"
#include "text/load_text.h"
#include "text/segmented_text.h"

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

// A folder of 1,000 texts of 50 sentences, their references and scores, and
// the manifest of their evaluation.
class EvaluationCorpus {
 public:
  static constexpr int kTexts = 1000;
  static constexpr int kSentences = 50;

  explicit EvaluationCorpus(const LexicalTables& tables)
      : dir_(fs::temp_directory_path() / ("casewright-bench-eval-" + std::to_string(::getpid()))) {
    fs::create_directories(dir_);
    const fs::path source = dir_ / "source.txt";
    { std::ofstream(source, std::ios::binary) << LargeText(); }
    SegmentedText whole(source.string(), TextEncoding::kWindows1252, tables);
    std::mt19937 random(7);
    std::ofstream classes_manifest(dir_ / "classes.tsv"), extract_manifest(dir_ / "extract.tsv"),
        train_manifest(dir_ / "train.tsv");
    for (int t = 0; t < kTexts; ++t) {
      const std::string name = "t" + std::to_string(t);
      std::string text, extract, scores;
      std::vector<std::string> classes;
      for (int s = 0; s < kSentences; ++s) {
        const std::string sentence = whole.Original((static_cast<std::size_t>(t) * 37 + s) % whole.size());
        text += sentence + "\r\n";
        const bool chosen = random() % 5 == 0;
        classes.push_back(chosen ? "1" : "0");
        if (chosen) extract += sentence + "\n";
        scores += std::to_string(random() % 1000 / 1000.0) + "\n";
      }
      Write(name + ".txt", text);  // in UTF-8, as Original gives the sentences
      Write(name + ".classes", ClassesFileText(classes));
      Write(name + ".extract", extract);
      Write(name + ".scores", scores);
      classes_manifest << name << ".txt\tclasses:" << name << ".classes\tscores:" << name << ".scores\n";
      extract_manifest << name << ".txt\t" << name << ".extract\tscores:" << name << ".scores\n";
      train_manifest << name << ".txt\t" << name << ".classes\t\n";
    }
  }
  ~EvaluationCorpus() { fs::remove_all(dir_); }

  std::string Manifest(const char* name) const { return (dir_ / name).string(); }

 private:
  void Write(const std::string& name, const std::string& bytes) {
    std::ofstream(dir_ / name, std::ios::binary) << bytes;
  }

  fs::path dir_;
};

void Evaluate1000Texts(benchmark::State& state, const char* manifest_name,
                       const std::vector<std::string>& methods = {}) {
  SqliteTables tables(ResolveTablesFolder());
  EvaluationCorpus corpus(tables);
  const EvaluationManifest manifest = ReadEvaluationManifest(corpus.Manifest(manifest_name), kMaxManifestBytes);
  EvaluationSettings settings;
  settings.encoding = TextEncoding::kUtf8;
  settings.extract.allow_unmatched = true;
  settings.rate = 0.2;
  settings.lead = settings.random = true;
  settings.methods = methods;
  for (auto _ : state) {
    EvaluationOutcome outcome = Evaluate(manifest, settings, tables);
    if (!outcome.errors.empty()) state.SkipWithError(outcome.errors.front().c_str());
    benchmark::DoNotOptimize(outcome);
  }
}

void BM_EvaluateWithClassesReferences(benchmark::State& state) { Evaluate1000Texts(state, "classes.tsv"); }
BENCHMARK(BM_EvaluateWithClassesReferences)->Unit(benchmark::kMillisecond);

void BM_EvaluateWithExtractReferences(benchmark::State& state) { Evaluate1000Texts(state, "extract.tsv"); }
BENCHMARK(BM_EvaluateWithExtractReferences)->Unit(benchmark::kMillisecond);

void BM_EvaluateWithEveryMethod(benchmark::State& state) {
  Evaluate1000Texts(state, "classes.tsv",
                    {"textrank", "lexrank", "lexrank-continuous", "luhn", "sumbasic", "lsa", "feature:7", "oracle"});
}
BENCHMARK(BM_EvaluateWithEveryMethod)->Unit(benchmark::kMillisecond);

void BM_TextRank5000Sentences(benchmark::State& state) {
  SqliteTables tables(ResolveTablesFolder());
  const fs::path path = fs::temp_directory_path() / ("casewright-bench-rank-" + std::to_string(::getpid()));
  { std::ofstream(path, std::ios::binary) << LargeText(); }
  SegmentedText text(path.string(), TextEncoding::kWindows1252, tables);
  fs::remove(path);
  TokenVocabulary vocabulary;
  StopwordFlags stopwords;
  SentenceTokens tokens = TokensOfSentences(text.run(), text.bytes(), {}, vocabulary, &stopwords);
  tokens.resize(std::min<std::size_t>(tokens.size(), 5000));
  stopwords.resize(tokens.size());
  const TextRank textrank;
  for (auto _ : state) benchmark::DoNotOptimize(textrank.Scores({tokens, stopwords}));
  state.counters["sentences"] = static_cast<double>(tokens.size());
}
BENCHMARK(BM_TextRank5000Sentences)->Unit(benchmark::kMillisecond);
void BM_EvaluateTwoMegabyteText(benchmark::State& state) {
  SqliteTables tables(ResolveTablesFolder());
  const fs::path dir = fs::temp_directory_path() / ("casewright-bench-large-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  { std::ofstream(dir / "text.txt", std::ios::binary) << bench::TextOfSize(bench::BundledTexts(), 2 << 20); }
  const std::size_t sentences = SegmentedText((dir / "text.txt").string(), TextEncoding::kWindows1252, tables).size();
  std::mt19937 random(3);
  std::vector<std::string> classes;
  std::string scores;
  for (std::size_t i = 0; i < sentences; ++i) {
    classes.push_back(random() % 5 == 0 ? "1" : "0");
    scores += std::to_string(random() % 10000 / 10000.0) + "\n";
  }
  std::ofstream(dir / "text.classes", std::ios::binary) << ClassesFileText(classes);
  std::ofstream(dir / "text.scores", std::ios::binary) << scores;
  std::ofstream(dir / "m.tsv", std::ios::binary) << "text.txt\tclasses:text.classes\tscores:text.scores\n";
  const EvaluationManifest manifest = ReadEvaluationManifest((dir / "m.tsv").string(), kMaxManifestBytes);
  EvaluationSettings settings;
  settings.rate = 0.2;
  settings.lead = true;
  settings.random = state.range(0) == 1;
  for (auto _ : state) {
    EvaluationOutcome outcome = Evaluate(manifest, settings, tables);
    if (!outcome.errors.empty()) state.SkipWithError(outcome.errors.front().c_str());
    benchmark::DoNotOptimize(outcome);
  }
  state.counters["sentences"] = static_cast<double>(sentences);
  fs::remove_all(dir);
}
BENCHMARK(BM_EvaluateTwoMegabyteText)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);
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

void BM_FeaturesOfSpeedCorpus(benchmark::State& state) {
  SqliteTables tables(ResolveTablesFolder());
  std::vector<std::string> texts;
  std::size_t bytes = 0;
  for (const fs::path& file : bench::SpeedCorpusFiles(bench::SpeedCorpusFolder())) {
    texts.push_back(LoadText(file.string()));
    bytes += texts.back().size();
  }
  fs::path dir = fs::temp_directory_path() / ("casewright-bench-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  RunSettings settings;
  settings.text_path = (dir / "text").string();
  settings.output_path = (dir / "cases").string();
  settings.features = state.range(0) == kFeatureCount ? FeatureSet::All() : FeatureSet::Default();
  for (auto _ : state) {
    for (const std::string& text : texts) {
      RunOutcome outcome = RunCasesOnText(settings, text, tables);
      benchmark::DoNotOptimize(outcome);
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
  state.counters["texts"] = static_cast<double>(texts.size());
  fs::remove_all(dir);
}
BENCHMARK(BM_FeaturesOfSpeedCorpus)->Arg(kDefaultFeatureCount)->Arg(kFeatureCount)->Unit(benchmark::kMillisecond);

void BM_Crossval1000Texts(benchmark::State& state) {
  SqliteTables tables(ResolveTablesFolder());
  EvaluationCorpus corpus(tables);
  const std::vector<ManifestEntry> entries = ReadManifest(corpus.Manifest("train.tsv"), {.outputs_optional = true});
  CorpusSettings settings;
  settings.encoding = TextEncoding::kUtf8;
  settings.jobs = static_cast<unsigned>(state.range(0));
  settings.with_tokens = true;
  CrossvalSettings crossval;
  crossval.training.threads = settings.jobs;
  crossval.bootstrap = kDefaultResamples;
  std::vector<std::string> names;
  for (const ManifestEntry& entry : entries) names.push_back(entry.text_name);
  // 10 folds drawn 5 times, the mean rows' intervals and the model's
  // comparisons with its baselines: a reported experiment.
  const FoldAssignment folds = DrawFolds(entries.size(), 10, 5, kDefaultSeed);
  for (auto _ : state) {
    const CorpusCases cases = ComputeCorpusCases(entries, settings, tables, "train.tsv");
    const CrossvalOutcome outcome = CrossValidate(cases, names, folds, crossval);
    std::ostringstream table, comparisons;
    WriteEvaluation(outcome.rows, EvaluationFormat::kCsv, table);
    WriteComparisons(CompareSystems(outcome.rows, PairsToCompare({"model"}, outcome.rows), kDefaultResamples,
                                    kDefaultSeed),
                     comparisons);
    benchmark::DoNotOptimize(table);
    benchmark::DoNotOptimize(comparisons);
  }
}
BENCHMARK(BM_Crossval1000Texts)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace casewright

BENCHMARK_MAIN();
