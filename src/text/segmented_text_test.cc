#include "text/segmented_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testing/memory_tables.h"
#include "testing/temp_dir.h"

namespace casewright {
namespace {

using testing::TempDir;
using testing::WriteFile;

struct Listed {
  std::string original;
  bool begins;
  bool ends;
  std::string keys;
  bool operator==(const Listed&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Listed& s) {
  return os << "{" << s.original << ", " << s.begins << s.ends << ", " << s.keys << "}";
}

class SegmentedTextTest : public ::testing::Test {
 protected:
  std::vector<Listed> ListOf(const std::string& bytes, TextEncoding encoding) {
    WriteFile(dir_.Path("text"), bytes);
    SegmentedText text(dir_.Path("text"), encoding, tables_);
    std::vector<Listed> listed;
    for (std::size_t i = 0; i < text.size(); ++i) {
      listed.push_back({text.Original(i), text.BeginsParagraph(i), text.EndsParagraph(i), text.Keys(i)});
    }
    tail_ = text.Tail();
    return listed;
  }

  TempDir dir_;
  MemoryTables tables_{{{"casas", "casa"}}};
  std::string tail_;
};

TEST_F(SegmentedTextTest, SentencesAsTheFileHasThemInEitherEncoding) {
  // A lone LF, a lone CR and CR LF; a character with no Windows-1252 form
  // (read as a blank, shown as it is) and a byte-order mark.
  const std::vector<Listed> utf8 = ListOf(
      "\xEF\xBB\xBF" "As casas\xE2\x80\x89\xC5\x9D\xC3\xA3o\nbonitas.\r\r\n'Sim!' Fim.\rResto",
      TextEncoding::kUtf8);
  EXPECT_EQ(utf8, (std::vector<Listed>{{"As casas\xE2\x80\x89\xC5\x9D\xC3\xA3o bonitas.", true, true,
                                        "as casa \xC3\xA3o bonitas"},
                                       {"'Sim!", true, false, "sim"},
                                       {"' Fim.", false, true, " fim"}}));
  EXPECT_EQ(tail_, "Resto");

  const std::vector<Listed> cp1252 = ListOf("Casas s\xE3o\tbonitas.\r\nFim!", TextEncoding::kWindows1252);
  EXPECT_EQ(cp1252, (std::vector<Listed>{{"Casas s\xC3\xA3o bonitas.", true, true, "casa s\xC3\xA3o bonitas"},
                                         {"Fim!", true, true, "fim"}}));
  EXPECT_EQ(tail_, "");
}

// An excerpt is cut at 120 bytes, never inside a character.
TEST(QuotedExcerptTest, LongTextsAreCutBetweenCharacters) {
  const std::string a119(119, 'a');
  EXPECT_EQ(QuotedExcerpt(a119 + "b"), "\"" + a119 + "b\"");
  EXPECT_EQ(QuotedExcerpt(a119 + "bc"), "\"" + a119 + "b...\"");
  EXPECT_EQ(QuotedExcerpt(a119 + "\xC3\xA9"), "\"" + a119 + "...\"");
  EXPECT_EQ(QuotedExcerpt(a119.substr(1) + "\xE2\x82\xAC"), "\"" + a119.substr(1) + "...\"");
}

}  // namespace
}  // namespace casewright
