// Writing a text's classes file from a reference extract (extract_classes.h):
// what `casewright-cli classes` and the window's Sentences view do.
#ifndef CASEWRIGHT_PIPELINE_EXTRACT_RUN_H_
#define CASEWRIGHT_PIPELINE_EXTRACT_RUN_H_

#include <cstddef>
#include <string>
#include <vector>

#include "core/lexical_tables.h"
#include "text/extract_classes.h"
#include "text/text_encoding.h"

namespace casewright {

// The text and the extract may be `-`, standard input (not both); the
// classes file `-`, standard output.
struct ExtractRunSettings {
  std::string text_path;
  TextEncoding encoding = TextEncoding::kWindows1252;
  // Whether the text holds one sentence a line (RunSettings::segmented).
  bool segmented = false;
  ExtractSettings extract;
  std::string classes_path;
  // Whether a choice among equal sentences that the extract's order leaves
  // open is an error.
  bool strict = false;
};

struct ExtractRunOutcome {
  std::size_t sentences = 0;
  std::size_t chosen = 0;  // sentences of class 1
  // Why the classes file was not written: words of the extract that match
  // no sentence (unless allowed) or, when strict, choices among equal
  // sentences the order leaves open.  Each names the extract sentence.
  std::vector<std::string> errors;
  std::vector<std::string> warnings;
  std::vector<std::string> notes;
};

// What ClassesFromExtract found, sorted by what it means for a run.
struct ExtractVerdict {
  // Words of the extract that match no sentence (unless allowed) and, when
  // strict, choices among equal sentences the order leaves open: each stops
  // the classes being used.
  std::vector<std::string> errors;
  // The other mismatches, and what reading the extract warned of.
  std::vector<std::string> warnings;
};
ExtractVerdict JudgeExtract(const ExtractClasses& found, const ExtractSettings& extract, bool strict);

// Throws RunError when two of the files are one: the classes file to write
// is the text, the extract or (given `tables`) one of the lexical tables, or
// the text is the extract.
void RefuseClassesFileShared(const std::string& text_path, const std::string& extract_path,
                             const std::string& classes_path, const LexicalTables* tables = nullptr);

// Writes `classes` to the classes file at `path`, replacing it whole.
// Throws RunError.
void WriteClassesFile(const std::string& path, const std::vector<std::string>& classes);

// Writes the classes file, "1" or "0" for each sentence of the text, unless
// the outcome has errors, when nothing is written.  Throws RunError when a
// file cannot be read or written, or the classes file is the text or the
// extract.
ExtractRunOutcome WriteClassesFromExtract(const ExtractRunSettings& settings, const LexicalTables& tables);

}  // namespace casewright

#endif  // CASEWRIGHT_PIPELINE_EXTRACT_RUN_H_
