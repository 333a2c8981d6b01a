#include "text/extract_classes.h"

#include <cstdint>
#include <limits>
#include <string_view>

#include "absl/container/flat_hash_map.h"
#include "core/cp1252.h"
#include "text/extract_alignment.h"

namespace casewright {
namespace {

// A key of the extract that the text does not hold: it matches nothing.
constexpr std::uint32_t kNotInText = std::numeric_limits<std::uint32_t>::max();
// A key without characters, left out of the comparison.
constexpr std::uint32_t kLeftOut = kNotInText - 1;

// The keys words are compared by: each key without the periods at its ends,
// folded by the lexicon again when it had any ("casas." is "casa"), numbered
// in the text's word table order.
class ComparedKeys {
 public:
  explicit ComparedKeys(const Run& text) : tables_(text.tables) {
    of_text_.reserve(text.word_table.size());
    for (const palavra& word : text.word_table) of_text_.push_back(Number(word.Word, true));
  }

  std::uint32_t OfText(WordId id) const { return of_text_[id]; }
  // kNotInText when no word of the text has the key.
  std::uint32_t OfExtract(const std::string& key) { return Number(key, false); }

 private:
  std::uint32_t Number(const std::string& key, bool add) {
    const std::size_t first = key.find_first_not_of('.');
    if (first == std::string::npos) return kLeftOut;
    const std::size_t last = key.find_last_not_of('.');
    const std::string compared =
        first == 0 && last + 1 == key.size() ? key : tables_.Canonicalize(key.substr(first, last + 1 - first));
    if (add) return numbers_.try_emplace(compared, static_cast<std::uint32_t>(numbers_.size())).first->second;
    auto found = numbers_.find(compared);
    return found == numbers_.end() ? kNotInText : found->second;
  }

  const LexicalTables& tables_;
  std::vector<std::uint32_t> of_text_;
  absl::flat_hash_map<std::string, std::uint32_t> numbers_;
};

// Where a key of the stream stands in the extract.
struct WordPlace {
  std::uint32_t sentence;
  std::uint32_t word;  // among the sentence's words, those left out counted
};

// The extract as a stream of keys, beside the text's sentences as keys.
struct ExtractStream {
  AlignmentInput input;
  std::vector<WordPlace> places;  // of each key of the stream
  // Where each extract sentence's keys begin in the stream, and one past the
  // last's end.
  std::vector<std::size_t> sentence_starts;
};

ExtractStream StreamOf(const Run& text, const Run& extract, double min_overlap) {
  ComparedKeys keys(text);
  ExtractStream stream;
  AlignmentInput& input = stream.input;
  input.min_overlap = min_overlap;
  input.sentences.resize(text.sentence_list.size());
  for (std::size_t i = 0; i < text.sentence_list.size(); ++i) {
    for (WordId id : text.Words(text.sentence_list[i])) {
      if (const std::uint32_t key = keys.OfText(id); key != kLeftOut) input.sentences[i].push_back(key);
    }
  }
  std::vector<std::uint32_t> extract_ids;
  extract_ids.reserve(extract.word_table.size());
  for (const palavra& word : extract.word_table) extract_ids.push_back(keys.OfExtract(word.Word));
  for (std::size_t e = 0; e < extract.sentence_list.size(); ++e) {
    stream.sentence_starts.push_back(input.stream.size());
    const std::span<const WordId> words = extract.Words(extract.sentence_list[e]);
    for (std::size_t w = 0; w < words.size(); ++w) {
      if (const std::uint32_t key = extract_ids[words[w]]; key != kLeftOut) {
        input.stream.push_back(key);
        stream.places.push_back({static_cast<std::uint32_t>(e), static_cast<std::uint32_t>(w)});
      }
    }
  }
  stream.sentence_starts.push_back(input.stream.size());
  input.breaks.assign(input.stream.size() + 1, false);
  for (std::size_t start : stream.sentence_starts) input.breaks[start] = true;
  return stream;
}

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

// Writes the messages about what the alignment left over.
class Reporter {
 public:
  Reporter(SegmentedText& extract, const ExtractStream& stream)
      : extract_(extract),
        stream_(stream),
        unit_(extract.breaks() == SentenceBreaks::kLines ? "Extract line " : "Extract sentence ") {}

  // Each stretch matched by nothing, within one extract sentence at a time.
  void Unmatched(const std::vector<bool>& covered, std::vector<std::string>& messages) {
    const std::vector<std::size_t>& starts = stream_.sentence_starts;
    for (std::size_t e = 0; e + 1 < starts.size(); ++e) {
      for (std::size_t q = starts[e]; q < starts[e + 1];) {
        if (covered[q]) {
          ++q;
          continue;
        }
        std::size_t end = q;
        while (end < starts[e + 1] && !covered[end]) ++end;
        messages.push_back(UnmatchedMessage(e, q, end, q == starts[e] && end == starts[e + 1]));
        q = end;
      }
    }
  }

  std::string Ambiguous(const AlignedSentence& aligned) {
    return unit_ + std::to_string(stream_.places[aligned.begin].sentence + 1) + " matches " +
           std::to_string(aligned.equals.size()) + " sentences of the text with the same words (" +
           NumberList(aligned.equals) + "), and the extract's order does not tell which; sentence " +
           std::to_string(aligned.sentence + 1) + " gets 1: " + QuotedExcerpt(Words(aligned.begin, aligned.end));
  }

 private:
  std::string UnmatchedMessage(std::size_t e, std::size_t begin, std::size_t end, bool whole) {
    std::string message = unit_ + std::to_string(e + 1) +
                          (whole ? " matches no sentence of the text" : " has words that match no sentence of the text");
    if (const ClosestSentence closest = ClosestTo(stream_.input, begin, end); closest.shared > 0) {
      message += " (sentence " + std::to_string(closest.sentence + 1) + " holds the most of " +
                 (whole ? "its words" : "them") + ": " + std::to_string(closest.shared) + " of " +
                 std::to_string(end - begin) + ")";
    }
    return message + ": " + QuotedExcerpt(whole ? extract_.Original(e) : Words(begin, end));
  }

  // The words of stream[begin, end) as the extract spells them, in UTF-8.
  std::string Words(std::size_t begin, std::size_t end) const {
    std::string words;
    for (std::size_t q = begin; q < end; ++q) {
      const WordPlace place = stream_.places[q];
      if (!words.empty()) words += ' ';
      words += Cp1252ToUtf8(Spelling(extract_.Text(place.sentence), place.word));
    }
    return words;
  }

  // Word `index` of a sentence's Text, its words each closed by "#".
  static std::string_view Spelling(std::string_view text, std::size_t index) {
    for (; index > 0; --index) text.remove_prefix(text.find('#') + 1);
    return text.substr(0, text.find('#'));
  }

  SegmentedText& extract_;
  const ExtractStream& stream_;
  std::string unit_;
};

}  // namespace

SentenceBreaks ExtractBreaks(const ExtractSettings& settings) {
  return settings.lines ? SentenceBreaks::kLines : SentenceBreaks::kTerminatorsAndEnd;
}

ExtractClasses ClassesFromExtract(const Run& text, SegmentedText& extract, double min_overlap) {
  const ExtractStream stream = StreamOf(text, extract.run(), min_overlap);
  const std::vector<AlignedSentence> aligned = AlignExtract(stream.input);
  ExtractClasses result;
  result.classes.assign(text.sentence_list.size(), "0");
  std::vector<bool> covered(stream.input.stream.size(), false);
  Reporter reporter(extract, stream);
  for (const AlignedSentence& match : aligned) {
    result.classes[match.sentence] = "1";
    std::fill(covered.begin() + match.begin, covered.begin() + match.end, true);
    if (!match.equals.empty()) result.repeated.push_back(reporter.Ambiguous(match));
  }
  result.chosen = aligned.size();
  if (stream.input.stream.empty()) {
    // All classes 0 is never what a summary means: most likely the wrong file.
    result.unmatched.push_back("The extract holds no word to compare");
  }
  reporter.Unmatched(covered, result.unmatched);
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

ExtractClasses ClassesFromExtract(const Run& text, const ExtractSettings& settings) {
  SegmentedText extract(settings.path, settings.encoding, text.tables, ExtractBreaks(settings));
  return ClassesFromExtract(text, extract, settings.min_overlap);
}

}  // namespace casewright
