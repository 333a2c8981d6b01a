#include "summary/metrics.h"

#include <algorithm>
#include <bit>
#include <string>

#include "absl/container/flat_hash_map.h"

namespace casewright {
namespace {

double Share(double part, double whole) { return whole == 0 ? 0 : part / whole; }

// The start of each n-gram of `tokens`, sorted so that equal n-grams stand
// together.
std::vector<std::size_t> SortedNgrams(std::span<const TokenId> tokens, std::size_t n) {
  if (tokens.size() < n) return {};
  std::vector<std::size_t> starts(tokens.size() - n + 1);
  for (std::size_t i = 0; i < starts.size(); ++i) starts[i] = i;
  std::sort(starts.begin(), starts.end(), [&](std::size_t a, std::size_t b) {
    return std::lexicographical_compare(tokens.begin() + a, tokens.begin() + a + n, tokens.begin() + b,
                                        tokens.begin() + b + n);
  });
  return starts;
}

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

// Walks the two sorted lists of n-grams side by side, as a merge does; each
// n-gram found in both matches min(its count in each) times.
Scores RougeN(std::span<const TokenId> summary, std::span<const TokenId> reference, std::size_t n) {
  const std::vector<std::size_t> ours = SortedNgrams(summary, n);
  const std::vector<std::size_t> theirs = SortedNgrams(reference, n);
  const auto ngram = [n](std::span<const TokenId> tokens, std::size_t start) {
    return tokens.subspan(start, n);
  };
  const auto less = [](std::span<const TokenId> a, std::span<const TokenId> b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end());
  };
  std::size_t matched = 0;
  std::size_t i = 0, j = 0;
  while (i < ours.size() && j < theirs.size()) {
    const auto a = ngram(summary, ours[i]);
    const auto b = ngram(reference, theirs[j]);
    if (less(a, b)) {
      ++i;
    } else if (less(b, a)) {
      ++j;
    } else {
      std::size_t count_a = 0, count_b = 0;
      for (; i < ours.size() && std::ranges::equal(ngram(summary, ours[i]), a); ++i) ++count_a;
      for (; j < theirs.size() && std::ranges::equal(ngram(reference, theirs[j]), b); ++j) ++count_b;
      matched += std::min(count_a, count_b);
    }
  }
  return ScoresOf(static_cast<double>(matched), static_cast<double>(ours.size()),
                  static_cast<double>(theirs.size()));
}

Scores RougeL(std::span<const TokenId> summary, std::span<const TokenId> reference) {
  return ScoresOf(static_cast<double>(LongestCommonSubsequence(summary, reference)),
                  static_cast<double>(summary.size()), static_cast<double>(reference.size()));
}

// Bit i of the row vector V stands for column i of the LCS table (a token
// of `b`); a 0 bit marks a column where the table's row steps up.  For each
// token of `a`, with M the columns that hold that token:
//   U = V & M;  V = (V + U) | (V - U)
// over words of 64 bits with carry and borrow.  The LCS is the number of 0
// bits among the first |b| at the end.
std::size_t LongestCommonSubsequence(std::span<const TokenId> a, std::span<const TokenId> b) {
  if (a.empty() || b.empty()) return 0;
  const std::size_t words = (b.size() + 63) / 64;
  absl::flat_hash_map<TokenId, std::size_t> mask_of;  // token -> offset of its mask in `masks`
  std::vector<std::uint64_t> masks;
  for (std::size_t i = 0; i < b.size(); ++i) {
    auto [it, added] = mask_of.try_emplace(b[i], masks.size());
    if (added) masks.resize(masks.size() + words, 0);
    masks[it->second + i / 64] |= std::uint64_t{1} << (i % 64);
  }
  std::vector<std::uint64_t> v(words, ~std::uint64_t{0});
  for (TokenId token : a) {
    const auto found = mask_of.find(token);
    if (found == mask_of.end()) continue;  // U = 0 leaves V as it is
    const std::uint64_t* m = &masks[found->second];
    std::uint64_t carry = 0, borrow = 0;
    for (std::size_t w = 0; w < words; ++w) {
      const std::uint64_t u = v[w] & m[w];
      const std::uint64_t sum = v[w] + u + carry;
      carry = (sum < v[w] || (carry && sum == v[w])) ? 1 : 0;
      const std::uint64_t difference = v[w] - u - borrow;
      borrow = (v[w] < u || (borrow && v[w] == u)) ? 1 : 0;
      v[w] = sum | difference;
    }
  }
  std::size_t ones = 0;
  for (std::size_t w = 0; w < words; ++w) {
    std::uint64_t word = v[w];
    const std::size_t bits = std::min<std::size_t>(64, b.size() - w * 64);
    if (bits < 64) word &= (std::uint64_t{1} << bits) - 1;
    ones += static_cast<std::size_t>(std::popcount(word));
  }
  return b.size() - ones;
}

TokenId TokenVocabulary::Id(std::string_view token) {
  if (auto known = ids_.find(token); known != ids_.end()) return known->second;
  const auto id = static_cast<TokenId>(ids_.size());
  ids_.emplace(std::string(token), id);
  return id;
}

}  // namespace casewright
