#include "features/word_marks.h"

#include <algorithm>

namespace casewright {

WordMarks MarkListedWords(const Run& run, const std::vector<palavraskg>& list) {
  WordMarks marks(run.word_table.size(), false);
  for (const palavraskg& entry : list) marks[entry.Word] = true;
  return marks;
}

bool SentenceHoldsMarkedWord(const frase& sentence, const WordMarks& marks) {
  return std::any_of(sentence.Words.begin(), sentence.Words.end(),
                     [&marks](WordId id) { return marks[id]; });
}

void FlagSentencesHolding(Run& run, const WordMarks& marks, bool frase::*flag, RunStage stage) {
  run.progress.Begin(stage, run.sentence_list.size());
  std::uint64_t done = 0;
  for (frase& sentence : run.sentence_list) {
    if (SentenceHoldsMarkedWord(sentence, marks)) sentence.*flag = true;
    run.progress.Advance(++done);
  }
  run.progress.End();
}

}  // namespace casewright
