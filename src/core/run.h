// The working data of one run.
//
// A Run owns everything a run computes: the sentences, the document word
// table and the word lists of the feature stages.  The stages take the Run
// they work on, so runs are independent and may proceed side by side.
#ifndef CASEWRIGHT_CORE_RUN_H_
#define CASEWRIGHT_CORE_RUN_H_

#include <span>
#include <vector>

#include "core/progress.h"
#include "core/lexical_tables.h"
#include "core/records.h"
#include "core/word_table.h"

namespace casewright {

struct Run {
  Run(const LexicalTables& tables, ProgressCallback progress_callback)
      : tables(tables), progress(std::move(progress_callback)) {}

  // Empties every list before a run starts.
  void ResetLists();
  // Empties every list and gives its memory back at the end of a run.
  void FreeLists();

  // The keys of `sentence`'s words in text order.
  // REQUIRES: sentence is one of sentence_list's.
  std::span<const WordId> Words(const frase& sentence) const {
    return {sentence_words.data() + sentence.FirstWord, static_cast<std::size_t>(sentence.WordCount)};
  }

  const LexicalTables& tables;
  ProgressMeter progress;

  SentenceList sentence_list;  // in text order
  // The keys of the sentences' words, sentence after sentence, each in text
  // order: one array for the run rather than one allocation per sentence.
  std::vector<WordId> sentence_words;
  WordTable word_table;        // in order of first occurrence
  // Indexed by WordId: whether the stoplist holds the key.  Filled by
  // SuppressStopwords, which always runs.
  std::vector<bool> stopwords;
  GistWordList gist_word_list;
  KeywordList keyword_list;
};

}  // namespace casewright

#endif  // CASEWRIGHT_CORE_RUN_H_
