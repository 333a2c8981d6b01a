// Which sentences make a summary: how many a compression rate asks for, and
// which sentences a score per sentence, the lead baseline or a random draw
// pick.  Sentences are numbered from 0 here; every choice is returned in text
// order, ready to be written as an extract.
//
// `casewright-cli summarize`, `evaluate` and the window's Summary view use
// these, as does anything else that turns scores into extracts: a summary
// made of the same scores at the same rate is the same wherever it is made.
#ifndef CASEWRIGHT_SUMMARY_SELECTION_H_
#define CASEWRIGHT_SUMMARY_SELECTION_H_

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace casewright {

// Whether `rate` is a compression rate: 0 < rate <= 1 (a NaN is not).
bool IsValidRate(double rate);

// The number of sentences a summary of a text of `sentence_count` sentences
// takes at `rate`: rate times sentence_count rounded to the nearest whole
// number, halves up, and at least 1.  The product is taken with a margin of
// 1e-9 before rounding, so that 0.15 * 10 (1.4999999999999998 in binary)
// rounds as the 1.5 it stands for.
// REQUIRES: IsValidRate(rate), sentence_count >= 1.
std::size_t SentencesAtRate(double rate, std::size_t sentence_count);

// The `count` sentences with the highest scores, in text order.  Between
// equal scores the earlier sentence goes first.
// REQUIRES: count <= scores.size(); no score is NaN.
std::vector<std::size_t> ChooseBest(const std::vector<double>& scores, std::size_t count);

// The lead baseline: the first `count` sentences.
std::vector<std::size_t> ChooseLead(std::size_t count);

// `count` of `sentence_count` sentences drawn at random, every set of that
// size equally likely, in text order.  The draw depends on the generator's
// state alone (no distribution of the standard library, whose algorithms
// differ between libraries), so a seed gives the same draw everywhere.
// REQUIRES: count <= sentence_count.
class RandomChoice {
 public:
  explicit RandomChoice(std::uint64_t seed);
  std::vector<std::size_t> Draw(std::size_t sentence_count, std::size_t count);
  // A number from 0 to n - 1, each as likely (up to a bias of n / 2^64).
  // REQUIRES: n >= 1.
  std::size_t Below(std::size_t n);

 private:
  std::uint64_t Next();
  std::uint64_t state_;
};

// The seed every command that draws (folds, random baselines, bootstrap
// resamples) uses unless given another.
inline constexpr std::uint64_t kDefaultSeed = 0;

// The seed of the random baseline of a text: it depends only on the run's
// `seed`, the text's `path` as the manifest gives it and its number of
// sentences, so that every command gives one text the same random baseline.
std::uint64_t RandomBaselineSeed(std::uint64_t seed, std::string_view path, std::size_t sentence_count);

// One flag per sentence of a text of `sentence_count` sentences: true for
// the sentences in `chosen`.
// REQUIRES: every index in `chosen` < sentence_count.
std::vector<bool> ChosenFlags(const std::vector<std::size_t>& chosen, std::size_t sentence_count);

}  // namespace casewright

#endif  // CASEWRIGHT_SUMMARY_SELECTION_H_
