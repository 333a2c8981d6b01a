#include "app/pipeline.h"

#include <filesystem>
#include <optional>

#include "app/run.h"
#include "app/run_error.h"
#include "features/cue_phrases.h"
#include "features/gist_words.h"
#include "features/keywords.h"
#include "features/locations.h"
#include "features/stopwords.h"
#include "features/tf_isf.h"
#include "output/case_writer.h"
#include "output/output_file.h"
#include "output/raw_values.h"
#include "text/load_text.h"
#include "text/segment.h"

namespace casewright {
namespace {

void RequireName(const std::string& path, const char* what) {
  if (path.empty()) throw RunError(std::string("No ") + what + " named");
}

void RequireNames(const RunSettings& settings) {
  RequireName(settings.text_path, "text file");
  RequireName(settings.classes_path, "classes file");
  RequireName(settings.output_path, "output file");
}

bool SameFile(const std::string& a, const std::string& b) {
  std::error_code error;
  return std::filesystem::equivalent(a, b, error) && !error;
}

// Writing a file the run also reads would destroy the input, so such an
// output is refused before anything is written.
void RefuseOverwritingInputs(const RunSettings& settings) {
  struct Named {
    const std::string& path;
    const char* what;
  };
  const Named inputs[] = {{settings.text_path, "text file"}, {settings.classes_path, "classes file"}};
  std::vector<Named> outputs = {{settings.output_path, "output file"}};
  if (!settings.raw_path.empty()) outputs.push_back({settings.raw_path, "raw values file"});
  for (const Named& output : outputs) {
    for (const Named& input : inputs) {
      if (SameFile(output.path, input.path)) {
        throw RunError(std::string("The ") + output.what + " is the same file as the " + input.what +
                           "; nothing was written",
                       output.path);
      }
    }
  }
  if (outputs.size() == 2 && (outputs[0].path == outputs[1].path || SameFile(outputs[0].path, outputs[1].path))) {
    throw RunError("The raw values file is the same file as the output file; nothing was written",
                   settings.raw_path);
  }
}

bool Ticked(const RunSettings& settings, int feature) { return settings.features[feature - 1]; }

// The analysis, in the order that lets each stage rely on the ones before.
void Analyse(Run& run, const RunSettings& settings, std::string_view text) {
  SegmentText(run, text);
  SuppressStopwords(run);
  if (Ticked(settings, 6)) ComputeDistributionWeights(run);
  if (Ticked(settings, 7)) ComputeTfIsf(run);
  if (Ticked(settings, 5)) MarkGistWords(run);
  if (Ticked(settings, 4)) MarkKeywords(run);
  if (Ticked(settings, 2) || Ticked(settings, 3)) MarkLocations(run);
  if (Ticked(settings, 8)) MarkCuePhrases(run);
}

}  // namespace

RunOutcome RunCases(const RunSettings& settings, const LexicalTables& tables, const ProgressCallback& progress) {
  RequireNames(settings);
  return RunCasesOnText(settings, LoadText(settings.text_path), tables, progress);
}

RunOutcome RunCasesOnText(const RunSettings& settings, std::string_view text, const LexicalTables& tables,
                          const ProgressCallback& progress) {
  RequireNames(settings);
  RefuseOverwritingInputs(settings);
  Run run(tables, progress);
  run.ResetLists();
  Analyse(run, settings, text);

  // The classes file is opened before the output, so that a missing classes
  // file touches no output.
  ClassesFile classes(settings.classes_path);
  OutputFile out(settings.output_path);
  std::optional<OutputFile> raw;
  if (!settings.raw_path.empty()) raw.emplace(settings.raw_path);
  CasesWritten written = WriteCases(run, settings.features,
                                    settings.quinlan ? CaseFormat::kQuinlan : CaseFormat::kPlain, classes, out);
  if (raw) WriteRawValues(run, written.classes, *raw);
  out.Commit();
  if (raw) raw->Commit();

  RunOutcome outcome;
  outcome.sentences = run.sentence_list.size();
  outcome.warnings = std::move(written.warnings);
  run.FreeLists();
  return outcome;
}

}  // namespace casewright
