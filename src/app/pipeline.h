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
#ifndef CASEWRIGHT_APP_PIPELINE_H_
#define CASEWRIGHT_APP_PIPELINE_H_

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "app/progress.h"
#include "lexicon/lexical_tables.h"

namespace casewright {

inline constexpr int kFeatureCount = 8;

// The features, numbered 1 to 8 in output order.
inline constexpr std::array<const char*, kFeatureCount> kFeatureCaptions = {
    "Sentence size",
    "Sentence location in text",
    "Sentence location in paragraph",
    "Presence of keywords",
    "Presence of words from the gist sentence",
    "Sentence weight using words distribution",
    "Term frequency - inverse sentence frequency",
    "Presence of cue phrases",
};

struct RunSettings {
  std::string text_path;
  std::string classes_path;
  std::string output_path;
  // features[k] is feature k + 1.  All ticked, as the window starts.
  std::array<bool, kFeatureCount> features = {true, true, true, true, true, true, true, true};
  bool quinlan = false;
  // When not empty, the raw values of every sentence go to this TSV file.
  std::string raw_path;
};

struct RunOutcome {
  std::size_t sentences = 0;
  // Things the user should know about a run that succeeded (a classes file
  // that does not match the sentences, a text with no sentence).
  std::vector<std::string> warnings;
};

// Runs the whole pipeline, loading the text from settings.text_path.
// Throws RunError; a failed run leaves no output file changed.
RunOutcome RunCases(const RunSettings& settings, const LexicalTables& tables,
                    const ProgressCallback& progress = {});

// The same on a text already loaded (line breaks converted), as the window
// holds it.
RunOutcome RunCasesOnText(const RunSettings& settings, std::string_view text,
                          const LexicalTables& tables, const ProgressCallback& progress = {});

}  // namespace casewright

#endif  // CASEWRIGHT_APP_PIPELINE_H_
