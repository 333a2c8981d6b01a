#include "features/centrality.h"

#include <cstddef>

#include "summary/methods/textrank.h"

namespace casewright {

void ComputeCentrality(Run& run) {
  // The sentences' non-empty keys, as the summarisers see them, the word ids
  // standing for tokens.
  SentenceTokens tokens;
  StopwordFlags stopwords;
  for (const frase& sentence : run.sentence_list) {
    std::vector<TokenId>& keys = tokens.emplace_back();
    std::vector<bool>& flags = stopwords.emplace_back();
    for (WordId id : run.Words(sentence)) {
      if (run.word_table[id].Word.empty()) continue;
      keys.push_back(id);
      flags.push_back(run.stopwords[id]);
    }
  }
  const std::vector<double> scores = TextRank().Scores(MethodText{tokens, stopwords});
  for (std::size_t i = 0; i < scores.size(); ++i) run.sentence_list[i].Centrality = scores[i];
}

}  // namespace casewright
