#include "summary/metrics.h"

#include <algorithm>
#include <bit>
#include <string>

#include "absl/container/flat_hash_map.h"

namespace casewright {
namespace {

double Share(double part, double whole) { return whole == 0 ? 0 : part / whole; }

}  // namespace

Scores ScoresOf(double matched, double found, double expected) {
  Scores scores;
  scores.precision = Share(matched, found);
  scores.recall = Share(matched, expected);
  scores.f1 = Share(2 * scores.precision * scores.recall, scores.precision + scores.recall);
  return scores;
}

void AddScaled(Scores& to, const Scores& scores, double weight) {
  to.precision += scores.precision * weight;
  to.recall += scores.recall * weight;
  to.f1 += scores.f1 * weight;
}

Scores SentenceScores(const std::vector<bool>& chosen, const std::vector<bool>& reference) {
  std::size_t both = 0, found = 0, expected = 0;
  for (std::size_t i = 0; i < chosen.size(); ++i) {
    both += chosen[i] && reference[i];
    found += chosen[i];
    expected += reference[i];
  }
  return ScoresOf(static_cast<double>(both), static_cast<double>(found), static_cast<double>(expected));
}

RougeReference::RougeReference(std::span<const TokenId> tokens, std::size_t max_n)
    : length_(tokens.size()), words_((tokens.size() + 63) / 64), ngram_ids_(max_n - 1), ngram_counts_(max_n) {
  std::vector<std::uint32_t> ids(tokens.size());  // of the n-gram starting at each position
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    const auto [it, added] = distinct_.try_emplace(tokens[i], static_cast<std::uint32_t>(distinct_.size()));
    if (added) {
      ngram_counts_[0].push_back(0);
      masks_.resize(masks_.size() + words_, 0);
    }
    ids[i] = it->second;
    ++ngram_counts_[0][it->second];
    masks_[it->second * words_ + i / 64] |= std::uint64_t{1} << (i % 64);
  }
  const std::vector<std::uint32_t> distinct = ids;
  for (std::size_t n = 2; n <= max_n && n <= tokens.size(); ++n) {
    auto& id_of = ngram_ids_[n - 2];
    auto& counts = ngram_counts_[n - 1];
    for (std::size_t i = 0; i + n <= tokens.size(); ++i) {
      const std::uint64_t key = std::uint64_t{ids[i]} << 32 | distinct[i + n - 1];
      const auto [it, added] = id_of.try_emplace(key, static_cast<std::uint32_t>(counts.size()));
      if (added) counts.push_back(0);
      ++counts[it->second];
      ids[i] = it->second;
    }
  }
  // Bigrams are looked up for every token of every summary: with few
  // distinct tokens, a table indexed by the two tokens is faster than a hash.
  const std::size_t d = distinct_.size();
  if (max_n >= 2 && d <= kMostDenseTokens) {
    dense_bigrams_.assign(d * d, kAbsent);
    for (const auto& [key, id] : ngram_ids_[0]) dense_bigrams_[(key >> 32) * d + (key & 0xFFFFFFFFu)] = id;
  }
}

std::vector<std::uint32_t> RougeReference::Distinct(std::span<const TokenId> tokens) const {
  std::vector<std::uint32_t> distinct(tokens.size());
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    const auto found = distinct_.find(tokens[i]);
    distinct[i] = found == distinct_.end() ? kAbsent : found->second;
  }
  return distinct;
}

// Each n-gram of the summary that the reference holds matches while the
// reference still has an occurrence of it left: clipped counts.
Scores RougeReference::RougeOfDistinct(const std::vector<std::uint32_t>& distinct, std::size_t n) const {
  std::vector<std::uint32_t> ids = distinct;  // of the n-gram starting at each position
  for (std::size_t k = 2; k <= n && k <= ids.size(); ++k) {
    const auto& id_of = ngram_ids_[k - 2];
    for (std::size_t i = 0; i + k <= ids.size(); ++i) {
      if (ids[i] == kAbsent || distinct[i + k - 1] == kAbsent) {
        ids[i] = kAbsent;
        continue;
      }
      if (k == 2 && !dense_bigrams_.empty()) {
        ids[i] = dense_bigrams_[ids[i] * distinct_.size() + distinct[i + 1]];
        continue;
      }
      const auto found = id_of.find(std::uint64_t{ids[i]} << 32 | distinct[i + k - 1]);
      ids[i] = found == id_of.end() ? kAbsent : found->second;
    }
  }
  ids.resize(ids.size() >= n ? ids.size() - n + 1 : 0);
  const std::vector<std::uint32_t>& counts = ngram_counts_[n - 1];
  std::vector<std::uint32_t> used(counts.size(), 0);
  std::size_t matched = 0;
  for (std::uint32_t id : ids) {
    if (id != kAbsent && used[id] < counts[id]) {
      ++used[id];
      ++matched;
    }
  }
  const std::size_t theirs = length_ >= n ? length_ - n + 1 : 0;
  return ScoresOf(static_cast<double>(matched), static_cast<double>(ids.size()), static_cast<double>(theirs));
}

// Bit i of the row vector V stands for column i of the LCS table (a token
// of the reference); a 0 bit marks a column where the table's row steps up.
// For each token of the summary, with M the columns that hold that token:
//   U = V & M;  V = (V + U) | (V - U)
// over words of 64 bits with a carry.  The LCS is the number of 0
// bits among the first |reference| at the end.
std::size_t RougeReference::LcsOfDistinct(const std::vector<std::uint32_t>& distinct) const {
  if (distinct.empty() || length_ == 0) return 0;
  std::vector<std::uint64_t> v(words_, ~std::uint64_t{0});
  for (std::uint32_t token : distinct) {
    if (token == kAbsent) continue;  // U = 0 leaves V as it is
    const std::uint64_t* m = &masks_[token * words_];
    std::uint64_t carry = 0;
    for (std::size_t w = 0; w < words_; ++w) {
      const std::uint64_t u = v[w] & m[w];
      const std::uint64_t sum = v[w] + u + carry;
      carry = (sum < v[w] || (carry && sum == v[w])) ? 1 : 0;
      v[w] = sum | (v[w] & ~m[w]);  // U holds only bits of V, so V - U = V & ~M, with no borrow
    }
  }
  std::size_t ones = 0;
  for (std::size_t w = 0; w < words_; ++w) {
    std::uint64_t word = v[w];
    const std::size_t bits = std::min<std::size_t>(64, length_ - w * 64);
    if (bits < 64) word &= (std::uint64_t{1} << bits) - 1;
    ones += static_cast<std::size_t>(std::popcount(word));
  }
  return length_ - ones;
}

Scores RougeReference::RougeN(std::span<const TokenId> summary, std::size_t n) const {
  return RougeOfDistinct(Distinct(summary), n);
}

Scores RougeReference::RougeL(std::span<const TokenId> summary) const {
  return ScoresOf(static_cast<double>(LongestCommonSubsequence(summary)), static_cast<double>(summary.size()),
                  static_cast<double>(length_));
}

std::size_t RougeReference::LongestCommonSubsequence(std::span<const TokenId> summary) const {
  return LcsOfDistinct(Distinct(summary));
}

std::vector<Scores> RougeReference::RougeAll(std::span<const TokenId> summary) const {
  return RougeAllOfDistinct(Distinct(summary));
}

std::vector<Scores> RougeReference::RougeAllOfDistinct(const std::vector<std::uint32_t>& distinct) const {
  std::vector<Scores> all;
  for (std::size_t n = 1; n <= ngram_counts_.size(); ++n) all.push_back(RougeOfDistinct(distinct, n));
  all.push_back(ScoresOf(static_cast<double>(LcsOfDistinct(distinct)), static_cast<double>(distinct.size()),
                         static_cast<double>(length_)));
  return all;
}

RougeFigures CompareWith(const RougeReference& reference, std::span<const TokenId> summary) {
  const std::vector<Scores> all = reference.RougeAll(summary);
  return {all[0], all[1], all.back()};
}

Scores RougeN(std::span<const TokenId> summary, std::span<const TokenId> reference, std::size_t n) {
  return RougeReference(reference, n).RougeN(summary, n);
}

Scores RougeL(std::span<const TokenId> summary, std::span<const TokenId> reference) {
  return RougeReference(reference, 1).RougeL(summary);
}

std::size_t LongestCommonSubsequence(std::span<const TokenId> a, std::span<const TokenId> b) {
  return RougeReference(b, 1).LongestCommonSubsequence(a);
}

TokenId TokenVocabulary::Id(std::string_view token) {
  if (auto known = ids_.find(token); known != ids_.end()) return known->second;
  const auto id = static_cast<TokenId>(ids_.size());
  ids_.emplace(std::string(token), id);
  return id;
}

}  // namespace casewright
