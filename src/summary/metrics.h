// How close a summary comes to a reference summary.
//
// Sentence figures compare the sentences chosen with the sentences of a
// reference extract: precision is the share of the chosen sentences that the
// reference holds, recall the share of the reference's sentences that were
// chosen.
//
// ROUGE figures compare the words.  Each summary is one sequence of tokens
// (the tokens of its sentences one after the other; what a token is, a word's
// key or the word lower-cased, is the caller's choice, given here as ids):
//
//   ROUGE-N  the n-grams of the whole sequence (n tokens in a row, across
//            sentence ends too).  Each n-gram of the summary matches at most
//            as many times as it occurs in the reference ("clipped"
//            counts).  Precision = matches / the summary's n-grams, recall
//            = matches / the reference's n-grams.
//   ROUGE-L  the longest common subsequence (LCS) of the two whole
//            sequences.  Precision = LCS / the summary's tokens, recall =
//            LCS / the reference's tokens.
//
// Every F1 is 2PR / (P + R).  A share whose denominator is 0 (no sentence
// chosen, a sequence shorter than n) is 0, and so is F1 when P + R is 0.
#ifndef CASEWRIGHT_SUMMARY_METRICS_H_
#define CASEWRIGHT_SUMMARY_METRICS_H_

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "absl/container/flat_hash_map.h"
#include "core/string_map.h"

namespace casewright {

struct Scores {
  double precision = 0;
  double recall = 0;
  double f1 = 0;
};

// The figures of `matched` hits out of `found` items proposed and
// `expected` items in the reference.
Scores ScoresOf(double matched, double found, double expected);

// Adds `scores` times `weight` to `to`, figure by figure (for means).
void AddScaled(Scores& to, const Scores& scores, double weight);

// Sentence precision, recall and F1 of `chosen` against `reference`, one
// flag per sentence of the text.
// REQUIRES: chosen.size() == reference.size().
Scores SentenceScores(const std::vector<bool>& chosen, const std::vector<bool>& reference);

using TokenId = std::uint32_t;

// A reference summary prepared once to be compared with many summaries (the
// random baseline compares it with a hundred): the counts of its n-grams up
// to a length, and where each of its tokens stands, for the LCS.  A summary
// is then compared in time linear in its length (times |reference| / 64 for
// the LCS).
class RougeReference {
 public:
  // REQUIRES: max_n >= 1.
  explicit RougeReference(std::span<const TokenId> tokens, std::size_t max_n = 2);

  std::size_t size() const { return length_; }

  // ROUGE-N of `summary` against this reference.
  // REQUIRES: 1 <= n <= max_n.
  Scores RougeN(std::span<const TokenId> summary, std::size_t n) const;
  // ROUGE-L of `summary` against this reference.
  Scores RougeL(std::span<const TokenId> summary) const;

  // The length of the longest common subsequence of `summary` and the
  // reference, computed 64 cells of the table at a time (Hyyro's
  // bit-parallel form).
  std::size_t LongestCommonSubsequence(std::span<const TokenId> summary) const;

  // ROUGE-1 up to ROUGE-max_n (at n - 1), and ROUGE-L last: one pass over
  // the summary for all of them.
  std::vector<Scores> RougeAll(std::span<const TokenId> summary) const;

  // Each token of `tokens` as the number of that token among the
  // reference's distinct tokens (kAbsent for one it lacks).  The distinct
  // tokens of a summary are those of its sentences one after the other, so
  // a caller comparing many summaries of one text looks each sentence up
  // once and gives RougeAllOfDistinct the concatenation.
  static constexpr std::uint32_t kAbsent = ~std::uint32_t{0};
  std::vector<std::uint32_t> Distinct(std::span<const TokenId> tokens) const;
  std::vector<Scores> RougeAllOfDistinct(const std::vector<std::uint32_t>& distinct) const;

 private:
  // ROUGE-N of the summary whose distinct tokens are `distinct`.
  Scores RougeOfDistinct(const std::vector<std::uint32_t>& distinct, std::size_t n) const;
  std::size_t LcsOfDistinct(const std::vector<std::uint32_t>& distinct) const;

  std::size_t length_;
  std::size_t words_;  // of 64 bits in a row of the LCS table
  absl::flat_hash_map<TokenId, std::uint32_t> distinct_;
  // For n >= 2, at n - 2: the id of an n-gram keyed by the id of its first
  // n - 1 tokens and its last distinct token.  The id of a 1-gram is its
  // distinct token.
  std::vector<absl::flat_hash_map<std::uint64_t, std::uint32_t>> ngram_ids_;
  // At n - 1: how many times the reference holds each n-gram, by id.
  std::vector<std::vector<std::uint32_t>> ngram_counts_;
  // Where each distinct token stands in the reference: a row of bits each.
  std::vector<std::uint64_t> masks_;
  // With at most kMostDenseTokens distinct tokens (a table of 1 MiB), the
  // bigram ids again, at first * distinct + second.
  static constexpr std::size_t kMostDenseTokens = 512;
  std::vector<std::uint32_t> dense_bigrams_;
};

// ROUGE-1, ROUGE-2 and ROUGE-L of one summary.
struct RougeFigures {
  Scores rouge1, rouge2, rougeL;
};
// REQUIRES: `reference` prepared for n up to 2 at least.
RougeFigures CompareWith(const RougeReference& reference, std::span<const TokenId> summary);

// ROUGE-N of `summary` against `reference`.
// REQUIRES: n >= 1.
Scores RougeN(std::span<const TokenId> summary, std::span<const TokenId> reference, std::size_t n);

// ROUGE-L of `summary` against `reference`.
Scores RougeL(std::span<const TokenId> summary, std::span<const TokenId> reference);

// The length of the longest common subsequence of `a` and `b`.
std::size_t LongestCommonSubsequence(std::span<const TokenId> a, std::span<const TokenId> b);

// Gives each distinct token (a word's key, say) an id, the same for the same
// token, so that summaries can be compared as ids.
class TokenVocabulary {
 public:
  TokenId Id(std::string_view token);

 private:
  StringMap<TokenId> ids_;
};

}  // namespace casewright

#endif  // CASEWRIGHT_SUMMARY_METRICS_H_
