// The segmenter against a deliberately literal version of the rules, on
// random texts: a character at a time, a sentence buffer and a word buffer,
// a look-ahead that walks the text anew for every period, and a word table
// searched from its head.  Every record and every count must agree.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "testing/memory_tables.h"
#include "text/charclass.h"
#include "text/segment.h"

namespace casewright {
namespace {

struct LiteralSentence {
  std::string text;
  std::vector<std::string> keys;
  bool ends_paragraph;
};

struct LiteralResult {
  std::vector<LiteralSentence> sentences;
  std::vector<std::pair<std::string, double>> table;
};

bool LiteralSentenceEnd(const std::string& t, std::size_t p) {
  if (t[p] == '!' || t[p] == '?') return true;
  if (t[p] != '.') return false;
  if (p + 1 == t.size()) return true;
  auto d = static_cast<unsigned char>(t[p + 1]);
  if (d != '"' && d != '\'' && (IsWordChar(d) || IsPunctuation(d))) return false;
  for (std::size_t j = p + 2; j < t.size(); ++j) {
    auto c = static_cast<unsigned char>(t[j]);
    if (IsWordChar(c)) return !(c >= 'a' && c <= 'z');
  }
  return true;
}

LiteralResult LiteralSegment(const std::string& t, const LexicalTables& tables) {
  LiteralResult result;
  std::string sentence, word;
  std::vector<std::string> keys;
  auto close = [&] {
    std::string stripped;
    for (char c : word) {
      if (!IsPunctuation(static_cast<unsigned char>(c))) stripped += c;
    }
    std::string key = tables.Canonicalize(NormalizeWord(stripped));
    auto entry = result.table.begin();
    while (entry != result.table.end() && entry->first != key) ++entry;
    if (entry == result.table.end()) {
      result.table.emplace_back(key, 1.0);
    } else {
      entry->second += 1.0;
    }
    keys.push_back(key);
    word.clear();
  };
  for (std::size_t i = 0; i < t.size(); ++i) {
    auto c = static_cast<unsigned char>(t[i]);
    if (IsWordChar(c) || IsPunctuation(c) || (c == '.' && !LiteralSentenceEnd(t, i))) {
      sentence += t[i];
      word += t[i];
    } else if (LiteralSentenceEnd(t, i)) {
      if (!word.empty()) close();
      std::size_t j = i + 1;
      while (j < t.size() && t[j] == ' ') ++j;
      bool ends = j + 1 < t.size() && ((t[j] == '\r' && t[j + 1] == '\n') || (t[j] == '\n' && t[j + 1] == '\r'));
      result.sentences.push_back({sentence, keys, ends});
      sentence.clear();
      keys.clear();
    } else if (!word.empty()) {
      close();
      sentence += '#';
    }
  }
  return result;
}

// Random text from pieces that meet every rule: both cases, accents, digits,
// punctuation on words, abbreviations, runs of terminators, quotes, blanks,
// line breaks of every kind and separators of every sort.
std::string RandomText(std::mt19937& random) {
  static const std::vector<std::string> pieces = {
      "Casa", "casa", "CASAS", "casas,", "(casa)", "\xC1gua", "\xE1gua", "\xF3timo", "e", "E", "de", "3.5",
      "e.g.", "Sr.", "Dr.Silva", "fim", "fim.", "fim...", ".", "!", "?", "!!", "\"", "'", "(", "),", " ", " ",
      " ", "  ", "\t", "\r\n", "\n", "\r", "\n\r", "#", "=", "\x93", "\xF1", "x-y", "a_b", "@", "\xBA"};
  std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
  std::uniform_int_distribution<int> length(0, 120);
  std::string text;
  for (int n = length(random); n > 0; --n) text += pieces[pick(random)];
  return text;
}

TEST(SegmentReferenceTest, AgreesWithTheLiteralRulesOnRandomTexts) {
  MemoryTables tables(std::map<std::string, std::optional<std::string>>{{"casas", "casa"}, {"\xE1gua", "agua"}, {"e", "e"}});
  std::mt19937 random(11);
  for (int round = 0; round < 3000; ++round) {
    const std::string text = RandomText(random);
    SCOPED_TRACE(::testing::PrintToString(text));
    casewright::Run run(tables, {});
    SegmentText(run, text);
    LiteralResult expected = LiteralSegment(text, tables);

    ASSERT_EQ(run.sentence_list.size(), expected.sentences.size());
    for (std::size_t s = 0; s < expected.sentences.size(); ++s) {
      const frase& got = run.sentence_list[s];
      EXPECT_EQ(SentenceText(text, got), expected.sentences[s].text);
      EXPECT_EQ(got.EndsParagraph, expected.sentences[s].ends_paragraph);
      ASSERT_EQ(static_cast<std::size_t>(got.WordCount), expected.sentences[s].keys.size());
      const std::span<const WordId> words = run.Words(got);
      for (std::size_t w = 0; w < words.size(); ++w) {
        EXPECT_EQ(run.word_table[words[w]].Word, expected.sentences[s].keys[w]);
      }
    }
    std::vector<std::pair<std::string, double>> table;
    for (const palavra& p : run.word_table) table.emplace_back(p.Word, p.Weight);
    EXPECT_EQ(table, expected.table);
  }
}

}  // namespace
}  // namespace casewright
