#include "text/extract_classes.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>

#include "absl/container/flat_hash_map.h"

namespace casewright {
namespace {

using KeySequence = std::vector<WordId>;

// A key of the extract that the text does not hold: it counts in the
// extract sentence's size and matches nothing.
constexpr WordId kNotInText = std::numeric_limits<WordId>::max();

// An extract sentence holding a key, and how often it holds it.
struct Posting {
  std::uint32_t sentence;
  std::uint32_t count;
};

// The text sentence that shares the most keys with an extract sentence.
struct Closest {
  std::uint32_t shared = 0;
  std::size_t sentence = 0;
};

// The keys of `sentence` with the empty key left out, as ids of the text's
// word table through `ids` (the identity for the text's own sentences).
void KeysOf(const frase& sentence, const std::vector<WordId>* ids, std::optional<WordId> empty_key,
            KeySequence& keys) {
  keys.clear();
  for (WordId id : sentence.Words) {
    if (id == empty_key) continue;
    keys.push_back(ids ? (*ids)[id] : id);
  }
}

// Finds, for each sentence of the text, the extract sentences it matches.
class ExtractMatcher {
 public:
  ExtractMatcher(const Run& text, const Run& extract, double min_overlap)
      : text_(text), min_overlap_(min_overlap), text_empty_key_(text.word_table.Find("")) {
    // The extract's keys as ids of the text's word table.
    std::vector<WordId> ids(extract.word_table.size());
    for (WordId id = 0; id < ids.size(); ++id) {
      ids[id] = text.word_table.Find(extract.word_table[id].Word).value_or(kNotInText);
    }
    const std::optional<WordId> empty_key = extract.word_table.Find("");
    keys_.resize(extract.sentence_list.size());
    for (std::size_t e = 0; e < keys_.size(); ++e) {
      KeysOf(extract.sentence_list[e], &ids, empty_key, keys_[e]);
      if (keys_[e].empty()) continue;
      by_keys_[keys_[e]].push_back(static_cast<std::uint32_t>(e));
      for (const auto& [key, count] : Counted(keys_[e])) {
        postings_[key].push_back({static_cast<std::uint32_t>(e), count});
      }
    }
    matches_.resize(keys_.size());
    closest_.resize(keys_.size());
    shared_.resize(keys_.size());
  }

  // Matches sentence `index` of the text; whether it matched any.
  bool Match(std::size_t index) {
    KeysOf(text_.sentence_list[index], nullptr, text_empty_key_, sentence_keys_);
    found_.clear();
    if (auto equal = by_keys_.find(sentence_keys_); equal != by_keys_.end()) found_ = equal->second;
    Overlap(index);
    std::sort(found_.begin(), found_.end());
    found_.erase(std::unique(found_.begin(), found_.end()), found_.end());
    for (std::uint32_t e : found_) matches_[e].push_back(index);
    return !found_.empty();
  }

  std::size_t extract_size() const { return keys_.size(); }
  bool HasKeys(std::size_t e) const { return !keys_[e].empty(); }
  std::size_t KeyCount(std::size_t e) const { return keys_[e].size(); }
  // The sentences of the text (indices) that extract sentence `e` matched.
  const std::vector<std::size_t>& MatchesOf(std::size_t e) const { return matches_[e]; }
  const Closest& ClosestTo(std::size_t e) const { return closest_[e]; }

 private:
  // Each distinct key of `keys` with its count.
  std::vector<std::pair<WordId, std::uint32_t>> Counted(KeySequence keys) {
    std::sort(keys.begin(), keys.end());
    std::vector<std::pair<WordId, std::uint32_t>> counted;
    for (WordId key : keys) {
      if (counted.empty() || counted.back().first != key) counted.push_back({key, 0});
      ++counted.back().second;
    }
    return counted;
  }

  // Counts the keys sentence `index` shares with each extract sentence,
  // keeping the closest text sentence of each and, with a minimum overlap,
  // taking those it reaches.
  void Overlap(std::size_t index) {
    touched_.clear();
    for (const auto& [key, count] : Counted(sentence_keys_)) {
      auto postings = postings_.find(key);
      if (postings == postings_.end()) continue;
      for (const Posting& posting : postings->second) {
        if (shared_[posting.sentence] == 0) touched_.push_back(posting.sentence);
        shared_[posting.sentence] += std::min(count, posting.count);
      }
    }
    for (std::uint32_t e : touched_) {
      if (shared_[e] > closest_[e].shared) closest_[e] = {shared_[e], index};
      const double share = static_cast<double>(shared_[e]) / static_cast<double>(keys_[e].size());
      if (min_overlap_ > 0 && share >= min_overlap_) found_.push_back(e);
      shared_[e] = 0;
    }
  }

  const Run& text_;
  double min_overlap_;
  std::optional<WordId> text_empty_key_;
  std::vector<KeySequence> keys_;  // of each extract sentence
  absl::flat_hash_map<KeySequence, std::vector<std::uint32_t>> by_keys_;
  absl::flat_hash_map<WordId, std::vector<Posting>> postings_;
  std::vector<std::vector<std::size_t>> matches_;
  std::vector<Closest> closest_;
  // Working space of Match, kept from sentence to sentence.
  KeySequence sentence_keys_;
  std::vector<std::uint32_t> found_;
  std::vector<std::uint32_t> shared_;
  std::vector<std::uint32_t> touched_;
};

// "5", "5 and 9", "5, 9 and 12", of sentence indices counted from 1; past
// kListed numbers, "and N more".
std::string NumberList(const std::vector<std::size_t>& indices) {
  constexpr std::size_t kListed = 10;
  const std::size_t listed = indices.size() > kListed ? kListed : indices.size();
  std::string list;
  for (std::size_t i = 0; i < listed; ++i) {
    if (i > 0) list += i + 1 == indices.size() ? " and " : ", ";
    list += std::to_string(indices[i] + 1);
  }
  if (listed < indices.size()) list += " and " + std::to_string(indices.size() - listed) + " more";
  return list;
}

std::string UnmatchedMessage(std::size_t e, const ExtractMatcher& matcher, const std::string& original) {
  std::string message = "Extract sentence " + std::to_string(e + 1) + " matches no sentence of the text";
  if (const Closest& closest = matcher.ClosestTo(e); closest.shared > 0) {
    message += " (sentence " + std::to_string(closest.sentence + 1) + " holds the most of its words: " +
               std::to_string(closest.shared) + " of " + std::to_string(matcher.KeyCount(e)) + ")";
  }
  return message + ": " + QuotedExcerpt(original);
}

}  // namespace

ExtractClasses ClassesFromExtract(const Run& text, SegmentedText& extract, double min_overlap) {
  ExtractMatcher matcher(text, extract.run(), min_overlap);
  ExtractClasses result;
  result.classes.reserve(text.sentence_list.size());
  for (std::size_t i = 0; i < text.sentence_list.size(); ++i) {
    const bool chosen = matcher.Match(i);
    result.classes.push_back(chosen ? "1" : "0");
    result.chosen += chosen ? 1 : 0;
  }
  std::size_t compared = 0;  // extract sentences with keys
  for (std::size_t e = 0; e < matcher.extract_size(); ++e) {
    if (!matcher.HasKeys(e)) continue;
    ++compared;
    const std::vector<std::size_t>& matches = matcher.MatchesOf(e);
    if (matches.empty()) {
      result.unmatched.push_back(UnmatchedMessage(e, matcher, extract.Original(e)));
    } else if (matches.size() > 1) {
      result.repeated.push_back("Extract sentence " + std::to_string(e + 1) + " matches " +
                                std::to_string(matches.size()) + " sentences of the text (" +
                                NumberList(matches) + "), which all get 1: " + QuotedExcerpt(extract.Original(e)));
    }
  }
  if (compared == 0) {
    // All classes 0 is never what a summary means: most likely the wrong
    // file, or an extract whose sentences lack their periods.
    result.unmatched.push_back("The extract holds no sentence with words (a sentence ends at a period, \"!\" or \"?\")");
  }
  if (const std::string tail = extract.Tail(); !tail.empty()) {
    result.warnings.push_back("The extract ends with text that ends no sentence, which was left out: " +
                              QuotedExcerpt(tail));
  }
  for (const std::string& warning : extract.warnings()) result.warnings.push_back("In the extract: " + warning);
  if (!extract.notes().empty()) {
    result.notes.push_back(extract.utf8() ? "The extract was read as UTF-8." : "The extract was read as Windows-1252.");
  }
  return result;
}

}  // namespace casewright
