#include "pipeline/pipeline.h"

#include <filesystem>

#include "core/file_path.h"
#include "core/read_file.h"
#include "core/run.h"
#include "core/run_error.h"
#include "features/cue_phrases.h"
#include "features/gist_words.h"
#include "features/keywords.h"
#include "features/locations.h"
#include "features/stopwords.h"
#include "features/tf_isf.h"
#include "output/case_writer.h"
#include "output/names_file.h"
#include "output/output_files.h"
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
  if (settings.text_path == kStandardInput && settings.classes_path == kStandardInput) {
    throw RunError("The text and the classes file cannot both be standard input (-)");
  }
}

// A file a run reads or writes, as the user named it.
struct RunFile {
  const std::string& path;
  const char* what;
  bool written;
};

std::vector<RunFile> FilesOf(const RunSettings& settings) {
  std::vector<RunFile> files = {{settings.text_path, "text file", false},
                                {settings.classes_path, "classes file", false},
                                {settings.output_path, "output file", true}};
  if (!settings.raw_path.empty()) files.push_back({settings.raw_path, "raw values file", true});
  if (!settings.names_path.empty()) files.push_back({settings.names_path, "names file", true});
  return files;
}

// Writing a file the run also reads, or writing one file twice, would destroy
// data, so a run that would do so is refused before anything is written.
// Names are compared once links are followed and paths normalised, so that
// "o" and "./o" are one file even before it exists.
void RefuseSharedFiles(const std::vector<RunFile>& files) {
  std::vector<FileIdentity> identities;
  for (const RunFile& file : files) identities.push_back(IdentifyFile(file.path, file.written));
  for (std::size_t later = 1; later < files.size(); ++later) {
    for (std::size_t earlier = 0; earlier < later; ++earlier) {
      if (!files[later].written && !files[earlier].written) continue;
      if (SameFile(identities[earlier], identities[later])) {
        throw RunError(std::string("The ") + files[later].what + " is the same file as the " +
                           files[earlier].what + "; nothing was written",
                       files[later].path);
      }
    }
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
// classes file; under settings.strict_classes a classes file that does not
// fit the sentences fails the run instead.
SentenceClasses PairClasses(const Run& run, const RunSettings& settings) {
  ClassesFile file(settings.classes_path);
  SentenceClasses classes = ReadSentenceClasses(file, run.sentence_list.size());
  if (settings.strict_classes && !classes.warnings.empty()) {
    std::string message;
    for (const std::string& warning : classes.warnings) message += (message.empty() ? "" : " ") + warning;
    throw RunError(message, settings.classes_path);
  }
  if (run.sentence_list.empty()) {
    classes.warnings.insert(classes.warnings.begin(), "The text has no sentence; the output file is empty.");
  }
  return classes;
}

// Runs on `text`.  When the run owns the text (`owned_text` holds it), the
// text is released once it is segmented, since no later stage reads it.
// REQUIRES: the names are checked.
RunOutcome RunOnText(const RunSettings& settings, std::string_view text, std::string* owned_text,
                     const LexicalTables& tables, const ProgressCallback& progress) {
  RefuseSharedFiles(FilesOf(settings));
  Run run(tables, progress);
  run.ResetLists();
  SegmentText(run, text);
  if (owned_text != nullptr) std::string().swap(*owned_text);
  Analyse(run, settings.features);

  // The classes file is read before the output is opened, so that a missing
  // classes file touches no output.
  SentenceClasses classes = PairClasses(run, settings);
  const CaseSchema schema{settings.features, ClassValues(classes.classes), RelationOf(settings.text_path)};
  RunOutcome outcome;
  // Nothing is put in place until every file is written in full.
  OutputFiles outputs;
  WriteCases(run, schema, *MakeCaseLayout(settings.format), classes.classes, outputs.Open(settings.output_path),
             settings.keep_cases ? &outcome.cases : nullptr);
  if (!settings.raw_path.empty()) WriteRawValues(run, classes.classes, outputs.Open(settings.raw_path));
  if (!settings.names_path.empty()) outputs.Open(settings.names_path).Write(NamesFileText(schema));
  outputs.CommitAll();

  outcome.sentences = run.sentence_list.size();
  outcome.class_values = schema.class_values;
  outcome.warnings = std::move(classes.warnings);
  run.FreeLists();
  return outcome;
}

}  // namespace

std::string RelationOf(const std::string& text_path) {
  if (text_path == kStandardInput) return "stdin";
  return std::filesystem::path(text_path).stem().string();
}

RunOutcome RunCases(const RunSettings& settings, const LexicalTables& tables, const ProgressCallback& progress) {
  RequireNames(settings);
  DecodedText text = LoadTextAs(settings.text_path, settings.encoding);
  RunOutcome outcome = RunOnText(settings, text.bytes, &text.bytes, tables, progress);
  outcome.warnings.insert(outcome.warnings.begin(), text.warnings.begin(), text.warnings.end());
  outcome.notes = std::move(text.notes);
  return outcome;
}

RunOutcome RunCasesOnText(const RunSettings& settings, std::string_view text, const LexicalTables& tables,
                          const ProgressCallback& progress) {
  RequireNames(settings);
  return RunOnText(settings, text, nullptr, tables, progress);
}

}  // namespace casewright
