#include "core/feature_values.h"

namespace casewright {
namespace {

double LocationValue(Location place) {
  switch (place) {
    case Location::kBegin: return 3;
    case Location::kMiddle: return 2;
    case Location::kEnd: return 1;
    case Location::kUnset: break;
  }
  return 0;
}

}  // namespace

double RawValue(const frase& s, Feature feature) {
  switch (feature) {
    case Feature::kSentenceSize: return s.WordCount;
    case Feature::kTextLocation: return LocationValue(s.TextPlace);
    case Feature::kParagraphLocation: return LocationValue(s.ParagraphPlace);
    case Feature::kKeywords: return s.HasKeyword;
    case Feature::kGistWords: return s.HasGistWord;
    case Feature::kDistributionWeight: return s.DistributionWeight;
    case Feature::kTfIsf: return s.TfIsf;
    case Feature::kCuePhrases: return s.HasCuePhrase;
    case Feature::kTitleSimilarity: return s.TitleSimilarity;
    case Feature::kCentroidSimilarity: return s.CentroidSimilarity;
    case Feature::kCohesion: return s.Cohesion;
    case Feature::kProperNoun: return s.HasProperNoun;
    case Feature::kNumeral: return s.HasNumeral;
    case Feature::kPosition: return s.Position;
    case Feature::kParagraphPosition: return LocationValue(s.ParagraphMark);
    case Feature::kCentrality: return s.Centrality;
  }
  return 0;
}

bool IsMeasure(Feature feature) {
  switch (feature) {
    case Feature::kSentenceSize:
    case Feature::kDistributionWeight:
    case Feature::kTfIsf:
    case Feature::kTitleSimilarity:
    case Feature::kCentroidSimilarity:
    case Feature::kCohesion:
    case Feature::kPosition:
    case Feature::kCentrality:
      return true;
    default:
      return false;
  }
}

}  // namespace casewright
