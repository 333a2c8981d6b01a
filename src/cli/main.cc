// casewright-cli: the command line over the core, for batches.
//
//   casewright-cli --text T --classes C --output O [run options] [--raw FILE]
//   casewright-cli sentences --text T [--classes C] [--format text|tsv]
//   casewright-cli classes --text T --extract E --output C [--min-overlap R]
//   casewright-cli batch MANIFEST [run options] [--jobs N] [--shard K/N] [--combined FILE]
//   casewright-cli join SHARD... --combined FILE [--names FILE]
//   casewright-cli tables build --lexicon L --stoplist S --cues C --into DIR
//
// Exit status: 0 on success, 1 when a run fails, 2 for a usage error.
#include <CLI/CLI.hpp>
#include <unistd.h>

#include <charconv>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <thread>

#include "batch/batch.h"
#include "batch/manifest.h"
#include "batch/shard_join.h"
#include "cli/batch_progress.h"
#include "cli/feature_list.h"
#include "cli/sentence_listing.h"
#include "core/file_path.h"
#include "core/run_error.h"
#include "core/temporary_file.h"
#include "lexicon/sqlite_tables.h"
#include "lexicon/table_builder.h"
#include "pipeline/extract_run.h"
#include "pipeline/pipeline.h"
#include "text/classes_file.h"
#include "text/segmented_text.h"

namespace {

constexpr int kFailed = 1;
constexpr int kUsage = 2;

// Prints the summary of a finished command.  A summary that cannot be
// written (standard output closed or full) fails the command: a batch that
// checks the status must not take the lost line for success.  Cases written
// to standard output keep it for themselves, so the summary goes to stderr.
int Report(const std::string& line, bool to_stderr = false) {
  std::ostream& out = to_stderr ? std::cerr : std::cout;
  out << line << "\n" << std::flush;
  if (out) return 0;
  std::cerr << "casewright-cli: " << (to_stderr ? "standard error" : "standard output")
            << ": cannot write \"" << line << "\"\n";
  return kFailed;
}

// Whether one of the files a command writes is its standard output.
bool WritesStandardOutput(std::initializer_list<std::string> paths) {
  for (const std::string& path : paths) {
    if (casewright::NamedDescriptor(path, true) == STDOUT_FILENO) return true;
  }
  return false;
}

// A mistake in the command line, reported with exit status 2.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The options a single run and a batch share.
struct RunOptions {
  std::string features = "1-8";
  std::string format = "plain";
  bool quinlan = false;
  std::string encoding = "windows-1252";
  std::string tables;
  std::string names;
  bool strict_classes = false;
};

// How classes are made from a reference extract (`classes`, and a batch's
// extract: lines).
struct ExtractOptions {
  std::string encoding = "auto";
  std::string min_overlap;  // empty: equal keys only
  bool allow_unmatched = false;
};

struct Choices {
  casewright::FeatureSet features = casewright::FeatureSet::All();
  casewright::CaseFormat format = casewright::CaseFormat::kPlain;
  casewright::TextEncoding encoding = casewright::TextEncoding::kWindows1252;
};

struct Options {
  RunOptions run;
  ExtractOptions extract;
  std::string listing_format = "text";
  casewright::RunSettings settings;
  std::string manifest;
  unsigned jobs = 0;  // 0: one per core
  std::string shard;
  std::string combined;
  std::vector<std::string> shards;
  casewright::TableSources sources;
  std::string into;
};

void AddEncodingOption(CLI::App& app, RunOptions& options) {
  app.add_option("--encoding", options.encoding,
                 "Encoding of the text: windows-1252, utf-8 (a byte-order mark is skipped) or auto (UTF-8 when the "
                 "text is valid UTF-8 with a multi-byte character, else Windows-1252)")
      ->check(CLI::IsMember({"windows-1252", "utf-8", "auto"}))
      ->default_str("windows-1252");
  app.add_option("--tables", options.tables, "Folder of the lexical tables, instead of the alias Orbelin")
      ->type_name("DIR");
}

void AddStrictClassesFlag(CLI::App& app, RunOptions& options, const std::string& what) {
  app.add_flag("--strict-classes", options.strict_classes, what);
}

void AddRunOptions(CLI::App& app, RunOptions& options) {
  app.add_option("--features", options.features, casewright::FeatureListHelp())
      ->type_name("LIST")
      ->default_str("1-8");
  CLI::Option* format =
      app.add_option("--format", options.format,
                     "Layout of the cases: plain (\"1 0 3 1\"), quinlan (the C4.5 data layout, \"1, 0, 3, 1.\"), "
                     "arff (Weka) or csv (pandas, scikit-learn)")
          ->check(CLI::IsMember({"plain", "quinlan", "arff", "csv"}))
          ->default_str("plain");
  app.add_flag("--quinlan", options.quinlan, "The same as --format quinlan")->excludes(format);
  AddEncodingOption(app, options);
  app.add_option("--names", options.names, "Also write the C4.5 names file of the cases to this file")
      ->type_name("FILE");
  AddStrictClassesFlag(app, options,
                       "Fail, writing nothing, when the classes do not fit the sentences (too few or too many, "
                       "an empty class, digits run together across a line break) instead of warning");
}

void AddExtractOptions(CLI::App& app, ExtractOptions& options) {
  app.add_option("--extract-encoding", options.encoding,
                 "Encoding of the extract: windows-1252, utf-8 or auto (as for --encoding)")
      ->check(CLI::IsMember({"windows-1252", "utf-8", "auto"}))
      ->default_str("auto");
  app.add_option("--min-overlap", options.min_overlap,
                 "Also give 1 to a sentence that holds at least the share R (0 < R <= 1) of an extract "
                 "sentence's word keys, counted with repeats; without it, a sentence must have the same keys "
                 "in the same order")
      ->type_name("R");
  app.add_flag("--allow-unmatched", options.allow_unmatched,
               "Warn, instead of failing, when an extract sentence matches no sentence of the text");
}

// The extract settings the options give, for the extract at `path`.
casewright::ExtractSettings ChooseExtract(const ExtractOptions& options, const std::string& path) {
  casewright::ExtractSettings choices;
  choices.path = path;
  choices.encoding = *casewright::EncodingNamed(options.encoding);
  choices.allow_unmatched = options.allow_unmatched;
  if (options.min_overlap.empty()) return choices;
  const std::string& text = options.min_overlap;
  double share = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), share);
  // Written so that NaN fails too.
  if (error != std::errc() || end != text.data() + text.size() || !(share > 0 && share <= 1)) {
    throw UsageError("--min-overlap: \"" + text + "\" is not a share more than 0 and at most 1 (say 0.8)");
  }
  choices.min_overlap = share;
  return choices;
}

Choices Choose(const RunOptions& options) {
  Choices choices;
  try {
    choices.features = casewright::ParseFeatureList(options.features);
  } catch (const std::invalid_argument& e) {
    throw UsageError(std::string("--features: ") + e.what());
  }
  choices.format = options.quinlan ? casewright::CaseFormat::kQuinlan : *casewright::FormatNamed(options.format);
  choices.encoding = *casewright::EncodingNamed(options.encoding);
  return choices;
}

void PrintMessages(const std::vector<std::string>& warnings, const std::vector<std::string>& notes) {
  for (const std::string& warning : warnings) std::cerr << "warning: " << warning << "\n";
  for (const std::string& note : notes) std::cerr << "note: " << note << "\n";
}

void PrintErrors(const std::vector<std::string>& errors, const std::string& path) {
  for (const std::string& error : errors) std::cerr << "casewright-cli: " << path << ": " << error << "\n";
}

int Generate(Options& options) {
  casewright::RunSettings& s = options.settings;
  if (s.text_path.empty() || s.classes_path.empty() || s.output_path.empty()) {
    throw UsageError("--text, --classes and --output are required (see --help)");
  }
  const Choices choices = Choose(options.run);
  s.features = choices.features;
  s.format = choices.format;
  s.encoding = choices.encoding;
  s.names_path = options.run.names;
  s.strict_classes = options.run.strict_classes;
  casewright::SqliteTables tables(casewright::ResolveTablesFolder(options.run.tables));
  casewright::RunOutcome outcome = casewright::RunCases(s, tables);
  PrintMessages(outcome.warnings, outcome.notes);
  const bool to_stderr = WritesStandardOutput({s.output_path, s.names_path, s.raw_path});
  int status = Report("Wrote " + std::to_string(outcome.sentences) + " cases to " + s.output_path, to_stderr);
  if (!s.names_path.empty()) status |= Report("Wrote their C4.5 names file to " + s.names_path, to_stderr);
  return status;
}

int ListSentences(const Options& options) {
  const casewright::RunSettings& s = options.settings;
  if (s.text_path == "-" && s.classes_path == "-") {
    throw UsageError("--text and --classes cannot both be standard input (-)");
  }
  const Choices choices = Choose(options.run);
  casewright::SqliteTables tables(casewright::ResolveTablesFolder(options.run.tables));
  casewright::SegmentedText text(s.text_path, choices.encoding, tables);
  PrintMessages(text.warnings(), text.notes());
  std::optional<casewright::SentenceClasses> classes;
  if (!s.classes_path.empty()) {
    casewright::ClassesFile file(s.classes_path);
    classes = casewright::ReadSentenceClasses(file, text.size());
  }
  const auto format =
      options.listing_format == "tsv" ? casewright::ListingFormat::kTsv : casewright::ListingFormat::kText;
  WriteSentenceListing(text, classes ? &*classes : nullptr, format, std::cout);
  if (!(std::cout << std::flush)) {
    std::cerr << "casewright-cli: standard output: cannot write the listing\n";
    return kFailed;
  }
  if (const std::string note = text.TailNote(); !note.empty()) std::cerr << "note: " << note << "\n";
  if (!classes) return 0;
  if (options.run.strict_classes) {
    PrintErrors(classes->warnings, s.classes_path);
    return classes->warnings.empty() ? 0 : kFailed;
  }
  PrintMessages(classes->warnings, {});
  return 0;
}

int MakeClasses(const Options& options) {
  const casewright::RunSettings& s = options.settings;
  const Choices choices = Choose(options.run);
  casewright::ExtractRunSettings settings;
  settings.text_path = s.text_path;
  settings.encoding = choices.encoding;
  settings.extract = ChooseExtract(options.extract, s.extract.path);
  settings.classes_path = s.output_path;
  settings.strict = options.run.strict_classes;
  casewright::SqliteTables tables(casewright::ResolveTablesFolder(options.run.tables));
  const casewright::ExtractRunOutcome outcome = casewright::WriteClassesFromExtract(settings, tables);
  PrintMessages(outcome.warnings, outcome.notes);
  if (!outcome.errors.empty()) {
    PrintErrors(outcome.errors, s.extract.path);
    std::cerr << "casewright-cli: " << s.output_path << ": not written\n";
    return kFailed;
  }
  return Report("Wrote " + std::to_string(outcome.sentences) + " classes to " + s.output_path + ": " +
                    std::to_string(outcome.chosen) + " of class 1",
                WritesStandardOutput({s.output_path}));
}

unsigned JobsOf(unsigned asked) {
  if (asked > 0) return asked;
  return std::max(1u, std::thread::hardware_concurrency());
}

int Batch(const Options& options) {
  const Choices choices = Choose(options.run);
  casewright::BatchSettings settings;
  settings.features = choices.features;
  settings.format = choices.format;
  settings.encoding = choices.encoding;
  settings.jobs = JobsOf(options.jobs);
  settings.combined_path = options.combined;
  settings.relation = casewright::RelationOf(options.manifest);
  settings.names_path = options.run.names;
  settings.strict_classes = options.run.strict_classes;
  settings.extract = ChooseExtract(options.extract, "");
  if (!options.shard.empty()) {
    try {
      settings.shard = casewright::ParseShard(options.shard);
    } catch (const std::invalid_argument& e) {
      throw UsageError(std::string("--shard: ") + e.what());
    }
    // The index that lets the shards be joined goes beside the combined file.
    if (casewright::NamedDescriptor(settings.combined_path, true)) {
      throw UsageError("--combined: a shard's combined file must be a file, for its index beside it");
    }
  }

  const std::vector<casewright::ManifestEntry> manifest = casewright::ReadManifest(options.manifest);
  settings.manifest_entries = manifest.size();
  const std::vector<casewright::ManifestEntry> entries =
      settings.shard ? casewright::EntriesOfShard(manifest, *settings.shard) : manifest;
  casewright::SqliteTables tables(casewright::ResolveTablesFolder(options.run.tables));
  casewright::BatchProgress progress(options.manifest == "-" ? "stdin" : options.manifest, std::cerr,
                                     ::isatty(STDERR_FILENO) == 1);
  const casewright::BatchReport report = casewright::RunBatch(entries, settings, tables, progress);
  progress.Finish();

  const casewright::BatchCounts& counts = report.counts;
  const bool to_stderr = WritesStandardOutput({settings.combined_path, settings.names_path});
  const std::string batch = settings.shard ? "Shard " + std::to_string(settings.shard->k) + "/" +
                                                std::to_string(settings.shard->n) + " of batch: "
                                          : std::string("Batch: ");
  int status = Report(batch + std::to_string(counts.done - counts.failed) + " succeeded, " +
                          std::to_string(counts.failed) + " failed, of " + std::to_string(counts.entries) +
                          (counts.entries == 1 ? " text; " : " texts; ") + std::to_string(counts.sentences) +
                          " cases",
                      to_stderr);
  if (report.combined_written) {
    if (!settings.combined_path.empty()) status |= Report("Wrote every case to " + settings.combined_path, to_stderr);
    if (!settings.names_path.empty()) {
      status |= Report("Wrote their C4.5 names file to " + settings.names_path, to_stderr);
    }
  } else if (!settings.combined_path.empty() || !settings.names_path.empty()) {
    std::cerr << "casewright-cli: the combined and names files were not written, since a text failed\n";
  }
  return counts.failed == 0 ? status : kFailed;
}

int Join(const Options& options) {
  const casewright::JoinReport report = casewright::JoinShards(options.shards, options.combined, options.run.names);
  const bool to_stderr = WritesStandardOutput({options.combined, options.run.names});
  int status = Report("Joined " + std::to_string(options.shards.size()) + " shards: " +
                          std::to_string(report.entries) + " texts, " + std::to_string(report.cases) + " cases to " +
                          options.combined,
                      to_stderr);
  if (!options.run.names.empty()) {
    status |= Report("Wrote their C4.5 names file to " + options.run.names, to_stderr);
  }
  return status;
}

int BuildTables(const Options& options) {
  casewright::TableCounts counts = casewright::BuildTables(options.sources, options.into);
  return Report("Built the tables in " + options.into + ": " + std::to_string(counts.lexicon) +
                " lexicon entries, " + std::to_string(counts.stoplist) + " stopwords, " +
                std::to_string(counts.cue_words) + " cue words");
}

}  // namespace

int main(int argc, char** argv) {
  casewright::RemoveTemporaryFilesOnSignals();
  Options options;
  CLI::App app{"Turns a text, sentence by sentence, into training cases for a classifier that learns "
               "which sentences belong in an extractive summary."};
  app.set_version_flag("--version", "casewright-cli " CASEWRIGHT_VERSION);
  app.set_help_all_flag("--help-all", "Print this help with every subcommand's options, and exit");
  app.footer(
      "Example:\n"
      "  casewright-cli --text texto.txt --classes texto.classes --output texto.cases --features 1-3,8 --quinlan\n"
      "\nThe text or the classes file may be -, standard input; the output file -, standard output.\n"
      "The lexical tables are found through the alias Orbelin: --tables DIR, else the folder in\n"
      "CASEWRIGHT_ORBELIN, else the default tables installed with the program.\n"
      "Exit status: 0 on success, 1 when a run fails, 2 for a usage error.");
  auto& s = options.settings;
  app.add_option("--text", s.text_path, "The text to analyse (Windows-1252 unless --encoding says otherwise)")
      ->type_name("FILE");
  app.add_option("--classes", s.classes_path, "One class per sentence, separated by spaces")->type_name("FILE");
  app.add_option("--output", s.output_path,
                 "The file of training cases to write (replaced whole; - for standard output)")
      ->type_name("FILE");
  AddRunOptions(app, options.run);
  app.add_option("--raw", s.raw_path, "Also write every sentence's raw feature values to this UTF-8 TSV file")
      ->type_name("FILE");

  CLI::App* sentences = app.add_subcommand(
      "sentences", "List the sentences of a text as a run finds them, with the class each gets from a classes file");
  sentences->add_option("--text", s.text_path, "The text (- for standard input)")->required()->type_name("FILE");
  sentences->add_option("--classes", s.classes_path,
                        "Also show the class each sentence gets from this classes file, and mark where the "
                        "classes run out, where one is empty or runs its digits together, and classes left over")
      ->type_name("FILE");
  sentences->add_option("--format", options.listing_format,
                        "text (number, paragraph begin [ and end ], class, sentence) or tsv (a header row, then "
                        "number, begins_paragraph, ends_paragraph, word_count, class and mark with --classes, "
                        "text and the words' keys)")
      ->check(CLI::IsMember({"text", "tsv"}))
      ->default_str("text");
  AddEncodingOption(*sentences, options.run);
  AddStrictClassesFlag(*sentences, options.run,
                       "With --classes: exit with status 1 when the classes do not fit the sentences");
  sentences->footer(
      "Example:\n  casewright-cli sentences --text texto.txt --classes texto.classes\n"
      "Each sentence is shown as it stands in the file, in UTF-8, with its line breaks as blanks.");

  CLI::App* classes = app.add_subcommand(
      "classes", "Write the classes file of a text from a reference extract: 1 for each sentence the extract holds");
  classes->add_option("--text", s.text_path, "The text (- for standard input)")->required()->type_name("FILE");
  classes->add_option("--extract", s.extract.path,
                      "The extract: the sentences of the text's reference summary, in any order")
      ->required()
      ->type_name("FILE");
  classes->add_option("--output", s.output_path, "The classes file to write (- for standard output)")
      ->required()
      ->type_name("FILE");
  AddEncodingOption(*classes, options.run);
  AddExtractOptions(*classes, options.extract);
  AddStrictClassesFlag(*classes, options.run,
                       "Fail, writing nothing, when an extract sentence matches more than one sentence");
  classes->footer(
      "Example:\n  casewright-cli classes --text texto.txt --extract resumo.txt --output texto.classes\n"
      "Sentences are compared by their words' keys, so case, spacing, line breaks and punctuation do not\n"
      "matter; words of punctuation only are left out. Every extract sentence that matches no sentence,\n"
      "or more than one, is reported; one that matches none fails the command (exit status 1, nothing\n"
      "written) unless --allow-unmatched.");

  CLI::App* batch = app.add_subcommand(
      "batch", "Run every line of a manifest: a UTF-8 TSV of text<TAB>classes<TAB>output lines");
  batch->add_option("manifest", options.manifest,
                    "The manifest (-: standard input); relative paths in it are relative to its folder, and a "
                    "line starting with # is a comment")
      ->required()
      ->type_name("MANIFEST");
  AddRunOptions(*batch, options.run);
  AddExtractOptions(*batch, options.extract);
  batch->add_option("--jobs", options.jobs, "Worker threads (default: one per core)")
      ->type_name("N")
      ->check(CLI::PositiveNumber);
  batch->add_option("--shard", options.shard,
                    "Run only the lines whose index (from 0) is K modulo N, so that N machines share the "
                    "manifest; with --combined, an index FILE.index is written for casewright-cli join")
      ->type_name("K/N");
  batch->add_option("--combined", options.combined,
                    "Also write every case of every line, in manifest order, to this one file")
      ->type_name("FILE");
  batch->footer(
      "Example:\n  casewright-cli batch corpus.tsv --jobs 4 --format arff --combined corpus.arff\n"
      "A line that fails is reported with its line number and does not stop the others; the exit status is\n"
      "then 1, and the combined and names files are not written. A classes field extract:FILE makes that\n"
      "text's classes from the reference extract FILE, as casewright-cli classes does (--extract-encoding,\n"
      "--min-overlap, --allow-unmatched); name a classes file that begins so ./extract:FILE.");

  CLI::App* join = app.add_subcommand(
      "join", "Join the combined files of a manifest's shards into the combined file of the whole manifest");
  join->add_option("shards", options.shards, "The shards' combined files, each with its index FILE.index")
      ->required()
      ->type_name("SHARD");
  join->add_option("--combined", options.combined, "The file to write")->required()->type_name("FILE");
  join->add_option("--names", options.run.names, "Also write the C4.5 names file of the cases to this file")
      ->type_name("FILE");
  join->footer("Example:\n  casewright-cli join shard-0.arff shard-1.arff --combined corpus.arff");

  CLI::App* tables = app.add_subcommand("tables", "Manage the lexical tables");
  tables->require_subcommand(1);
  CLI::App* build = tables->add_subcommand(
      "build", "Build Léxico.db, Stoplist.db and Cuephrases.db from UTF-8 text files");
  build->add_option("--lexicon", options.sources.lexicon, "form<TAB>canonical form, one a line (\\N: none)")
      ->required()
      ->type_name("FILE");
  build->add_option("--stoplist", options.sources.stoplist, "one stopword a line")->required()->type_name("FILE");
  build->add_option("--cues", options.sources.cue_words, "one cue word a line")->required()->type_name("FILE");
  build->add_option("--into", options.into, "folder to write the three tables into")->required()->type_name("DIR");
  build->footer(
      "Example:\n  casewright-cli tables build --lexicon lexicon.tsv --stoplist stoplist.txt --cues cues.txt --into "
      "tables\nBlank lines and lines starting with # are skipped.");

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    int status = app.exit(e);
    return status == 0 ? 0 : kUsage;
  }
  try {
    if (build->parsed()) return BuildTables(options);
    if (sentences->parsed()) return ListSentences(options);
    if (classes->parsed()) return MakeClasses(options);
    if (batch->parsed()) return Batch(options);
    if (join->parsed()) return Join(options);
    return Generate(options);
  } catch (const UsageError& e) {
    std::cerr << "casewright-cli: " << e.what() << "\n";
    return kUsage;
  } catch (const std::exception& e) {
    std::cerr << "casewright-cli: " << casewright::DescribeError(e) << "\n";
    return kFailed;
  }
}
