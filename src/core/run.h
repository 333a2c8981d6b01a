// The working data of one run.
//
// A Run owns everything a run computes: the sentences, the document word
// table and the word lists of the feature stages.  The stages take the Run
// they work on, so runs are independent and may proceed side by side.
#ifndef CASEWRIGHT_CORE_RUN_H_
#define CASEWRIGHT_CORE_RUN_H_

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

  const LexicalTables& tables;
  ProgressMeter progress;

  SentenceList sentence_list;  // in text order
  WordTable word_table;        // in order of first occurrence
  // Indexed by WordId: whether the stoplist holds the key.  Filled by
  // SuppressStopwords, which always runs.
  std::vector<bool> stopwords;
  GistWordList gist_word_list;
  KeywordList keyword_list;
};

}  // namespace casewright

#endif  // CASEWRIGHT_CORE_RUN_H_
