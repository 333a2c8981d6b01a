#include "features/locations.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testing/run_builder.h"

namespace casewright {
namespace {

using testing::TestRun;

struct LocationCase {
  // One entry per sentence: whether it ends its paragraph.
  std::vector<bool> ends_paragraph;
  std::vector<std::string> text_locations;
  std::vector<std::string> paragraph_locations;
};

class LocationsTest : public ::testing::TestWithParam<LocationCase> {};

TEST_P(LocationsTest, LabelsEverySentence) {
  const LocationCase& c = GetParam();
  TestRun t;
  for (bool ends : c.ends_paragraph) t.AddSentence({"x"}, ends);
  MarkLocations(t.run);
  std::vector<std::string> text, paragraph;
  for (const frase& s : t.run.sentence_list) {
    text.emplace_back(s.TextLocation());
    paragraph.emplace_back(s.ParagraphLocation());
  }
  EXPECT_EQ(text, c.text_locations);
  EXPECT_EQ(paragraph, c.paragraph_locations);
}

// Paragraphs in brackets in the comments; the last sentence's flag is given
// both ways where it should make no difference.
INSTANTIATE_TEST_SUITE_P(
    Paragraphs, LocationsTest,
    ::testing::Values(
        // [s1 s2 s3] [s4] [s5 s6]
        LocationCase{{false, false, true, true, false, true},
                     {"begin", "begin", "begin", "middle", "end", "end"},
                     {"begin", "middle", "end", "begin", "middle", "end"}},
        LocationCase{{false, false, true, true, false, false},
                     {"begin", "begin", "begin", "middle", "end", "end"},
                     {"begin", "middle", "end", "begin", "middle", "end"}},
        // [s1 s2] [s3] [s4 s5]
        LocationCase{{false, true, true, false, true},
                     {"begin", "begin", "middle", "end", "end"},
                     {"begin", "end", "begin", "middle", "end"}},
        // [s1 s2 s3]
        LocationCase{{false, false, true}, {"begin", "end", "end"}, {"begin", "middle", "end"}},
        LocationCase{{false, false, false}, {"begin", "end", "end"}, {"begin", "middle", "end"}},
        // [s1] [s2 s3]
        LocationCase{{true, false, true}, {"begin", "end", "end"}, {"begin", "middle", "end"}},
        // [s1 s2] [s3 s4]
        LocationCase{{false, true, false, true},
                     {"begin", "begin", "end", "end"},
                     {"begin", "end", "begin", "end"}},
        // [s1] [s2] [s3 s4]
        LocationCase{{true, true, false, true},
                     {"begin", "middle", "end", "end"},
                     {"begin", "end", "begin", "end"}},
        // [s1]
        LocationCase{{true}, {"begin"}, {"end"}}, LocationCase{{false}, {"begin"}, {"end"}}));

TEST(LocationsEmptyTest, NoSentence) {
  TestRun t;
  MarkLocations(t.run);
  EXPECT_TRUE(t.run.sentence_list.empty());
}

}  // namespace
}  // namespace casewright
