// The summarisers of summary/methods/ as baselines of `evaluate` and
// `crossval`: each chooses as many sentences of a text as the system it is
// compared with, and its row is named by the method, as the lead and random
// baselines' rows are.
#ifndef CASEWRIGHT_PIPELINE_METHOD_BASELINES_H_
#define CASEWRIGHT_PIPELINE_METHOD_BASELINES_H_

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/run.h"
#include "pipeline/summary_run.h"
#include "summary/methods/method.h"

namespace casewright {

class MethodBaselines {
 public:
  // REQUIRES: every name is a method's (MakeMethod does not return null).
  explicit MethodBaselines(const std::vector<std::string>& names);

  bool empty() const { return methods_.empty(); }
  // Whether some method reads the sentences' raw feature values.
  bool NeedsFeatures() const;
  // The features whose raw values they read, the only ones computed.
  FeatureSet FeaturesRead() const;

  // What the methods read of a text besides its tokens: the tokens'
  // stopword flags and, when some method needs them, the raw feature values.
  struct Inputs {
    StopwordFlags stopwords;
    std::vector<RawFeatures> features;
  };
  // The inputs of the text `run` segmented from `text` with `breaks`, given
  // its tokens' stopword flags (TokensOfSentences).
  Inputs InputsOf(const Run& run, std::string_view text, SentenceBreaks breaks, StopwordFlags stopwords) const;

  // Each method's name and its choice of `count` sentences of `text`.
  // REQUIRES: `text` holds what the methods need; count <= the sentences.
  std::vector<std::pair<std::string, std::vector<std::size_t>>> Choices(const MethodText& text,
                                                                         std::size_t count) const;

 private:
  std::vector<std::unique_ptr<SummaryMethod>> methods_;
};

}  // namespace casewright

#endif  // CASEWRIGHT_PIPELINE_METHOD_BASELINES_H_
