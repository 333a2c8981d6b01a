#include "text/extract_classes.h"

#include <gtest/gtest.h>

#include <set>
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
  ExtractClasses ClassesOf(const std::string& text, const std::string& extract, double min_overlap = 0,
                           bool lines = false) {
    WriteFile(dir_.Path("text"), text);
    WriteFile(dir_.Path("extract"), extract);
    SegmentedText segmented(dir_.Path("text"), TextEncoding::kWindows1252, tables_);
    return ClassesFromExtract(segmented.run(),
                              ExtractSettings{dir_.Path("extract"), TextEncoding::kUtf8, min_overlap, false, lines});
  }

  // The sentences of `text` as `sentences` lists them, in UTF-8.
  std::vector<std::string> SentencesOf(const std::string& text) {
    WriteFile(dir_.Path("text"), text);
    SegmentedText segmented(dir_.Path("text"), TextEncoding::kWindows1252, tables_);
    std::vector<std::string> sentences;
    for (std::size_t i = 0; i < segmented.size(); ++i) sentences.push_back(segmented.Original(i));
    return sentences;
  }

  TempDir dir_;
  MemoryTables tables_{{{"casas", "casa"}}};
};

// Sentences ending in a bracket, a digit or a quotation mark, a heading glued
// to its paragraph, a period a lower-case word follows, a sentence twice.
const std::string kGuide =
    "Introdu\xE7\xE3o\r\nEste guia explica o sistema de arquivos.\r\nO comando ls lista arquivos (veja o cap. 3). "
    "A vers\xE3o 2.5 saiu em 2024. Ele respondeu \"sim\". Veja tamb\xE9m.\r\n\r\nUso avan\xE7" "ado\r\nO terminal "
    "aceita\r\ncomandos. Use o ls. depois saia! Veja tamb\xE9m. Fim do guia (resumo).\r\n";

TEST_F(ExtractClassesTest, LabelsExactlyTheSentencesTakenHoweverTheExtractIsLaidOut) {
  const std::vector<std::string> sentences = SentencesOf(kGuide);
  ASSERT_EQ(sentences.size(), 10u) << ::testing::PrintToString(sentences);
  ASSERT_EQ(sentences[0], "Introdu\xC3\xA7\xC3\xA3o Este guia explica o sistema de arquivos.");
  ASSERT_EQ(sentences[2], "3).");
  ASSERT_EQ(sentences[7], "Use o ls. depois saia!");
  // Where the sentences stand in the file, for extracts with its own line
  // breaks.
  const std::vector<std::string> raw = {
      "Introdu\xC3\xA7\xC3\xA3o\nEste guia explica o sistema de arquivos.", "O comando ls lista arquivos (veja o cap.",
      "3).", "A vers\xC3\xA3o 2.5 saiu em 2024.", "Ele respondeu \"sim\".", "Veja tamb\xC3\xA9m.",
      "Uso avan\xC3\xA7" "ado\nO terminal aceita\ncomandos.", "Use o ls. depois saia!", "Veja tamb\xC3\xA9m.",
      "Fim do guia (resumo)."};
  const std::vector<std::set<std::size_t>> takes = {
      {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, {0, 2, 4, 6, 9}, {1, 3, 5, 6}, {6, 8}, {7, 8, 9}, {2, 4, 7}, {5, 8}};
  enum Layout { kLines, kLinesWithoutPeriods, kOneLine, kFileLineBreaks };
  for (const std::set<std::size_t>& taken : takes) {
    Classes expected(sentences.size(), "0");
    for (std::size_t i : taken) expected[i] = "1";
    for (Layout layout : {kLines, kLinesWithoutPeriods, kOneLine, kFileLineBreaks}) {
      std::string extract;
      for (std::size_t i : taken) {
        std::string sentence = layout == kFileLineBreaks ? raw[i] : sentences[i];
        if (layout == kLinesWithoutPeriods && sentence.back() == '.') sentence.pop_back();
        extract += sentence + (layout == kOneLine ? " " : "\n");
      }
      for (bool lines : {false, true}) {
        if (lines && layout != kLines && layout != kLinesWithoutPeriods) continue;
        const ExtractClasses found = ClassesOf(kGuide, extract, 0, lines);
        const std::string where = "layout " + std::to_string(layout) + (lines ? ", lines" : "") + ":\n" + extract;
        EXPECT_EQ(found.classes, expected) << where;
        EXPECT_EQ(found.chosen, taken.size()) << where;
        EXPECT_EQ(found.unmatched, Classes{}) << where;
        EXPECT_EQ(found.repeated, Classes{}) << where;
        EXPECT_EQ(found.warnings, Classes{}) << where;
      }
    }
  }
}

TEST_F(ExtractClassesTest, SentencesWithTheExtractsKeysInAnyOrderAndSpelling) {
  const ExtractClasses found = ClassesOf("Um dois tr\xEAs. As casas! Seis, sete? \"Dez.\" Onze.",
                                         "SEIS\nsete.   Um dois TR\xC3\x8AS!\n'As casas'?");
  EXPECT_EQ(found.classes, (Classes{"1", "1", "1", "0", "0"}));
  EXPECT_EQ(found.chosen, 3u);
  EXPECT_TRUE(found.unmatched.empty());
  EXPECT_TRUE(found.repeated.empty());
  EXPECT_TRUE(found.warnings.empty()) << found.warnings[0];
}

TEST_F(ExtractClassesTest, ReportsWhatMatchesNothingAndChoicesTheOrderLeavesOpen) {
  const ExtractClasses found = ClassesOf("A b c. A b c. D e f. G h i j.", "X y f. A b c. G h i j k l");
  EXPECT_EQ(found.classes, (Classes{"1", "0", "0", "1"}));
  EXPECT_EQ(found.unmatched,
            (Classes{"Extract sentence 1 matches no sentence of the text (sentence 3 holds the most of its words: 1 "
                     "of 3): \"X y f.\"",
                     "Extract sentence 3 has words that match no sentence of the text: \"k l\""}));
  EXPECT_EQ(found.repeated, Classes{"Extract sentence 2 matches 2 sentences of the text with the same words (1 and "
                                    "2), and the extract's order does not tell which; sentence 1 gets 1: \"A b c\""});
  EXPECT_TRUE(found.warnings.empty());

  const ExtractClasses lines = ClassesOf("Um dois tr\xEAs.", "\nUm dois tr\xC3\xAAs quatro\n", 0, true);
  EXPECT_EQ(lines.classes, Classes{"1"});
  EXPECT_EQ(lines.unmatched, Classes{"Extract line 2 has words that match no sentence of the text: \"quatro\""});
  EXPECT_EQ(ClassesOf("Um.", " ... ").unmatched, Classes{"The extract holds no word to compare"});
}

TEST_F(ExtractClassesTest, NearMatchesHoldTheShareOfTheSentencesKeysInOrder) {
  // Three of the sentence's four keys in order: a share of exactly 0.75.
  const std::string text = "Um dois tr\xEAs quatro. Cinco seis sete oito nove. Dez.";
  const std::string extract = "Um dois tr\xC3\xAAs oito. Cinco seis sete oito nove. Dez.";
  EXPECT_EQ(ClassesOf(text, extract, 0.75).classes, (Classes{"1", "1", "1"}));
  const ExtractClasses above = ClassesOf(text, extract, 0.76);
  EXPECT_EQ(above.classes, (Classes{"0", "1", "1"}));
  EXPECT_EQ(above.unmatched.size(), 1u);
  // The same keys out of order, glued to the next sentence.
  EXPECT_EQ(ClassesOf(text, "Quatro tr\xC3\xAAs dois um cinco seis sete oito nove.", 0.75).classes,
            (Classes{"0", "1", "0"}));
}

}  // namespace
}  // namespace casewright
