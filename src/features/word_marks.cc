#include "features/word_marks.h"

#include <algorithm>

namespace casewright {

WordMarks MarkListedWords(const Run& run, const std::vector<palavraskg>& list) {
  WordMarks marks(run.word_table.size(), false);
  for (const palavraskg& entry : list) marks[entry.Word] = true;
  return marks;
}

bool SentenceHoldsMarkedWord(std::span<const WordId> words, const WordMarks& marks) {
  return std::any_of(words.begin(), words.end(), [&marks](WordId id) { return marks[id]; });
}

void FlagSentencesHolding(Run& run, const WordMarks& marks, bool frase::*flag, RunStage stage) {
  run.progress.Begin(stage, run.sentence_list.size());
  std::uint64_t done = 0;
  for (frase& sentence : run.sentence_list) {
    if (SentenceHoldsMarkedWord(run.Words(sentence), marks)) sentence.*flag = true;
    run.progress.Advance(++done);
  }
  run.progress.End();
}

}  // namespace casewright
