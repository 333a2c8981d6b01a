#include "output/discretize.h"

#include <string_view>

namespace casewright {
namespace {

double SizeOf(const frase& s) { return static_cast<double>(s.WordCount); }
double DistributionOf(const frase& s) { return s.DistributionWeight; }
double TfIsfOf(const frase& s) { return s.TfIsf; }
double TitleSimilarityOf(const frase& s) { return s.TitleSimilarity; }
double CentroidSimilarityOf(const frase& s) { return s.CentroidSimilarity; }
double CohesionOf(const frase& s) { return s.Cohesion; }
double CentralityOf(const frase& s) { return s.Centrality; }

char LocationCode(Location location) {
  if (location == Location::kBegin) return '1';
  if (location == Location::kMiddle) return '2';
  return '3';
}

char FlagCode(bool flag) { return flag ? '1' : '0'; }

char LevelDigit(double value, const FeatureThresholds& thresholds) {
  return static_cast<char>('0' + LevelCode(value, thresholds));
}

}  // namespace

FeatureThresholds ComputeThresholds(const SentenceList& sentences, double (*value)(const frase&)) {
  FeatureThresholds t;
  double sum = 0.0;
  for (const frase& s : sentences) {
    double v = value(s);
    if (v > t.Maximum) t.Maximum = v;
    sum += v;
  }
  t.Average = sum / static_cast<double>(sentences.size());
  t.Low = t.Average / 2;
  t.High = t.Average + (t.Maximum - t.Average) / 2;
  return t;
}

int LevelCode(double value, const FeatureThresholds& t) {
  if (value <= t.Low) return 1;
  if (value <= t.Average) return 2;
  if (value <= t.High) return 3;
  return 4;
}

CaseCoder::CaseCoder(const SentenceList& sentences)
    : size_(ComputeThresholds(sentences, SizeOf)),
      distribution_(ComputeThresholds(sentences, DistributionOf)),
      tf_isf_(ComputeThresholds(sentences, TfIsfOf)),
      title_(ComputeThresholds(sentences, TitleSimilarityOf)),
      centroid_(ComputeThresholds(sentences, CentroidSimilarityOf)),
      cohesion_(ComputeThresholds(sentences, CohesionOf)),
      centrality_(ComputeThresholds(sentences, CentralityOf)) {}

FeatureCodes CaseCoder::CodesOf(const frase& s) const {
  return {
      LevelDigit(SizeOf(s), size_),        LocationCode(s.TextPlace),
      LocationCode(s.ParagraphPlace),   FlagCode(s.HasKeyword),
      FlagCode(s.HasGistWord),             LevelDigit(s.DistributionWeight, distribution_),
      LevelDigit(s.TfIsf, tf_isf_),        FlagCode(s.HasCuePhrase),
      LevelDigit(s.TitleSimilarity, title_),
      LevelDigit(s.CentroidSimilarity, centroid_),
      LevelDigit(s.Cohesion, cohesion_),
      FlagCode(s.HasProperNoun),
      FlagCode(s.HasNumeral),
      static_cast<char>('0' + s.Fifth),
      LocationCode(s.ParagraphMark),
      LevelDigit(s.Centrality, centrality_),
  };
}

void AppendTickedCodes(const FeatureCodes& all, FeatureSet features, std::string& out) {
  for (const FeatureInfo& info : kFeatures) {
    if (features.Has(info.feature)) out += all[static_cast<int>(info.feature)];
  }
}

}  // namespace casewright
