#include "features/tf_isf.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace casewright {

bool SentenceContainsWord(WordId word, const frase& sentence) {
  return std::find(sentence.Words.begin(), sentence.Words.end(), word) != sentence.Words.end();
}

namespace {

// n(k) for every key: the number of sentences holding k, each sentence
// counted once however often it repeats the key.
std::vector<std::uint32_t> SentenceFrequencies(const Run& run) {
  std::vector<std::uint32_t> frequency(run.word_table.size(), 0);
  // The 1-based number of the last sentence that counted the key.
  std::vector<std::uint32_t> counted_in(run.word_table.size(), 0);
  std::uint32_t number = 0;
  for (const frase& sentence : run.sentence_list) {
    ++number;
    for (WordId id : sentence.Words) {
      if (counted_in[id] != number) {
        counted_in[id] = number;
        ++frequency[id];
      }
    }
  }
  return frequency;
}

// The sentence's terms, summed in first-occurrence order of their keys and
// divided by its number of words.  `tf` is all zeros on entry and on return;
// it is kept by the caller so that no sentence allocates a table of its own.
double TfIsf(const frase& sentence, std::uint32_t sentences,
             const std::vector<std::uint32_t>& frequency, std::vector<std::uint32_t>& tf,
             std::vector<WordId>& keys) {
  if (sentence.Words.empty()) return 0.0;
  keys.clear();
  for (WordId id : sentence.Words) {
    if (tf[id]++ == 0) keys.push_back(id);
  }
  double sum = 0.0;
  for (WordId id : keys) {
    long double rarity =
        log10l(static_cast<long double>(sentences) / static_cast<long double>(frequency[id]));
    sum += static_cast<double>(rarity * static_cast<long double>(tf[id]));
    tf[id] = 0;
  }
  return sum / static_cast<double>(sentence.Words.size());
}

}  // namespace

void ComputeTfIsf(Run& run) {
  const auto sentences = static_cast<std::uint32_t>(run.sentence_list.size());
  run.progress.Begin(RunStage::kTfIsf, sentences);
  std::vector<std::uint32_t> frequency = SentenceFrequencies(run);
  std::vector<std::uint32_t> tf(run.word_table.size(), 0);
  std::vector<WordId> keys;
  std::uint64_t done = 0;
  for (frase& sentence : run.sentence_list) {
    sentence.TfIsf = TfIsf(sentence, sentences, frequency, tf, keys);
    run.progress.Advance(++done);
  }
  run.progress.End();
}

}  // namespace casewright
