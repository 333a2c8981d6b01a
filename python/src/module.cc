// casewright._core: the core library's runs, called from the Python package
// (python/casewright), which gives them their Pythonic arguments and turns
// their results into DataFrames.  Arguments arrive as the command line takes
// them (a feature list "1-8", an encoding name, a rate) and are checked by
// the command line's own functions, so that a mistake gets its message.
// Every run releases the GIL: Python threads may run texts at once.
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <memory>
#include <numeric>
#include <optional>
#include <sstream>
#include <utility>

#include "absl/strings/str_join.h"
#include "batch/manifest.h"
#include "cli/command.h"
#include "cli/learner_options.h"
#include "core/cp1252.h"
#include "core/run_error.h"
#include "errors.h"
#include "experiment/corpus_cases.h"
#include "experiment/corpus_references.h"
#include "experiment/crossval.h"
#include "experiment/model_scores.h"
#include "frames.h"
#include "lexicon/sqlite_tables.h"
#include "output/output_file.h"
#include "pipeline/evaluation.h"
#include "pipeline/evaluation_systems.h"
#include "pipeline/summary_run.h"
#include "summary/bootstrap.h"
#include "summary/comparison.h"
#include "summary/methods/registry.h"
#include "summary/selection.h"
#include "text/segmented_text.h"
#include "text_source.h"

namespace casewright::python {
namespace {
namespace py = pybind11;
using Release = py::gil_scoped_release;

// A text's settings as the command line's options give them.
struct TextOptions {
  std::string features = "1-8";
  std::string encoding = "auto";
  std::string class_values;
  bool strict_classes = false;
  std::string extract_encoding = "auto";
  std::string min_overlap;
  bool allow_unmatched = false;
  bool extract_lines = false;
  std::string values = "codes";
  bool segmented = false;
};

TextEncoding EncodingOf(const std::string& name, const std::string& option) {
  const std::optional<TextEncoding> encoding = EncodingNamed(name);
  if (!encoding) throw cli::UsageError(option + ": " + name + " is not windows-1252, utf-8 or auto");
  return *encoding;
}

cli::RunOptions RunOptionsOf(const TextOptions& options) {
  cli::RunOptions run;
  run.features = options.features;
  run.encoding = options.encoding;
  run.class_values = options.class_values;
  run.strict_classes = options.strict_classes;
  run.values = options.values;
  run.segmented = options.segmented;
  // The cases become a DataFrame, which takes raw values as any layout.
  run.writes_cases = false;
  EncodingOf(options.encoding, "encoding");
  return run;
}

cli::ExtractOptions ExtractOptionsOf(const TextOptions& options) {
  EncodingOf(options.extract_encoding, "extract_encoding");
  return {options.extract_encoding, options.min_overlap, options.allow_unmatched, options.extract_lines};
}

RunSettings RunSettingsOf(const TextOptions& options, const std::string& classes_path,
                          const std::string& extract_path) {
  const cli::Choices choices = cli::Choose(RunOptionsOf(options));
  RunSettings settings;
  settings.features = choices.features;
  settings.values = choices.values;
  settings.encoding = choices.encoding;
  settings.segmented = options.segmented;
  settings.class_values = choices.class_values;
  settings.strict_classes = options.strict_classes;
  settings.classes_path = classes_path;
  settings.extract = cli::ChooseExtract(ExtractOptionsOf(options), extract_path);
  return settings;
}

// The text of `content` (bytes) or, when it is None, of the file `path`.
std::unique_ptr<TextSource> SourceOf(const std::string& path, const std::optional<py::bytes>& content,
                                     const std::string& name) {
  if (!content) return std::make_unique<TextSource>(path);
  return std::make_unique<TextSource>(std::string_view(*content), name);
}

py::dict WithMessages(py::dict frame, const std::vector<std::string>& warnings,
                      const std::vector<std::string>& notes) {
  frame["warnings"] = Messages(warnings);
  frame["notes"] = Messages(notes);
  return frame;
}

py::dict Cases(const std::string& path, const std::optional<py::bytes>& content, const std::string& name,
               const std::string& classes_path, const std::string& extract_path, const TextOptions& options,
               const LexicalTables& tables) {
  const std::unique_ptr<TextSource> text = SourceOf(path, content, name);
  RunSettings settings = RunSettingsOf(options, classes_path, extract_path);
  settings.text_path = text->path();
  TextCases cases;
  {
    Release release;
    cases = text->Run([&] {
      RefuseSharedFiles({{settings.text_path, "text file", false},
                         classes_path.empty() ? RunFile{extract_path, "extract", false}
                                              : RunFile{classes_path, "classes file", false}},
                        SharedInputs::kRefused);
      return ComputeCases(settings, tables);
    });
  }
  return WithMessages(CaseColumns({&cases}, {text->name()}, settings.features, settings.values), cases.warnings,
                      cases.notes);
}

// The entries of the manifest at `path` or, when `rows` is given, of those
// lines (relative paths then relative to the working folder), named
// `path` in messages.
std::vector<ManifestEntry> EntriesOf(const std::string& path, const std::optional<std::string>& rows) {
  const ManifestOptions options{.outputs_optional = true};
  return rows ? ParseManifest(*rows, path, options) : ReadManifest(path, options);
}

CorpusSettings CorpusSettingsOf(const TextOptions& options, const std::string& jobs) {
  const cli::Choices choices = cli::Choose(RunOptionsOf(options));
  CorpusSettings settings;
  settings.features = choices.features;
  settings.values = choices.values;
  settings.encoding = choices.encoding;
  settings.segmented = options.segmented;
  settings.strict_classes = options.strict_classes;
  settings.extract = cli::ChooseExtract(ExtractOptionsOf(options), "");
  settings.jobs = cli::JobsAsked(jobs);
  return settings;
}

py::dict Corpus(const std::string& manifest, const std::optional<std::string>& rows, const TextOptions& options,
                const std::string& jobs, const LexicalTables& tables) {
  const CorpusSettings settings = CorpusSettingsOf(options, jobs);
  std::vector<ManifestEntry> entries;
  CorpusCases corpus;
  CorpusMessages messages;
  {
    Release release;
    entries = EntriesOf(manifest, rows);
    RefuseCorpusFiles(entries, manifest, tables, {});
    corpus = ComputeCorpusCases(entries, settings, tables, manifest);
    messages = MessagesOf(entries, corpus, manifest);
  }
  std::vector<const TextCases*> texts;
  std::vector<std::string> names;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    texts.push_back(&corpus.texts[i]);
    names.push_back(entries[i].text_name);
  }
  return WithMessages(CaseColumns(texts, names, settings.features, settings.values), messages.warnings,
                      messages.notes);
}

// A sentence of SegmentedText as a dict.
py::dict SentenceOf(SegmentedText& text, std::size_t index) {
  py::dict sentence;
  sentence["number"] = index + 1;
  sentence["text"] = text.Original(index);
  sentence["begins_paragraph"] = text.BeginsParagraph(index);
  sentence["ends_paragraph"] = text.EndsParagraph(index);
  py::list words;
  const std::string stored = Cp1252ToUtf8(text.Text(index));
  for (std::size_t from = 0; from < stored.size();) {
    const std::size_t end = std::min(stored.find('#', from), stored.size());
    if (end > from) words.append(stored.substr(from, end - from));
    from = end + 1;
  }
  sentence["words"] = words;
  py::list keys;
  std::istringstream in(text.Keys(index));
  for (std::string key; in >> key;) keys.append(key);
  sentence["keys"] = keys;
  return sentence;
}

// `segmented`: the text holds one sentence a line, paragraphs separated by
// a blank line (SentenceBreaks::kUserLines).
py::dict Sentences(const std::string& path, const std::optional<py::bytes>& content, const std::string& name,
                   const std::string& encoding, bool segmented, const LexicalTables& tables) {
  const std::unique_ptr<TextSource> source = SourceOf(path, content, name);
  const TextEncoding chosen = EncodingOf(encoding, "encoding");
  const SentenceBreaks breaks = TextBreaks(segmented);
  std::unique_ptr<SegmentedText> text;
  {
    Release release;
    text = source->Run([&] { return std::make_unique<SegmentedText>(source->path(), chosen, tables, breaks); });
  }
  py::list sentences;
  for (std::size_t i = 0; i < text->size(); ++i) sentences.append(SentenceOf(*text, i));
  py::dict listing;
  listing["sentences"] = sentences;
  return WithMessages(listing, text->warnings(), text->notes());
}

// The method called `name`, refused as `summarize --method` refuses it.
std::unique_ptr<SummaryMethod> MethodNamed(const std::string& name) {
  std::unique_ptr<SummaryMethod> method = MakeMethod(name);
  if (method == nullptr) throw cli::UsageError("method: " + name + " is not a method: " + MethodNames());
  if (method->Needs() == MethodNeeds::kReference) {
    throw cli::UsageError("method: " + name + " needs a reference summary; use it in evaluate or crossval baselines");
  }
  return method;
}

py::dict Summarize(const std::string& path, const std::optional<py::bytes>& content, const std::string& name,
                   std::vector<double> scores, const std::string& model_path, const std::optional<std::string>& method_name,
                   double rate, std::size_t count, const std::string& encoding, bool segmented,
                   const LexicalTables& tables) {
  const std::unique_ptr<TextSource> source = SourceOf(path, content, name);
  const TextEncoding chosen_encoding = EncodingOf(encoding, "encoding");
  const std::unique_ptr<SummaryMethod> method = method_name ? MethodNamed(*method_name) : nullptr;
  if (count == 0 && !IsValidRate(rate)) throw cli::UsageError("rate must be more than 0 and at most 1");
  std::vector<std::size_t> chosen;
  std::string extract;
  bool utf8 = false;
  {
    Release release;
    source->Run([&] {
      SegmentedText text(source->path(), chosen_encoding, tables, TextBreaks(segmented));
      if (text.size() == 0) throw RunError("The text has no sentence to choose from", source->path());
      if (!model_path.empty()) {
        RunSettings run;
        run.text_path = source->path();
        run.encoding = chosen_encoding;
        run.segmented = segmented;
        DecodedText loaded;
        loaded.bytes = text.bytes();
        scores = ModelScoresOfText(model_path, run, std::move(loaded), tables);
      }
      if (method != nullptr) scores = MethodScoresOf(*method, text, tables);
      if (scores.size() != text.size()) {
        throw RunError("The text has " + std::to_string(text.size()) + " sentences, but " +
                           std::to_string(scores.size()) + " scores were given",
                       source->path());
      }
      chosen = ChooseByScores(scores, {rate, count});
      extract = ExtractFileText(text, chosen);
      utf8 = text.utf8();
      return 0;
    });
  }
  py::dict summary;
  py::list numbers;
  for (std::size_t index : chosen) numbers.append(index + 1);
  summary["chosen"] = numbers;
  summary["extract"] = utf8 ? extract : Cp1252ToUtf8(extract);
  summary["scores"] = scores;
  return summary;
}

// A manifest read from a file in memory has its relative paths resolved
// against the folder of descriptors; they are meant relative to the working
// folder, as for a manifest on standard input.
void ResolveAgainstWorkingFolder(EvaluationManifest& manifest, const std::string& memory_path) {
  const std::string folder = memory_path.substr(0, memory_path.rfind('/') + 1);
  const auto resolve = [&](std::string& path) {
    if (path.starts_with(folder)) path.erase(0, folder.size());
  };
  for (EvaluationLine& line : manifest.lines) {
    resolve(line.text_path);
    for (SummarySource& reference : line.references) resolve(reference.path);
    for (SummarySource& system : line.systems) resolve(system.path);
  }
}

std::string EvaluationCsv(const std::vector<EvaluationRow>& rows) {
  std::ostringstream csv;
  WriteEvaluation(rows, EvaluationFormat::kCsv, csv);
  return csv.str();
}

// The figures as CSV and, when asked for, the paired comparisons of
// `systems` over the text rows `rows`, as the command line's --compare
// writes them.
py::dict FigureTables(const std::string& figures, bool compare, const std::vector<std::string>& systems,
                      const std::vector<EvaluationRow>& rows, int resamples, std::uint64_t seed) {
  py::dict tables;
  tables["csv"] = figures;
  if (!compare) return tables;
  std::ostringstream csv;
  {
    Release release;
    // The p-values need resamples even when the intervals are turned off.
    WriteComparisons(CompareSystems(rows, PairsToCompare(systems, rows), resamples > 0 ? resamples : kDefaultResamples,
                                    seed),
                     csv);
  }
  tables["comparisons"] = csv.str();
  return tables;
}

void RequireResamples(int resamples) {
  if (resamples < 0 || resamples > 1000000) throw cli::UsageError("bootstrap must be a whole number from 0 to 1000000");
}

py::dict EvaluateSummaries(const std::string& manifest_path, const std::optional<py::bytes>& rows, double rate,
                           bool lead, bool random, std::uint64_t seed, bool no_stem, int resamples, bool compare,
                           const TextOptions& options, const LexicalTables& tables) {
  RequireResamples(resamples);
  const std::unique_ptr<TextSource> manifest = SourceOf(manifest_path, rows, "rows");
  EvaluationSettings settings;
  settings.encoding = EncodingOf(options.encoding, "encoding");
  settings.segmented = options.segmented;
  settings.extract = cli::ChooseExtract(ExtractOptionsOf(options), "");
  settings.tokens = no_stem ? TokenForm::kWords : TokenForm::kKeys;
  settings.rate = rate;
  settings.lead = lead;
  settings.random = random;
  settings.seed = seed;
  EvaluationOutcome outcome;
  std::vector<EvaluationRow> text_rows;
  std::vector<std::string> systems;
  std::string csv;
  const auto needs_rate = [&](const EvaluationManifest& read) {
    for (const EvaluationLine& line : read.lines) {
      for (const SummarySource& system : line.systems) {
        if (system.kind == SummarySource::Kind::kScores && rate == 0) {
          throw RunError("scores: systems need a rate, the share of the sentences to choose",
                         read.path + ":" + std::to_string(line.line));
        }
      }
    }
  };
  {
    Release release;
    manifest->Run([&] {
      EvaluationManifest read = ReadEvaluationManifest(manifest->path(), kMaxManifestBytes);
      if (rows) ResolveAgainstWorkingFolder(read, manifest->path());
      needs_rate(read);
      outcome = casewright::Evaluate(read, settings, tables);
      if (!outcome.errors.empty()) throw RunError(absl::StrJoin(outcome.errors, "\n"));
      systems = SystemNames(read);
      text_rows = outcome.rows;
      std::vector<EvaluationRow> means = MeanRows(outcome.rows);
      AddBootstrapIntervals(outcome.rows, means, resamples, seed);
      outcome.rows.insert(outcome.rows.end(), means.begin(), means.end());
      csv = EvaluationCsv(outcome.rows);
      return 0;
    });
  }
  py::dict table = FigureTables(csv, compare, systems, text_rows, resamples, seed);
  table["warnings"] = Messages(outcome.warnings);
  return table;
}

// The learner's settings as `train` and `crossval` take them.
cli::TrainOptions TrainOptionsOf(const std::string& manifest, const TextOptions& options, int rounds, int depth,
                                 unsigned seed, const std::string& jobs) {
  cli::TrainOptions train;
  train.manifest = manifest;
  train.run = RunOptionsOf(options);
  train.extract = ExtractOptionsOf(options);
  train.rounds = rounds;
  train.depth = depth;
  train.seed = seed;
  train.jobs = jobs;
  if (rounds < 1 || rounds > 10000) throw cli::UsageError("rounds must be a whole number from 1 to 10000");
  if (depth < 1 || depth > 16) throw cli::UsageError("depth must be a whole number from 1 to 16");
  return train;
}

// The corpus of a learner's manifest, its messages given to `messages`.
CorpusCases LearnerCorpus(const std::vector<ManifestEntry>& entries, const cli::LearnerChoices& choices,
                          const std::string& manifest, const LexicalTables& tables,
                          const std::vector<RunFile>& outputs, CorpusMessages& messages) {
  RefuseCorpusFiles(entries, manifest, tables, outputs);
  CorpusCases corpus = ComputeCorpusCases(entries, choices.corpus, tables, manifest);
  messages = MessagesOf(entries, corpus, manifest);
  return corpus;
}

py::dict Train(const std::string& manifest, const std::optional<std::string>& rows, const std::string& model_path, const TextOptions& options, int rounds,
               int depth, unsigned seed, const std::string& jobs, const LexicalTables& tables) {
  const cli::LearnerChoices choices = cli::ChooseLearner(TrainOptionsOf(manifest, options, rounds, depth, seed, jobs));
  CorpusMessages messages;
  {
    Release release;
    const std::vector<ManifestEntry> entries = EntriesOf(manifest, rows);
    const CorpusCases corpus =
        LearnerCorpus(entries, choices, manifest, tables, {{model_path, "model", true}}, messages);
    OutputFile file(model_path);
    std::vector<std::size_t> all(corpus.texts.size());
    std::iota(all.begin(), all.end(), 0);
    const TrainingSet set = TrainingSetOf(corpus, all, choices.corpus.features);
    if (set.labels.empty()) throw RunError("No sentence of the manifest has a class to learn from", manifest);
    file.Write(SentenceModel::Train(choices.corpus.features, choices.corpus.values, set.rows, set.labels,
                                    corpus.class_values, choices.training)
                   .Json());
    file.Commit();
  }
  py::dict trained;
  trained["warnings"] = Messages(messages.warnings);
  trained["notes"] = Messages(messages.notes);
  return trained;
}

py::dict Crossval(const std::string& manifest, const std::optional<std::string>& rows, std::size_t folds, double rate,
                  int resamples, bool compare, const TextOptions& options, int rounds, int depth, unsigned seed,
                  const std::string& jobs, const LexicalTables& tables) {
  RequireResamples(resamples);
  cli::LearnerChoices choices = cli::ChooseLearner(TrainOptionsOf(manifest, options, rounds, depth, seed, jobs));
  choices.corpus.with_tokens = true;
  if (!IsValidRate(rate)) throw cli::UsageError("rate must be more than 0 and at most 1");
  CrossvalSettings settings;
  settings.features = choices.corpus.features;
  settings.values = choices.corpus.values;
  settings.rate = rate;
  settings.seed = seed;
  settings.training = choices.training;
  settings.bootstrap = resamples;
  CorpusMessages messages;
  std::vector<EvaluationRow> text_rows;
  std::string csv;
  {
    Release release;
    const std::vector<ManifestEntry> entries = EntriesOf(manifest, rows);
    if (folds < 2 || folds > entries.size()) {
      throw cli::UsageError("folds must be a whole number from 2 to the number of texts (" +
                            std::to_string(entries.size()) + ")");
    }
    const CorpusCases corpus = LearnerCorpus(entries, choices, manifest, tables, {}, messages);
    RequireReferences(entries, corpus, manifest);
    std::vector<std::string> names;
    for (const ManifestEntry& entry : entries) names.push_back(entry.text_name);
    text_rows = CrossValidate(corpus, names, DrawFolds(entries.size(), folds, 1, seed), settings).rows;
    csv = EvaluationCsv(text_rows);
    // CrossValidate ends with a mean row per system.
    text_rows.resize(text_rows.size() - MeanRows(text_rows).size());
  }
  py::dict table = FigureTables(csv, compare, {"model"}, text_rows, resamples, seed);
  table["warnings"] = Messages(messages.warnings);
  table["notes"] = Messages(messages.notes);
  return table;
}

}  // namespace
}  // namespace casewright::python

PYBIND11_MODULE(_core, module) {
  using namespace casewright;
  using namespace casewright::python;
  namespace py = pybind11;
  using Release = py::gil_scoped_release;
  module.doc() = "The core of Casewright; use the package casewright, which wraps it.";
  RegisterErrors(module);
  module.attr("default_seed") = kDefaultSeed;
  module.attr("default_resamples") = kDefaultResamples;

  py::class_<LexicalTables, std::shared_ptr<LexicalTables>>(module, "LexicalTables");
  py::class_<SqliteTables, LexicalTables, std::shared_ptr<SqliteTables>>(module, "SqliteTables")
      .def(py::init<const std::string&>(), py::arg("folder"), py::call_guard<Release>());

  py::class_<TextOptions>(module, "TextOptions")
      .def(py::init<>())
      .def_readwrite("features", &TextOptions::features)
      .def_readwrite("encoding", &TextOptions::encoding)
      .def_readwrite("class_values", &TextOptions::class_values)
      .def_readwrite("strict_classes", &TextOptions::strict_classes)
      .def_readwrite("extract_encoding", &TextOptions::extract_encoding)
      .def_readwrite("min_overlap", &TextOptions::min_overlap)
      .def_readwrite("allow_unmatched", &TextOptions::allow_unmatched)
      .def_readwrite("extract_lines", &TextOptions::extract_lines)
      .def_readwrite("values", &TextOptions::values)
      .def_readwrite("segmented", &TextOptions::segmented);

  module.def("cases", &Cases, py::arg("path"), py::arg("content"), py::arg("name"), py::arg("classes"),
             py::arg("extract"), py::arg("options"), py::arg("tables"));
  module.def("corpus", &Corpus, py::arg("manifest"), py::arg("rows"), py::arg("options"), py::arg("jobs"),
             py::arg("tables"));
  module.def("sentences", &Sentences, py::arg("path"), py::arg("content"), py::arg("name"), py::arg("encoding"),
             py::arg("segmented"), py::arg("tables"));
  module.def("summarize", &Summarize, py::arg("path"), py::arg("content"), py::arg("name"), py::arg("scores"),
             py::arg("model"), py::arg("method"), py::arg("rate"), py::arg("count"), py::arg("encoding"),
             py::arg("segmented"), py::arg("tables"));
  module.def("evaluate", &EvaluateSummaries, py::arg("manifest"), py::arg("rows"), py::arg("rate"), py::arg("lead"),
             py::arg("random"), py::arg("seed"), py::arg("no_stem"), py::arg("bootstrap"), py::arg("compare"),
             py::arg("options"), py::arg("tables"));
  module.def("train", &Train, py::arg("manifest"), py::arg("rows"), py::arg("model"), py::arg("options"), py::arg("rounds"),
             py::arg("depth"), py::arg("seed"), py::arg("jobs"), py::arg("tables"));
  module.def("crossval", &Crossval, py::arg("manifest"), py::arg("rows"), py::arg("folds"), py::arg("rate"), py::arg("bootstrap"),
             py::arg("compare"), py::arg("options"),
             py::arg("rounds"), py::arg("depth"), py::arg("seed"), py::arg("jobs"), py::arg("tables"));
}
