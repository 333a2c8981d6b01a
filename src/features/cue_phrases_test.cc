#include "features/cue_phrases.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "testing/run_builder.h"

namespace casewright {
namespace {

using testing::SentenceFlags;
using testing::TestRun;

TEST(CuePhrasesTest, MatchesWholeKeysByteForByte) {
  TestRun t(MemoryTables(
      {}, {}, {std::nullopt, "Portanto", "em resumo", "conclusao", "finalmente", "conclusao"}));
  t.AddSentence({"portanto", "saiu"});            // only the upper-case form is listed
  t.AddSentence({"em", "resumo"});                // a phrase never matches
  t.AddSentence({"a", "conclusao"});              // last word
  t.AddSentence({});                              // no word
  t.AddSentence({"conclusoes", "conclusa", ""});  // near misses
  MarkCuePhrases(t.run);
  EXPECT_EQ(SentenceFlags(t.run, &frase::HasCuePhrase),
            (std::vector<bool>{false, false, true, false, false}));
}

TEST(CuePhrasesTest, EmptyStringCueMatchesTheEmptyKey) {
  TestRun t(MemoryTables({}, {}, {""}));
  t.AddSentence({"ele", "", "disse"});
  t.AddSentence({"ele"});
  MarkCuePhrases(t.run);
  EXPECT_EQ(SentenceFlags(t.run, &frase::HasCuePhrase), (std::vector<bool>{true, false}));
}

TEST(CuePhrasesTest, EmptyCueTableMarksNothing) {
  TestRun t;
  t.AddSentence({"portanto"});
  MarkCuePhrases(t.run);
  EXPECT_EQ(SentenceFlags(t.run, &frase::HasCuePhrase), std::vector<bool>{false});
}

}  // namespace
}  // namespace casewright
