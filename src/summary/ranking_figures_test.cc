#include "summary/ranking_figures.h"

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "testing/run_command.h"

namespace casewright {
namespace {

TEST(RankingFiguresTest, WorkedByHandWithTiesAndDegenerateReferences) {
  // Scores 0.9 (in), 0.5 (in), 0.5 (out), 0.1 (out): of the 4 pairs, 3 are
  // won and 1 tied, AUC 3.5 / 4.  The 0.5 pair enters together: precision 1
  // at recall 1/2, then 2/3 at recall 1, AP (1 + 2/3) / 2.
  const RankingFigures tied = RankingFiguresOf({0.9, 0.5, 0.5, 0.1}, {true, true, false, false});
  EXPECT_DOUBLE_EQ(*tied.auc, 3.5 / 4);
  EXPECT_DOUBLE_EQ(*tied.average_precision, (1 + 2.0 / 3) / 2);
  const RankingFigures flat = RankingFiguresOf({0.3, 0.3, 0.3}, {false, true, false});
  EXPECT_DOUBLE_EQ(*flat.auc, 0.5);
  EXPECT_DOUBLE_EQ(*flat.average_precision, 1.0 / 3);
  for (const std::vector<bool>& degenerate : {std::vector<bool>{true, true}, std::vector<bool>{false, false}}) {
    const RankingFigures none = RankingFiguresOf({0.2, 0.7}, degenerate);
    EXPECT_FALSE(none.auc);
    EXPECT_FALSE(none.average_precision);
  }
}

// scikit-learn's roc_auc_score and average_precision_score on scores with
// many ties (a few distinct values) and on scores without.
TEST(RankingFiguresTest, AgreesWithScikitLearn) {
  if (testing::RunShell("/usr/bin/python3 -c 'import sklearn'").status != 0) {
    if (std::getenv("CASEWRIGHT_REQUIRE_TOOLS")) FAIL() << "scikit-learn is missing (python3-sklearn)";
    GTEST_SKIP() << "scikit-learn is missing (python3-sklearn)";
  }
  for (int distinct : {3, 1000}) {
    std::vector<double> scores;
    std::vector<bool> reference;
    std::ostringstream y, s;
    for (int i = 0; i < 60; ++i) {
      scores.push_back(((i * 37) % 101 % distinct) / 100.0);
      reference.push_back((i * 13) % 7 < 3 - (i % 5 == 0));
      y << reference.back() << ",";
      s << scores.back() << ",";
    }
    const std::string script = "from sklearn.metrics import roc_auc_score as a, average_precision_score as p; y=[" +
                               y.str() + "]; s=[" + s.str() + "]; print(repr(a(y, s)), repr(p(y, s)))";
    const auto result = testing::RunShell("/usr/bin/python3 -W ignore -c " + testing::ShellQuoted(script));
    ASSERT_EQ(result.status, 0) << result.output;
    std::istringstream figures(result.output);
    double auc = 0, average_precision = 0;
    figures >> auc >> average_precision;
    const RankingFigures ours = RankingFiguresOf(scores, reference);
    EXPECT_NEAR(*ours.auc, auc, 1e-12) << distinct;
    EXPECT_NEAR(*ours.average_precision, average_precision, 1e-12) << distinct;
  }
}

}  // namespace
}  // namespace casewright
