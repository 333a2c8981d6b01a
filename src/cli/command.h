// The pieces every subcommand of casewright-cli is made of.  Each
// subcommand lives in a file of its own (`*_command.cc`) with one function
// that adds it to the program's CLI::App and returns it as a Command; main.cc
// only lists them and runs the one the command line chose.
#ifndef CASEWRIGHT_CLI_COMMAND_H_
#define CASEWRIGHT_CLI_COMMAND_H_

#include <CLI/CLI.hpp>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/features.h"
#include "output/case_layout.h"
#include "text/extract_classes.h"
#include "text/text_encoding.h"

namespace casewright::cli {

constexpr int kFailed = 1;
constexpr int kUsage = 2;

// A subcommand: its parser, and what runs when the command line names it.
// `run` returns the exit status; it may throw UsageError (status 2) or any
// std::exception (status 1).
struct Command {
  CLI::App* app = nullptr;
  std::function<int()> run;
};

// A mistake in the command line, reported with exit status 2.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Prints the summary of a finished command.  A summary that cannot be
// written (standard output closed or full) fails the command: a batch that
// checks the status must not take the lost line for success.  Cases written
// to standard output keep it for themselves, so the summary goes to stderr.
int Report(const std::string& line, bool to_stderr = false);

// "39 of 120 sentences of class 1 (32.5 %)"; no share when there is no
// sentence.
std::string ClassBalance(std::uint64_t ones, std::uint64_t sentences);

// Whether one of the files a command writes is its standard output.
bool WritesStandardOutput(std::initializer_list<std::string> paths);

// The options a single run and a batch share.
struct RunOptions {
  std::string features = "1-8";
  std::string format = "plain";
  bool quinlan = false;
  std::string encoding = "auto";
  std::string tables;
  std::string names;
  bool strict_classes = false;
  bool ids = false;
  std::string class_values;
  std::string values = "codes";
  bool segmented = false;
  // Whether the command writes cases in a layout, so that --values raw
  // needs one with a header; a learner takes the values in memory.
  bool writes_cases = true;
};

// How classes are made from a reference extract (`classes`, and a batch's
// extract: lines).
struct ExtractOptions {
  std::string encoding = "auto";
  std::string min_overlap;  // empty: exact matches only
  bool allow_unmatched = false;
  bool lines = false;  // one extract sentence a line
};

// The run options, checked.
struct Choices {
  FeatureSet features = FeatureSet::Default();
  CaseFormat format = CaseFormat::kPlain;
  TextEncoding encoding = TextEncoding::kWindows1252;
  std::vector<std::string> class_values;  // empty: the values the cases hold
  CaseValues values = CaseValues::kCodes;
};

// --encoding and --tables.
void AddEncodingOption(CLI::App& app, RunOptions& options);
void AddStrictClassesFlag(CLI::App& app, RunOptions& options, const std::string& what);
// --segmented: `texts` says what holds one sentence a line ("The text").
void AddSegmentedFlag(CLI::App& app, RunOptions& options, const std::string& texts);
// --values codes|raw.
void AddValuesOption(CLI::App& app, RunOptions& options);
// --features, --format, --quinlan, --values, --segmented, --encoding,
// --tables, --names, --strict-classes, --ids and --class-values.
void AddRunOptions(CLI::App& app, RunOptions& options);
// --extract-encoding, --extract-lines, --min-overlap and --allow-unmatched.
void AddExtractOptions(CLI::App& app, ExtractOptions& options);

// The run options' values.  Throws UsageError for a bad feature list or
// class value list, for --ids with a layout that has no place for them, and
// for --values raw with a layout that has no header to say so.
Choices Choose(const RunOptions& options);
// The share `text` gives, more than 0 and at most 1, for the option named
// `option`.  Throws UsageError, suggesting `example`, for anything else.
double ParseShare(const std::string& option, const std::string& text, const std::string& example);

// The extract settings the options give, for the extract at `path`.
// Throws UsageError for a bad --min-overlap.
ExtractSettings ChooseExtract(const ExtractOptions& options, const std::string& path);

// Whether the command line said --quiet: notes are left out, warnings kept.
void SetQuiet(bool quiet);
bool Quiet();

// Warnings and notes (unless Quiet()), on stderr.
void PrintMessages(const std::vector<std::string>& warnings, const std::vector<std::string>& notes);
// Errors about the file at `path`, on stderr.
void PrintErrors(const std::vector<std::string>& errors, const std::string& path);

// The number of worker threads: `asked`, or one per core when it is 0.
unsigned JobsOf(unsigned asked);

// The most worker threads --jobs may ask for.
inline constexpr unsigned kMaxJobs = 1024;
// The worker threads --jobs asks for: JobsOf(0) when `jobs` is empty.
// Throws UsageError for anything but a whole number from 1 to kMaxJobs
// (checked here rather than by the parser, whose message for a number out of
// range names the limits of a double).
unsigned JobsAsked(const std::string& jobs);

}  // namespace casewright::cli

#endif  // CASEWRIGHT_CLI_COMMAND_H_
