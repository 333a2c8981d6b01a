// How close a summary comes to a reference summary.
//
// Sentence figures compare the sentences chosen with the sentences of a
// reference extract: precision is the share of the chosen sentences that the
// reference holds, recall the share of the reference's sentences that were
// chosen.
//
// ROUGE figures compare the tokens (what a token is, a word's key, the word
// lower-cased or its stem, is the caller's choice, given here as ids).  A
// summary's token sequence is the tokens of its sentences one after the
// other:
//
//   ROUGE-N   the n-grams of the whole sequence (n tokens in a row, across
//             sentence ends too).  Each n-gram of the summary matches at
//             most as many times as it occurs in the reference ("clipped"
//             counts).  Precision = matches / the summary's n-grams, recall
//             = matches / the reference's n-grams.
//   ROUGE-SU4 as ROUGE-N, over the skip-bigrams of the whole sequence (the
//             pairs of tokens at positions i < j with j - i <= 5, at most
//             four tokens between them) and its unigrams together.
//   ROUGE-L   summary-level: for each reference sentence, the union of the
//             positions of its longest common subsequence (LCS) with each
//             summary sentence.  Going through the reference sentences in
//             order and each union's tokens in order, a token is a hit while
//             both the reference's and the summary's counts of it are left,
//             and the hit takes one from each.  Precision = hits / the
//             summary's tokens, recall = hits / the reference's tokens.  Of
//             several LCSs of two sentences, the one taken is the one read
//             back from the end of the table: a match when the last tokens
//             are equal, else a step along the summary sentence when that
//             keeps a longer LCS, else a step along the reference sentence.
//             These are the choices of Python's rouge-score (`rougeLsum`),
//             whose figures these are.
//   ROUGE-Lseq the LCS of the two whole sequences.  Precision = LCS / the
//             summary's tokens, recall = LCS / the reference's tokens.
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
// The tokens of each sentence of a text or a summary.
using SentenceTokens = std::vector<std::vector<TokenId>>;

// The figures of a summary's whole token sequence.
struct SequenceFigures {
  Scores rouge1, rouge2, rougeLseq, rougeSU4;
};

// A reference summary's whole token sequence prepared once to be compared
// with many summaries (the random baseline compares it with a hundred): the
// counts of its n-grams up to a length and of its skip-bigrams, and where
// each of its tokens stands, for the LCS.  Memory is linear in its length.
class RougeReference {
 public:
  // REQUIRES: max_n >= 2.
  explicit RougeReference(std::span<const TokenId> tokens, std::size_t max_n = 2);

  std::size_t size() const { return length_; }

  // ROUGE-N of `summary` against this reference.
  // REQUIRES: 1 <= n <= max_n.
  Scores RougeN(std::span<const TokenId> summary, std::size_t n) const;

  // The length of the longest common subsequence of `summary` and the
  // reference, computed 64 cells of the table at a time (Hyyro's
  // bit-parallel form), skipping the runs of 64 reference tokens that
  // neither hold the summary token nor take a carry.
  std::size_t LongestCommonSubsequence(std::span<const TokenId> summary) const;

  // Each token of `tokens` as the number of that token among the
  // reference's distinct tokens (kAbsent for one it lacks).  The distinct
  // tokens of a summary are those of its sentences one after the other, so
  // a caller comparing many summaries of one text looks each sentence up
  // once and gives CompareDistinct the concatenation.
  static constexpr std::uint32_t kAbsent = ~std::uint32_t{0};
  std::vector<std::uint32_t> Distinct(std::span<const TokenId> tokens) const;
  SequenceFigures CompareDistinct(const std::vector<std::uint32_t>& distinct) const;
  SequenceFigures Compare(std::span<const TokenId> summary) const { return CompareDistinct(Distinct(summary)); }
  // ROUGE-N alone of the summary whose distinct tokens are `distinct`.
  // REQUIRES: 1 <= n <= max_n.
  Scores RougeNOfDistinct(const std::vector<std::uint32_t>& distinct, std::size_t n) const {
    return RougeOfDistinct(distinct, n);
  }

  // The ids of the skip-bigrams of `distinct` (kAbsent for those the
  // reference lacks), to be looked up once per sentence.
  std::vector<std::uint32_t> SkipBigramIds(const std::vector<std::uint32_t>& distinct) const;
  // CompareDistinct for a summary whose sentences were looked up once:
  // `starts` where each of its sentences after the first starts in
  // `distinct`, `within` the skip-bigram ids within each sentence, one
  // sentence after the other.  Only the pairs across sentence ends are
  // looked up.
  SequenceFigures CompareSentences(const std::vector<std::uint32_t>& distinct, const std::vector<std::size_t>& starts,
                                   const std::vector<std::uint32_t>& within) const;

 private:
  // Matches of the summary's n-grams (skip-bigrams when n is 0) by id, clipped.
  std::size_t ClippedMatches(const std::vector<std::uint32_t>& ids, const std::vector<std::uint32_t>& counts) const;
  std::vector<std::uint32_t> NgramIds(const std::vector<std::uint32_t>& distinct, std::size_t n) const;
  std::uint32_t SkipBigramId(std::uint32_t first, std::uint32_t second) const;
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
  // The skip-bigrams keyed by their two distinct tokens, and their counts.
  absl::flat_hash_map<std::uint64_t, std::uint32_t> skip_ids_;
  std::vector<std::uint32_t> skip_counts_;
  std::size_t skip_total_ = 0;
  // Where each distinct token stands, by words of 64 reference tokens: its
  // entries run from mask_start_[token] to mask_start_[token + 1], each a
  // word's number and its bits.
  std::vector<std::uint32_t> mask_start_;
  std::vector<std::uint32_t> mask_word_;
  std::vector<std::uint64_t> mask_bits_;
  // The row of a token that most words hold (kAbsent for the others), and
  // the rows, words_ each.
  std::vector<std::uint32_t> dense_row_;
  std::vector<std::uint64_t> dense_masks_;
};

// The hits of summary-level ROUGE-L (above) of several summaries at once
// against one reference, each summary a choice of sentences of one text.
// The union of a reference sentence's LCSs depends only on which sentences
// a summary holds, so each pair of a reference sentence and a sentence of
// the text is compared once for all the summaries that hold it.
//
// REQUIRES: every index in `summaries` < text.size().
std::vector<Scores> SummaryLevelRougeL(const SentenceTokens& reference, const SentenceTokens& text,
                                       const std::vector<std::vector<std::size_t>>& summaries);

// The same for one summary made of the sentences `summary`.
Scores SummaryLevelRougeL(const SentenceTokens& reference, const SentenceTokens& summary);

// ROUGE-N of `summary` against `reference`.
// REQUIRES: n >= 1.
Scores RougeN(std::span<const TokenId> summary, std::span<const TokenId> reference, std::size_t n);

// The length of the longest common subsequence of `a` and `b`.
std::size_t LongestCommonSubsequence(std::span<const TokenId> a, std::span<const TokenId> b);

// Gives each distinct token (a word's key, say) an id, the same for the same
// token, so that summaries can be compared as ids.  Ids run from 0 up.
class TokenVocabulary {
 public:
  TokenId Id(std::string_view token);
  std::size_t size() const { return ids_.size(); }

 private:
  StringMap<TokenId> ids_;
};

}  // namespace casewright

#endif  // CASEWRIGHT_SUMMARY_METRICS_H_
