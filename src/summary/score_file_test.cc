#include "summary/score_file.h"

#include <gtest/gtest.h>

#include "core/run_error.h"

namespace casewright {
namespace {

const char kWeka[] =
    "\n=== Predictions on test data ===\n\n"
    " inst#     actual  predicted error distribution\n"
    "     1        2:1        1:0   +   *0.7,0.3 \n"
    "     2        1:0        1:0       *0.9,0.1 \n"
    "     3        2:1        2:1       0.2,*0.8 \n\n";

const char kWekaUnlabelled[] =
    "=== Predictions on test data ===\n\n"
    " inst#     actual  predicted error distribution\n"
    "     1        1:?        1:0       *0.6,0.4 \n";

TEST(ScoreFileTest, ReadsEachForm) {
  struct Case {
    const char* contents;
    std::size_t sentences;
    std::vector<double> expected;
  };
  for (const Case& c : {
           Case{"0.1\n0.9\r\n-2e-1\n\n", 3, {0.1, 0.9, -0.2}},
           Case{"text,sentence,score\na.txt,2,0.2\nb.txt,1,0.7\n./a.txt,1,0.4\n", 2, {0.4, 0.2}},
           Case{"sentence,score\n2,1\n1,0\n", 2, {0, 1}},
           Case{"\"text\",sentence,score\n\"a.txt\",1,0.5\n", 1, {0.5}},
           // Out-of-fold scores of two repeats: repeat 1's are read.
           Case{"text,repeat,sentence,score\na.txt,2,1,0.3\na.txt,1,1,0.6\na.txt,2,2,0.1\na.txt,1,2,0.2\n", 2,
                {0.6, 0.2}},
           Case{kWeka, 3, {0.3, 0.1, 0.8}},
           Case{kWekaUnlabelled, 1, {0.4}},
       }) {
    EXPECT_EQ(ParseScores(c.contents, "s", "a.txt", c.sentences), c.expected) << c.contents;
  }
  EXPECT_EQ(ParseScores("text,sentence,score\n\"a,b.txt\",1,3\n", "s", "a,b.txt", 1), std::vector<double>{3});
}

TEST(ScoreFileTest, RefusesNamingTheFileAndLine) {
  struct Case {
    const char* contents;
    std::size_t sentences;
    const char* error;
  };
  for (const Case& c : {
           Case{"0.1\n0.2\n0.3\n0.4\n", 3, "s:4: The file holds 4 scores, but the text has only 3 sentences"},
           Case{"0.1\n0.2\n", 3, "s: The file holds 2 scores, but the text has 3 sentences"},
           Case{"0.1\nabc\n0.3\n", 3, "s:2: \"abc\" is not a number"},
           Case{"0.1\nnan\n", 2, "s:2: \"nan\" is not a number"},
           Case{"0.1\n\n0.3\n", 3, "s:2: A blank line among the scores: every sentence needs one"},
           Case{"", 3, "s: The file holds no score"},
           Case{"scores\n0.1\n", 1,
                "s:1: \"scores\" is not a number, nor a CSV header with the columns sentence and score, nor Weka's "
                "predictions"},
           Case{"text,sentence,score\nb.txt,1,0.7\nc.txt,1,0.7\n", 1,
                "s: The file holds no row of the text a.txt (it holds b.txt, c.txt)"},
           Case{"sentence,score\n1,0.5\n1,0.6\n", 2, "s:3: Sentence 1 already has a score, on line 2"},
           Case{"sentence,score\n1,0.5\n", 2, "s: The file holds no score for sentence 2 of 2"},
           Case{"sentence,score\n3,0.5\n", 2, "s:2: Sentence 3 is out of range: the text has 2 sentences"},
           Case{"sentence,score\n1,x\n", 1, "s:2: \"x\" is not a number"},
           Case{"sentence,score\n1\n", 1, "s:2: The row has 1 field, the header 2"},
           Case{"=== Predictions on test data ===\n inst# actual predicted error prediction\n 1 1:? 1:0 0.6\n", 1,
                "s:2: Weka's predictions hold no distribution: run Weka with -p 0 -distribution"},
           Case{kWeka, 2, "s:7: The file holds 3 scores, but the text has only 2 sentences"},
       }) {
    try {
      ParseScores(c.contents, "s", "a.txt", c.sentences);
      ADD_FAILURE() << "accepted " << c.contents;
    } catch (const RunError& e) {
      EXPECT_EQ(e.Describe(), c.error);
    }
  }
}

}  // namespace
}  // namespace casewright
