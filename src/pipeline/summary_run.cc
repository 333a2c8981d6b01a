#include "pipeline/summary_run.h"

#include <cstdio>

#include "core/cp1252.h"
#include "core/read_file.h"
#include "core/run_error.h"
#include "output/output_files.h"
#include "pipeline/pipeline.h"
#include "pipeline/run_files.h"
#include "summary/mmr.h"
#include "summary/score_file.h"
#include "summary/selection.h"
#include "text/classes_file.h"

namespace casewright {

std::string ExtractFileText(SegmentedText& text, const std::vector<std::size_t>& chosen) {
  std::string lines;
  for (std::size_t index : chosen) lines += text.Original(index) + "\n";
  // The sentences came from the text, so each of their characters has a
  // Windows-1252 form.
  return text.utf8() ? lines : Utf8ToCp1252Replacing(lines, ' ').bytes;
}

namespace {

// One score a line, with 6 decimals.
std::string ScoreLines(const std::vector<double>& scores) {
  std::string lines;
  char line[32];
  for (double score : scores) {
    std::snprintf(line, sizeof line, "%.6f\n", score);
    lines += line;
  }
  return lines;
}

// The scores `method` gives the text, its feature values computed when it
// reads them.
std::vector<double> MethodScores(const SummaryMethod& method, MethodText text, const SegmentedText& segmented,
                                 const LexicalTables& tables) {
  std::vector<RawFeatures> features;
  if (method.Needs() == MethodNeeds::kFeatures) {
    features = RawFeaturesOfText(segmented.bytes(), tables, segmented.breaks(), method.FeaturesRead());
    text.features = &features;
  }
  return method.Scores(text);
}

}  // namespace

std::vector<double> MethodScoresOf(const SummaryMethod& method, const SegmentedText& text,
                                   const LexicalTables& tables) {
  TokenVocabulary vocabulary;
  StopwordFlags stopwords;
  const SentenceTokens tokens = TokensOfSentences(text.run(), text.bytes(), {}, vocabulary, &stopwords);
  return MethodScores(method, {tokens, stopwords}, text, tables);
}

std::size_t SentencesOfSize(SummarySize size, std::size_t sentence_count) {
  if (size.count > sentence_count) {
    throw RunError("The summary cannot take " + std::to_string(size.count) + " sentences: the text has only " +
                   std::to_string(sentence_count));
  }
  return size.count > 0 ? size.count : SentencesAtRate(size.rate, sentence_count);
}

std::vector<std::size_t> ChooseByScores(const std::vector<double>& scores, SummarySize size) {
  return ChooseBest(scores, SentencesOfSize(size, scores.size()));
}

std::vector<std::size_t> ChooseBySelection(const std::vector<double>& scores, const MethodText& text,
                                           SummarySize size, Selection selection) {
  return selection.mmr ? ChooseByMmr(scores, ContentTokens(text), SentencesOfSize(size, scores.size()), selection.lambda)
                       : ChooseByScores(scores, size);
}

SummarizeOutcome WriteSummary(const SummarizeSettings& settings, const LexicalTables& tables) {
  if (settings.text_path == kStandardInput && settings.scores_path == kStandardInput) {
    throw RunError("The text and the scores cannot both be standard input (-)");
  }
  if (settings.extract_path == "-" && settings.classes_path == "-") {
    throw RunError("The extract and the classes file cannot both be standard output (-)");
  }
  std::vector<RunFile> files = {{settings.text_path, "text file", false}};
  if (!settings.scores_path.empty()) files.push_back({settings.scores_path, "scores file", false});
  if (!settings.model_path.empty()) files.push_back({settings.model_path, "model", false});
  AddTableFiles(files, tables);
  files.push_back({settings.extract_path, "extract", true});
  if (!settings.classes_path.empty()) files.push_back({settings.classes_path, "classes file", true});
  if (!settings.scores_output_path.empty()) files.push_back({settings.scores_output_path, "scores output", true});
  RefuseSharedFiles(files, SharedInputs::kRefused);
  SegmentedText text(settings.text_path, settings.encoding, tables, TextBreaks(settings.segmented));
  if (text.size() == 0) throw RunError("The text has no sentence to choose from", settings.text_path);
  // A method and MMR see the sentences' keys, as evaluate compares them.
  SentenceTokens tokens;
  StopwordFlags stopwords;
  if (settings.method != nullptr || settings.selection.mmr) {
    TokenVocabulary vocabulary;
    tokens = TokensOfSentences(text.run(), text.bytes(), {}, vocabulary, &stopwords);
  }
  const std::vector<double> scores =
      !settings.scores_path.empty() ? ReadScores(settings.scores_path, settings.text_path, text.size())
      : settings.score_text         ? settings.score_text(text.bytes())
      : settings.method             ? MethodScores(*settings.method, {tokens, stopwords}, text, tables)
                                    : settings.scores;
  if (scores.size() != text.size()) {
    throw RunError("The text has " + std::to_string(text.size()) + " sentences, but " +
                       std::to_string(scores.size()) + " scores were given",
                   settings.text_path);
  }
  const std::vector<std::size_t> chosen = ChooseBySelection(scores, {tokens, stopwords}, settings.size, settings.selection);

  OutputFiles outputs;
  outputs.Open(settings.extract_path).Write(ExtractFileText(text, chosen));
  if (!settings.classes_path.empty()) {
    std::vector<std::string> classes(text.size(), "0");
    for (std::size_t index : chosen) classes[index] = "1";
    outputs.Open(settings.classes_path).Write(ClassesFileText(classes));
  }
  if (!settings.scores_output_path.empty()) outputs.Open(settings.scores_output_path).Write(ScoreLines(scores));
  outputs.CommitAll();
  return {text.size(), chosen.size(), text.warnings(), text.notes()};
}

}  // namespace casewright
