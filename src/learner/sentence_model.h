// A model that scores sentences: the probability that a sentence belongs in
// the summary (class "1"), learnt from the feature codes of sentences whose
// class is known, or from their raw values (core/case_values.h).
//
// The learner is XGBoost's gradient-boosted trees, through its C API; the
// model file is XGBoost's own JSON, so that XGBoost's Python package loads
// it as it is (`xgboost.Booster(model_file=...)`) and gives the same
// probabilities for the same rows.  Each row holds the codes of the model's
// features, in feature order, as numbers (a code "3" is 3.0), or their raw
// values: the columns of the CSV layout without the class.  Besides the
// trees, the file stores, as the booster's attributes, what a later user of
// the model must know:
//
//   casewright_features      the feature numbers, "1,2,3,4,5,6,7,8"
//   casewright_values        "codes" or "raw", what the rows held; a model
//                            without it (an older one) was trained on codes
//   casewright_class_values  the classes seen in training, "0,1"
//   casewright_version       the program that trained it
//   casewright_total_gain    each feature's total gain, "size:12.5,..."
//
// and the features' CSV column names as XGBoost's feature names ("size",
// or "size_raw" for raw values).
#ifndef CASEWRIGHT_LEARNER_SENTENCE_MODEL_H_
#define CASEWRIGHT_LEARNER_SENTENCE_MODEL_H_

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/case_values.h"
#include "core/features.h"

namespace casewright {

// Rows of feature codes or raw values: row i holds columns [i * width, (i + 1) * width).
struct CodeRows {
  std::size_t width = 0;
  std::vector<float> values;

  std::size_t size() const { return width == 0 ? 0 : values.size() / width; }
};

// Appends one row: `codes` holds the code digits of the ticked features in
// feature order, as a case holds them.
// REQUIRES: codes.size() == rows.width.
void AppendCodeRow(std::string_view codes, CodeRows& rows);
// Appends one row of raw values, in feature order.
// REQUIRES: values.size() == rows.width.
void AppendValueRow(const std::vector<double>& values, CodeRows& rows);

struct TrainingOptions {
  int rounds = 100;
  int depth = 4;
  std::uint64_t seed = 0;  // XGBoost takes its low 63 bits, a signed number
  unsigned threads = 1;
  std::string version;  // stored in the model
};

struct FeatureGain {
  std::string_view short_name;  // as FeatureInfo names it
  double gain = 0;
};

class SentenceModel {
 public:
  // Trains on `rows`, whose label is 1 for a sentence of class "1" and 0
  // for any other.  `class_values` are the classes seen, stored in the
  // model, as is `values`, what the rows hold.  The same rows, labels and
  // options give the same model bytes.
  // REQUIRES: rows.size() == labels.size() > 0; rows.width is the number of
  // features of `features`.
  static SentenceModel Train(FeatureSet features, CaseValues values, const CodeRows& rows,
                             const std::vector<float>& labels, const std::vector<std::string>& class_values,
                             const TrainingOptions& options);

  // Loads the model at `path`.  Throws RunError naming the file when it is
  // not a model this program trained.
  static SentenceModel Load(const std::string& path);

  SentenceModel(SentenceModel&&) noexcept;
  SentenceModel& operator=(SentenceModel&&) noexcept;
  ~SentenceModel();

  // The model in XGBoost's JSON.
  std::string Json() const;

  FeatureSet features() const { return features_; }
  // What the rows it scores must hold: codes or raw values.
  CaseValues values() const { return values_; }
  const std::vector<std::string>& class_values() const { return class_values_; }

  // Each of the model's features, in feature order, with its total gain:
  // the sum over every split on it of the split's reduction of the loss
  // (XGBoost's importance "total_gain"); 0 for a feature no tree splits on.
  std::vector<FeatureGain> TotalGains() const;

  // The probability of class "1" for each row.
  // REQUIRES: rows.width is the number of the model's features.
  std::vector<double> Probabilities(const CodeRows& rows) const;

 private:
  struct Booster;
  SentenceModel(std::unique_ptr<Booster> booster, FeatureSet features, CaseValues values,
                std::vector<std::string> class_values);

  std::unique_ptr<Booster> booster_;
  FeatureSet features_;
  CaseValues values_;
  std::vector<std::string> class_values_;
};

// The feature numbers of `features`, "1,2,8", as the model stores them.
std::string FeatureNumbers(FeatureSet features);

}  // namespace casewright

#endif  // CASEWRIGHT_LEARNER_SENTENCE_MODEL_H_
