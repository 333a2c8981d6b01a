#include "pipeline/summary_tokens.h"

#include <libstemmer.h>

#include "absl/container/flat_hash_map.h"
#include "core/cp1252.h"
#include "core/run_error.h"

namespace casewright {
namespace {

// Whether the Windows-1252 byte `c` is a letter or a digit (see the header).
bool IsLetterOrDigit(unsigned char c) {
  if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return true;
  switch (c) {
    case 0x83: case 0x8A: case 0x8C: case 0x8E: case 0x9A: case 0x9C: case 0x9E: case 0x9F:  // ƒ Š Œ Ž š œ ž Ÿ
    case 0xAA: case 0xB5: case 0xBA:  // ª µ º
      return true;
    default:
      return c >= 0xC0 && c != 0xD7 && c != 0xF7;  // À to ÿ but × and ÷
  }
}

unsigned char LowerCase(unsigned char c) {
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 32);
  switch (c) {
    case 0x8A: case 0x8C: case 0x8E:  // Š Œ Ž
      return static_cast<unsigned char>(c + 0x10);
    case 0x9F:  // Ÿ
      return 0xFF;
    default:
      return c;
  }
}

}  // namespace

// libstemmer's Portuguese stemmer, each word stemmed once.
class SentenceTokenizer::Stemmer {
 public:
  Stemmer() : stemmer_(sb_stemmer_new("portuguese", "UTF_8")) {
    if (!stemmer_) throw RunError("libstemmer has no Portuguese stemmer for UTF-8");
  }
  ~Stemmer() { sb_stemmer_delete(stemmer_); }
  Stemmer(const Stemmer&) = delete;
  Stemmer& operator=(const Stemmer&) = delete;

  const std::string& Stem(const std::string& word) {
    auto [it, added] = stems_.try_emplace(word);
    if (added) {
      const sb_symbol* stem =
          sb_stemmer_stem(stemmer_, reinterpret_cast<const sb_symbol*>(word.data()), static_cast<int>(word.size()));
      if (!stem) throw RunError("libstemmer ran out of memory");
      it->second.assign(reinterpret_cast<const char*>(stem), static_cast<std::size_t>(sb_stemmer_length(stemmer_)));
    }
    return it->second;
  }

 private:
  sb_stemmer* stemmer_;
  absl::flat_hash_map<std::string, std::string> stems_;
};

SentenceTokenizer::SentenceTokenizer(const Run& run, std::string_view text, TokenChoice choice)
    : run_(run), text_(text), choice_(choice) {
  if (choice.form == TokenForm::kStems) stemmer_ = std::make_unique<Stemmer>();
}

SentenceTokenizer::~SentenceTokenizer() = default;

std::vector<std::string> SentenceTokenizer::Tokens(std::size_t index, std::vector<bool>* stopwords) {
  const frase& sentence = run_.sentence_list[index];
  std::vector<std::string> tokens;
  if (choice_.form == TokenForm::kKeys) {
    for (WordId word : run_.Words(sentence)) {
      const std::string& key = run_.word_table[word].Word;
      if (key.empty()) continue;
      const bool stopword = run_.tables.IsStopword(key);
      if (!choice_.stopwords && stopword) continue;
      tokens.push_back(key);
      if (stopwords) stopwords->push_back(stopword);
    }
    return tokens;
  }
  const std::string_view span = text_.substr(sentence.SpanStart, sentence.SpanEnd - sentence.SpanStart);
  std::string word;
  const auto close_word = [&] {
    if (word.empty()) return;
    const bool stopword = run_.tables.IsStopword(word);
    if (choice_.stopwords || !stopword) {
      const std::string utf8 = Cp1252ToUtf8(word);
      tokens.push_back(stemmer_ ? stemmer_->Stem(utf8) : utf8);
      if (stopwords) stopwords->push_back(stopword);
    }
    word.clear();
  };
  for (char c : span) {
    const auto byte = static_cast<unsigned char>(c);
    if (IsLetterOrDigit(byte)) {
      word += static_cast<char>(LowerCase(byte));
    } else {
      close_word();
    }
  }
  close_word();
  return tokens;
}

SentenceTokens TokensOfSentences(const Run& run, std::string_view text, TokenChoice choice,
                                 TokenVocabulary& vocabulary, StopwordFlags* stopwords) {
  SentenceTokenizer tokenizer(run, text, choice);
  SentenceTokens tokens(run.sentence_list.size());
  if (stopwords) stopwords->assign(tokens.size(), {});
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    for (const std::string& token : tokenizer.Tokens(i, stopwords ? &(*stopwords)[i] : nullptr)) {
      tokens[i].push_back(vocabulary.Id(token));
    }
  }
  return tokens;
}

}  // namespace casewright
