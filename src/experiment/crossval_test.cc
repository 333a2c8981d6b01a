#include "experiment/crossval.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "core/progress.h"
#include "experiment/ablation.h"
#include "summary/summary_figures.h"

namespace casewright {
namespace {

TEST(CrossvalTest, FoldsDealEveryTextToOneFoldOfNearlyEqualSize) {
  for (std::size_t texts : {2, 7, 1000}) {
    for (std::size_t folds : {std::size_t{2}, std::size_t{3}, texts}) {
      const std::vector<std::size_t> fold = FoldOfEachText(texts, folds, 5);
      ASSERT_EQ(fold.size(), texts);
      std::vector<std::size_t> sizes(folds);
      for (std::size_t f : fold) ++sizes.at(f);
      const auto [smallest, largest] = std::minmax_element(sizes.begin(), sizes.end());
      EXPECT_GE(*smallest, texts / folds) << texts << " texts, " << folds << " folds";
      EXPECT_LE(*largest - *smallest, 1u) << texts << " texts, " << folds << " folds";
    }
  }
  EXPECT_EQ(FoldOfEachText(50, 10, 5), FoldOfEachText(50, 10, 5));
  EXPECT_NE(FoldOfEachText(50, 10, 5), FoldOfEachText(50, 10, 6));
  // The first repeat is the seed's own draw; the others differ.
  const FoldAssignment repeated = DrawFolds(50, 10, 3, 5);
  EXPECT_EQ(repeated.fold_of[0], FoldOfEachText(50, 10, 5));
  EXPECT_NE(repeated.fold_of[1], repeated.fold_of[0]);
  EXPECT_NE(repeated.fold_of[2], repeated.fold_of[1]);
}

FeatureSet SizeAndCue() {
  FeatureSet features = FeatureSet::None();
  features.Set(Feature::kSentenceSize);
  features.Set(Feature::kCuePhrases);
  return features;
}

// Six texts of six sentences whose class is their cue phrase code, mostly:
// one sentence in six goes against it, so that folds score differently.
CorpusCases SmallCorpus() {
  CorpusCases corpus;
  corpus.class_values = {"0", "1"};
  for (TokenId t = 0; t < 6; ++t) {
    TextCases& text = corpus.texts.emplace_back();
    for (TokenId s = 0; s < 6; ++s) {
      const bool cue = (s + t) % 3 == 0;
      text.codes.push_back(std::string(1, "1234"[(s * t) % 4]) + (cue ? "1" : "0"));
      text.classes.push_back(cue != (s == t) ? "1" : "0");
      text.tokens.push_back({s, 10 + s + t, 20});
    }
  }
  return corpus;
}

CrossvalSettings SmallSettings() {
  CrossvalSettings settings;
  settings.features = SizeAndCue();
  settings.rate = 0.34;
  settings.seed = 3;
  settings.training.rounds = 5;
  return settings;
}

const std::vector<std::string> kNames = {"t0", "t1", "t2", "t3", "t4", "t5"};

// The mean of the figure `figure` (a FigureNames() index) over the rows of
// `system` in `repeat`.
double MeanOf(const std::vector<EvaluationRow>& rows, const std::string& system, std::size_t repeat,
              std::size_t figure) {
  double sum = 0;
  int count = 0;
  for (const EvaluationRow& row : rows) {
    if (row.system != system || row.repeat != repeat) continue;
    sum += *FigureValues(row)[figure];
    ++count;
  }
  return sum / count;
}

// Whatever the number of baselines, each text row carries its repeat; the
// fold hook sees every fold of every repeat, and what it throws stops the
// work before the next fold.
TEST(CrossvalTest, TextRowsCarryTheirRepeatAndTheFoldHookSeesEachFold) {
  CrossvalSettings settings = SmallSettings();
  settings.random = false;
  std::vector<std::pair<std::size_t, std::size_t>> folds_done;
  settings.fold_done = [&](std::size_t done, std::size_t total) { folds_done.emplace_back(done, total); };
  const CrossvalOutcome outcome = CrossValidate(SmallCorpus(), kNames, DrawFolds(6, 3, 2, settings.seed), settings);
  ASSERT_EQ(outcome.rows.size(), 2 * 6 * 2 + 2u);
  for (std::size_t r = 0; r < 24; ++r) EXPECT_EQ(outcome.rows[r].repeat, r / 12 + 1) << r;
  ASSERT_EQ(folds_done.size(), 6u);
  EXPECT_EQ(folds_done.back(), std::make_pair(std::size_t{6}, std::size_t{6}));

  int calls = 0;
  settings.fold_done = [&](std::size_t, std::size_t) {
    ++calls;
    throw RunCancelled();
  };
  EXPECT_THROW(CrossValidate(SmallCorpus(), kNames, DrawFolds(6, 3, 1, settings.seed), settings), RunCancelled);
  EXPECT_EQ(calls, 1);
}

TEST(CrossvalTest, RepeatsGiveRowsScoresAndDeviationsAcrossRepeats) {
  const CorpusCases corpus = SmallCorpus();
  const CrossvalSettings settings = SmallSettings();
  const CrossvalOutcome outcome = CrossValidate(corpus, kNames, DrawFolds(6, 3, 2, settings.seed), settings);
  ASSERT_EQ(outcome.rows.size(), 2 * 6 * 3 + 3u);
  EXPECT_EQ(outcome.rows[0].repeat, 1u);
  EXPECT_EQ(outcome.rows[18].repeat, 2u);
  EXPECT_TRUE(outcome.rows[0].auc && outcome.rows[0].average_precision) << "the model ranks";
  EXPECT_FALSE(outcome.rows[1].auc) << "the lead baseline scores no sentence";

  // The random baseline of a text is seeded by its name and size alone.
  std::vector<bool> flags;
  for (const std::string& c : corpus.texts[4].classes) flags.push_back(c == "1");
  const Reference reference = ExtractReference(corpus.texts[4].tokens, flags);
  RandomChoice random(RandomBaselineSeed(settings.seed, "t4", 6));
  const SummaryFigures expected = MeanOfRandomDraws(corpus.texts[4].tokens, 2, reference, random, 100);
  EXPECT_EQ(outcome.rows[4 * 3 + 2].text, "t4");
  EXPECT_EQ(outcome.rows[4 * 3 + 2].rouge1.f1, expected.rouge1.f1);

  // Sample deviations (n - 1) of the per-repeat means: 0 for the lead,
  // which the folds do not change.
  const EvaluationRow& model_mean = outcome.rows[36];
  const EvaluationRow& lead_mean = outcome.rows[37];
  ASSERT_EQ(model_mean.system, "model");
  const std::size_t auc = std::find(FigureNames().begin(), FigureNames().end(), "auc") - FigureNames().begin();
  const std::size_t sentence_f1 = 2;
  ASSERT_EQ(FigureNames()[auc], "auc");
  const double a = MeanOf(outcome.rows, "model", 1, auc), b = MeanOf(outcome.rows, "model", 2, auc);
  ASSERT_NE(a, b);
  EXPECT_DOUBLE_EQ(*model_mean.deviations[auc], std::abs(a - b) / std::sqrt(2.0));
  EXPECT_EQ(*lead_mean.deviations[sentence_f1], 0);

  ASSERT_EQ(outcome.scores.size(), 2u);
  EXPECT_EQ(outcome.scores[1][5].size(), 6u);
  const std::string csv = OutOfFoldScoresCsv(outcome, kNames);
  EXPECT_TRUE(csv.starts_with("text,repeat,sentence,score\nt0,1,1,")) << csv.substr(0, 80);
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 1 + 2 * 36);
}

// Leaving out the cue phrase, which the classes follow, costs the model;
// the table compares each run with all the features on the same texts.
TEST(CrossvalTest, AblationComparesEachFeatureLeftOutWithAll) {
  const CorpusCases corpus = SmallCorpus();
  const CrossvalSettings settings = SmallSettings();
  const FoldAssignment folds = DrawFolds(6, 3, 1, settings.seed);
  const std::vector<AblationLine> lines =
      Ablate(corpus, kNames, folds, settings, CrossValidate(corpus, kNames, folds, settings), 200);
  ASSERT_EQ(lines.size(), 3 * 8u);  // the six F1 figures, AUC and average precision
  EXPECT_EQ(lines[0].left_out, "none");
  EXPECT_FALSE(lines[0].difference);
  const auto cue_auc = std::find_if(lines.begin(), lines.end(), [](const AblationLine& line) {
    return line.left_out == "cue_phrase" && line.figure == "auc";
  });
  ASSERT_NE(cue_auc, lines.end());
  EXPECT_EQ(cue_auc->difference->pairs, 6u);
  EXPECT_LT(cue_auc->difference->mean_difference, -0.2);
  EXPECT_LE(cue_auc->interval->low, *cue_auc->mean);
  EXPECT_EQ(AblationCsv(lines).substr(0, AblationCsv(lines).find('\n')),
            "left_out,figure,mean,low,high,difference,difference_low,difference_high,bootstrap_p,wilcoxon_p");
}

}  // namespace
}  // namespace casewright
