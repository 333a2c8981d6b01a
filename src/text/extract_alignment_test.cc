#include "text/extract_alignment.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace casewright {
namespace {

// The chosen sentences in stream order, as "2", "2~" (near) or "2=0,2"
// (sentences with the same keys the order allowed).
std::vector<std::string> Chosen(const std::vector<KeySequence>& sentences, const KeySequence& stream,
                                const std::vector<std::size_t>& breaks, double min_overlap = 0) {
  AlignmentInput input{sentences, stream, std::vector<bool>(stream.size() + 1, false), min_overlap};
  for (std::size_t b : breaks) input.breaks[b] = true;
  input.breaks.front() = input.breaks.back() = true;
  std::vector<std::string> chosen;
  for (const AlignedSentence& aligned : AlignExtract(input)) {
    std::string shown = std::to_string(aligned.sentence) + (aligned.near ? "~" : "");
    for (std::size_t i = 0; i < aligned.equals.size(); ++i) {
      shown += (i == 0 ? "=" : ",") + std::to_string(aligned.equals[i]);
    }
    chosen.push_back(shown);
  }
  return chosen;
}

using Names = std::vector<std::string>;

TEST(ExtractAlignmentTest, ExactMatchesInAnyOrderRepeatsOncePerOccurrence) {
  const std::vector<KeySequence> text = {{1, 2}, {7}, {3, 4}, {7}, {5}};
  struct Case {
    KeySequence stream;
    std::vector<std::size_t> breaks;
    Names chosen;
  };
  const Case cases[] = {
      {{5, 1, 2, 3, 4}, {}, {"4", "0", "2"}},  // out of order: aligned again
      {{3, 4, 7}, {}, {"2", "3"}},             // the order picks the second 7
      {{7, 3, 4}, {}, {"1", "2"}},             // and here the first
      {{7}, {}, {"1=1,3"}},                    // nothing tells which
      {{7, 7}, {}, {"1", "3"}},                // held twice, chosen twice
      {{7, 7, 7}, {1, 2}, {"1", "3"}},         // a third has no sentence left
      {{3, 4, 7, 1, 2}, {}, {"2", "3=1,3", "0"}},  // out of order: nothing tells
      {{1, 2, 3}, {2}, {"0"}},                 // half a sentence matches nothing
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Chosen(text, c.stream, c.breaks), c.chosen) << ::testing::PrintToString(c.stream);
  }
}

// A word the sentence repeats counts as often as both hold it.
TEST(ExtractAlignmentTest, ANearMatchCountsRepeatedWords) {
  EXPECT_EQ(Chosen({{1, 1, 1, 2}}, {1, 1, 1, 3}, {}, 0.75), Names{"0~"});
}

TEST(ExtractAlignmentTest, AShortMatchInsideAnUnmatchedExtractSentenceCosts) {
  const std::vector<KeySequence> text = {{9}, {1, 2, 3}, {4, 5, 6, 7, 8}};
  // One key beside unmatched keys of its extract sentence: not worth it.
  EXPECT_EQ(Chosen(text, {9, 8, 8}, {3}), Names{});
  // Its own extract sentence: taken.
  EXPECT_EQ(Chosen(text, {9, 8, 8}, {1, 3}), Names{"0"});
  // Three keys against one unmatched side: taken.
  EXPECT_EQ(Chosen(text, {1, 2, 3, 8, 8}, {5}), Names{"1"});
  // Keys another sentence takes, out of order, cost nothing.
  EXPECT_EQ(Chosen({{1}, {2}, {3}}, {3, 1, 2}, {}), (Names{"2", "0", "1"}));
}

TEST(ExtractAlignmentTest, NearMatchesOnlyWhereNoExactMatchIs) {
  const std::vector<KeySequence> text = {{1, 2, 3}, {4, 5, 6, 7, 8}, {0, 1, 2, 3, 4, 5}};
  // A changed word: 4 of 5 keys in order.
  EXPECT_EQ(Chosen(text, {4, 5, 9, 7, 8}, {}, 0.8), Names{"1~"});
  EXPECT_EQ(Chosen(text, {4, 5, 9, 7, 8}, {}, 0.81), Names{});
  // In order only: 5 4 6 7 8 holds 4 of them in order, 5 4 8 7 6 only 3.
  EXPECT_EQ(Chosen(text, {5, 4, 8, 7, 6}, {}, 0.8), Names{});
  // Merged with an exact match in one extract sentence.
  EXPECT_EQ(Chosen(text, {1, 2, 3, 4, 5, 9, 7, 8}, {}, 0.8), (Names{"0", "1~"}));
  // A sentence that merely holds the stretch's keys takes nothing from an
  // exact match.
  EXPECT_EQ(Chosen(text, {1, 2, 3}, {}, 0.5), Names{"0"});
}

}  // namespace
}  // namespace casewright
