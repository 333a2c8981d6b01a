// Word marks: a set of word keys of one run, held as one flag per WordId.
//
// Three stages flag the sentences that hold at least one word of a set (the
// gist words, the keywords, the cue words).  Walking a word list for every
// word of every sentence would cost (words of the text) x (list length);
// with one flag per id a sentence costs one index per word, and the stage is
// linear in the words of the text.  Duplicates in a list flag the same key
// twice and so change nothing, as they change nothing in the marks the
// sentences get.
#ifndef CASEWRIGHT_FEATURES_WORD_MARKS_H_
#define CASEWRIGHT_FEATURES_WORD_MARKS_H_

#include <span>
#include <vector>

#include "core/progress.h"
#include "core/run.h"
#include "core/records.h"

namespace casewright {

// Indexed by WordId; true for the keys of the set.
using WordMarks = std::vector<bool>;

// The marks of the words of `list`, sized to the run's WordTable.
// REQUIRES: every entry of `list` is an id of run.word_table.
WordMarks MarkListedWords(const Run& run, const std::vector<palavraskg>& list);

// Whether some word of `sentence` is marked.
// REQUIRES: marks covers every id in words.
bool SentenceHoldsMarkedWord(std::span<const WordId> words, const WordMarks& marks);

// Sets `flag` of every sentence of the run that holds a marked word, leaving
// the others' flag as it was, and reports one unit of `stage` per sentence.
void FlagSentencesHolding(Run& run, const WordMarks& marks, bool frase::*flag, RunStage stage);

}  // namespace casewright

#endif  // CASEWRIGHT_FEATURES_WORD_MARKS_H_
