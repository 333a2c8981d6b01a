#include "features/keywords.h"

#include "features/word_marks.h"

namespace casewright {

namespace {

constexpr int kKeywordCount = 2;

// The earliest entry of greatest weight; the first entry when none is
// heavier than it.
// REQUIRES: !table.empty().
WordId HeaviestWord(const WordTable& table) {
  WordId best = 0;
  for (WordId id = 1; id < table.size(); ++id) {
    if (table[id].Weight > table[best].Weight) best = id;
  }
  return best;
}

}  // namespace

void MarkKeywords(Run& run) {
  if (run.word_table.empty()) return;
  for (int pass = 0; pass < kKeywordCount; ++pass) {
    WordId keyword = HeaviestWord(run.word_table);
    run.keyword_list.push_back(palavraskg{keyword});
    run.word_table[keyword].Weight = 0.0;
  }
  FlagSentencesHolding(run, MarkListedWords(run, run.keyword_list), &frase::HasKeyword,
                       RunStage::kKeywords);
}

}  // namespace casewright
