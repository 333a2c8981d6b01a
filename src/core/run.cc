#include "core/run.h"

namespace casewright {

void Run::ResetLists() {
  sentence_list.clear();
  sentence_words.clear();
  word_table.clear();
  stopwords.clear();
  gist_word_list.clear();
  keyword_list.clear();
}

void Run::FreeLists() {
  SentenceList().swap(sentence_list);
  std::vector<WordId>().swap(sentence_words);
  word_table = WordTable();
  std::vector<bool>().swap(stopwords);
  GistWordList().swap(gist_word_list);
  KeywordList().swap(keyword_list);
}

}  // namespace casewright
