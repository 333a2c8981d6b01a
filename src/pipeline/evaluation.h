// `casewright-cli evaluate`: the figures of summaries of many texts against
// their references, read from a manifest, a UTF-8 TSV of lines
//
//   text<TAB>reference<TAB>system[<TAB>system...]
//
// A reference or a system is an extract file (sentences of the text,
// matched as `casewright-cli classes` matches them), `classes:FILE` (a
// classes file; class 1 means chosen) or, for a system only, `scores:FILE`
// (the best sentences at the rate asked for).  A reference may also be
// `abstract:FILE`, a summary in its own words, against which only ROUGE
// applies.  A reference field may name several references separated by
// ` | `: each ROUGE figure is then the mean of the figures against each, and
// the sentence figures compare with the union of their sentences (when all
// are extracts).  A first line `#text<TAB>reference<TAB>NAME...` names the
// systems, which are otherwise `system1`, `system2`...; any other line
// starting with `#` is a comment, and blank lines are skipped.  Relative
// paths are relative to the manifest's folder.
#ifndef CASEWRIGHT_PIPELINE_EVALUATION_H_
#define CASEWRIGHT_PIPELINE_EVALUATION_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/lexical_tables.h"
#include "pipeline/run_files.h"
#include "pipeline/summary_run.h"
#include "summary/selection.h"
#include "summary/evaluation_table.h"
#include "text/extract_classes.h"
#include "text/text_encoding.h"

namespace casewright {

struct SummarySource {
  enum class Kind { kExtract, kClasses, kScores, kAbstract };
  Kind kind = Kind::kExtract;
  std::string path;  // resolved against the manifest's folder
};

struct EvaluationLine {
  std::size_t line = 0;  // in the manifest, from 1
  std::string text;      // as the manifest spells it: the rows' text column
  std::string text_path;
  std::vector<SummarySource> references;  // one or more
  std::vector<SummarySource> systems;
};

struct EvaluationManifest {
  std::string path;                        // as given, for messages
  std::vector<std::string> system_names;  // from the header line, else empty
  std::vector<EvaluationLine> lines;
};

// Reads and checks the manifest at `path` (`-`: standard input), of at
// most `max_bytes`.  Throws RunError naming "<manifest>:<line>" for a line
// with too few fields, a field without a file or with a control character,
// a reference given as scores or a system as an abstract, or a line with
// another number of systems than the header names; and for a header that
// names a system twice or by a baseline's name, whose rows would be merged
// with the other's in the means.
EvaluationManifest ReadEvaluationManifest(const std::string& path, std::size_t max_bytes);

// Adds every file the manifest names, as inputs: its texts, references and
// systems' files.
void AddEvaluationFiles(std::vector<RunFile>& files, const EvaluationManifest& manifest);

struct EvaluationSettings {
  TextEncoding encoding = TextEncoding::kWindows1252;
  // Whether each text holds one sentence a line (RunSettings::segmented).
  bool segmented = false;
  // How extract files are read and matched (its path unused).
  ExtractSettings extract;
  TokenChoice tokens;
  double rate = 0;  // for scores; 0: none given
  bool lead = false;
  bool random = false;
  // The other baselines: the methods of summary/methods/registry.h, by name.
  std::vector<std::string> methods;
  // Each text's random baseline is seeded by RandomBaselineSeed(seed, the
  // text as the manifest spells it, its number of sentences).
  std::uint64_t seed = kDefaultSeed;
  int random_draws = 100;
  // Where to export the summaries (ExportPaths); empty: nowhere.
  std::string export_folder;
};

// The files an export writes, in the order Evaluate gives them: for each
// line, EXPORT/SYSTEM/TEXT.txt for each system (named as its rows are), then
// EXPORT/reference/TEXT.txt, or reference1, reference2... for each
// reference when some line has several.  TEXT is the name of the text's
// file without its extension.  Throws RunError naming both lines when two
// lines would write one file, and for a system name that is not a plain
// folder name (".", "..", a "/").
std::vector<std::string> ExportPaths(const EvaluationManifest& manifest, const EvaluationSettings& settings);

struct EvaluationOutcome {
  // For each line: a row per system, then per system its baselines.  The
  // baseline rows are named `lead` and `random` with one system, `lead:NAME`
  // and `random:NAME` with several.
  std::vector<EvaluationRow> rows;
  // "<manifest>:<line>: <file>: message" (or "<manifest>:<line>: message")
  // for each thing that makes a figure wrong: an extract sentence that matches nothing, scores
  // or classes that do not fit their text.  The figures are then not to be
  // written.
  std::vector<std::string> errors;
  std::vector<std::string> warnings;
  // With an export folder: each summary, one sentence a line in UTF-8, in
  // the order of ExportPaths.
  std::vector<std::string> exported;
};

// Evaluates every line of `manifest`.  Throws RunError only for a failure
// not tied to one line.
EvaluationOutcome Evaluate(const EvaluationManifest& manifest, const EvaluationSettings& settings,
                           const LexicalTables& tables);

}  // namespace casewright

#endif  // CASEWRIGHT_PIPELINE_EVALUATION_H_
