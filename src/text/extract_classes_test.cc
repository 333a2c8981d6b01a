#include "text/extract_classes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testing/memory_tables.h"
#include "testing/temp_dir.h"

namespace casewright {
namespace {

using testing::TempDir;
using testing::WriteFile;
using Classes = std::vector<std::string>;

class ExtractClassesTest : public ::testing::Test {
 protected:
  // The classes of `text` (Windows-1252) from `extract` (UTF-8).
  ExtractClasses ClassesOf(const std::string& text, const std::string& extract, double min_overlap = 0) {
    WriteFile(dir_.Path("text"), text);
    WriteFile(dir_.Path("extract"), extract);
    SegmentedText segmented(dir_.Path("text"), TextEncoding::kWindows1252, tables_);
    SegmentedText summary(dir_.Path("extract"), TextEncoding::kUtf8, tables_);
    return ClassesFromExtract(segmented.run(), summary, min_overlap);
  }

  TempDir dir_;
  MemoryTables tables_{{{"casas", "casa"}}};
};

TEST_F(ExtractClassesTest, SentencesWithTheExtractsKeysInAnyOrderAndSpelling) {
  const ExtractClasses found = ClassesOf("Um dois tr\xEAs. As casas! Seis, sete? \"Dez.\" Onze.",
                                         "SEIS\nsete.   Um dois TR\xC3\x8AS!\n'As casas'?");
  EXPECT_EQ(found.classes, (Classes{"1", "1", "1", "0", "0"}));
  EXPECT_EQ(found.chosen, 3u);
  EXPECT_TRUE(found.unmatched.empty());
  EXPECT_TRUE(found.repeated.empty());
  EXPECT_TRUE(found.warnings.empty()) << found.warnings[0];
}

TEST_F(ExtractClassesTest, ReportsSentencesMatchedNowhereOrMoreThanOnce) {
  const ExtractClasses found = ClassesOf("A b c. A b c. D e f.", "X y f. A b c. Sem fim");
  EXPECT_EQ(found.classes, (Classes{"1", "1", "0"}));
  ASSERT_EQ(found.unmatched.size(), 1u);
  EXPECT_EQ(found.unmatched[0],
            "Extract sentence 1 matches no sentence of the text (sentence 3 holds the most of its words: 1 of 3): "
            "\"X y f.\"");
  ASSERT_EQ(found.repeated.size(), 1u);
  EXPECT_NE(found.repeated[0].find("Extract sentence 2 matches 2 sentences of the text (1 and 2)"),
            std::string::npos)
      << found.repeated[0];
  ASSERT_EQ(found.warnings.size(), 1u);
  EXPECT_NE(found.warnings[0].find("\"Sem fim\""), std::string::npos) << found.warnings[0];

  EXPECT_EQ(ClassesOf("Um.", "no period").unmatched.size(), 1u);
}

TEST_F(ExtractClassesTest, OverlapCountsTheExtractSentencesKeysAsAMultiset) {
  // Three of the extract sentence's four keys: a share of exactly 0.75.
  const std::string text = "Um dois tr\xEAs quatro cinco. Um um seis.";
  const std::string extract = "Um dois tr\xC3\xAAs oito.";
  EXPECT_EQ(ClassesOf(text, extract, 0.75).classes, (Classes{"1", "0"}));
  const ExtractClasses above = ClassesOf(text, extract, 0.76);
  EXPECT_EQ(above.classes, (Classes{"0", "0"}));
  EXPECT_EQ(above.unmatched.size(), 1u);
  // "um" twice in the extract sentence: the first sentence shares one of
  // them and "dois", the second both; 2 of 3 keys each.
  EXPECT_EQ(ClassesOf(text, "Um um dois.", 0.67).classes, (Classes{"0", "0"}));
  EXPECT_EQ(ClassesOf(text, "Um um dois.", 2.0 / 3).classes, (Classes{"1", "1"}));
  EXPECT_EQ(ClassesOf(text, "Seis um um.", 1).classes, (Classes{"0", "1"}));
}

}  // namespace
}  // namespace casewright
