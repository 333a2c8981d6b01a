#include "pipeline/pipeline.h"

#include <filesystem>
#include <optional>

#include "core/run.h"
#include "core/run_error.h"
#include "features/cue_phrases.h"
#include "features/gist_words.h"
#include "features/keywords.h"
#include "features/locations.h"
#include "features/stopwords.h"
#include "features/tf_isf.h"
#include "output/case_writer.h"
#include "output/output_file.h"
#include "output/raw_values.h"
#include "text/classes_file.h"
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

// The analysis after segmentation, in the order that lets each stage rely on
// the ones before.
void Analyse(Run& run, FeatureSet features) {
  SuppressStopwords(run);
  if (features.Has(Feature::kDistributionWeight)) ComputeDistributionWeights(run);
  if (features.Has(Feature::kTfIsf)) ComputeTfIsf(run);
  if (features.Has(Feature::kGistWords)) MarkGistWords(run);
  if (features.Has(Feature::kKeywords)) MarkKeywords(run);
  if (features.Has(Feature::kTextLocation) || features.Has(Feature::kParagraphLocation)) MarkLocations(run);
  if (features.Has(Feature::kCuePhrases)) MarkCuePhrases(run);
}

// The class of each sentence, with the warnings a user should see about the
// classes file.
SentenceClasses PairClasses(const Run& run, ClassesFile& file) {
  if (run.sentence_list.empty()) {
    return {{}, {"The text has no sentence; the output file is empty."}};
  }
  return ReadSentenceClasses(file, run.sentence_list.size());
}

// Runs on `text`.  When the run owns the text (`owned_text` holds it), the
// text is released once it is segmented, since no later stage reads it.
// REQUIRES: the names are checked.
RunOutcome RunOnText(const RunSettings& settings, std::string_view text, std::string* owned_text,
                     const LexicalTables& tables, const ProgressCallback& progress) {
  RefuseOverwritingInputs(settings);
  Run run(tables, progress);
  run.ResetLists();
  SegmentText(run, text);
  if (owned_text != nullptr) std::string().swap(*owned_text);
  Analyse(run, settings.features);

  // The classes file is read before the output is opened, so that a missing
  // classes file touches no output.
  ClassesFile classes_file(settings.classes_path);
  SentenceClasses classes = PairClasses(run, classes_file);
  OutputFile out(settings.output_path);
  std::optional<OutputFile> raw;
  if (!settings.raw_path.empty()) raw.emplace(settings.raw_path);
  WriteCases(run, settings.features, *MakeCaseLayout(settings.format), classes.classes, out);
  if (raw) WriteRawValues(run, classes.classes, *raw);
  out.Commit();
  if (raw) raw->Commit();

  RunOutcome outcome;
  outcome.sentences = run.sentence_list.size();
  outcome.warnings = std::move(classes.warnings);
  run.FreeLists();
  return outcome;
}

}  // namespace

RunOutcome RunCases(const RunSettings& settings, const LexicalTables& tables, const ProgressCallback& progress) {
  RequireNames(settings);
  std::string text = LoadText(settings.text_path);
  return RunOnText(settings, text, &text, tables, progress);
}

RunOutcome RunCasesOnText(const RunSettings& settings, std::string_view text, const LexicalTables& tables,
                          const ProgressCallback& progress) {
  RequireNames(settings);
  return RunOnText(settings, text, nullptr, tables, progress);
}

}  // namespace casewright
