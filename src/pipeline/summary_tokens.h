// The tokens that summaries of a text are compared by (ROUGE), of three
// kinds:
//
//   keys   the words' keys: their canonical forms, as the run counts them
//          (`sentences --format tsv` lists them in its keys column);
//   words  the maximal runs of letters and digits of the sentence as it
//          stands, lower-cased; every other character separates.  A letter
//          is a character Unicode files under L (ª, º and µ too), a digit
//          one of 0 to 9; ¹ ² ³ ¼ ½ ¾, × and ÷ separate;
//   stems  each of the words through the Portuguese Snowball stemmer
//          (libstemmer's "portuguese", on UTF-8).
//
// Without stopwords, a key the stoplist holds, or a word whose lower-cased
// form it holds (also before stemming), gives no token.
#ifndef CASEWRIGHT_PIPELINE_SUMMARY_TOKENS_H_
#define CASEWRIGHT_PIPELINE_SUMMARY_TOKENS_H_

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/run.h"
#include "summary/methods/method.h"
#include "summary/metrics.h"

namespace casewright {

enum class TokenForm { kKeys, kWords, kStems };

struct TokenChoice {
  TokenChoice(TokenForm form = TokenForm::kKeys, bool stopwords = true) : form(form), stopwords(stopwords) {}
  TokenForm form;
  bool stopwords;  // false: the stoplist's words give no token
};

// The tokens of each sentence of a run, as strings (keys in Windows-1252,
// words and stems in UTF-8).
class SentenceTokenizer {
 public:
  // `text` is what the run segmented (SegmentText, sentences ended by
  // terminators); it must outlive the tokenizer.
  SentenceTokenizer(const Run& run, std::string_view text, TokenChoice choice);
  ~SentenceTokenizer();

  // With `stopwords`, also one flag per token given: whether its word is in
  // the stoplist.
  std::vector<std::string> Tokens(std::size_t sentence, std::vector<bool>* stopwords = nullptr);

 private:
  class Stemmer;
  const Run& run_;
  std::string_view text_;
  TokenChoice choice_;
  std::unique_ptr<Stemmer> stemmer_;  // for stems only
};

// The tokens of each sentence of `run`, as ids of `vocabulary`; with
// `stopwords`, also one flag per token, whether its word is a stopword.
SentenceTokens TokensOfSentences(const Run& run, std::string_view text, TokenChoice choice,
                                 TokenVocabulary& vocabulary, StopwordFlags* stopwords = nullptr);

}  // namespace casewright

#endif  // CASEWRIGHT_PIPELINE_SUMMARY_TOKENS_H_
