#include "features/tf_isf.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace casewright {

namespace {

// log10(N / n(k)) for every key k, n(k) being the number of sentences
// holding k, each sentence counted once however often it repeats the key.
// Taken once per key rather than once per sentence holding it: the value
// depends on n(k) alone.  A key of no sentence (a word after the last
// terminator) gets 0, and is never asked for.
std::vector<long double> Rarities(const Run& run) {
  std::vector<std::uint32_t> frequency(run.word_table.size(), 0);
  // The 1-based number of the last sentence that counted the key.
  std::vector<std::uint32_t> counted_in(run.word_table.size(), 0);
  std::uint32_t number = 0;
  for (const frase& sentence : run.sentence_list) {
    ++number;
    for (WordId id : run.Words(sentence)) {
      if (counted_in[id] != number) {
        counted_in[id] = number;
        ++frequency[id];
      }
    }
  }
  std::vector<long double> rarity(frequency.size(), 0.0L);
  for (std::size_t id = 0; id < frequency.size(); ++id) {
    if (frequency[id] != 0) {
      rarity[id] =
          log10l(static_cast<long double>(number) / static_cast<long double>(frequency[id]));
    }
  }
  return rarity;
}

// The sentence's terms, summed in first-occurrence order of their keys and
// divided by its number of words.  `tf` is all zeros on entry and on return;
// it is kept by the caller so that no sentence allocates a table of its own.
double TfIsf(std::span<const WordId> words, const std::vector<long double>& rarity,
             std::vector<std::uint32_t>& tf, std::vector<WordId>& keys) {
  if (words.empty()) return 0.0;
  keys.clear();
  for (WordId id : words) {
    if (tf[id]++ == 0) keys.push_back(id);
  }
  double sum = 0.0;
  for (WordId id : keys) {
    sum += static_cast<double>(rarity[id] * static_cast<long double>(tf[id]));
    tf[id] = 0;
  }
  return sum / static_cast<double>(words.size());
}

}  // namespace

void ComputeTfIsf(Run& run) {
  run.progress.Begin(RunStage::kTfIsf, run.sentence_list.size());
  std::vector<long double> rarity = Rarities(run);
  std::vector<std::uint32_t> tf(run.word_table.size(), 0);
  std::vector<WordId> keys;
  std::uint64_t done = 0;
  for (frase& sentence : run.sentence_list) {
    sentence.TfIsf = TfIsf(run.Words(sentence), rarity, tf, keys);
    run.progress.Advance(++done);
  }
  run.progress.End();
}

}  // namespace casewright
