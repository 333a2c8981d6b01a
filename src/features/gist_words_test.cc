#include "features/gist_words.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testing/run_builder.h"
#include "features/stopwords.h"

namespace casewright {
namespace {

using testing::ListedKeys;
using testing::SentenceFlags;
using testing::TestRun;

TEST(GistWordsTest, LastSentenceOfGreatestWeightIsTheGist) {
  TestRun t;
  t.AddSentence({"um"});
  t.AddSentence({"dois"});
  t.AddSentence({"tres"});
  t.AddSentence({"quatro"});
  t.run.sentence_list[0].DistributionWeight = 1.0;
  t.run.sentence_list[1].DistributionWeight = 2.0;
  t.run.sentence_list[2].DistributionWeight = 2.0;
  t.run.sentence_list[3].DistributionWeight = 1.5;
  SuppressStopwords(t.run);
  MarkGistWords(t.run);
  EXPECT_EQ(ListedKeys(t.run, t.run.gist_word_list), std::vector<std::string>{"tres"});
  EXPECT_EQ(SentenceFlags(t.run, &frase::HasGistWord),
            (std::vector<bool>{false, false, true, false}));
}

TEST(GistWordsTest, AllWeightsZeroPicksTheLastSentence) {
  TestRun t;
  t.AddSentence({"um", "dois"});
  t.AddSentence({"dois"});
  t.AddSentence({"tres"});
  SuppressStopwords(t.run);
  MarkGistWords(t.run);
  EXPECT_EQ(ListedKeys(t.run, t.run.gist_word_list), std::vector<std::string>{"tres"});
  EXPECT_EQ(SentenceFlags(t.run, &frase::HasGistWord), (std::vector<bool>{false, false, true}));
}

TEST(GistWordsTest, ListKeepsRepetitionsAndLeavesOutStopwords) {
  TestRun t(MemoryTables({}, {"de", ""}));
  t.AddSentence({"casa", "de", "pedra"});
  t.AddSentence({"de", ""});
  t.AddSentence({"pedra", "de", "", "pedra", "casa", "pedra"});
  SuppressStopwords(t.run);
  MarkGistWords(t.run);
  EXPECT_EQ(ListedKeys(t.run, t.run.gist_word_list),
            (std::vector<std::string>{"pedra", "pedra", "casa", "pedra"}));
  // Shared stopwords and empty keys do not make the second sentence match.
  EXPECT_EQ(SentenceFlags(t.run, &frase::HasGistWord), (std::vector<bool>{true, false, true}));
}

TEST(GistWordsTest, GistWithoutNonStopwordsMarksNothing) {
  for (std::vector<std::string> gist :
       {std::vector<std::string>{"de", "a"}, std::vector<std::string>{}}) {
    TestRun t(MemoryTables({}, {"de", "a"}));
    t.AddSentence({"casa", "de", "a"});
    t.AddSentence(gist);
    SuppressStopwords(t.run);
    MarkGistWords(t.run);
    EXPECT_TRUE(t.run.gist_word_list.empty());
    EXPECT_EQ(SentenceFlags(t.run, &frase::HasGistWord), (std::vector<bool>{false, false}));
  }
}

TEST(GistWordsTest, NoSentence) {
  TestRun t;
  t.run.word_table.Count("solta");
  SuppressStopwords(t.run);
  MarkGistWords(t.run);
  EXPECT_TRUE(t.run.gist_word_list.empty());
}

}  // namespace
}  // namespace casewright
