#include "learner/sentence_model.h"

#include <charconv>
#include <cstdio>
#include <optional>

#include "core/read_file.h"
#include "core/run_error.h"
#include "learner/model_check.h"
#include "learner/xgboost_library.h"

namespace casewright {

namespace {

constexpr const char* kFeaturesAttribute = "casewright_features";
constexpr const char* kValuesAttribute = "casewright_values";
constexpr const char* kClassValuesAttribute = "casewright_class_values";
constexpr const char* kVersionAttribute = "casewright_version";
constexpr const char* kTotalGainAttribute = "casewright_total_gain";
// Far more than a model of a few hundred trees over eight features takes.
constexpr std::size_t kMaxModelBytes = 256u << 20;

// XGBoost's message about the last failure: its first line, without the
// time and source place it starts with (the lines after are a stack trace).
std::string XgboostError() {
  std::string message = Xgboost().XGBGetLastError();
  message = message.substr(0, message.find('\n'));
  if (message.starts_with('[')) {
    const std::size_t place_end = message.find(": ", message.find(']'));
    if (place_end != std::string::npos) message.erase(0, place_end + 2);
  }
  return message;
}

// Throws RunError with XGBoost's own message when a call failed.
void Check(int status) {
  if (status != 0) throw RunError("XGBoost: " + XgboostError());
}

std::string Joined(const std::vector<std::string>& items) {
  std::string joined;
  for (const std::string& item : items) joined += (joined.empty() ? "" : ",") + item;
  return joined;
}

std::vector<std::string> Split(std::string_view list) {
  std::vector<std::string> items;
  while (!list.empty()) {
    std::size_t comma = list.find(',');
    items.emplace_back(list.substr(0, comma));
    list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
  }
  return items;
}

// The feature set "1,2,8" names, or nothing when it names none or not only
// feature numbers.
std::optional<FeatureSet> FeaturesNamed(std::string_view numbers) {
  FeatureSet features = FeatureSet::None();
  bool any = false;
  for (const std::string& item : Split(numbers)) {
    int number = 0;
    auto [end, error] = std::from_chars(item.data(), item.data() + item.size(), number);
    if (error != std::errc() || end != item.data() + item.size() || number < 1 || number > kFeatureCount) {
      return std::nullopt;
    }
    features.Set(kFeatures[number - 1].feature);
    any = true;
  }
  if (!any) return std::nullopt;
  return features;
}

// Whether `bytes` start as the JSON text of a model: `{`, then after any
// blanks the `"` of the first key.  XGBoost reads bytes that start with `{`
// and a letter as its binary JSON, whose reader trusts the lengths it reads
// (eighteen bytes crash it), and bytes that start otherwise as its old
// binary format, where stray bytes can ask for an allocation of exabytes.
bool StartsAsJsonText(std::string_view bytes) {
  if (!bytes.starts_with('{')) return false;
  const std::size_t key = bytes.find_first_not_of(" \t\r\n", 1);
  return key != std::string_view::npos && bytes[key] == '"';
}

// A DMatrix over `rows`, freed with the guard.
class Matrix {
 public:
  explicit Matrix(const CodeRows& rows) {
    Check(Xgboost().XGDMatrixCreateFromMat(rows.values.data(), rows.size(), rows.width, -1.0f, &handle_));
  }
  ~Matrix() { Xgboost().XGDMatrixFree(handle_); }
  Matrix(const Matrix&) = delete;
  Matrix& operator=(const Matrix&) = delete;
  DMatrixHandle get() const { return handle_; }

 private:
  DMatrixHandle handle_ = nullptr;
};

// XGBoost says what it does on stderr unless told not to.
void QuietenXgboost() {
  static const bool quiet = [] { return Xgboost().XGBSetGlobalConfig(R"({"verbosity": 0})") == 0; }();
  (void)quiet;
}

}  // namespace

struct SentenceModel::Booster {
  BoosterHandle handle = nullptr;

  explicit Booster(const DMatrixHandle* matrices, bst_ulong count) {
    QuietenXgboost();
    Check(Xgboost().XGBoosterCreate(matrices, count, &handle));
  }
  ~Booster() { Xgboost().XGBoosterFree(handle); }

  // The attribute `key`, or nothing when the model has none.
  std::optional<std::string> Attribute(const char* key) const {
    const char* value = nullptr;
    int found = 0;
    Check(Xgboost().XGBoosterGetAttr(handle, key, &value, &found));
    if (!found) return std::nullopt;
    return std::string(value);
  }
};

std::string FeatureNumbers(FeatureSet features) {
  std::vector<std::string> numbers;
  for (const FeatureInfo& info : kFeatures) {
    if (features.Has(info.feature)) numbers.push_back(std::to_string(info.number));
  }
  return Joined(numbers);
}

void AppendCodeRow(std::string_view codes, CodeRows& rows) {
  for (char code : codes) rows.values.push_back(static_cast<float>(code - '0'));
}

void AppendValueRow(const std::vector<double>& values, CodeRows& rows) {
  for (double value : values) rows.values.push_back(static_cast<float>(value));
}

SentenceModel::SentenceModel(std::unique_ptr<Booster> booster, FeatureSet features, CaseValues values,
                             std::vector<std::string> class_values)
    : booster_(std::move(booster)), features_(features), values_(values), class_values_(std::move(class_values)) {}
SentenceModel::SentenceModel(SentenceModel&&) noexcept = default;
SentenceModel& SentenceModel::operator=(SentenceModel&&) noexcept = default;
SentenceModel::~SentenceModel() = default;

SentenceModel SentenceModel::Train(FeatureSet features, CaseValues values, const CodeRows& rows,
                                   const std::vector<float>& labels, const std::vector<std::string>& class_values,
                                   const TrainingOptions& options) {
  Matrix matrix(rows);
  Check(Xgboost().XGDMatrixSetFloatInfo(matrix.get(), "label", labels.data(), labels.size()));
  const DMatrixHandle matrices[] = {matrix.get()};
  auto booster = std::make_unique<Booster>(matrices, 1);
  const std::pair<const char*, std::string> parameters[] = {
      {"objective", "binary:logistic"},
      {"tree_method", "hist"},
      {"max_depth", std::to_string(options.depth)},
      {"seed", std::to_string(options.seed & INT64_MAX)},
      {"nthread", std::to_string(options.threads)},
  };
  for (const auto& [name, value] : parameters) {
    Check(Xgboost().XGBoosterSetParam(booster->handle, name, value.c_str()));
  }
  for (int round = 0; round < options.rounds; ++round) {
    Check(Xgboost().XGBoosterUpdateOneIter(booster->handle, round, matrix.get()));
  }
  std::vector<std::string> columns;
  for (const FeatureInfo& info : kFeatures) {
    if (features.Has(info.feature)) columns.push_back(ColumnName(info, values));
  }
  std::vector<const char*> names;
  for (const std::string& column : columns) names.push_back(column.c_str());
  Check(Xgboost().XGBoosterSetStrFeatureInfo(booster->handle, "feature_name", names.data(), names.size()));
  Check(Xgboost().XGBoosterSetAttr(booster->handle, kFeaturesAttribute, FeatureNumbers(features).c_str()));
  Check(Xgboost().XGBoosterSetAttr(booster->handle, kValuesAttribute, std::string(CaseValuesName(values)).c_str()));
  Check(Xgboost().XGBoosterSetAttr(booster->handle, kClassValuesAttribute, Joined(class_values).c_str()));
  Check(Xgboost().XGBoosterSetAttr(booster->handle, kVersionAttribute, options.version.c_str()));
  SentenceModel model(std::move(booster), features, values, class_values);
  std::string gains;
  for (const FeatureGain& feature : model.TotalGains()) {
    char gain[32];
    std::snprintf(gain, sizeof gain, "%.6g", feature.gain);
    gains += (gains.empty() ? "" : ",") + std::string(feature.short_name) + ":" + gain;
  }
  Check(Xgboost().XGBoosterSetAttr(model.booster_->handle, kTotalGainAttribute, gains.c_str()));
  return model;
}

SentenceModel SentenceModel::Load(const std::string& path) {
  const std::optional<std::string> bytes = ReadWholeFile(path, kMaxModelBytes);
  if (!bytes) throw RunError("Not a model file (larger than 256 MiB)", path);
  if (!StartsAsJsonText(*bytes)) {
    throw RunError("Not a model file (not the JSON of an XGBoost model)", path);
  }
  if (const std::optional<std::string> fault = ModelFault(*bytes)) throw RunError("Not a model file (" + *fault + ")", path);
  auto booster = std::make_unique<Booster>(nullptr, 0);
  if (Xgboost().XGBoosterLoadModelFromBuffer(booster->handle, bytes->data(), bytes->size()) != 0) {
    throw RunError("Not a model file (XGBoost: " + XgboostError() + ")", path);
  }
  const std::optional<std::string> numbers = booster->Attribute(kFeaturesAttribute);
  const std::optional<FeatureSet> features = numbers ? FeaturesNamed(*numbers) : std::nullopt;
  if (!features) throw RunError("Not a model trained by casewright-cli train (no feature set stored)", path);
  const std::string values_name = booster->Attribute(kValuesAttribute).value_or("codes");
  const std::optional<CaseValues> values = CaseValuesNamed(values_name);
  if (!values) {
    throw RunError("Not a model this casewright-cli can use (its casewright_values is \"" + values_name +
                       "\", not codes or raw)",
                   path);
  }
  std::vector<std::string> class_values = Split(booster->Attribute(kClassValuesAttribute).value_or(""));
  // A loaded model scores the sentences of a text or a few: starting a pool
  // of threads for them costs more than it saves.
  Check(Xgboost().XGBoosterSetParam(booster->handle, "nthread", "1"));
  return SentenceModel(std::move(booster), *features, *values, std::move(class_values));
}

std::string SentenceModel::Json() const {
  bst_ulong length = 0;
  const char* bytes = nullptr;
  Check(Xgboost().XGBoosterSaveModelToBuffer(booster_->handle, R"({"format": "json"})", &length, &bytes));
  return std::string(bytes, length);
}

std::vector<FeatureGain> SentenceModel::TotalGains() const {
  bst_ulong named = 0, dimensions = 0;
  const char** names = nullptr;
  const bst_ulong* shape = nullptr;
  const float* gains = nullptr;
  Check(Xgboost().XGBoosterFeatureScore(booster_->handle, R"({"importance_type": "total_gain"})", &named, &names,
                                        &dimensions, &shape, &gains));
  std::vector<FeatureGain> result;
  for (const FeatureInfo& info : kFeatures) {
    if (!features_.Has(info.feature)) continue;
    FeatureGain& feature = result.emplace_back(FeatureGain{info.short_name, 0});
    // XGBoost names only the features some split uses.
    const std::string column = ColumnName(info, values_);
    for (bst_ulong i = 0; i < named; ++i) {
      if (names[i] == column) feature.gain = gains[i];
    }
  }
  return result;
}

std::vector<double> SentenceModel::Probabilities(const CodeRows& rows) const {
  if (rows.size() == 0) return {};
  Matrix matrix(rows);
  bst_ulong length = 0;
  const float* result = nullptr;
  Check(Xgboost().XGBoosterPredict(booster_->handle, matrix.get(), 0, 0, 0, &length, &result));
  return std::vector<double>(result, result + length);
}

}  // namespace casewright
