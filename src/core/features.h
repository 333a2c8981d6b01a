// The eight sentence features, in the fixed order of their codes in a case.
//
// This table is the one place that numbers, names and describes them: the
// command line's feature list, the window's check boxes, the case writer and
// every header a layout writes (names file, ARFF, CSV) read it.
#ifndef CASEWRIGHT_CORE_FEATURES_H_
#define CASEWRIGHT_CORE_FEATURES_H_

#include <array>
#include <bitset>
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
};
inline constexpr int kFeatureCount = 8;

struct FeatureInfo {
  Feature feature;
  int number;                   // 1 to 8, as the user picks it
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
}};

// Which features a run extracts.
class FeatureSet {
 public:
  static FeatureSet All() { return FeatureSet(Bits().set()); }
  static FeatureSet None() { return FeatureSet(); }

  bool Has(Feature feature) const { return bits_.test(static_cast<int>(feature)); }
  void Set(Feature feature, bool ticked = true) { bits_.set(static_cast<int>(feature), ticked); }
  bool operator==(const FeatureSet&) const = default;

 private:
  using Bits = std::bitset<kFeatureCount>;
  explicit FeatureSet(Bits bits = {}) : bits_(bits) {}
  Bits bits_;
};

}  // namespace casewright

#endif  // CASEWRIGHT_CORE_FEATURES_H_
