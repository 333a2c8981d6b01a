// The sixteen sentence features, in the fixed order of their codes in a case.
//
// Features 1 to 8 are the classic set, extracted unless the user names
// others; 9 to 16 come from the literature on trainable summarisers and are
// extracted only when named.  docs/features.md defines each of them exactly.
//
// This table is the one place that numbers, names and describes them: the
// command line's feature list, the window's check boxes, the case writer and
// every header a layout writes (names file, ARFF, CSV) read it.
#ifndef CASEWRIGHT_CORE_FEATURES_H_
#define CASEWRIGHT_CORE_FEATURES_H_

#include <array>
#include <bitset>
#include <optional>
#include <string>
#include <string_view>

namespace casewright {

// In output order: a case holds the codes of the ticked features in this
// order.
enum class Feature {
  kSentenceSize,
  kTextLocation,
  kParagraphLocation,
  kKeywords,
  kGistWords,
  kDistributionWeight,
  kTfIsf,
  kCuePhrases,
  kTitleSimilarity,
  kCentroidSimilarity,
  kCohesion,
  kProperNoun,
  kNumeral,
  kPosition,
  kParagraphPosition,
  kCentrality,
};
inline constexpr int kFeatureCount = 16;
// Features 1 to kDefaultFeatureCount are the ones a run extracts unless
// told otherwise.
inline constexpr int kDefaultFeatureCount = 8;

struct FeatureInfo {
  Feature feature;
  int number;                   // 1 to 16, as the user picks it
  std::string_view caption;     // the window's check box, the help text
  std::string_view short_name;  // attribute name in headers
  std::string_view codes;       // every code the feature can take, one digit each
};

inline constexpr std::array<FeatureInfo, kFeatureCount> kFeatures = {{
    {Feature::kSentenceSize, 1, "Sentence size", "size", "1234"},
    {Feature::kTextLocation, 2, "Sentence location in text", "text_location", "123"},
    {Feature::kParagraphLocation, 3, "Sentence location in paragraph", "paragraph_location", "123"},
    {Feature::kKeywords, 4, "Presence of keywords", "keyword", "01"},
    {Feature::kGistWords, 5, "Presence of words from the gist sentence", "gist_word", "01"},
    {Feature::kDistributionWeight, 6, "Sentence weight using words distribution", "distribution_weight",
     "1234"},
    {Feature::kTfIsf, 7, "Term frequency - inverse sentence frequency", "tf_isf", "1234"},
    {Feature::kCuePhrases, 8, "Presence of cue phrases", "cue_phrase", "01"},
    {Feature::kTitleSimilarity, 9, "Similarity to the first sentence", "title_similarity", "1234"},
    {Feature::kCentroidSimilarity, 10, "Similarity to the text's centroid", "centroid_similarity", "1234"},
    {Feature::kCohesion, 11, "Similarity to the other sentences", "cohesion", "1234"},
    {Feature::kProperNoun, 12, "Presence of proper nouns", "proper_noun", "01"},
    {Feature::kNumeral, 13, "Presence of numerals", "numeral", "01"},
    {Feature::kPosition, 14, "Fifth of the text the sentence stands in", "position", "12345"},
    {Feature::kParagraphPosition, 15, "Sentence place by paragraph marks", "paragraph_position", "123"},
    {Feature::kCentrality, 16, "Sentence centrality (TextRank score)", "centrality", "1234"},
}};

// Which features a run extracts.
class FeatureSet {
 public:
  static FeatureSet All() { return FeatureSet(Bits().set()); }
  // Features 1 to kDefaultFeatureCount: what a run extracts by default.
  static FeatureSet Default() { return FeatureSet(Bits((1u << kDefaultFeatureCount) - 1)); }
  static FeatureSet None() { return FeatureSet(); }

  bool Has(Feature feature) const { return bits_.test(static_cast<int>(feature)); }
  void Set(Feature feature, bool ticked = true) { bits_.set(static_cast<int>(feature), ticked); }
  bool operator==(const FeatureSet&) const = default;
  // Whether any feature beyond the default ones is ticked.
  bool HasAnyBeyondDefault() const { return (bits_ >> kDefaultFeatureCount).any(); }

 private:
  using Bits = std::bitset<kFeatureCount>;
  explicit FeatureSet(Bits bits = {}) : bits_(bits) {}
  Bits bits_;
};

// The set as digits 0 or 1, one per feature in table order, for the files
// that store a run's settings (a batch's identity, a shard index).  The
// digits of the features beyond the default ones are written only when one
// of them is ticked, so that a set of the first eight reads as it did before
// there were more.
std::string FeatureBits(FeatureSet features);

// The set `bits` (as FeatureBits writes it: kDefaultFeatureCount or
// kFeatureCount digits 0 or 1), or nothing when it is not one.
std::optional<FeatureSet> FeatureSetOfBits(std::string_view bits);

}  // namespace casewright

#endif  // CASEWRIGHT_CORE_FEATURES_H_
