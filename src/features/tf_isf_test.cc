#include "features/tf_isf.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "testing/run_builder.h"

namespace casewright {
namespace {

using testing::TestRun;

// Whether some word of `sentence` has the key `word`.
bool SentenceContainsWord(const Run& run, WordId word, const frase& sentence) {
  const std::span<const WordId> words = run.Words(sentence);
  return std::find(words.begin(), words.end(), word) != words.end();
}

// The value of one sentence as the plain definition computes it: a table of
// the sentence's keys in first-occurrence order, and each key's n counted by
// testing every sentence of the text.
double ReferenceTfIsf(const Run& run, const frase& s) {
  std::vector<std::pair<WordId, double>> entries;
  for (WordId id : run.Words(s)) {
    auto it = entries.begin();
    while (it != entries.end() && it->first != id) ++it;
    if (it == entries.end()) {
      entries.push_back({id, 1.0});
    } else {
      it->second += 1.0;
    }
  }
  const auto n_sentences = static_cast<std::int32_t>(run.sentence_list.size());
  double tf_isf = 0.0;
  for (auto& [id, weight] : entries) {
    std::int32_t n = 0;
    for (const frase& r : run.sentence_list) n += SentenceContainsWord(run, id, r) ? 1 : 0;
    weight = static_cast<double>(
        log10l(static_cast<long double>(n_sentences) / static_cast<long double>(n)) *
        static_cast<long double>(weight));
    tf_isf += weight;
  }
  return tf_isf / static_cast<double>(s.WordCount);
}

TEST(TfIsfTest, WorkedExample) {
  TestRun t;
  t.AddSentence({"gato", "rato", "gato"});
  t.AddSentence({"rato", "queijo"});
  t.AddSentence({"queijo", "mesa"});
  ComputeTfIsf(t.run);

  EXPECT_NEAR(t.run.sentence_list[0].TfIsf, 0.376778, 5e-7);
  EXPECT_NEAR(t.run.sentence_list[1].TfIsf, 0.176091, 5e-7);
  EXPECT_NEAR(t.run.sentence_list[2].TfIsf, 0.326606, 5e-7);
  for (const frase& s : t.run.sentence_list) {
    EXPECT_EQ(std::bit_cast<std::uint64_t>(s.TfIsf),
              std::bit_cast<std::uint64_t>(ReferenceTfIsf(t.run, s)));
  }
}

// Many sentences sharing keys at random, repeated keys and empty sentences
// among them: every value must match the plain definition to the bit.
TEST(TfIsfTest, MatchesPlainDefinitionBitForBit) {
  TestRun t;
  std::mt19937 random(7);
  std::uniform_int_distribution<int> length(0, 12);
  std::uniform_int_distribution<int> key(0, 40);
  for (int i = 0; i < 200; ++i) {
    std::vector<std::string> keys;
    for (int n = length(random); n > 0; --n) keys.push_back("k" + std::to_string(key(random)));
    t.AddSentence(keys);
  }
  ComputeTfIsf(t.run);
  for (const frase& s : t.run.sentence_list) {
    if (s.WordCount == 0) continue;
    ASSERT_EQ(std::bit_cast<std::uint64_t>(s.TfIsf),
              std::bit_cast<std::uint64_t>(ReferenceTfIsf(t.run, s)));
  }
}

TEST(TfIsfTest, EdgeCases) {
  {
    SCOPED_TRACE("one sentence: every term is log10(1)");
    TestRun t;
    t.AddSentence({"gato", "gato", "rato"});
    ComputeTfIsf(t.run);
    EXPECT_EQ(t.run.sentence_list[0].TfIsf, 0.0);
  }
  {
    SCOPED_TRACE("a key in every sentence adds nothing but counts in T");
    TestRun t;
    t.AddSentence({"a", "b"});
    t.AddSentence({"a"});
    ComputeTfIsf(t.run);
    EXPECT_DOUBLE_EQ(t.run.sentence_list[0].TfIsf, std::log10(2.0) / 2);
    EXPECT_EQ(t.run.sentence_list[1].TfIsf, 0.0);
  }
  {
    SCOPED_TRACE("an empty sentence gets 0 and still counts in N");
    TestRun t;
    t.AddSentence({"a", "b"});
    t.AddSentence({});
    t.AddSentence({"", "a"});
    ComputeTfIsf(t.run);
    EXPECT_DOUBLE_EQ(t.run.sentence_list[0].TfIsf, (std::log10(3.0 / 2) + std::log10(3.0)) / 2);
    EXPECT_EQ(t.run.sentence_list[1].TfIsf, 0.0);
    EXPECT_DOUBLE_EQ(t.run.sentence_list[2].TfIsf, (std::log10(3.0) + std::log10(3.0 / 2)) / 2);
  }
}

TEST(SentenceContainsWordTest, FindsAnyPositionAndNothingInAnEmptySentence) {
  TestRun t;
  t.AddSentence({"a", "b", "c"});
  t.AddSentence({});
  EXPECT_TRUE(SentenceContainsWord(t.run, t.Id("a"), t.run.sentence_list[0]));
  EXPECT_TRUE(SentenceContainsWord(t.run, t.Id("c"), t.run.sentence_list[0]));
  EXPECT_FALSE(SentenceContainsWord(t.run, t.Id("c"), t.run.sentence_list[1]));
}

}  // namespace
}  // namespace casewright
