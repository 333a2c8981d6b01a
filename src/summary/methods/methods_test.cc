#include <cstdlib>
#include <sstream>

#include <gtest/gtest.h>

#include "summary/methods/lexrank.h"
#include "summary/methods/lsa.h"
#include "summary/methods/luhn.h"
#include "summary/methods/registry.h"
#include "summary/methods/textrank.h"
#include "testing/run_command.h"

namespace casewright {
namespace {

using Chosen = std::vector<std::size_t>;

// Tokens are letters; `o` and `de` are the stopwords.
struct HandText {
  explicit HandText(const std::vector<std::string>& sentences) {
    TokenVocabulary vocabulary;
    for (const std::string& sentence : sentences) {
      std::istringstream words(sentence);
      tokens.emplace_back();
      stopwords.emplace_back();
      for (std::string word; words >> word;) {
        tokens.back().push_back(vocabulary.Id(word));
        stopwords.back().push_back(word == "o" || word == "de");
      }
    }
  }
  MethodText View() const { return {tokens, stopwords, &features, reference ? &*reference : nullptr}; }
  Chosen Choose(std::string_view method, std::size_t count) const { return MakeMethod(method)->Choose(View(), count); }

  SentenceTokens tokens;
  StopwordFlags stopwords;
  std::vector<RawFeatures> features;
  std::optional<Reference> reference;
};

// Content tokens a b c | a b d | a e | f g h | x: counts a 3, b 2, the rest 1.
const HandText kText({"a b o c", "a b de d", "a e", "f g h", "x"});

TEST(MethodsTest, GraphMethodsRankTheConnectedSentences) {
  // TextRank: S0-S1 share a, b (2 / (ln 3 + ln 3)); S0-S2 and S1-S2 share a;
  // S3 shares nothing and S4 has one token, so no edge.
  const std::vector<double> textrank = MakeMethod("textrank")->Scores(kText.View());
  EXPECT_EQ(kText.Choose("textrank", 3), (Chosen{0, 1, 2}));
  EXPECT_LT(textrank[2], textrank[0]);
  EXPECT_EQ(textrank[3], textrank[4]);
  EXPECT_NEAR(TextRankGraph(ContentTokens(kText.View())).edges[0][0].second, 2 / (2 * std::log(3.0)), 1e-12);
  // LexRank: cos(S0, S1) = 0.298, cos(S0, S2) = 0.080, below the threshold:
  // only continuous LexRank links S2.
  const std::vector<double> lexrank = MakeMethod("lexrank")->Scores(kText.View());
  EXPECT_EQ(kText.Choose("lexrank", 2), (Chosen{0, 1}));
  EXPECT_EQ(lexrank[2], lexrank[3]);
  const std::vector<double> continuous = MakeMethod("lexrank-continuous")->Scores(kText.View());
  EXPECT_GT(continuous[2], continuous[3]);
  EXPECT_EQ(kText.Choose("lexrank-continuous", 3), (Chosen{0, 1, 2}));
}

TEST(MethodsTest, LuhnClustersBreakAfterFourInsignificantTokens) {
  // Significant: a and b (twice or more, not stopwords).
  EXPECT_EQ(MakeMethod("luhn")->Scores(kText.View()), (std::vector<double>{2, 2, 1, 0, 0}));
  // Four insignificant tokens between a and b: one cluster, 2^2 / 6; five:
  // two clusters of 1^2 / 1.
  const HandText gaps({"a o o o o b", "a o o o o o b"});
  EXPECT_EQ(MakeMethod("luhn")->Scores(gaps.View()), (std::vector<double>{4.0 / 6, 1}));
}

TEST(MethodsTest, SumBasicSquaresWhatItHasChosen) {
  // p(a) = p(b) = 0.4, p(c) = 0.2: S0 first, then a and b fall to 0.16 and
  // S2 (0.2) beats S1, which the best scores alone would take.
  const HandText text({"a b", "b a de", "c"});
  EXPECT_EQ(text.Choose("sumbasic", 2), (Chosen{0, 2}));
  EXPECT_EQ(MakeMethod("sumbasic")->Scores(text.View()), (std::vector<double>{3, 1, 2}));
}

TEST(MethodsTest, LsaKeepsTheDimensionsOfAtLeastHalfTheLargestSingularValue) {
  // Binary rows a 110, b 110, c 001: singular values 2 and 1 (exactly half,
  // kept), so S0 and S1 score sqrt(4 / 2), S2 scores 1.
  const HandText text({"a a b", "a b", "c"});
  EXPECT_EQ(TermSentenceMatrix(ContentTokens(text.View())),
            (std::vector<std::vector<double>>{{1, 1, 0}, {1, 1, 0}, {0, 0, 1}}));
  const std::vector<double> scores = MakeMethod("lsa")->Scores(text.View());
  ASSERT_EQ(scores.size(), 3u);
  EXPECT_NEAR(scores[0], std::sqrt(2.0), 1e-9);
  EXPECT_NEAR(scores[1], std::sqrt(2.0), 1e-9);
  EXPECT_NEAR(scores[2], 1, 1e-9);
  // Stopwords only: every sentence alike.
  EXPECT_EQ(MakeMethod("lsa")->Scores(HandText({"o", "de"}).View()), (std::vector<double>{0, 0}));
}

TEST(MethodsTest, FeatureValueAndOracle) {
  HandText text({"a b c", "d e f", "a b c d", "x y"});
  text.features = {{}, {}, {}, {}};
  for (std::size_t i = 0; i < 4; ++i) text.features[i][static_cast<int>(Feature::kTfIsf)] = i % 2 ? 0.5 : 0.25;
  EXPECT_EQ(text.Choose("feature:7", 2), (Chosen{1, 3}));
  // Against the extract {S1}: S1 first; then S3 adds the fewest bigrams.
  text.reference = ExtractReference(text.tokens, {false, true, false, false});
  EXPECT_EQ(text.Choose("oracle", 1), (Chosen{1}));
  EXPECT_EQ(text.Choose("oracle", 2), (Chosen{1, 3}));
  // Against "a b c d" in its own words, S2 alone is the reference.
  const std::vector<TokenId> abstract(text.tokens[2].begin(), text.tokens[2].end());
  text.reference = AbstractReference({abstract});
  EXPECT_EQ(text.Choose("oracle", 1), (Chosen{2}));
}

TEST(MethodsTest, RegistryKnowsEveryMethodByName) {
  HandText text = kText;
  text.features.resize(text.tokens.size());
  text.reference = ExtractReference(text.tokens, {true, false, false, false, false});
  for (const MethodInfo& info : Methods()) {
    const std::string name = info.name == "feature:N" ? "feature:8" : std::string(info.name);
    ASSERT_NE(MakeMethod(name), nullptr) << name;
    EXPECT_EQ(MakeMethod(name)->Name(), name);
    EXPECT_TRUE(MakeMethod(name)->Choose(text.View(), 0).empty()) << name;
    EXPECT_EQ(MakeMethod(name)->Choose(text.View(), 5), (Chosen{0, 1, 2, 3, 4})) << name;
  }
  EXPECT_EQ(MakeMethod("feature:16")->Name(), "feature:16");
  for (const char* unknown : {"feature:0", "feature:17", "feature:016", "feature:", "feature:N", "TextRank", ""}) {
    EXPECT_EQ(MakeMethod(unknown), nullptr) << unknown;
  }
  EXPECT_EQ(MethodNames(), "textrank, lexrank, lexrank-continuous, luhn, sumbasic, lsa, feature:N, oracle");
}

// A text of 60 sentences of 3 to 12 tokens out of 40, drawn by a fixed rule.
SentenceTokens DrawnText() {
  SentenceTokens text(60);
  std::uint64_t state = 12345;
  const auto next = [&state] { return (state = state * 6364136223846793005u + 1442695040888963407u) >> 33; };
  for (auto& sentence : text) {
    for (std::size_t t = 3 + next() % 10; t > 0; --t) sentence.push_back(static_cast<TokenId>(next() % 40));
  }
  return text;
}

bool HasNetworkX() {
  if (testing::RunShell("/usr/bin/python3 -c 'import networkx, numpy'").status == 0) return true;
  if (std::getenv("CASEWRIGHT_REQUIRE_TOOLS")) ADD_FAILURE() << "networkx or NumPy is missing";
  return false;
}

// networkx.pagerank on the same weighted graph, converged far beyond 1e-6.
TEST(MethodsTest, PageRankAgreesWithNetworkX) {
  if (!HasNetworkX()) GTEST_SKIP() << "networkx is missing (python3-networkx)";
  const SentenceTokens text = DrawnText();
  const std::vector<SentenceGraph> graphs = {TextRankGraph(text), LexRankGraph(text, false),
                                             LexRankGraph(text, true)};
  // One line of ranks per graph, from one Python, which takes a while to
  // import networkx.
  std::ostringstream lists;
  lists.precision(17);
  for (const SentenceGraph& graph : graphs) {
    lists << "[";
    for (std::size_t i = 0; i < graph.edges.size(); ++i) {
      for (const auto& [j, weight] : graph.edges[i]) lists << "(" << i << "," << j << "," << weight << "),";
    }
    lists << "],";
  }
  const std::string script =
      "import networkx as nx\n"
      "for edges in [" + lists.str() + "]:\n"
      "  g = nx.Graph(); g.add_nodes_from(range(" + std::to_string(text.size()) + ")); "
      "g.add_weighted_edges_from(edges)\n"
      "  r = nx.pagerank(g, alpha=0.85, tol=1e-14, max_iter=10000)\n"
      "  print(' '.join(repr(r[i]) for i in range(len(r))))";
  const auto result = testing::RunShell("/usr/bin/python3 -c " + testing::ShellQuoted(script));
  ASSERT_EQ(result.status, 0) << result.output;
  std::istringstream expected(result.output);
  for (const SentenceGraph& graph : graphs) {
    for (double rank : PageRank(graph)) {
      double networkx = -1;
      expected >> networkx;
      EXPECT_NEAR(rank, networkx, 1e-6);
    }
  }
}

TEST(MethodsTest, SingularValuesAgreeWithNumPy) {
  if (!HasNetworkX()) GTEST_SKIP() << "NumPy is missing (python3-numpy)";
  const std::vector<std::vector<double>> matrix = TermSentenceMatrix(DrawnText());
  std::ostringstream rows;
  for (const std::vector<double>& row : matrix) {
    rows << "[";
    for (double value : row) rows << value << ",";
    rows << "],";
  }
  const std::string script = "import numpy as np; print(' '.join(repr(float(s)) for s in np.linalg.svd(np.array([" +
                             rows.str() + "]), compute_uv=False)))";
  const auto result = testing::RunShell("/usr/bin/python3 -c " + testing::ShellQuoted(script));
  ASSERT_EQ(result.status, 0) << result.output;
  std::istringstream expected(result.output);
  for (double value : SingularValues(matrix)) {
    double numpy = -1;
    expected >> numpy;
    EXPECT_NEAR(value, numpy, 1e-9);
  }
}

}  // namespace
}  // namespace casewright
