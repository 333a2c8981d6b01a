#include "summary/selection.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace casewright {

bool IsValidRate(double rate) { return rate > 0 && rate <= 1; }

std::size_t SentencesAtRate(double rate, std::size_t sentence_count) {
  const double product = rate * static_cast<double>(sentence_count);
  const auto rounded = static_cast<std::size_t>(std::floor(product + 0.5 + 1e-9));
  return std::clamp<std::size_t>(rounded, 1, sentence_count);
}

std::vector<std::size_t> ChooseBest(const std::vector<double>& scores, std::size_t count) {
  std::vector<std::size_t> order(scores.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  const auto better = [&scores](std::size_t a, std::size_t b) {
    return scores[a] != scores[b] ? scores[a] > scores[b] : a < b;
  };
  std::nth_element(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(count), order.end(), better);
  order.resize(count);
  std::sort(order.begin(), order.end());
  return order;
}

std::vector<std::size_t> ChooseLead(std::size_t count) {
  std::vector<std::size_t> lead(count);
  std::iota(lead.begin(), lead.end(), std::size_t{0});
  return lead;
}

RandomChoice::RandomChoice(std::uint64_t seed) : state_(seed) {}

// SplitMix64: small, fast, and the same on every machine.
std::uint64_t RandomChoice::Next() {
  std::uint64_t z = (state_ += 0x9E3779B97F4A7C15u);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
  return z ^ (z >> 31);
}

// The first `count` places of a Fisher-Yates shuffle.  The modulo's bias,
// at most sentence_count / 2^64, is far below anything a mean over draws
// can show.
std::vector<std::size_t> RandomChoice::Draw(std::size_t sentence_count, std::size_t count) {
  std::vector<std::size_t> order(sentence_count);
  std::iota(order.begin(), order.end(), std::size_t{0});
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t j = i + Below(sentence_count - i);
    std::swap(order[i], order[j]);
  }
  order.resize(count);
  std::sort(order.begin(), order.end());
  return order;
}

std::size_t RandomChoice::Below(std::size_t n) { return static_cast<std::size_t>(Next() % n); }

// FNV-1a over the path's bytes; the sentence count and the seed are each
// mixed in by SplitMix64's finaliser, so that near seeds give unrelated
// draws.
std::uint64_t RandomBaselineSeed(std::uint64_t seed, std::string_view path, std::size_t sentence_count) {
  const auto mix = [](std::uint64_t x) {
    x += 0x9E3779B97F4A7C15u;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9u;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBu;
    return x ^ (x >> 31);
  };
  std::uint64_t hash = 0xCBF29CE484222325u;
  for (unsigned char c : path) hash = (hash ^ c) * 0x100000001B3u;
  return mix(mix(hash ^ mix(sentence_count)) ^ seed);
}

std::vector<bool> ChosenFlags(const std::vector<std::size_t>& chosen, std::size_t sentence_count) {
  std::vector<bool> flags(sentence_count, false);
  for (std::size_t index : chosen) flags[index] = true;
  return flags;
}

}  // namespace casewright
