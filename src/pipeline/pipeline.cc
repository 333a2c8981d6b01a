#include "pipeline/pipeline.h"

#include <algorithm>
#include <filesystem>
#include <new>
#include <optional>

#include "core/cp1252.h"
#include "core/read_file.h"
#include "core/run.h"
#include "core/run_error.h"
#include "features/centrality.h"
#include "features/cue_phrases.h"
#include "features/gist_words.h"
#include "features/keywords.h"
#include "features/locations.h"
#include "features/similarities.h"
#include "features/stopwords.h"
#include "features/tf_isf.h"
#include "features/word_shapes.h"
#include "output/case_writer.h"
#include "output/discretize.h"
#include "output/feature_values.h"
#include "output/names_file.h"
#include "output/output_files.h"
#include "output/raw_values.h"
#include "pipeline/extract_run.h"
#include "pipeline/run_files.h"
#include "pipeline/summary_run.h"
#include "summary/methods/feature_value.h"
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
  const bool extract = !settings.extract.path.empty();
  RequireName(settings.output_path, "output file");
  if (settings.ids && settings.format != CaseFormat::kArff && settings.format != CaseFormat::kCsv) {
    throw RunError("Cases with ids need the ARFF or CSV layout, not " + std::string(FormatName(settings.format)));
  }
  if (settings.values == CaseValues::kRaw && settings.format != CaseFormat::kArff &&
      settings.format != CaseFormat::kCsv) {
    throw RunError("Raw values need the ARFF or CSV layout, not " + std::string(FormatName(settings.format)));
  }
  if (settings.text_path == kStandardInput &&
      (extract ? settings.extract.path : settings.classes_path) == kStandardInput) {
    throw RunError(std::string("The text and the ") + (extract ? "extract" : "classes file") +
                   " cannot both be standard input (-)");
  }
}

std::vector<RunFile> FilesOf(const RunSettings& settings, const LexicalTables& tables) {
  std::vector<RunFile> files;
  AddTableFiles(files, tables);
  files.push_back({settings.text_path, "text file", false});
  if (!settings.extract.path.empty()) {
    files.push_back({settings.extract.path, "extract", false});
  } else if (!settings.classes_path.empty()) {
    files.push_back({settings.classes_path, "classes file", false});
  }
  files.push_back({settings.output_path, "output file", true});
  if (!settings.raw_path.empty()) files.push_back({settings.raw_path, "raw values file", true});
  if (!settings.names_path.empty()) files.push_back({settings.names_path, "names file", true});
  return files;
}

// The stages that read the words as the text has them, which must run
// before the text is released.
void AnalyseText(Run& run, std::string_view text, FeatureSet features, SentenceBreaks breaks) {
  if (features.Has(Feature::kProperNoun) || features.Has(Feature::kNumeral)) MarkWordShapes(run, text, breaks);
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
  if (features.Has(Feature::kTitleSimilarity)) ComputeTitleSimilarities(run);
  if (features.Has(Feature::kCentroidSimilarity) || features.Has(Feature::kCohesion)) {
    ComputeCentroidSimilarities(run);
  }
  if (features.Has(Feature::kPosition) || features.Has(Feature::kParagraphPosition)) MarkPositions(run);
  if (features.Has(Feature::kCentrality)) ComputeCentrality(run);
}

// Fails the run with `messages`, one after the other, naming `path`.
void FailWith(const std::vector<std::string>& messages, const std::string& path) {
  std::string message;
  for (const std::string& line : messages) message += (message.empty() ? "" : " ") + line;
  throw RunError(message, path);
}

// The classes of the sentences from the extract.  Words of the extract that
// match nothing fail the run unless allowed; a choice among equal sentences
// the extract's order leaves open does under strict classes.
SentenceClasses ExtractedClasses(const Run& run, const RunSettings& settings, std::vector<std::string>& notes) {
  const ExtractSettings& from = settings.extract;
  ExtractClasses found = ClassesFromExtract(run, from);
  ExtractVerdict verdict = JudgeExtract(found, from, settings.strict_classes);
  if (!verdict.errors.empty()) FailWith(verdict.errors, from.path);
  notes = std::move(found.notes);
  return {std::move(found.classes), std::move(verdict.warnings)};
}

// The classes of the sentences from the classes file.  Under strict
// classes, a file that does not fit the sentences fails the run.
SentenceClasses FileClasses(const Run& run, const RunSettings& settings) {
  ClassesFile file(settings.classes_path);
  SentenceClasses classes = ReadSentenceClasses(file, run.sentence_list.size());
  if (settings.strict_classes && !classes.warnings.empty()) FailWith(classes.warnings, settings.classes_path);
  return classes;
}

// The class of each sentence (none for an unlabelled text), with the
// warnings a user should see about them; `notes` gets what is worth saying
// about the extract.
SentenceClasses PairClasses(const Run& run, const RunSettings& settings, std::vector<std::string>& notes) {
  SentenceClasses classes;
  if (!settings.extract.path.empty()) {
    classes = ExtractedClasses(run, settings, notes);
  } else if (!settings.classes_path.empty()) {
    classes = FileClasses(run, settings);
  }
  if (run.sentence_list.empty()) {
    classes.warnings.insert(classes.warnings.begin(), "The text has no sentence; the output file is empty.");
  }
  return classes;
}

// The class values the output declares.  A class outside the declared ones
// fails the run, naming the first sentence that has one.
std::vector<std::string> DeclaredValues(const RunSettings& settings, const std::vector<std::string>& classes) {
  if (std::optional<std::size_t> at = FirstUndeclaredClass(classes, settings.class_values)) {
    throw RunError("Sentence " + std::to_string(*at + 1) + " has the class " + classes[*at] +
                       ", which is not one of the declared class values " + ClassValueList(settings.class_values),
                   settings.extract.path.empty() ? settings.classes_path : settings.extract.path);
  }
  return DeclaredClassValues(settings.class_values, classes);
}

// Runs on `text`.  When the run owns the text (`owned_text` holds it), the
// text is released once it is segmented, unless the raw values, which show
// each sentence's words from it, are asked for.
// REQUIRES: the names are checked.
RunOutcome RunOnText(const RunSettings& settings, std::string_view text, std::string* owned_text,
                     const LexicalTables& tables, const ProgressCallback& progress) {
  if (!settings.files_checked) RefuseSharedFiles(FilesOf(settings, tables), SharedInputs::kRefused);
  Run run(tables, progress);
  run.ResetLists();
  const SentenceBreaks breaks = TextBreaks(settings.segmented);
  SegmentText(run, text, breaks);
  AnalyseText(run, text, settings.features, breaks);
  if (owned_text != nullptr && settings.raw_path.empty()) std::string().swap(*owned_text);
  Analyse(run, settings.features);

  // The classes file is read before the output is opened, so that a missing
  // classes file touches no output.
  RunOutcome outcome;
  SentenceClasses classes = PairClasses(run, settings, outcome.notes);
  const CaseSchema schema{settings.features, DeclaredValues(settings, classes.classes),
                          RelationOf(settings.text_path), settings.ids, settings.values};
  const bool unlabelled = classes.classes.empty() && !run.sentence_list.empty();
  if (unlabelled && schema.class_values.empty() &&
      (settings.format == CaseFormat::kArff || !settings.names_path.empty())) {
    classes.warnings.push_back(
        "The text has no classes and no class values were declared, so the header declares none and matches no "
        "training file's; declare the training file's values (--class-values 0,1).");
  }
  const std::string& text_name = settings.text_name.empty() ? settings.text_path : settings.text_name;
  // Nothing is put in place until every file is written in full.
  OutputFiles outputs;
  WriteCases(run, schema, *MakeCaseLayout(settings.format), classes.classes, text_name,
             outputs.Open(settings.output_path), settings.keep_cases ? &outcome.cases : nullptr);
  if (!settings.raw_path.empty()) {
    if (classes.classes.empty()) classes.classes.resize(run.sentence_list.size());
    WriteRawValues(
        run, [text, breaks](const frase& sentence) { return SentenceText(text, sentence, breaks); },
        settings.features, classes.classes, outputs.Open(settings.raw_path));
  }
  if (!settings.names_path.empty()) outputs.Open(settings.names_path).Write(NamesFileText(schema));
  outputs.CommitAll();

  outcome.sentences = run.sentence_list.size();
  outcome.ones = static_cast<std::size_t>(std::count(classes.classes.begin(), classes.classes.end(), "1"));
  outcome.labelled = static_cast<std::size_t>(
      std::count_if(classes.classes.begin(), classes.classes.end(), [](const std::string& c) { return !c.empty(); }));
  outcome.class_values = schema.class_values;
  outcome.warnings = std::move(classes.warnings);
  run.FreeLists();
  return outcome;
}

// Runs `run`, failing with a RunError that names the text when memory runs
// out anywhere in it, so that no front end shows a bare std::bad_alloc.
template <typename RunFn>
RunOutcome NamingTheTextOnOutOfMemory(const RunSettings& settings, RunFn&& run) {
  try {
    return run();
  } catch (const std::bad_alloc&) {
    throw RunError("Out of memory while working on the text; nothing was written", settings.text_path);
  }
}

}  // namespace

std::string RelationOf(const std::string& text_path) {
  if (text_path == kStandardInput) return "stdin";
  std::string name = std::filesystem::path(text_path).stem().string();
  // Case files are UTF-8 on one line: a name in Windows-1252 is read as
  // such, and a control character (a line break) becomes "?".
  if (!IsValidUtf8(name)) name = Cp1252ToUtf8(name);
  std::replace_if(name.begin(), name.end(), [](unsigned char c) { return c < 0x20 || c == 0x7F; }, '?');
  return name;
}

RunOutcome RunCases(const RunSettings& settings, const LexicalTables& tables, const ProgressCallback& progress) {
  RequireNames(settings);
  return NamingTheTextOnOutOfMemory(settings, [&] {
    DecodedText text = LoadTextAs(settings.text_path, settings.encoding);
    RunOutcome outcome = RunOnText(settings, text.bytes, &text.bytes, tables, progress);
    outcome.warnings.insert(outcome.warnings.begin(), text.warnings.begin(), text.warnings.end());
    outcome.notes.insert(outcome.notes.begin(), text.notes.begin(), text.notes.end());
    return outcome;
  });
}

TextCases ComputeCases(const RunSettings& settings, const LexicalTables& tables, const TokenChoice* tokens) {
  RequireName(settings.text_path, "text file");
  return CasesOfLoadedText(settings, LoadTextAs(settings.text_path, settings.encoding), tables, tokens);
}

TextCases CasesOfLoadedText(const RunSettings& settings, DecodedText text, const LexicalTables& tables,
                            const TokenChoice* tokens) {
  Run run(tables, {});
  run.ResetLists();
  const SentenceBreaks breaks = TextBreaks(settings.segmented);
  SegmentText(run, text.bytes, breaks);
  TextCases cases;
  if (tokens) {
    TokenVocabulary vocabulary;
    cases.tokens = TokensOfSentences(run, text.bytes, *tokens, vocabulary, &cases.stopwords);
  }
  AnalyseText(run, text.bytes, settings.features, breaks);
  std::string().swap(text.bytes);
  Analyse(run, settings.features);
  if (tokens) {
    for (const frase& sentence : run.sentence_list) cases.raw.push_back(RawFeaturesOf(sentence));
  }

  const bool labelled = !settings.classes_path.empty() || !settings.extract.path.empty();
  SentenceClasses classes = labelled ? PairClasses(run, settings, cases.notes) : SentenceClasses{};
  cases.classes = labelled ? std::move(classes.classes) : std::vector<std::string>(run.sentence_list.size());
  cases.warnings = std::move(text.warnings);
  cases.warnings.insert(cases.warnings.end(), classes.warnings.begin(), classes.warnings.end());
  cases.notes.insert(cases.notes.begin(), text.notes.begin(), text.notes.end());
  if (!run.sentence_list.empty()) {
    const CaseCoder coder(run.sentence_list);
    for (const frase& sentence : run.sentence_list) {
      const FeatureCodes codes = coder.CodesOf(sentence);
      AppendTickedCodes(codes, settings.features, cases.codes.emplace_back());
      if (settings.values == CaseValues::kRaw) {
        AppendTickedValues(sentence, codes, settings.features, cases.values.emplace_back());
      }
    }
  }
  run.FreeLists();
  return cases;
}

std::vector<RawFeatures> RawFeaturesOfText(std::string_view text, const LexicalTables& tables, SentenceBreaks breaks,
                                           FeatureSet features) {
  Run run(tables, {});
  run.ResetLists();
  SegmentText(run, text, breaks);
  AnalyseText(run, text, features, breaks);
  Analyse(run, features);
  std::vector<RawFeatures> values;
  for (const frase& sentence : run.sentence_list) values.push_back(RawFeaturesOf(sentence));
  run.FreeLists();
  return values;
}

RunOutcome RunCasesOnText(const RunSettings& settings, std::string_view text, const LexicalTables& tables,
                          const ProgressCallback& progress) {
  RequireNames(settings);
  return NamingTheTextOnOutOfMemory(settings, [&] { return RunOnText(settings, text, nullptr, tables, progress); });
}

}  // namespace casewright
