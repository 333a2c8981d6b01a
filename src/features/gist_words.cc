#include "features/gist_words.h"

#include <cstddef>

#include "features/word_marks.h"

namespace casewright {

namespace {

// The last sentence among those of greatest DistributionWeight.
// REQUIRES: !sentences.empty().
const frase& GistSentence(const SentenceList& sentences) {
  std::size_t gist = 0;
  for (std::size_t i = 1; i < sentences.size(); ++i) {
    if (sentences[i].DistributionWeight >= sentences[gist].DistributionWeight) gist = i;
  }
  return sentences[gist];
}

}  // namespace

void MarkGistWords(Run& run) {
  if (run.sentence_list.empty()) return;
  for (WordId id : run.Words(GistSentence(run.sentence_list))) {
    if (!run.stopwords[id]) run.gist_word_list.push_back(palavraskg{id});
  }
  FlagSentencesHolding(run, MarkListedWords(run, run.gist_word_list), &frase::HasGistWord,
                       RunStage::kGist);
}

}  // namespace casewright
