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

// ROUGE-N of `summary` against `reference`.
// REQUIRES: n >= 1.
Scores RougeN(std::span<const TokenId> summary, std::span<const TokenId> reference, std::size_t n);

// ROUGE-L of `summary` against `reference`.
Scores RougeL(std::span<const TokenId> summary, std::span<const TokenId> reference);

// The length of the longest common subsequence of `a` and `b`, computed 64
// cells of the table at a time (Hyyrö's bit-parallel form): O(|a| |b| / 64).
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
