#include "summary/metrics.h"

#include <algorithm>
#include <bit>
#include <string>

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

namespace {

// Adds `add` and `carry` to `word`, returning the carry out.
inline std::uint64_t AddWithCarry(std::uint64_t& word, std::uint64_t add, std::uint64_t carry) {
  const unsigned __int128 sum = static_cast<unsigned __int128>(word) + add + carry;
  word = static_cast<std::uint64_t>(sum);
  return static_cast<std::uint64_t>(sum >> 64);
}

constexpr std::size_t kSkipDistance = 5;  // ROUGE-SU4: j - i <= 5

std::uint64_t PairKey(std::uint32_t first, std::uint32_t second) { return std::uint64_t{first} << 32 | second; }

}  // namespace

RougeReference::RougeReference(std::span<const TokenId> tokens, std::size_t max_n)
    : length_(tokens.size()), words_((tokens.size() + 63) / 64), ngram_ids_(max_n - 1), ngram_counts_(max_n) {
  std::vector<std::uint32_t> ids(tokens.size());  // of the n-gram starting at each position
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    const auto [it, added] = distinct_.try_emplace(tokens[i], static_cast<std::uint32_t>(distinct_.size()));
    if (added) ngram_counts_[0].push_back(0);
    ids[i] = it->second;
    ++ngram_counts_[0][it->second];
  }
  const std::vector<std::uint32_t> distinct = ids;
  for (std::size_t n = 2; n <= max_n && n <= tokens.size(); ++n) {
    auto& id_of = ngram_ids_[n - 2];
    auto& counts = ngram_counts_[n - 1];
    for (std::size_t i = 0; i + n <= tokens.size(); ++i) {
      const std::uint64_t key = PairKey(ids[i], distinct[i + n - 1]);
      const auto [it, added] = id_of.try_emplace(key, static_cast<std::uint32_t>(counts.size()));
      if (added) counts.push_back(0);
      ++counts[it->second];
      ids[i] = it->second;
    }
  }
  for (std::size_t i = 0; i < distinct.size(); ++i) {
    for (std::size_t j = i + 1; j < distinct.size() && j - i <= kSkipDistance; ++j) {
      const auto [it, added] =
          skip_ids_.try_emplace(PairKey(distinct[i], distinct[j]), static_cast<std::uint32_t>(skip_counts_.size()));
      if (added) skip_counts_.push_back(0);
      ++skip_counts_[it->second];
      ++skip_total_;
    }
  }
  // The LCS masks, one entry per word of 64 tokens that holds the token.
  std::vector<std::uint32_t> entries(distinct_.size(), 0);
  std::vector<std::uint32_t> last_word(distinct_.size(), ~std::uint32_t{0});
  for (std::size_t i = 0; i < distinct.size(); ++i) {
    const auto word = static_cast<std::uint32_t>(i / 64);
    if (last_word[distinct[i]] != word) {
      last_word[distinct[i]] = word;
      ++entries[distinct[i]];
    }
  }
  mask_start_.assign(distinct_.size() + 1, 0);
  for (std::size_t t = 0; t < entries.size(); ++t) mask_start_[t + 1] = mask_start_[t] + entries[t];
  mask_word_.assign(mask_start_.back(), 0);
  mask_bits_.assign(mask_start_.back(), 0);
  std::vector<std::uint32_t> next(mask_start_.begin(), mask_start_.end() - 1);
  std::fill(last_word.begin(), last_word.end(), ~std::uint32_t{0});
  for (std::size_t i = 0; i < distinct.size(); ++i) {
    const std::uint32_t t = distinct[i];
    const auto word = static_cast<std::uint32_t>(i / 64);
    if (last_word[t] != word) {
      last_word[t] = word;
      mask_word_[next[t]++] = word;
    }
    mask_bits_[next[t] - 1] |= std::uint64_t{1} << (i % 64);
  }
  // A token in more than half the words is visited word by word: a row of
  // bits of its own.  At most 2 * length / words_ tokens are, so the rows
  // take 16 bytes a reference token.
  dense_row_.assign(distinct_.size(), kAbsent);
  for (std::size_t t = 0; t < entries.size(); ++t) {
    if (2 * entries[t] <= words_) continue;
    dense_row_[t] = static_cast<std::uint32_t>(dense_masks_.size() / words_);
    dense_masks_.resize(dense_masks_.size() + words_, 0);
    for (std::uint32_t e = mask_start_[t]; e < mask_start_[t + 1]; ++e) {
      dense_masks_[dense_row_[t] * words_ + mask_word_[e]] = mask_bits_[e];
    }
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

std::size_t RougeReference::ClippedMatches(const std::vector<std::uint32_t>& ids,
                                           const std::vector<std::uint32_t>& counts) const {
  std::vector<std::uint32_t> used(counts.size(), 0);
  std::size_t matched = 0;
  for (std::uint32_t id : ids) {
    if (id != kAbsent && used[id] < counts[id]) {
      ++used[id];
      ++matched;
    }
  }
  return matched;
}

// The id of the n-gram starting at each position of the summary.
std::vector<std::uint32_t> RougeReference::NgramIds(const std::vector<std::uint32_t>& distinct, std::size_t n) const {
  std::vector<std::uint32_t> ids = distinct;
  for (std::size_t k = 2; k <= n && k <= ids.size(); ++k) {
    const auto& id_of = ngram_ids_[k - 2];
    for (std::size_t i = 0; i + k <= ids.size(); ++i) {
      if (ids[i] == kAbsent || distinct[i + k - 1] == kAbsent) {
        ids[i] = kAbsent;
        continue;
      }
      const auto found = id_of.find(PairKey(ids[i], distinct[i + k - 1]));
      ids[i] = found == id_of.end() ? kAbsent : found->second;
    }
  }
  ids.resize(ids.size() >= n ? ids.size() - n + 1 : 0);
  return ids;
}

std::uint32_t RougeReference::SkipBigramId(std::uint32_t first, std::uint32_t second) const {
  if (first == kAbsent || second == kAbsent) return kAbsent;
  const auto found = skip_ids_.find(PairKey(first, second));
  return found == skip_ids_.end() ? kAbsent : found->second;
}

std::vector<std::uint32_t> RougeReference::SkipBigramIds(const std::vector<std::uint32_t>& distinct) const {
  std::vector<std::uint32_t> ids;
  for (std::size_t i = 0; i < distinct.size(); ++i) {
    for (std::size_t j = i + 1; j < distinct.size() && j - i <= kSkipDistance; ++j) {
      ids.push_back(SkipBigramId(distinct[i], distinct[j]));
    }
  }
  return ids;
}

// Each n-gram of the summary that the reference holds matches while the
// reference still has an occurrence of it left: clipped counts.
Scores RougeReference::RougeOfDistinct(const std::vector<std::uint32_t>& distinct, std::size_t n) const {
  const std::vector<std::uint32_t> ids = NgramIds(distinct, n);
  const std::size_t theirs = length_ >= n ? length_ - n + 1 : 0;
  return ScoresOf(static_cast<double>(ClippedMatches(ids, ngram_counts_[n - 1])), static_cast<double>(ids.size()),
                  static_cast<double>(theirs));
}

// Bit i of the row vector V stands for column i of the LCS table (a token
// of the reference); a 0 bit marks a column where the table's row steps up.
// For each token of the summary, with M the columns that hold that token:
//   U = V & M;  V = (V + U) | (V - U)
// over words of 64 bits with a carry; U holds only bits of V, so V - U is
// V & ~M.  The LCS is the number of 0 bits among the first |reference| at
// the end.  A word that neither holds the token nor takes a carry keeps its
// bits, so only the token's words are visited, and a carry is carried on
// from them until a word takes it.  Every word from `top` on is all ones:
// such a word passes a carry on unchanged, and one falls off the end.
std::size_t RougeReference::LcsOfDistinct(const std::vector<std::uint32_t>& distinct) const {
  if (distinct.empty() || length_ == 0) return 0;
  std::vector<std::uint64_t> v(words_, ~std::uint64_t{0});
  std::size_t top = 0;
  const auto carry_up_to = [&](std::size_t from, std::size_t to) {  // a carry into word `from`
    for (std::size_t w = from; w < to && w < top; ++w) {
      if (v[w] != ~std::uint64_t{0}) {
        v[w] = (v[w] + 1) | v[w];
        return std::uint64_t{0};
      }
    }
    return std::uint64_t{1};
  };
  for (std::uint32_t token : distinct) {
    if (token == kAbsent) continue;  // U = 0 leaves V as it is
    if (dense_row_[token] != kAbsent) {
      const std::uint64_t* m = &dense_masks_[dense_row_[token] * words_];
      std::uint64_t carry = 0;
      std::size_t last = 0;  // a word that is not all ones, from the top
      for (std::size_t w = 0; w < words_; ++w) {
        const std::uint64_t kept = v[w] & ~m[w];
        carry = AddWithCarry(v[w], v[w] & m[w], carry);
        v[w] |= kept;
        last = v[w] != ~std::uint64_t{0} ? w + 1 : last;
      }
      top = last;
      continue;
    }
    std::uint64_t carry = 0;
    std::size_t next = 0;  // the first word not yet visited
    for (std::uint32_t e = mask_start_[token]; e < mask_start_[token + 1]; ++e) {
      const std::size_t w = mask_word_[e];
      // Words in a row (a frequent token's) take the carry as it is; the
      // test of the gap first keeps the branch predictable.
      if (w != next && carry) carry = carry_up_to(next, w);
      const std::uint64_t m = mask_bits_[e];
      const std::uint64_t kept = v[w] & ~m;
      carry = AddWithCarry(v[w], v[w] & m, carry);
      v[w] |= kept;
      if (w >= top && v[w] != ~std::uint64_t{0}) top = w + 1;
      next = w + 1;
    }
    if (carry) carry_up_to(next, words_);
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

std::size_t RougeReference::LongestCommonSubsequence(std::span<const TokenId> summary) const {
  return LcsOfDistinct(Distinct(summary));
}

SequenceFigures RougeReference::CompareDistinct(const std::vector<std::uint32_t>& distinct) const {
  return CompareSentences(distinct, {}, SkipBigramIds(distinct));
}

SequenceFigures RougeReference::CompareSentences(const std::vector<std::uint32_t>& distinct,
                                                 const std::vector<std::size_t>& starts,
                                                 const std::vector<std::uint32_t>& within) const {
  SequenceFigures figures;
  // The clipped unigram matches are ROUGE-1's and a part of SU4's.
  const std::size_t unigrams = ClippedMatches(distinct, ngram_counts_[0]);
  figures.rouge1 = ScoresOf(static_cast<double>(unigrams), static_cast<double>(distinct.size()),
                            static_cast<double>(length_));
  figures.rouge2 = RougeOfDistinct(distinct, 2);
  figures.rougeLseq = ScoresOf(static_cast<double>(LcsOfDistinct(distinct)), static_cast<double>(distinct.size()),
                               static_cast<double>(length_));
  // The pairs across each sentence start b, counted at the first start
  // after their first token: i from the previous start (a) on.
  std::vector<std::uint32_t> skips = within;
  std::size_t a = 0;
  for (std::size_t b : starts) {
    for (std::size_t i = std::max(a, b >= kSkipDistance ? b - kSkipDistance : 0); i < b; ++i) {
      for (std::size_t j = b; j < distinct.size() && j - i <= kSkipDistance; ++j) {
        skips.push_back(SkipBigramId(distinct[i], distinct[j]));
      }
    }
    a = b;
  }
  // Skip-bigrams and unigrams together, each clipped to its own counts.
  const std::size_t matched = ClippedMatches(skips, skip_counts_) + unigrams;
  figures.rougeSU4 = ScoresOf(static_cast<double>(matched), static_cast<double>(skips.size() + distinct.size()),
                              static_cast<double>(skip_total_ + length_));
  return figures;
}

Scores RougeN(std::span<const TokenId> summary, std::span<const TokenId> reference, std::size_t n) {
  return RougeReference(reference, std::max<std::size_t>(n, 2)).RougeN(summary, n);
}

std::size_t LongestCommonSubsequence(std::span<const TokenId> a, std::span<const TokenId> b) {
  return RougeReference(b).LongestCommonSubsequence(a);
}

TokenId TokenVocabulary::Id(std::string_view token) {
  if (auto known = ids_.find(token); known != ids_.end()) return known->second;
  const auto id = static_cast<TokenId>(ids_.size());
  ids_.emplace(std::string(token), id);
  return id;
}

}  // namespace casewright
