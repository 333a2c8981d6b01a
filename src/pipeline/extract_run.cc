#include "pipeline/extract_run.h"

#include "core/read_file.h"
#include "core/run_error.h"
#include "output/output_files.h"
#include "pipeline/run_files.h"
#include "text/classes_file.h"
#include "text/segmented_text.h"

namespace casewright {

ExtractRunOutcome WriteClassesFromExtract(const ExtractRunSettings& settings, const LexicalTables& tables) {
  if (settings.text_path == kStandardInput && settings.extract.path == kStandardInput) {
    throw RunError("The text and the extract cannot both be standard input (-)");
  }
  RefuseSharedFiles({{settings.text_path, "text file", false},
                     {settings.extract.path, "extract", false},
                     {settings.classes_path, "classes file", true}});
  SegmentedText text(settings.text_path, settings.encoding, tables);
  SegmentedText extract(settings.extract.path, settings.extract.encoding, tables);
  ExtractClasses found = ClassesFromExtract(text.run(), extract, settings.extract.min_overlap);

  ExtractRunOutcome outcome{text.size(), found.chosen, {}, text.warnings(), text.notes()};
  auto add = [](std::vector<std::string>& to, const std::vector<std::string>& messages) {
    to.insert(to.end(), messages.begin(), messages.end());
  };
  add(settings.extract.allow_unmatched ? outcome.warnings : outcome.errors, found.unmatched);
  add(settings.strict ? outcome.errors : outcome.warnings, found.repeated);
  add(outcome.warnings, found.warnings);
  add(outcome.notes, found.notes);
  if (!outcome.errors.empty()) return outcome;

  OutputFiles files;
  files.Open(settings.classes_path).Write(ClassesFileText(found.classes));
  files.CommitAll();
  return outcome;
}

}  // namespace casewright
