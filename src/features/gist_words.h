// Presence of words from the gist sentence.
//
// The gist sentence is the sentence of greatest DistributionWeight; among
// equal weights the last one in text order wins, so when the distribution
// weights were not computed (all 0.0) it is the last sentence of the text.
// Its words that are not stopwords, in order and with their repetitions,
// form the GistWordList, and every sentence that holds one of them (the gist
// sentence among them) gets HasGistWord.  Words are compared by key, so two
// surface forms with the same canonical form match each other.
#ifndef CASEWRIGHT_FEATURES_GIST_WORDS_H_
#define CASEWRIGHT_FEATURES_GIST_WORDS_H_

#include "core/run.h"

namespace casewright {

// Fills run.gist_word_list and sets HasGistWord.  Does nothing on a text
// without sentences.
// REQUIRES: SuppressStopwords has run (run.stopwords covers the WordTable);
// the DistributionWeights are final.
void MarkGistWords(Run& run);

}  // namespace casewright

#endif  // CASEWRIGHT_FEATURES_GIST_WORDS_H_
