#include "cli/command.h"

#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <iostream>
#include <thread>

#include "cli/feature_list.h"
#include "core/file_path.h"
#include "output/class_values.h"

namespace casewright::cli {

int Report(const std::string& line, bool to_stderr) {
  std::ostream& out = to_stderr ? std::cerr : std::cout;
  out << line << "\n" << std::flush;
  if (out) return 0;
  std::cerr << "casewright-cli: " << (to_stderr ? "standard error" : "standard output")
            << ": cannot write \"" << line << "\"\n";
  return kFailed;
}

std::string ClassBalance(std::uint64_t ones, std::uint64_t sentences) {
  std::string balance = std::to_string(ones) + " of " + std::to_string(sentences) + " sentences of class 1";
  if (sentences == 0) return balance;
  char share[32];
  std::snprintf(share, sizeof share, " (%.1f %%)", 100.0 * static_cast<double>(ones) / static_cast<double>(sentences));
  return balance + share;
}

bool WritesStandardOutput(std::initializer_list<std::string> paths) {
  for (const std::string& path : paths) {
    if (NamedDescriptor(path, true) == STDOUT_FILENO) return true;
  }
  return false;
}

void AddEncodingOption(CLI::App& app, RunOptions& options) {
  app.add_option("--encoding", options.encoding,
                 "Encoding of the text: auto (UTF-8 when the text is valid UTF-8 with a multi-byte character, "
                 "else Windows-1252), utf-8 (a byte-order mark is skipped) or windows-1252")
      ->check(CLI::IsMember({"auto", "utf-8", "windows-1252"}))
      ->default_str("auto");
  app.add_option("--tables", options.tables, "Folder of the lexical tables, instead of the alias Orbelin")
      ->type_name("DIR");
}

void AddStrictClassesFlag(CLI::App& app, RunOptions& options, const std::string& what) {
  app.add_flag("--strict-classes", options.strict_classes, what);
}

void AddSegmentedFlag(CLI::App& app, RunOptions& options, const std::string& texts) {
  app.add_flag("--segmented", options.segmented,
               texts + " one sentence a line, paragraphs separated by a blank line: no segmentation is done, "
                       "and a line is a sentence whatever its punctuation");
}

void AddValuesOption(CLI::App& app, RunOptions& options) {
  app.add_option("--values", options.values,
                 "What a case holds for each feature: codes, or raw (the values --raw writes, with up to 6 "
                 "significant digits; a location or a flag keeps its code). Raw values need --format arff or "
                 "csv, whose header says so")
      ->check(CLI::IsMember({"codes", "raw"}))
      ->default_str("codes");
}

void AddRunOptions(CLI::App& app, RunOptions& options) {
  app.add_option("--features", options.features, FeatureListHelp())->type_name("LIST")->default_str("1-8");
  CLI::Option* format =
      app.add_option("--format", options.format,
                     "Layout of the cases: plain (\"1 0 3 1\"), quinlan (the C4.5 data layout, \"1, 0, 3, 1.\"), "
                     "arff (Weka) or csv (pandas, scikit-learn)")
          ->check(CLI::IsMember({"plain", "quinlan", "arff", "csv"}))
          ->default_str("plain");
  app.add_flag("--quinlan", options.quinlan, "The same as --format quinlan")->excludes(format);
  AddValuesOption(app, options);
  AddSegmentedFlag(app, options, "The text (in a batch, each text) holds");
  AddEncodingOption(app, options);
  app.add_option("--names", options.names, "Also write the C4.5 names file of the cases to this file")
      ->type_name("FILE");
  AddStrictClassesFlag(app, options,
                       "Fail, writing nothing, when the classes do not fit the sentences (too few or too many, "
                       "an empty class, digits run together across a line break) instead of warning");
  app.add_flag("--ids", options.ids,
               "Begin each case with the text's path and the sentence's number, from 1 (arff and csv only)");
  app.add_option("--class-values", options.class_values,
                 "The class values the header and the names file declare, in this order (say 0,1); a class "
                 "outside them fails the run. Default: the values the cases hold, in ascending order")
      ->type_name("LIST");
}

void AddExtractOptions(CLI::App& app, ExtractOptions& options) {
  app.add_option("--extract-encoding", options.encoding,
                 "Encoding of the extract: windows-1252, utf-8 or auto (as for --encoding)")
      ->check(CLI::IsMember({"windows-1252", "utf-8", "auto"}))
      ->default_str("auto");
  app.add_flag("--extract-lines", options.lines,
               "Read the extract as one sentence a line, whatever its punctuation (it changes only how "
               "messages number the extract's sentences: they become its lines)");
  app.add_option("--min-overlap", options.min_overlap,
                 "Where no sentence's words stand in the extract exactly, also give 1 to a sentence that holds "
                 "at least the share R (0 < R <= 1) of its word keys there, in order")
      ->type_name("R");
  app.add_flag("--allow-unmatched", options.allow_unmatched,
               "Warn, instead of failing, when words of the extract match no sentence of the text");
}

double ParseShare(const std::string& option, const std::string& text, const std::string& example) {
  double share = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), share);
  // Written so that NaN fails too.
  if (error != std::errc() || end != text.data() + text.size() || !(share > 0 && share <= 1)) {
    throw UsageError(option + ": \"" + text + "\" is not a share more than 0 and at most 1 (say " + example + ")");
  }
  return share;
}

ExtractSettings ChooseExtract(const ExtractOptions& options, const std::string& path) {
  ExtractSettings choices;
  choices.path = path;
  choices.encoding = *EncodingNamed(options.encoding);
  choices.allow_unmatched = options.allow_unmatched;
  choices.lines = options.lines;
  if (options.min_overlap.empty()) return choices;
  const double share = ParseShare("--min-overlap", options.min_overlap, "0.8");
  choices.min_overlap = share;
  return choices;
}

Choices Choose(const RunOptions& options) {
  Choices choices;
  try {
    choices.features = ParseFeatureList(options.features);
  } catch (const std::invalid_argument& e) {
    throw UsageError(std::string("--features: ") + e.what());
  }
  choices.format = options.quinlan ? CaseFormat::kQuinlan : *FormatNamed(options.format);
  choices.encoding = *EncodingNamed(options.encoding);
  if (options.ids && choices.format != CaseFormat::kArff && choices.format != CaseFormat::kCsv) {
    throw UsageError("--ids: the " + std::string(FormatName(choices.format)) +
                     " layout has no place for ids; use --format arff or csv");
  }
  const std::optional<CaseValues> values = CaseValuesNamed(options.values);
  if (!values) throw UsageError("--values: " + options.values + " is not codes or raw");
  choices.values = *values;
  if (options.writes_cases && choices.values == CaseValues::kRaw && choices.format != CaseFormat::kArff &&
      choices.format != CaseFormat::kCsv) {
    throw UsageError("--values raw: the " + std::string(FormatName(choices.format)) +
                     " layout has no header to say the values are raw; use --format arff or csv");
  }
  if (options.class_values.empty()) return choices;
  try {
    choices.class_values = ParseClassValues(options.class_values);
  } catch (const std::invalid_argument& e) {
    throw UsageError(std::string("--class-values: ") + e.what());
  }
  return choices;
}

namespace {
bool quiet = false;
}  // namespace

void SetQuiet(bool on) { quiet = on; }
bool Quiet() { return quiet; }

void PrintMessages(const std::vector<std::string>& warnings, const std::vector<std::string>& notes) {
  for (const std::string& warning : warnings) std::cerr << "warning: " << warning << "\n";
  if (quiet) return;
  for (const std::string& note : notes) std::cerr << "note: " << note << "\n";
}

void PrintErrors(const std::vector<std::string>& errors, const std::string& path) {
  for (const std::string& error : errors) std::cerr << "casewright-cli: " << path << ": " << error << "\n";
}

unsigned JobsOf(unsigned asked) {
  if (asked > 0) return asked;
  return std::max(1u, std::thread::hardware_concurrency());
}

unsigned JobsAsked(const std::string& jobs) {
  if (jobs.empty()) return JobsOf(0);
  unsigned value = 0;
  auto [end, error] = std::from_chars(jobs.data(), jobs.data() + jobs.size(), value);
  if (error != std::errc() || end != jobs.data() + jobs.size() || value < 1 || value > kMaxJobs) {
    throw UsageError("--jobs must be a whole number from 1 to " + std::to_string(kMaxJobs));
  }
  return value;
}

}  // namespace casewright::cli
