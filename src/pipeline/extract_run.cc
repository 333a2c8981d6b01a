#include "pipeline/extract_run.h"

#include "core/read_file.h"
#include "core/run_error.h"
#include "output/output_files.h"
#include "pipeline/run_files.h"
#include "text/classes_file.h"
#include "text/segmented_text.h"

namespace casewright {

namespace {

void Append(std::vector<std::string>& to, const std::vector<std::string>& messages) {
  to.insert(to.end(), messages.begin(), messages.end());
}

}  // namespace

ExtractVerdict JudgeExtract(const ExtractClasses& found, const ExtractSettings& extract, bool strict) {
  ExtractVerdict verdict;
  Append(extract.allow_unmatched ? verdict.warnings : verdict.errors, found.unmatched);
  Append(strict ? verdict.errors : verdict.warnings, found.repeated);
  Append(verdict.warnings, found.warnings);
  return verdict;
}

void RefuseClassesFileShared(const std::string& text_path, const std::string& extract_path,
                             const std::string& classes_path, const LexicalTables* tables) {
  std::vector<RunFile> files;
  if (tables != nullptr) AddTableFiles(files, *tables);
  files.insert(files.end(), {{text_path, "text file", false}, {extract_path, "extract", false},
                             {classes_path, "classes file", true}});
  RefuseSharedFiles(files, SharedInputs::kRefused);
}

void WriteClassesFile(const std::string& path, const std::vector<std::string>& classes) {
  OutputFiles files;
  files.Open(path).Write(ClassesFileText(classes));
  files.CommitAll();
}

ExtractRunOutcome WriteClassesFromExtract(const ExtractRunSettings& settings, const LexicalTables& tables) {
  if (settings.text_path == kStandardInput && settings.extract.path == kStandardInput) {
    throw RunError("The text and the extract cannot both be standard input (-)");
  }
  RefuseClassesFileShared(settings.text_path, settings.extract.path, settings.classes_path, &tables);
  SegmentedText text(settings.text_path, settings.encoding, tables, TextBreaks(settings.segmented));
  const ExtractClasses found = ClassesFromExtract(text.run(), settings.extract);

  ExtractVerdict verdict = JudgeExtract(found, settings.extract, settings.strict);
  ExtractRunOutcome outcome{text.size(), found.chosen, std::move(verdict.errors), text.warnings(), text.notes()};
  Append(outcome.warnings, verdict.warnings);
  Append(outcome.notes, found.notes);
  if (outcome.errors.empty()) WriteClassesFile(settings.classes_path, found.classes);
  return outcome;
}

}  // namespace casewright
