// The model loader on arbitrary bytes as a model file, and scoring with what
// it loads, as `summarize --model` does.  Properties: the loader either
// refuses with an error naming the file or gives a model of at least one
// feature, which scores a row with one probability or fails with XGBoost's
// message.
#include <cmath>
#include <optional>
#include <string>

#include "core/run_error.h"
#include "fuzz_check.h"
#include "learner/sentence_model.h"
#include "testing/temp_dir.h"

namespace {

using namespace casewright;

std::optional<SentenceModel> LoadOrRefuse(const std::string& path) {
  try {
    return SentenceModel::Load(path);
  } catch (const RunError& e) {
    FUZZ_CHECK(e.path() == path);
    return std::nullopt;
  }
}

void CheckScores(const SentenceModel& model) {
  CodeRows row;
  for (const FeatureInfo& info : kFeatures) row.width += model.features().Has(info.feature);
  row.values.assign(row.width, 1.0f);
  try {
    const std::vector<double> p = model.Probabilities(row);
    FUZZ_CHECK(p.size() == 1);
    FUZZ_CHECK(std::isnan(p[0]) || (p[0] >= 0 && p[0] <= 1));
  } catch (const RunError& e) {
    FUZZ_CHECK(std::string(e.what()).starts_with("XGBoost: "));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const testing::TempDir dir;
  const std::string path = dir.Path("m.json");
  testing::WriteFile(path, std::string_view(reinterpret_cast<const char*>(data), size));
  const std::optional<SentenceModel> model = LoadOrRefuse(path);
  if (!model) return 0;
  FUZZ_CHECK(model->features() != FeatureSet::None());
  CheckScores(*model);
  return 0;
}
