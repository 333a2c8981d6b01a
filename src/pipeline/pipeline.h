// The run pipeline: one press of Execute, from the three files and the
// switches to the file of training cases.
//
// Order of a run: load the text; segment it and count its words; give the
// stopwords weight 0; then the ticked feature stages in a fixed order
// (distribution weight, TF-ISF, gist words, keywords, locations, cue
// phrases), since each may rely on what the ones before it left in the
// records; then write the cases.  The order is not a matter of taste: the
// gist sentence is chosen by the distribution weights, and the keyword
// stage zeroes the weights the distribution stage reads.
#ifndef CASEWRIGHT_PIPELINE_PIPELINE_H_
#define CASEWRIGHT_PIPELINE_PIPELINE_H_

#include <string>
#include <string_view>
#include <vector>

#include "core/features.h"
#include "core/lexical_tables.h"
#include "core/progress.h"
#include "output/case_layout.h"
#include "pipeline/summary_tokens.h"
#include "summary/methods/method.h"
#include "summary/summary_figures.h"
#include "text/extract_classes.h"
#include "text/text_encoding.h"

namespace casewright {

// The text and the classes file (or the extract) may be `-`, standard
// input (not both).  With neither a classes file nor an extract, the text is
// unlabelled: every case's class is the layout's missing value.
struct RunSettings {
  std::string text_path;
  std::string classes_path;
  std::string output_path;
  // When extract.path is not empty, the classes come from that reference
  // extract (extract_classes.h) and classes_path is not read.
  ExtractSettings extract;
  // Features 1 to 8, in the plain layout, as the window starts.
  FeatureSet features = FeatureSet::Default();
  CaseFormat format = CaseFormat::kPlain;
  // Codes or raw values (the ARFF and CSV layouts only); ComputeCases fills
  // TextCases::values with the raw values.
  CaseValues values = CaseValues::kCodes;
  TextEncoding encoding = TextEncoding::kWindows1252;
  // Whether the text holds one sentence a line, paragraphs separated by a
  // blank line, instead of being segmented (SentenceBreaks::kUserLines).
  bool segmented = false;
  // When not empty, the raw values of every sentence go to this TSV file.
  std::string raw_path;
  // When not empty, the C4.5 names file of the cases goes to this file.
  std::string names_path;
  // Whether RunOutcome::cases gets a copy of the cases written.
  bool keep_cases = false;
  // Whether a classes file that does not fit the sentences (one that would
  // warn: too few or too many classes, an empty class, digits run together
  // across a line break), or an extract that leaves a choice among equal
  // sentences to its order, fails the run, before anything is written.
  bool strict_classes = false;
  // Whether each case begins with the text's name and the sentence's
  // number (the ARFF and CSV layouts only).
  bool ids = false;
  // The text's name in the cases with ids; text_path when empty.
  std::string text_name;
  // When not empty, the class values the header and the names file declare,
  // in this order (class_values.h); a class outside them fails the run.
  std::vector<std::string> class_values;
  // Whether the caller has already made sure that no file the run writes is
  // another file of the run (a batch does, for all its lines at once).
  bool files_checked = false;
};

struct RunOutcome {
  std::size_t sentences = 0;
  // The class values the output declares: RunSettings::class_values, else
  // those of the cases in ascending order.
  std::vector<std::string> class_values;
  // The cases as written, without the layout's header, when
  // RunSettings::keep_cases asked for them.
  std::string cases;
  // Things the user should know about a run that succeeded (a classes file
  // that does not match the sentences, a text with no sentence, characters
  // the text's encoding could not carry).
  std::vector<std::string> warnings;
  // Things worth saying that need no action (the encoding `auto` took).
  std::vector<std::string> notes;
  std::size_t ones = 0;      // sentences of class 1
  std::size_t labelled = 0;  // sentences with a class
};

// What a run's headers call its cases: the text's file name without its
// extension ("stdin" for standard input), in UTF-8, with "?" for each
// control character.
std::string RelationOf(const std::string& text_path);

// Runs the whole pipeline, loading the text from settings.text_path in
// settings.encoding.  Throws RunError; a failed run leaves no output file
// changed.
RunOutcome RunCases(const RunSettings& settings, const LexicalTables& tables,
                    const ProgressCallback& progress = {});

// The same on a text already loaded (decoded, line breaks converted), as
// the window holds it; the load's warnings are the caller's.
RunOutcome RunCasesOnText(const RunSettings& settings, std::string_view text,
                          const LexicalTables& tables, const ProgressCallback& progress = {});

// The cases of one text, computed in memory for a learner: no file is
// written.
struct TextCases {
  // Per sentence, in order: the code digits of the ticked features, in
  // feature order, as a case holds them.
  std::vector<std::string> codes;
  // Per sentence, in order, when RunSettings::values asks for raw values:
  // the ticked features' raw values as the cases write them
  // (output/feature_values.h).
  std::vector<std::vector<double>> values;
  // Per sentence, in order: its class; all empty when the text has no
  // classes file and no extract.
  std::vector<std::string> classes;
  // Per sentence: its ROUGE tokens, when asked for, with their stopword
  // flags and the sentence's raw feature values (those of the features not
  // ticked are 0), which the summarisers read.
  SentenceTokens tokens;
  StopwordFlags stopwords;
  std::vector<RawFeatures> raw;
  std::vector<std::string> warnings;
  std::vector<std::string> notes;
};

// The cases of the text at settings.text_path, its classes read as a run
// reads them (from settings.classes_path or settings.extract; none when both
// are empty).  output_path, raw_path and names_path are not used.  With
// `tokens`, each sentence's tokens of that kind are kept as ids of a
// vocabulary of the text's own.  Throws RunError.
TextCases ComputeCases(const RunSettings& settings, const LexicalTables& tables, const TokenChoice* tokens = nullptr);

// The raw values of `features` of each sentence of `text` (its
// Windows-1252 bytes, as loaded, its sentences found as `breaks` says), as
// `--raw` writes them; the stages of the other features are not run, so
// their values stand as segmentation leaves them.
std::vector<RawFeatures> RawFeaturesOfText(std::string_view text, const LexicalTables& tables, SentenceBreaks breaks,
                                           FeatureSet features);

// ComputeCases on a text already loaded from settings.text_path (its
// Windows-1252 bytes), so that a text read from standard input is read once.
TextCases CasesOfLoadedText(const RunSettings& settings, DecodedText text, const LexicalTables& tables,
                            const TokenChoice* tokens = nullptr);

}  // namespace casewright

#endif  // CASEWRIGHT_PIPELINE_PIPELINE_H_
