#include "learner/sentence_model.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "core/run_error.h"
#include "testing/temp_dir.h"

namespace casewright {
namespace {

using testing::TempDir;

FeatureSet SizeAndCue() {
  FeatureSet features = FeatureSet::None();
  features.Set(Feature::kSentenceSize);
  features.Set(Feature::kCuePhrases);
  return features;
}

// Sentences of size 4 with a cue phrase are in the summary; the rest not.
struct Cases {
  CodeRows rows{2, {}};
  std::vector<float> labels;
  Cases() {
    for (int i = 0; i < 200; ++i) {
      const std::string codes = std::string(1, "1234"[i % 4]) + "01"[i % 3 == 0];
      AppendCodeRow(codes, rows);
      labels.push_back(codes == "41" ? 1 : 0);
    }
  }
};

SentenceModel TrainOn(const Cases& cases, unsigned seed) {
  TrainingOptions options;
  options.rounds = 20;
  options.seed = seed;
  options.version = "test";
  return SentenceModel::Train(SizeAndCue(), CaseValues::kCodes, cases.rows, cases.labels, {"0", "1"}, options);
}

TEST(SentenceModelTest, LearnsSavesAndLoadsTheSameModel) {
  const Cases cases;
  const SentenceModel model = TrainOn(cases, 7);
  EXPECT_EQ(model.Json(), TrainOn(cases, 7).Json());
  EXPECT_NE(model.Json().find(R"("num_trees":"20")"), std::string::npos);  // one tree a round

  TempDir dir;
  const std::string path = dir.Path("model.json");
  testing::WriteFile(path, model.Json());
  const SentenceModel loaded = SentenceModel::Load(path);
  EXPECT_EQ(loaded.features(), SizeAndCue());
  EXPECT_EQ(loaded.class_values(), (std::vector<std::string>{"0", "1"}));
  EXPECT_EQ(FeatureNumbers(loaded.features()), "1,8");

  CodeRows probe{2, {}};
  AppendCodeRow("41", probe);
  AppendCodeRow("20", probe);
  const std::vector<double> p = loaded.Probabilities(probe);
  ASSERT_EQ(p.size(), 2u);
  EXPECT_GT(p[0], 0.9);
  EXPECT_LT(p[1], 0.1);
  EXPECT_EQ(p, model.Probabilities(probe));
}

// A feature no tree can split on (every sentence of size 2) gains nothing;
// XGBoost leaves it out of its scores, the model gives it 0.
TEST(SentenceModelTest, GivesEachFeaturesTotalGainAndStoresIt) {
  CodeRows rows{2, {}};
  std::vector<float> labels;
  for (int i = 0; i < 100; ++i) {
    AppendCodeRow(i % 3 == 0 ? "21" : "20", rows);
    labels.push_back(i % 3 == 0 ? 1 : 0);
  }
  TrainingOptions options;
  options.rounds = 5;
  const SentenceModel model =
      SentenceModel::Train(SizeAndCue(), CaseValues::kCodes, rows, labels, {"0", "1"}, options);
  const std::vector<FeatureGain> gains = model.TotalGains();
  ASSERT_EQ(gains.size(), 2u);
  EXPECT_EQ(gains[0].short_name, "size");
  EXPECT_EQ(gains[0].gain, 0);
  EXPECT_EQ(gains[1].short_name, "cue_phrase");
  EXPECT_GT(gains[1].gain, 10);
  char stored[64];
  std::snprintf(stored, sizeof stored, R"("casewright_total_gain":"size:0,cue_phrase:%.6g")", gains[1].gain);
  EXPECT_NE(model.Json().find(stored), std::string::npos) << model.Json().substr(0, 400);
  // A model of raw values names its columns as the CSV layout does, and
  // finds its gains under those names.
  const SentenceModel raw = SentenceModel::Train(SizeAndCue(), CaseValues::kRaw, rows, labels, {"0", "1"}, options);
  EXPECT_EQ(raw.TotalGains()[1].gain, gains[1].gain);
  EXPECT_NE(raw.Json().find(R"("cue_phrase_raw")"), std::string::npos);
}

// `model` with its first `from` made `to`.
std::string Damaged(std::string model, std::string_view from, std::string_view to) {
  const std::size_t at = model.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  return at == std::string::npos ? model : model.replace(at, from.size(), to);
}

// XGBoost's reader trusts what a model says of itself: each broken promise
// is refused before it reads the file.
TEST(SentenceModelTest, RefusesFilesThatAreNotItsModels) {
  TempDir dir;
  const Cases cases;
  const std::string trained = TrainOn(cases, 1).Json();
  std::string foreign = trained;
  foreign.replace(foreign.find("casewright_features"), 19, "casewright_featurez");
  const std::pair<std::string, std::string> files[] = {
      {"not json", "Not a model file (not the JSON of an XGBoost model)"},
      // Binary JSON whose length field crashed XGBoost's reader.
      {std::string("{L\0\0\0\0\0\x80\0\0learner}", 18), "Not a model file (not the JSON of an XGBoost model)"},
      {"{\"learner\": 1}", "Not a model file (not binary logistic trees of one output)"},
      {Damaged(trained, "\"num_target\":\"1\"", "\"num_target\":\"2\""),
       "Not a model file (not binary logistic trees of one output)"},
      {Damaged(trained, "\"num_trees\":\"20\"", "\"num_trees\":\"21\""),
       "Not a model file (it counts other trees than it holds)"},
      {Damaged(trained, "\"left_children\":[1,", "\"left_children\":[0,"),
       "Not a model file (a node's children are not nodes after it in its tree)"},
      {Damaged(trained, "\"parents\":[2147483647,0", "\"parents\":[2147483647,-2"),
       "Not a model file (a node's parent is not a node before it in its tree)"},
      {Damaged(trained, "\"split_indices\":[", "\"split_indices\":[2,"),
       "Not a model file (a tree's lists do not have one entry per node)"},
      {Damaged(trained, "\"split_indices\":[0", "\"split_indices\":[2"),
       "Not a model file (a split reads a feature the model does not have)"},
      {foreign, "Not a model trained by casewright-cli train (no feature set stored)"},
  };
  for (const auto& [bytes, message] : files) {
    const std::string path = dir.Path("model.json");
    testing::WriteFile(path, bytes);
    try {
      SentenceModel::Load(path);
      ADD_FAILURE() << "loaded " << bytes.substr(0, 20);
    } catch (const RunError& e) {
      EXPECT_EQ(e.path(), path);
      EXPECT_EQ(std::string(e.what()).substr(0, message.size()), message);
    }
  }
}

}  // namespace
}  // namespace casewright
