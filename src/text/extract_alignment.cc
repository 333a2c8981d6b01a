#include "text/extract_alignment.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <utility>

#include "absl/container/flat_hash_map.h"
#include "absl/container/flat_hash_set.h"

namespace casewright {
namespace {

// What choosing a near match costs, in keys: a near match of one key is
// never worth it.
constexpr std::int64_t kNearCost = 1;
constexpr std::int64_t kNone = std::numeric_limits<std::int64_t>::min() / 4;

// A place where a sentence's keys stand in the stream: [begin, end).
struct Match {
  std::uint32_t sentence;
  std::uint32_t begin;
  std::uint32_t end;
};

// A near match, with the keys of its sentence it holds in order.
struct NearMatch {
  Match match;
  std::int64_t held;
};

// The greatest value, with the match that gave it, over the sentences before
// a given one (a Fenwick tree over sentence indices).
class PrefixMax {
 public:
  explicit PrefixMax(std::size_t sentences) : tree_(sentences + 1, {kNone, -1}) {}

  void Raise(std::size_t sentence, std::int64_t value, std::int32_t match) {
    for (std::size_t i = sentence + 1; i < tree_.size(); i += i & (~i + 1)) {
      if (value > tree_[i].first) tree_[i] = {value, match};
    }
  }

  // Over the sentences before `sentence`.
  std::pair<std::int64_t, std::int32_t> Before(std::size_t sentence) const {
    std::pair<std::int64_t, std::int32_t> best{kNone, -1};
    for (std::size_t i = sentence; i > 0; i -= i & (~i + 1)) {
      if (tree_[i].first > best.first) best = tree_[i];
    }
    return best;
  }

 private:
  std::vector<std::pair<std::int64_t, std::int32_t>> tree_;
};

class Aligner {
 public:
  explicit Aligner(const AlignmentInput& input)
      : input_(input), covered_(input.stream.size(), false), chosen_(input.sentences.size(), false) {
    GroupEqualSentences();
  }

  std::vector<AlignedSentence> Align() {
    const std::vector<Match> exact = ExactMatches();
    std::size_t passes = 0;
    while (ExactPass(exact)) ++passes;
    // Out of order, no neighbour tells which of equal sentences a match is.
    if (passes > 1) {
      for (AlignedSentence& aligned : aligned_) EqualsUnchosen(aligned);
    }
    if (input_.min_overlap > 0) NearPass(passes <= 1);
    std::sort(aligned_.begin(), aligned_.end(),
              [](const AlignedSentence& a, const AlignedSentence& b) { return a.begin < b.begin; });
    return std::move(aligned_);
  }

 private:
  std::size_t StreamSize() const { return input_.stream.size(); }

  // Every place where a sentence's keys stand in the stream, by where it
  // begins, then by sentence.  The sentences are indexed by their first key,
  // so each position of the stream is compared with the few sentences that
  // begin with its key.
  std::vector<Match> ExactMatches() const {
    absl::flat_hash_map<std::uint32_t, std::vector<std::uint32_t>> by_first_key;
    for (std::size_t i = 0; i < input_.sentences.size(); ++i) {
      if (!input_.sentences[i].empty()) by_first_key[input_.sentences[i][0]].push_back(static_cast<std::uint32_t>(i));
    }
    const KeySequence& stream = input_.stream;
    std::vector<Match> matches;
    for (std::size_t p = 0; p < stream.size(); ++p) {
      auto starting = by_first_key.find(stream[p]);
      if (starting == by_first_key.end()) continue;
      for (std::uint32_t i : starting->second) {
        const KeySequence& keys = input_.sentences[i];
        if (keys.size() <= stream.size() - p && std::equal(keys.begin(), keys.end(), stream.begin() + p)) {
          matches.push_back({i, static_cast<std::uint32_t>(p), static_cast<std::uint32_t>(p + keys.size())});
        }
      }
    }
    return matches;
  }

  // Where a stretch matched by nothing may end (`ends`) or begin (`begins`)
  // beside a match at no cost: where an extract sentence begins or ends, a
  // chosen match does, or a key beside it that one of `matches` could take.
  struct FreeSides {
    std::vector<bool> ends;
    std::vector<bool> begins;
  };
  FreeSides FreeSidesOf(const std::vector<Match>& matches) const {
    std::vector<int> coverable(StreamSize() + 1, 0);  // differences, then counts
    for (const Match& match : matches) {
      ++coverable[match.begin];
      --coverable[match.end];
    }
    std::partial_sum(coverable.begin(), coverable.end(), coverable.begin());
    FreeSides free{input_.breaks, input_.breaks};
    for (std::size_t q = 0; q < StreamSize(); ++q) {
      if (covered_[q]) free.ends[q] = free.begins[q] = free.ends[q + 1] = free.begins[q + 1] = true;
      if (coverable[q] > 0) {
        free.ends[q + 1] = true;
        free.begins[q] = true;
      }
    }
    return free;
  }

  // `matches` (by begin) without those whose stretch lies inside a longer
  // one's: where the stream holds a whole sentence, the shorter sentences
  // its words also hold are not taken from inside it, even when the order
  // leaves the whole one to a later pass.
  static std::vector<Match> WithoutContained(std::vector<Match> matches) {
    std::vector<Match> kept;
    std::uint32_t end_before = 0;  // the farthest end of the matches that begin earlier
    for (std::size_t first = 0; first < matches.size();) {
      std::size_t last = first;
      std::uint32_t end_here = 0;
      for (; last < matches.size() && matches[last].begin == matches[first].begin; ++last) {
        end_here = std::max(end_here, matches[last].end);
      }
      for (std::size_t m = first; m < last; ++m) {
        if (end_before < matches[m].end && end_here == matches[m].end) kept.push_back(matches[m]);
      }
      end_before = std::max(end_before, end_here);
      first = last;
    }
    return kept;
  }

  // Aligns the uncovered stream with the unchosen sentences; whether it
  // chose any.
  bool ExactPass(const std::vector<Match>& all) {
    std::vector<std::size_t> covered_before(StreamSize() + 1, 0);
    for (std::size_t q = 0; q < StreamSize(); ++q) covered_before[q + 1] = covered_before[q] + covered_[q];
    std::vector<Match> free;
    for (const Match& match : all) {
      if (!chosen_[match.sentence] && covered_before[match.end] == covered_before[match.begin]) free.push_back(match);
    }
    free = WithoutContained(std::move(free));
    std::vector<Match> chain = BestChain(free, FreeSidesOf(free));
    if (chain.empty()) return false;
    for (std::size_t t = 0; t < chain.size(); ++t) {
      AlignedSentence aligned = EarliestEqual(chain, t);
      Choose(aligned);
    }
    return true;
  }

  // The chain of `matches` (by begin, then sentence) with sentences in
  // increasing order that covers the most keys, less kSideCost for each side
  // of a match beside an uncovered stretch that `free` does not allow.
  std::vector<Match> BestChain(const std::vector<Match>& matches, const FreeSides& free) const {
    const std::size_t count = matches.size();
    auto side_before = [&free](std::uint32_t begin) { return free.ends[begin] ? 0 : kSideCost; };
    auto side_after = [&free](std::uint32_t end) { return free.begins[end] ? 0 : kSideCost; };
    std::vector<std::int64_t> value(count);
    std::vector<std::int32_t> previous(count, -1);
    std::vector<std::uint32_t> by_end(count);
    std::iota(by_end.begin(), by_end.end(), 0);
    std::stable_sort(by_end.begin(), by_end.end(),
                     [&](std::uint32_t a, std::uint32_t b) { return matches[a].end < matches[b].end; });
    PrefixMax after_gap(input_.sentences.size());
    std::vector<std::vector<std::uint32_t>> ending_at(StreamSize() + 1);
    std::size_t ended = 0;
    for (std::size_t first = 0; first < count;) {
      const std::uint32_t begin = matches[first].begin;
      while (ended < count && matches[by_end[ended]].end <= begin) {
        const std::uint32_t m = by_end[ended++];
        after_gap.Raise(matches[m].sentence, value[m] - side_after(matches[m].end), static_cast<std::int32_t>(m));
      }
      // The matches that end right here, by sentence, for those that follow
      // them with no gap.
      std::vector<std::uint32_t>& adjacent = ending_at[begin];
      std::sort(adjacent.begin(), adjacent.end(),
                [&](std::uint32_t a, std::uint32_t b) { return matches[a].sentence < matches[b].sentence; });
      std::size_t next_adjacent = 0;
      std::int64_t best_adjacent = kNone;
      std::int32_t best_adjacent_match = -1;
      std::size_t last = first;
      for (; last < count && matches[last].begin == begin; ++last) {
        const Match& match = matches[last];
        for (; next_adjacent < adjacent.size() && matches[adjacent[next_adjacent]].sentence < match.sentence;
             ++next_adjacent) {
          if (value[adjacent[next_adjacent]] > best_adjacent) {
            best_adjacent = value[adjacent[next_adjacent]];
            best_adjacent_match = static_cast<std::int32_t>(adjacent[next_adjacent]);
          }
        }
        std::int64_t best = -side_before(begin);  // the first match of its chain
        std::int32_t from = -1;
        if (auto [gap_value, gap_match] = after_gap.Before(match.sentence);
            gap_match >= 0 && gap_value - side_before(begin) > best) {
          best = gap_value - side_before(begin);
          from = gap_match;
        }
        if (best_adjacent_match >= 0 && best_adjacent > best) {
          best = best_adjacent;
          from = best_adjacent_match;
        }
        value[last] = static_cast<std::int64_t>(match.end - match.begin) + best;
        previous[last] = from;
        ending_at[match.end].push_back(static_cast<std::uint32_t>(last));
      }
      first = last;
    }
    std::int64_t best = 0;
    std::int32_t last = -1;
    for (std::size_t m = 0; m < count; ++m) {
      if (value[m] - side_after(matches[m].end) > best) {
        best = value[m] - side_after(matches[m].end);
        last = static_cast<std::int32_t>(m);
      }
    }
    std::vector<Match> chain;
    for (; last >= 0; last = previous[last]) chain.push_back(matches[last]);
    std::reverse(chain.begin(), chain.end());
    return chain;
  }

  // Match `t` of `chain` as a chosen sentence: of the unchosen sentences
  // with its keys that fit between its neighbours' in the text, the first.
  // Its equals are those that fit between the neighbours it touches in the
  // stream: a neighbour across a gap (an extract out of order, words that
  // match nothing) tells nothing about which it is.  Earlier matches of the
  // chain are already chosen.
  AlignedSentence EarliestEqual(const std::vector<Match>& chain, std::size_t t) const {
    const Match& match = chain[t];
    AlignedSentence aligned{match.sentence, match.begin, match.end, false, {}};
    const std::int32_t group = group_of_[match.sentence];
    if (group < 0) return aligned;
    const bool has_previous = t > 0;
    const bool has_next = t + 1 < chain.size();
    const std::size_t after = has_previous ? aligned_.back().sentence + 1 : 0;
    const std::size_t before = has_next ? chain[t + 1].sentence : input_.sentences.size();
    const bool touches_previous = has_previous && chain[t - 1].end == match.begin;
    const bool touches_next = has_next && chain[t + 1].begin == match.end;
    bool first = true;
    for (std::size_t i : groups_[group]) {
      if (chosen_[i]) continue;
      if (first && i >= after && i < before) {
        aligned.sentence = i;
        first = false;
      }
      if ((!touches_previous || i >= after) && (!touches_next || i < before)) aligned.equals.push_back(i);
    }
    if (aligned.equals.size() == 1) aligned.equals.clear();
    return aligned;
  }

  // Sets the equals of `aligned` to its sentence and every unchosen one with
  // its keys.
  void EqualsUnchosen(AlignedSentence& aligned) const {
    aligned.equals.clear();
    const std::int32_t group = group_of_[aligned.sentence];
    if (group < 0) return;
    for (std::size_t i : groups_[group]) {
      if (i == aligned.sentence || !chosen_[i]) aligned.equals.push_back(i);
    }
    if (aligned.equals.size() == 1) aligned.equals.clear();
  }

  void Choose(AlignedSentence aligned) {
    chosen_[aligned.sentence] = true;
    std::fill(covered_.begin() + aligned.begin, covered_.begin() + aligned.end, true);
    aligned_.push_back(std::move(aligned));
  }

  // The sentences that have the same keys as another, in groups.
  void GroupEqualSentences() {
    absl::flat_hash_map<KeySequence, std::int32_t> group_by_keys;
    group_of_.assign(input_.sentences.size(), -1);
    std::vector<std::vector<std::size_t>> groups;
    for (std::size_t i = 0; i < input_.sentences.size(); ++i) {
      if (input_.sentences[i].empty()) continue;
      auto [it, added] = group_by_keys.try_emplace(input_.sentences[i], static_cast<std::int32_t>(groups.size()));
      if (added) groups.emplace_back();
      groups[it->second].push_back(i);
      group_of_[i] = it->second;
    }
    for (std::size_t i = 0; i < group_of_.size(); ++i) {
      if (group_of_[i] >= 0 && groups[group_of_[i]].size() < 2) group_of_[i] = -1;
    }
    groups_ = std::move(groups);
  }

  // Near matches for every stretch the exact passes left uncovered.  In an
  // extract in the text's order, only sentences between those of the exact
  // matches on either side of a stretch may take it.
  void NearPass(bool in_order) {
    std::vector<std::size_t> after(StreamSize() + 1, 0);
    std::vector<std::size_t> before(StreamSize() + 1, input_.sentences.size());
    if (in_order) {
      for (const AlignedSentence& aligned : aligned_) {
        after[aligned.end] = aligned.sentence + 1;
        before[aligned.begin] = aligned.sentence;
      }
    }
    for (std::size_t q = 0; q < StreamSize();) {
      if (covered_[q]) {
        ++q;
        continue;
      }
      std::size_t end = q;
      while (end < StreamSize() && !covered_[end]) ++end;
      NearStretch(q, end, after[q], before[end]);
      q = end;
    }
  }

  // How many of a sentence's `size` keys a near match must hold.
  std::size_t Needed(std::size_t size) const {
    return static_cast<std::size_t>(std::ceil(input_.min_overlap * static_cast<double>(size) - 1e-9));
  }

  // The unchosen sentences in [first, last) that share enough keys (counted
  // with repeats) with stream[begin, end) to match a part of it.
  std::vector<std::uint32_t> NearCandidates(std::size_t begin, std::size_t end, std::size_t first,
                                            std::size_t last) {
    if (postings_.empty()) {
      for (std::size_t i = 0; i < input_.sentences.size(); ++i) {
        absl::flat_hash_map<std::uint32_t, std::uint32_t> counts;
        for (std::uint32_t key : input_.sentences[i]) ++counts[key];
        for (auto [key, count] : counts) postings_[key].push_back({static_cast<std::uint32_t>(i), count});
      }
    }
    absl::flat_hash_map<std::uint32_t, std::uint32_t> counts;
    for (std::size_t q = begin; q < end; ++q) ++counts[input_.stream[q]];
    absl::flat_hash_map<std::uint32_t, std::size_t> shared;
    for (auto [key, count] : counts) {
      auto postings = postings_.find(key);
      if (postings == postings_.end()) continue;
      for (auto [sentence, times] : postings->second) {
        if (!chosen_[sentence] && sentence >= first && sentence < last) shared[sentence] += std::min(count, times);
      }
    }
    std::vector<std::uint32_t> candidates;
    for (auto [sentence, keys] : shared) {
      if (keys >= Needed(input_.sentences[sentence].size())) candidates.push_back(sentence);
    }
    std::sort(candidates.begin(), candidates.end());
    return candidates;
  }

  // Where sentence `i` near-matches stream[begin, end): from each position
  // holding one of the keys its match could begin with, every end where the
  // keys it holds in order grow and are enough.  The longest common
  // subsequence is only computed where the window ahead holds enough of the
  // sentence's keys, counted with repeats, which a sliding count tells.
  void NearMatchesOf(std::uint32_t i, std::size_t begin, std::size_t end, std::vector<NearMatch>& found) const {
    const KeySequence& keys = input_.sentences[i];
    const std::size_t needed = std::max<std::size_t>(Needed(keys.size()), 1);
    const absl::flat_hash_set<std::uint32_t> first_keys(keys.begin(), keys.begin() + (keys.size() - needed + 1));
    absl::flat_hash_map<std::uint32_t, std::pair<std::uint32_t, std::uint32_t>> in_window;  // key: held, wanted
    for (std::uint32_t key : keys) ++in_window[key].second;
    std::size_t shared = 0;  // keys of the sentence the window holds
    std::size_t window_end = begin;
    std::vector<std::uint32_t> row(keys.size() + 1), next(keys.size() + 1);
    for (std::size_t from = begin; from < end; ++from) {
      const std::size_t limit = std::min(end, from + 2 * keys.size());
      for (; window_end < limit; ++window_end) {
        if (auto key = in_window.find(input_.stream[window_end]); key != in_window.end()) {
          if (key->second.first++ < key->second.second) ++shared;
        }
      }
      if (shared >= needed && first_keys.contains(input_.stream[from])) {
        std::fill(row.begin(), row.end(), 0);
        for (std::size_t q = from; q < limit; ++q) {
          next[0] = 0;
          for (std::size_t j = 1; j <= keys.size(); ++j) {
            next[j] = keys[j - 1] == input_.stream[q] ? row[j - 1] + 1 : std::max(row[j], next[j - 1]);
          }
          if (next.back() > row.back() && next.back() >= needed) {
            found.push_back({{i, static_cast<std::uint32_t>(from), static_cast<std::uint32_t>(q + 1)},
                             static_cast<std::int64_t>(next.back())});
          }
          std::swap(row, next);
        }
      }
      if (auto key = in_window.find(input_.stream[from]); key != in_window.end()) {
        if (--key->second.first < key->second.second) --shared;
      }
    }
  }

  // Cuts stream[begin, end) into pieces, each a near match of a different
  // sentence of [first, last) or left unmatched, holding the most keys in
  // all; of equal pieces, the earliest sentence's.
  void NearStretch(std::size_t begin, std::size_t end, std::size_t first, std::size_t last) {
    std::vector<NearMatch> found;
    for (std::uint32_t i : NearCandidates(begin, end, first, last)) NearMatchesOf(i, begin, end, found);
    if (found.empty()) return;
    std::stable_sort(found.begin(), found.end(),
              [](const NearMatch& a, const NearMatch& b) { return a.match.begin < b.match.begin; });
    const std::size_t size = end - begin;
    std::vector<std::int64_t> best(size + 1, kNone);
    std::vector<std::int32_t> last_match(size + 1, -1);  // -1: the key before is unmatched
    best[0] = 0;
    std::size_t next = 0;
    for (std::size_t x = 0; x < size; ++x) {
      if (best[x] > best[x + 1]) {
        best[x + 1] = best[x];
        last_match[x + 1] = -1;
      }
      for (; next < found.size() && found[next].match.begin == begin + x; ++next) {
        const std::size_t to = found[next].match.end - begin;
        if (best[x] + found[next].held - kNearCost > best[to]) {
          best[to] = best[x] + found[next].held - kNearCost;
          last_match[to] = static_cast<std::int32_t>(next);
        }
      }
    }
    for (std::size_t x = size; x > 0;) {
      if (last_match[x] < 0) {
        --x;
        continue;
      }
      const Match& match = found[last_match[x]].match;
      // A sentence near-matched twice keeps its later piece only.
      if (!chosen_[match.sentence]) Choose({match.sentence, match.begin, match.end, true, {}});
      x = match.begin - begin;
    }
  }

  const AlignmentInput& input_;
  std::vector<bool> covered_;  // of each stream position
  std::vector<bool> chosen_;   // of each sentence
  std::vector<AlignedSentence> aligned_;
  std::vector<std::int32_t> group_of_;  // -1: no other sentence has its keys
  std::vector<std::vector<std::size_t>> groups_;
  // Each key, with the sentences holding it and how often; built for near
  // matches only.
  absl::flat_hash_map<std::uint32_t, std::vector<std::pair<std::uint32_t, std::uint32_t>>> postings_;
};

}  // namespace

ClosestSentence ClosestTo(const AlignmentInput& input, std::size_t begin, std::size_t end) {
  absl::flat_hash_map<std::uint32_t, std::size_t> stretch;
  for (std::size_t q = begin; q < end; ++q) ++stretch[input.stream[q]];
  ClosestSentence closest;
  absl::flat_hash_map<std::uint32_t, std::size_t> held;
  for (std::size_t i = 0; i < input.sentences.size(); ++i) {
    held.clear();
    std::size_t shared = 0;
    for (std::uint32_t key : input.sentences[i]) {
      auto in_stretch = stretch.find(key);
      if (in_stretch != stretch.end() && held[key]++ < in_stretch->second) ++shared;
    }
    if (shared > closest.shared) closest = {i, shared};
  }
  return closest;
}

std::vector<AlignedSentence> AlignExtract(const AlignmentInput& input) { return Aligner(input).Align(); }

}  // namespace casewright
