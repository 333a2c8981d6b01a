#include "text/segment.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core/run_error.h"
#include "testing/memory_tables.h"
#include "text/charclass.h"
#include "text/load_text.h"

namespace casewright {
namespace {

struct Sentence {
  std::string text;
  int words;
  bool operator==(const Sentence&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Sentence& s) { return os << s.text << " (" << s.words << ")"; }

class Segmented {
 public:
  explicit Segmented(std::string_view text, MemoryTables tables = MemoryTables(),
                     SentenceBreaks breaks = SentenceBreaks::kTerminators)
      : tables_(std::move(tables)), text_(text), breaks_(breaks), run_(tables_, {}) {
    SegmentText(run_, text_, breaks);
  }

  // Each sentence's span in the text.
  std::vector<std::string> Spans(std::string_view text) const {
    std::vector<std::string> spans;
    for (const frase& s : run_.sentence_list) spans.emplace_back(text.substr(s.SpanStart, s.SpanEnd - s.SpanStart));
    return spans;
  }

  std::vector<Sentence> Sentences() const {
    std::vector<Sentence> result;
    for (const frase& s : run_.sentence_list) result.push_back({SentenceText(text_, s, breaks_), s.WordCount});
    return result;
  }

  std::vector<std::pair<std::string, double>> Words() const {
    std::vector<std::pair<std::string, double>> result;
    for (const palavra& p : run_.word_table) result.emplace_back(p.Word, p.Weight);
    return result;
  }

  // The keys stored for sentence `i`.
  std::vector<std::string> StoredKeys(std::size_t i) const {
    std::vector<std::string> keys;
    for (WordId id : run_.Words(run_.sentence_list[i])) keys.push_back(run_.word_table[id].Word);
    return keys;
  }

  // The keys read back from sentence `i`'s Text: split at "#", each piece
  // stripped of punctuation, lower-cased and canonicalised.
  std::vector<std::string> ScannedKeys(std::size_t i) const {
    const std::string text = SentenceText(text_, run_.sentence_list[i], breaks_);
    std::vector<std::string> keys;
    std::string word;
    auto close = [&] {
      keys.push_back(tables_.Canonicalize(NormalizeWord(word)));
      word.clear();
    };
    for (std::size_t k = 0; k < text.size(); ++k) {
      if (text[k] == '#') {
        close();
        continue;
      }
      if (!IsPunctuation(static_cast<unsigned char>(text[k]))) word += text[k];
      if (k + 1 == text.size()) close();
    }
    return keys;
  }

  std::vector<bool> ParagraphEnds() const {
    std::vector<bool> ends;
    for (const frase& s : run_.sentence_list) ends.push_back(s.EndsParagraph);
    return ends;
  }

  const Run& run() const { return run_; }

 private:
  MemoryTables tables_;
  std::string text_;
  SentenceBreaks breaks_;
  Run run_;
};

using Sentences = std::vector<Sentence>;
using Words = std::vector<std::pair<std::string, double>>;

struct Row {
  std::string input;
  Sentences sentences;
};

// The stored text and word count of every sentence, and the keys stored for
// each sentence equal what reading its Text back gives.
TEST(SegmentTextTest, SentencesOfTheReferenceTexts) {
  const std::vector<Row> rows = {
      {"", {}},
      {"Bom dia", {}},
      {"Fim.", {{"Fim", 1}}},
      {"Sr. Silva chegou.", {{"Sr", 1}, {"Silva#chegou", 2}}},
      {"Veja e.g. isto.", {{"Veja#e.g.#isto", 3}}},
      {"Custa 3.5 reais.", {{"Custa#3.5#reais", 3}}},
      {"fim. depois.", {{"fim.#depois", 2}}},
      {"fim. \xF3timo.", {{"fim", 1}, {"\xF3timo", 1}}},
      {"fim. 2 coisas.", {{"fim", 1}, {"2#coisas", 2}}},
      {"Ele chegou. (Ontem.)", {{"Ele#chegou", 2}}},
      {"Oi!! Tchau.", {{"Oi", 1}, {"", 0}, {"Tchau", 1}}},
      {"Fim... Depois.", {{"Fim", 1}, {"", 0}, {"", 0}, {"Depois", 1}}},
      {"fim... depois.", {{"fim...#depois", 2}}},
      {"a#b.", {{"a#b", 2}}},
      {"a b.", {{"a#b", 2}}},
      {"Um. a\tb\r\n(c)!", {{"Um.#a#b#(c)", 4}}},
      {"mesa .", {{"mesa#", 1}}},
      {"Ele disse: 'Sim.' Depois saiu.", {{"Ele#disse:#'Sim", 3}, {"'#Depois#saiu", 3}}},
      {"Espa\xF1" "a.", {{"Espa#a", 2}}},
      {"Oi?! Fim.", {{"Oi", 1}, {"", 0}, {"Fim", 1}}},
      {"Isto \xE9. e continua.", {{"Isto#\xE9.#e#continua", 4}}},
  };
  for (const Row& row : rows) {
    Segmented segmented(row.input);
    EXPECT_EQ(segmented.Sentences(), row.sentences) << "input: " << row.input;
    for (std::size_t i = 0; i < row.sentences.size(); ++i) {
      EXPECT_EQ(segmented.StoredKeys(i), segmented.ScannedKeys(i)) << "input: " << row.input << ", sentence " << i;
    }
  }
}

TEST(SegmentTextTest, WordTableCountsClosedWordsOnly) {
  EXPECT_EQ(Segmented("").Words(), Words{});
  EXPECT_EQ(Segmented("Bom dia").Words(), (Words{{"bom", 1.0}}));
  EXPECT_EQ(Segmented("Fim.").Words(), (Words{{"fim", 1.0}}));
  // The tail after the last terminator: "(Ontem.)" runs to the end and is never closed.
  EXPECT_EQ(Segmented("Ele chegou. (Ontem.)").Words(), (Words{{"ele", 1.0}, {"chegou", 1.0}}));
  EXPECT_EQ(Segmented("fim. depois.").Words(), (Words{{"fim.", 1.0}, {"depois", 1.0}}));
  EXPECT_EQ(Segmented("Veja e.g. isto.").Words(), (Words{{"veja", 1.0}, {"e.g.", 1.0}, {"isto", 1.0}}));
}

TEST(SegmentTextTest, KeysDropPunctuationAndCountEmptyWords) {
  Segmented segmented("Ele disse: 'Sim.' Depois saiu.");
  EXPECT_EQ(segmented.StoredKeys(0), (std::vector<std::string>{"ele", "disse", "sim"}));
  EXPECT_EQ(segmented.StoredKeys(1), (std::vector<std::string>{"", "depois", "saiu"}));
  EXPECT_EQ(Segmented("mesa .").ScannedKeys(0), std::vector<std::string>{"mesa"});
}

TEST(SegmentTextTest, CanonicalFormsMergeSurfaceForms) {
  Segmented segmented("Casas e casa.", MemoryTables(std::map<std::string, std::optional<std::string>>{{"casas", "casa"}}));
  EXPECT_EQ(segmented.Sentences(), (Sentences{{"Casas#e#casa", 3}}));
  EXPECT_EQ(segmented.Words(), (Words{{"casa", 2.0}, {"e", 1.0}}));
  EXPECT_EQ(segmented.StoredKeys(0), segmented.ScannedKeys(0));
}

TEST(SegmentTextTest, MissingCanonicalFormFailsTheRun) {
  MemoryTables tables(std::map<std::string, std::optional<std::string>>{{"casa", std::nullopt}});
  casewright::Run run(tables, {});
  try {
    SegmentText(run, "Uma casa.");
    FAIL() << "no failure";
  } catch (const RunError& e) {
    EXPECT_EQ(std::string(e.what()).rfind("Invalid variant type conversion", 0), 0u) << e.what();
  }
}

TEST(SegmentTextTest, ParagraphEnds) {
  EXPECT_EQ(Segmented("Um.\r\nDois.  \r\nTr\xEAs.").ParagraphEnds(), (std::vector<bool>{true, true, false}));
  EXPECT_EQ(Segmented("Fim.").ParagraphEnds(), std::vector<bool>{false});
  EXPECT_EQ(Segmented("Fim.   ").ParagraphEnds(), std::vector<bool>{false});
  EXPECT_EQ(Segmented("Um.\n\rDois.").ParagraphEnds(), (std::vector<bool>{true, false}));
  EXPECT_EQ(Segmented(ConvertLineBreaks("Um.\n\rDois.")).ParagraphEnds(), (std::vector<bool>{true, false}));
  EXPECT_EQ(Segmented("Um.\t\r\nDois.").ParagraphEnds(), (std::vector<bool>{false, false}));
  Segmented quoted("Um.\"\r\nDois.");
  EXPECT_EQ(quoted.ParagraphEnds(), (std::vector<bool>{false, false}));
  // The quotation mark opens the next sentence as an empty word.
  EXPECT_EQ(quoted.Sentences(), (Sentences{{"Um", 1}, {"\"#Dois", 2}}));
  // A lower-case word after a paragraph break keeps the sentence open.
  EXPECT_EQ(Segmented("Um fim.\r\nmais texto.").Sentences(), (Sentences{{"Um#fim.#mais#texto", 4}}));
}

TEST(SegmentTextTest, SpansRunFromThePreviousTerminatorThroughTheirOwn) {
  const std::string text = "T\xEDtulo\r\nSr. Silva chegou!! 'Sim.' Fim";
  Segmented segmented(text);
  std::vector<std::string> spans;
  for (const frase& s : segmented.run().sentence_list) {
    spans.push_back(text.substr(s.SpanStart, s.SpanEnd - s.SpanStart));
  }
  EXPECT_EQ(spans, (std::vector<std::string>{"T\xEDtulo\r\nSr.", " Silva chegou!", "!", " 'Sim."}));
}

TEST(IsSentenceEndTest, PeriodsDependOnWhatFollows) {
  EXPECT_TRUE(IsSentenceEnd("a!b", 1));
  EXPECT_TRUE(IsSentenceEnd("a?b", 1));
  EXPECT_FALSE(IsSentenceEnd("a,b", 1));
  EXPECT_TRUE(IsSentenceEnd("fim.", 3));
  EXPECT_FALSE(IsSentenceEnd("fim.)", 3));
  EXPECT_FALSE(IsSentenceEnd("fim.,", 3));
  EXPECT_FALSE(IsSentenceEnd("Dr.Silva", 2));
  EXPECT_TRUE(IsSentenceEnd("fim.\" Depois", 3));
  EXPECT_FALSE(IsSentenceEnd("fim.' depois", 3));
  EXPECT_TRUE(IsSentenceEnd("fim.'", 3));
  EXPECT_TRUE(IsSentenceEnd("fim. 2", 3));
  EXPECT_TRUE(IsSentenceEnd("fim. _x", 3));
  EXPECT_FALSE(IsSentenceEnd("fim.!! ... x", 3));
  EXPECT_TRUE(IsSentenceEnd("fim. \xC9", 3));
  EXPECT_TRUE(IsSentenceEnd("fim. #", 3));
}

TEST(IsSentenceEndTest, LongRunsOfPeriodsAgreeWithTheSegmenter) {
  std::string text = "Um" + std::string(2000, '.') + " dois.";
  Segmented segmented(text);
  // Every period before the lower-case word holds the sentence open.
  ASSERT_EQ(segmented.Sentences().size(), 1u);
  EXPECT_EQ(segmented.Sentences()[0].words, 2);
  for (std::size_t i = 2; i < 2002; ++i) EXPECT_FALSE(IsSentenceEnd(text, i));
}

TEST(SegmentTextTest, ExtractsEndSentencesAtTheirEndOrAtEveryLine) {
  using Spans = std::vector<std::string>;
  struct Case {
    std::string text;
    SentenceBreaks breaks;
    Spans spans;
    Sentences stored;  // what SentenceText gives back from each span
  };
  const Case cases[] = {
      {"Um. Dois tr", SentenceBreaks::kTerminators, {"Um."}, {{"Um", 1}}},
      {"Um. Dois tr", SentenceBreaks::kTerminatorsAndEnd, {"Um.", " Dois tr"}, {{"Um", 1}, {"Dois#tr", 2}}},
      {"Um. Dois.\r\n ", SentenceBreaks::kTerminatorsAndEnd, {"Um.", " Dois."}, {{"Um", 1}, {"Dois", 1}}},
      {"Um. Dois\r\n\r\nTr\xEAs! x",
       SentenceBreaks::kLines,
       {"Um. Dois", "", "Tr\xEAs! x"},
       {{"Um#Dois#", 2}, {"", 0}, {"Tr\xEAs#x", 2}}},
      {"Um\r\n", SentenceBreaks::kLines, {"Um"}, {{"Um#", 1}}},
      {"e.g. a\nb. c.", SentenceBreaks::kLines, {"e.g. a", "b. c."}, {{"e.g.#a#", 2}, {"b.#c#", 2}}},
  };
  for (const Case& c : cases) {
    const Segmented segmented(c.text, MemoryTables(), c.breaks);
    EXPECT_EQ(segmented.Spans(c.text), c.spans) << c.text;
    EXPECT_EQ(segmented.Sentences(), c.stored) << c.text;
  }
  // The words are those terminators end sentences after.
  const Segmented lines("Um. Dois! tr\xEAs?\r\n", MemoryTables(), SentenceBreaks::kLines);
  EXPECT_EQ(lines.StoredKeys(0), (std::vector<std::string>{"um", "dois", "tr\xEAs"}));
}

// The user's own lines: blank lines, however many, of blanks only or at
// either end, mark paragraphs and make no sentence; a period inside a line
// ends nothing, one at its end closes the last word.
TEST(SegmentTextTest, UserLinesAreTheSentencesAndBlankLinesTheParagraphs) {
  struct Case {
    std::string text;
    Sentences stored;
    std::vector<bool> paragraph_ends;
  };
  const Case cases[] = {
      {"", {}, {}},
      {"\r\n  \r\n", {}, {}},
      {"\r\n\r\nT\xEDtulo\r\n\r\nDr. Silva veio. Foi.\r\nEle ficou\r\n \r\n\r\n\r\nFim.\r\n\r\n",
       {{"T\xEDtulo", 1}, {"Dr#Silva#veio#Foi", 4}, {"Ele#ficou", 2}, {"Fim", 1}},
       {true, false, true, true}},
      {"Um.\r\nmais um", {{"Um", 1}, {"mais#um", 2}}, {false, true}},
      {"\"Sim.\"\r\n.\r\n", {{"\"Sim#\"", 2}, {"", 0}}, {false, true}},
  };
  for (const Case& c : cases) {
    const Segmented segmented(c.text, MemoryTables(), SentenceBreaks::kUserLines);
    EXPECT_EQ(segmented.Sentences(), c.stored) << c.text;
    EXPECT_EQ(segmented.ParagraphEnds(), c.paragraph_ends) << c.text;
  }
  const Segmented ended("Um.\r\nmais um", MemoryTables(), SentenceBreaks::kUserLines);
  EXPECT_EQ(ended.StoredKeys(0), (std::vector<std::string>{"um"}));
}

}  // namespace
}  // namespace casewright
