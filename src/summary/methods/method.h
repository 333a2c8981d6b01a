// The summarisers a trained model is compared with: each scores the
// sentences of one text from their tokens alone (or, for the single-feature
// and oracle methods, from the feature values or the reference), behind one
// interface, so that `summarize`, `evaluate` and `crossval` treat them alike.
//
// A method sees a text as the token ids of each sentence (what the
// evaluation compares summaries by) and, for each token, whether it is a
// stopword.  Where a method counts words (every method here but the oracle
// and feature:N), it counts the tokens that are not stopwords: its "content
// tokens".
#ifndef CASEWRIGHT_SUMMARY_METHODS_METHOD_H_
#define CASEWRIGHT_SUMMARY_METHODS_METHOD_H_

#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "core/features.h"
#include "summary/summary_figures.h"

namespace casewright {

// Per sentence, per token: whether the token is a stopword.
using StopwordFlags = std::vector<std::vector<bool>>;

// The raw value of each feature of a sentence, in feature order
// (core/features.h): the numbers `--raw` writes, the locations as begin 3,
// middle 2, end 1 (0 when not computed).
using RawFeatures = std::array<double, kFeatureCount>;

// One text as the methods see it.
struct MethodText {
  const SentenceTokens& tokens;
  // One flag per token of `tokens`.
  const StopwordFlags& stopwords;
  // One per sentence; only feature:N reads them.
  const std::vector<RawFeatures>* features = nullptr;
  // The reference summary; only the oracle reads it.
  const Reference* reference = nullptr;
};

// What a method needs besides the tokens.
enum class MethodNeeds { kTokens, kFeatures, kReference };

class SummaryMethod {
 public:
  virtual ~SummaryMethod() = default;

  // The name users give it (`textrank`, `feature:7`).
  virtual std::string Name() const = 0;
  virtual MethodNeeds Needs() const { return MethodNeeds::kTokens; }
  // The features whose raw values Scores reads, when Needs() is kFeatures:
  // only their stages need to run.
  virtual FeatureSet FeaturesRead() const { return FeatureSet::None(); }

  // One score per sentence; a higher score is chosen sooner.
  // REQUIRES: `text` holds what Needs() names.
  virtual std::vector<double> Scores(const MethodText& text) const = 0;

  // The `count` sentences a summary takes, in text order.  By default the
  // best `count` scores (ties to the earlier sentence); methods that choose
  // greedily stop after `count` picks instead of ranking every sentence.
  // REQUIRES: count <= text.tokens.size().
  virtual std::vector<std::size_t> Choose(const MethodText& text, std::size_t count) const;
};

// A method that chooses one sentence after another, each choice depending
// on those before: its scores are its order of choice (the first chosen
// scores highest), and a summary of `count` sentences is its first `count`
// choices, which no later choice changes.
class GreedyMethod : public SummaryMethod {
 public:
  std::vector<double> Scores(const MethodText& text) const final;
  std::vector<std::size_t> Choose(const MethodText& text, std::size_t count) const final;

  // The first `count` sentences chosen, in the order chosen.
  // REQUIRES: count <= text.tokens.size().
  virtual std::vector<std::size_t> Order(const MethodText& text, std::size_t count) const = 0;
};

// The tokens of each sentence that are not stopwords, in order.
SentenceTokens ContentTokens(const MethodText& text);

}  // namespace casewright

#endif  // CASEWRIGHT_SUMMARY_METHODS_METHOD_H_
