// Summary-level ROUGE-L (metrics.h): the union of each reference sentence's
// LCSs with the sentences of a summary, for many summaries of one text.
#include <algorithm>
#include <bit>
#include <cmath>
#include <span>

#include "summary/metrics.h"

namespace casewright {
namespace {

constexpr std::uint32_t kNone = ~std::uint32_t{0};

// The 1 bits of `word`, inline: the builds target every x86-64 processor,
// so std::popcount would be a library call.
inline std::size_t OneBits(std::uint64_t word) {
  word -= (word >> 1) & 0x5555555555555555u;
  word = (word & 0x3333333333333333u) + ((word >> 2) & 0x3333333333333333u);
  word = (word + (word >> 4)) & 0x0F0F0F0F0F0F0F0Fu;
  return static_cast<std::size_t>((word * 0x0101010101010101u) >> 56);
}

// One reference sentence, and the LCS positions of it and any other
// sentence as rouge-score reads them back from the table.
class SentenceLcs {
 public:
  // `slot` has an entry per token id, kNone for those the sentence lacks;
  // it is filled here and emptied again by the destructor.
  SentenceLcs(const std::vector<TokenId>& sentence, std::vector<std::uint32_t>& slot)
      : sentence_(sentence), slot_(slot), words_((sentence.size() + 63) / 64) {
    for (std::size_t i = 0; i < sentence.size(); ++i) {
      std::uint32_t& s = slot_[sentence[i]];
      if (s == kNone) {
        s = static_cast<std::uint32_t>(positions_.size());
        positions_.emplace_back();
        distinct_.push_back(sentence[i]);
      }
      positions_[s].push_back(static_cast<std::uint32_t>(i));
    }
    mask_.resize(words_);
    if (words_ == 1) {
      for (const auto& positions : positions_) {
        std::uint64_t bits = 0;
        for (std::uint32_t p : positions) bits |= std::uint64_t{1} << p;
        word_masks_.push_back(bits);
      }
    }
  }
  ~SentenceLcs() {
    for (TokenId token : sentence_) slot_[token] = kNone;
  }
  SentenceLcs(const SentenceLcs&) = delete;
  SentenceLcs& operator=(const SentenceLcs&) = delete;

  std::size_t words() const { return words_; }
  // The sentence's distinct tokens, and for a sentence of one word, the
  // positions of the k-th as bits.
  const std::vector<TokenId>& distinct() const { return distinct_; }
  std::uint64_t WordMask(std::size_t k) const { return word_masks_[k]; }

  // The positions of the sentence that hold a token of `other`, as bits.
  void Candidates(const std::vector<TokenId>& other, std::vector<std::uint64_t>& bits) const {
    bits.assign(words_, 0);
    for (TokenId token : other) {
      const std::uint32_t s = slot_[token];
      if (s == kNone) continue;
      if (words_ == 1) {
        bits[0] |= word_masks_[s];
        continue;
      }
      for (std::uint32_t p : positions_[s]) bits[p / 64] |= std::uint64_t{1} << (p % 64);
    }
  }

  // The positions of the LCS of the sentence and `other`, in order.  The
  // rows of the table are kept for the reading back, every row when they
  // are few, else every k-th row and k rows at a time, recomputed, so that
  // memory stays near |other| + k * words for k about the root of |other|.
  std::vector<std::uint32_t> Positions(const std::vector<TokenId>& other) {
    const std::size_t n = other.size();
    if (n == 0 || sentence_.empty()) return {};
    const std::size_t per_block =
        n * words_ <= kAllRows ? n : std::max<std::size_t>(1, static_cast<std::size_t>(std::sqrt(double(n))));
    checkpoints_.assign(words_, ~std::uint64_t{0});  // row 0
    if (per_block < n) {
      rows_.assign(checkpoints_.begin(), checkpoints_.end());
      for (std::size_t j = 1; j <= n; ++j) {
        Step(rows_.data(), other[j - 1]);
        if (j % per_block == 0) checkpoints_.insert(checkpoints_.end(), rows_.begin(), rows_.end());
      }
    }
    std::vector<std::uint32_t> found;
    std::size_t i = sentence_.size(), j = n;
    std::size_t block_start = n + 1;  // no block computed yet
    while (i > 0 && j > 0) {
      if (j - 1 < block_start) block_start = ComputeBlock((j - 1) / per_block * per_block, per_block, other);
      if (sentence_[i - 1] == other[j - 1]) {
        found.push_back(static_cast<std::uint32_t>(i - 1));
        --i;
        --j;
      } else if (Cell(block_start, j - 1, i) > Cell(block_start, j, i - 1)) {
        --j;
      } else {
        --i;
      }
    }
    std::reverse(found.begin(), found.end());
    return found;
  }

 private:
  static constexpr std::size_t kAllRows = std::size_t{1} << 16;  // words of rows kept whole

  // One row of the bit-parallel table further, for `token` (metrics.cc).
  void Step(std::uint64_t* v, TokenId token) {
    const std::uint32_t s = slot_[token];
    if (s == kNone) return;  // no match: the row stays
    if (words_ == 1) {
      const std::uint64_t m = word_masks_[s];
      v[0] = (v[0] + (v[0] & m)) | (v[0] & ~m);
      return;
    }
    std::fill(mask_.begin(), mask_.end(), 0);
    for (std::uint32_t p : positions_[s]) mask_[p / 64] |= std::uint64_t{1} << (p % 64);
    std::uint64_t carry = 0;
    for (std::size_t w = 0; w < words_; ++w) {
      const std::uint64_t kept = v[w] & ~mask_[w];
      const unsigned __int128 sum = static_cast<unsigned __int128>(v[w]) + (v[w] & mask_[w]) + carry;
      carry = static_cast<std::uint64_t>(sum >> 64);
      v[w] = static_cast<std::uint64_t>(sum) | kept;
    }
  }

  // Rows `start` to start + per_block (at most |other|) into rows_, from
  // the checkpoint of `start`.  Returns `start`.
  std::size_t ComputeBlock(std::size_t start, std::size_t per_block, const std::vector<TokenId>& other) {
    const std::size_t end = std::min(start + per_block, other.size());
    rows_.resize((end - start + 1) * words_);
    std::copy_n(checkpoints_.begin() + static_cast<std::ptrdiff_t>(start / per_block * words_), words_,
                rows_.begin());
    for (std::size_t j = start + 1; j <= end; ++j) {
      std::uint64_t* row = rows_.data() + (j - start) * words_;
      std::copy_n(row - words_, words_, row);
      Step(row, other[j - 1]);
    }
    return start;
  }

  // LCS of the sentence's first `i` tokens and other's first `j`: the 0 bits
  // among the first i of row j.
  std::size_t Cell(std::size_t block_start, std::size_t j, std::size_t i) const {
    const std::uint64_t* v = rows_.data() + (j - block_start) * words_;
    std::size_t ones = 0;
    for (std::size_t w = 0; w < i / 64; ++w) ones += OneBits(v[w]);
    if (i % 64) ones += OneBits(v[i / 64] & ((std::uint64_t{1} << (i % 64)) - 1));
    return i - ones;
  }

  const std::vector<TokenId>& sentence_;
  std::vector<std::uint32_t>& slot_;
  std::size_t words_;
  std::vector<TokenId> distinct_;
  std::vector<std::vector<std::uint32_t>> positions_;  // of each distinct token
  std::vector<std::uint64_t> word_masks_;              // the same as bits, for a sentence of one word
  std::vector<std::uint64_t> mask_, checkpoints_, rows_;
};

// The sentences of a text that hold each token, each sentence once.
class Postings {
 public:
  Postings(const SentenceTokens& text, const std::vector<std::size_t>& sentences, std::size_t tokens)
      : start_(tokens + 1, 0) {
    std::vector<std::uint32_t> last(tokens, kNone);
    const auto each_distinct = [&](auto&& visit) {
      std::fill(last.begin(), last.end(), kNone);
      for (std::size_t c : sentences) {
        for (TokenId t : text[c]) {
          if (last[t] == c) continue;
          last[t] = static_cast<std::uint32_t>(c);
          visit(t, c);
        }
      }
    };
    each_distinct([&](TokenId t, std::size_t) { ++start_[t + 1]; });
    for (std::size_t t = 0; t < tokens; ++t) start_[t + 1] += start_[t];
    sentences_.resize(start_.back());
    std::vector<std::uint32_t> next(start_.begin(), start_.end() - 1);
    each_distinct([&](TokenId t, std::size_t c) { sentences_[next[t]++] = static_cast<std::uint32_t>(c); });
  }

  std::span<const std::uint32_t> Of(TokenId token) const {
    return {sentences_.data() + start_[token], start_[token + 1] - start_[token]};
  }

 private:
  std::vector<std::uint32_t> start_, sentences_;
};

TokenId LargestToken(const SentenceTokens& a, const SentenceTokens& b) {
  TokenId largest = 0;
  for (const SentenceTokens* tokens : {&a, &b}) {
    for (const auto& sentence : *tokens) {
      for (TokenId t : sentence) largest = std::max(largest, t);
    }
  }
  return largest;
}

}  // namespace

// For each reference sentence, the summaries holding each position of its
// union are kept as bits (one per summary) per position: a text sentence
// adds its LCS positions to the summaries that hold it.  A sentence none of
// whose candidate positions would add a summary is not compared.  The hits
// then go through the positions in order, each summary with its own counts.
std::vector<Scores> SummaryLevelRougeL(const SentenceTokens& reference, const SentenceTokens& text,
                                       const std::vector<std::vector<std::size_t>>& summaries) {
  const std::size_t count = summaries.size();
  const std::size_t summary_words = (count + 63) / 64;
  std::vector<std::uint64_t> holders(text.size() * summary_words, 0);  // of each text sentence
  for (std::size_t d = 0; d < count; ++d) {
    for (std::size_t c : summaries[d]) holders[c * summary_words + d / 64] |= std::uint64_t{1} << (d % 64);
  }
  std::vector<std::size_t> held;
  for (std::size_t c = 0; c < text.size(); ++c) {
    if (std::any_of(holders.begin() + c * summary_words, holders.begin() + (c + 1) * summary_words,
                    [](std::uint64_t w) { return w != 0; })) {
      held.push_back(c);
    }
  }
  // Token counts: the reference's, and each summary's, of the reference's
  // tokens only (no other token can be a hit).
  std::vector<std::uint32_t> slot(static_cast<std::size_t>(LargestToken(reference, text)) + 1, kNone);
  std::vector<std::uint32_t> index_of(slot.size(), kNone), reference_counts;
  std::size_t reference_length = 0;
  for (const auto& sentence : reference) {
    reference_length += sentence.size();
    for (TokenId t : sentence) {
      if (index_of[t] == kNone) {
        index_of[t] = static_cast<std::uint32_t>(reference_counts.size());
        reference_counts.push_back(0);
      }
      ++reference_counts[index_of[t]];
    }
  }
  const std::size_t distinct = reference_counts.size();
  std::vector<std::uint32_t> left_in_reference(count * distinct), left_in_summary(count * distinct, 0);
  std::vector<std::size_t> lengths(count, 0), hits(count, 0);
  for (std::size_t d = 0; d < count; ++d) {
    std::copy(reference_counts.begin(), reference_counts.end(), left_in_reference.begin() + d * distinct);
    for (std::size_t c : summaries[d]) {
      lengths[d] += text[c].size();
      for (TokenId t : text[c]) {
        if (index_of[t] != kNone) ++left_in_summary[d * distinct + index_of[t]];
      }
    }
  }
  // The text sentences that share a token with a reference sentence of one
  // word are found from the postings, with the positions they could match;
  // a longer reference sentence is compared with every sentence held.
  const Postings postings(text, held, slot.size());
  // The bits of every summary, to tell the positions that every summary's
  // union already holds: no sentence can add to those.
  std::vector<std::uint64_t> all_summaries(summary_words, ~std::uint64_t{0});
  if (count % 64 != 0) all_summaries.back() = (std::uint64_t{1} << (count % 64)) - 1;
  std::vector<std::uint64_t> candidates, covered, full, one_word(text.size(), 0);
  std::vector<std::uint32_t> touched;
  for (const auto& sentence : reference) {
    if (sentence.empty()) continue;
    SentenceLcs lcs(sentence, slot);
    covered.assign(sentence.size() * summary_words, 0);
    full.assign(lcs.words(), 0);
    const auto compare = [&](std::size_t c, std::span<const std::uint64_t> candidate_bits) {
      const std::uint64_t* of_c = &holders[c * summary_words];
      bool adds = false;
      for (std::size_t w = 0; w < candidate_bits.size() && !adds; ++w) {
        for (std::uint64_t bits = candidate_bits[w] & ~full[w]; bits && !adds; bits &= bits - 1) {
          const std::size_t p = w * 64 + static_cast<std::size_t>(std::countr_zero(bits));
          for (std::size_t k = 0; k < summary_words; ++k) adds = adds || (of_c[k] & ~covered[p * summary_words + k]);
        }
      }
      if (!adds) return;
      for (std::uint32_t p : lcs.Positions(text[c])) {
        std::uint64_t* at = &covered[p * summary_words];
        for (std::size_t k = 0; k < summary_words; ++k) at[k] |= of_c[k];
        if (std::equal(at, at + summary_words, all_summaries.begin())) full[p / 64] |= std::uint64_t{1} << (p % 64);
      }
    };
    if (lcs.words() == 1) {
      for (std::size_t k = 0; k < lcs.distinct().size(); ++k) {
        for (std::uint32_t c : postings.Of(lcs.distinct()[k])) {
          if (one_word[c] == 0) touched.push_back(c);
          one_word[c] |= lcs.WordMask(k);
        }
      }
      for (std::uint32_t c : touched) {
        compare(c, {&one_word[c], 1});
        one_word[c] = 0;
      }
      touched.clear();
    } else {
      for (std::size_t c : held) {
        lcs.Candidates(text[c], candidates);
        compare(c, candidates);
      }
    }
    for (std::size_t p = 0; p < sentence.size(); ++p) {
      const std::size_t token = index_of[sentence[p]];
      for (std::size_t k = 0; k < summary_words; ++k) {
        for (std::uint64_t bits = covered[p * summary_words + k]; bits; bits &= bits - 1) {
          const std::size_t d = k * 64 + static_cast<std::size_t>(std::countr_zero(bits));
          std::uint32_t& in_reference = left_in_reference[d * distinct + token];
          std::uint32_t& in_summary = left_in_summary[d * distinct + token];
          if (in_reference > 0 && in_summary > 0) {
            --in_reference;
            --in_summary;
            ++hits[d];
          }
        }
      }
    }
  }
  std::vector<Scores> scores;
  for (std::size_t d = 0; d < count; ++d) {
    scores.push_back(ScoresOf(static_cast<double>(hits[d]), static_cast<double>(lengths[d]),
                              static_cast<double>(reference_length)));
  }
  return scores;
}

Scores SummaryLevelRougeL(const SentenceTokens& reference, const SentenceTokens& summary) {
  std::vector<std::size_t> all(summary.size());
  for (std::size_t i = 0; i < all.size(); ++i) all[i] = i;
  return SummaryLevelRougeL(reference, summary, {all}).front();
}

}  // namespace casewright
