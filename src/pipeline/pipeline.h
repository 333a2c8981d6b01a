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

namespace casewright {

struct RunSettings {
  std::string text_path;
  std::string classes_path;
  std::string output_path;
  // All ticked, in the plain layout, as the window starts.
  FeatureSet features = FeatureSet::All();
  CaseFormat format = CaseFormat::kPlain;
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

#endif  // CASEWRIGHT_PIPELINE_PIPELINE_H_
