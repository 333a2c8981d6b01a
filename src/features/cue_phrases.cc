#include "features/cue_phrases.h"

#include <optional>
#include <string>
#include <vector>

#include "features/word_marks.h"

namespace casewright {

namespace {

// The marks of the text's keys that the cue table holds.
WordMarks MarkCueWords(const Run& run) {
  WordMarks marks(run.word_table.size(), false);
  for (const std::optional<std::string>& cue : run.tables.ReadCueWords()) {
    if (!cue) continue;
    if (std::optional<WordId> id = run.word_table.Find(*cue)) marks[*id] = true;
  }
  return marks;
}

}  // namespace

void MarkCuePhrases(Run& run) {
  if (run.sentence_list.empty()) return;
  FlagSentencesHolding(run, MarkCueWords(run), &frase::HasCuePhrase, RunStage::kCues);
}

}  // namespace casewright
