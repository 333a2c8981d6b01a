#include "summary/paired_test.h"

#include <cstdlib>
#include <sstream>
#include <vector>

#include <gtest/gtest.h>

#include "summary/bootstrap.h"
#include "testing/run_command.h"

namespace casewright {
namespace {

TEST(PairedTestTest, WorkedByHand) {
  // Ranks 1..4 with signs + + + -: the smaller rank sum is 4, and 7 of the
  // 16 sign assignments have a sum at most 4.
  EXPECT_DOUBLE_EQ(WilcoxonSignedRankP(std::vector<double>{0.1, 0.2, 0.3, -0.4}), 2 * 7.0 / 16);
  // Zeros are dropped; nothing left is no evidence at all.
  EXPECT_DOUBLE_EQ(WilcoxonSignedRankP(std::vector<double>{0, 0}), 1);
  EXPECT_DOUBLE_EQ(WilcoxonSignedRankP(std::vector<double>{0, 0.5}), 1);
  const std::vector<double> sorted = {1, 2, 3, 4};
  EXPECT_DOUBLE_EQ(Percentile(sorted, 0.5), 2.5);
  EXPECT_DOUBLE_EQ(Percentile(sorted, 0.025), 1.075);

  const std::vector<double> same = {0.5, 0.5, 0.5};
  const Interval flat = MeanInterval(same, 100, 0);
  EXPECT_DOUBLE_EQ(flat.low, 0.5);
  EXPECT_DOUBLE_EQ(flat.high, 0.5);
  const PairedTest tie = ComparePaired(same, same, 100, 0);
  EXPECT_EQ(tie.mean_difference, 0);
  EXPECT_EQ(tie.bootstrap_p, 1);
  EXPECT_EQ(tie.wilcoxon_p, 1);
  // Always better by 0.1 to 0.3: every resample is above 0, so p is 0 and
  // the interval lies within the differences' range.
  const std::vector<double> a = {0.4, 0.5, 0.6, 0.7}, b = {0.3, 0.3, 0.3, 0.4};
  const PairedTest better = ComparePaired(a, b, 1000, 7);
  EXPECT_DOUBLE_EQ(better.mean_difference, 0.225);
  EXPECT_EQ(better.bootstrap_p, 0);
  EXPECT_GE(better.interval.low, 0.1);
  EXPECT_LE(better.interval.high, 0.3 + 1e-12);
  EXPECT_DOUBLE_EQ(better.wilcoxon_p, 2.0 / 16);
}

// The differences of 0 .. count - 1 with some ties and zeros, deterministic.
std::vector<double> Differences(int count, int tie_every) {
  std::vector<double> d;
  for (int i = 0; i < count; ++i) {
    const int magnitude = tie_every > 0 ? 1 + i / tie_every : 1 + i;
    d.push_back((i % 3 == 1 ? -1 : 1) * magnitude / 64.0 * (i % 11 == 5 ? 0 : 1));
  }
  return d;
}

// scipy.stats.wilcoxon on the same differences, exact below 26 non-zero
// differences and approximate above, as this program computes it.  SciPy's
// exact form refuses zeros, so it is given the non-zero differences, which
// is what dropping the zeros means; its exact form has no ties either.
TEST(PairedTestTest, WilcoxonAgreesWithSciPy) {
  if (testing::RunShell("/usr/bin/python3 -c 'import scipy'").status != 0) {
    if (std::getenv("CASEWRIGHT_REQUIRE_TOOLS")) FAIL() << "SciPy is missing (python3-scipy)";
    GTEST_SKIP() << "SciPy is missing (python3-scipy)";
  }
  const std::vector<std::vector<double>> cases = {Differences(12, 0), Differences(25, 0), Differences(27, 0),
                                                  Differences(40, 3), Differences(80, 7)};
  for (const std::vector<double>& d : cases) {
    std::ostringstream list;
    std::size_t nonzero = 0;
    for (double x : d) nonzero += x != 0;
    for (double x : d) {
      if (x != 0 || nonzero > 25) list << x << ",";
    }
    const std::string mode = nonzero <= 25 ? "exact" : "approx";
    const std::string script = "import scipy.stats as s; print(repr(s.wilcoxon([" + list.str() +
                               "], zero_method='wilcox', correction=True, mode='" + mode + "').pvalue))";
    const auto result = testing::RunShell("/usr/bin/python3 -W ignore -c " + testing::ShellQuoted(script));
    ASSERT_EQ(result.status, 0) << result.output;
    EXPECT_NEAR(WilcoxonSignedRankP(d), std::stod(result.output), 1e-6) << mode << " " << list.str();
  }
}

}  // namespace
}  // namespace casewright
