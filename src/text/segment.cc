#include "text/segment.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "core/string_map.h"

#include "text/charclass.h"

namespace casewright {
namespace {

constexpr char kCR = '\r';
constexpr char kLF = '\n';
constexpr char kWordSeparator = '#';

// Finds the first word character at or after a position.  Segmentation asks
// with ever larger positions, so the last answer is reused while it still
// lies ahead: a long run without word characters (a row of periods, say) is
// then walked once, not once per period.
class WordCharFinder {
 public:
  explicit WordCharFinder(std::string_view text) : text_(text) {}

  // The position of the first word character at or after `start`, or npos.
  std::size_t NextFrom(std::size_t start) {
    if (start >= searched_from_ && start <= found_) return found_;
    std::size_t pos = start;
    while (pos < text_.size() && !IsWordChar(static_cast<unsigned char>(text_[pos]))) ++pos;
    searched_from_ = start;
    found_ = pos < text_.size() ? pos : std::string_view::npos;
    return found_;
  }

 private:
  std::string_view text_;
  std::size_t searched_from_ = std::string_view::npos;
  std::size_t found_ = 0;
};

bool IsAsciiLower(unsigned char c) { return c >= 'a' && c <= 'z'; }

bool IsSentenceEnd(std::string_view text, std::size_t position, WordCharFinder& finder) {
  char c = text[position];
  if (c == '!' || c == '?') return true;
  if (c != '.') return false;
  if (position + 1 == text.size()) return true;
  auto next = static_cast<unsigned char>(text[position + 1]);
  bool quote = next == '"' || next == '\'';
  if (!quote && (IsWordChar(next) || IsPunctuation(next))) return false;
  // The period ends the sentence unless a lower-case word follows it.
  std::size_t word = finder.NextFrom(position + 2);
  return word == std::string_view::npos || !IsAsciiLower(static_cast<unsigned char>(text[word]));
}

// Whether only blanks stand between `position` and the end of its line.
bool LastOnLine(std::string_view text, std::size_t position) {
  std::size_t j = position + 1;
  while (j < text.size() && text[j] == ' ') ++j;
  return j == text.size() || text[j] == kCR || text[j] == kLF;
}

// Whether the terminator at `position` closes the word before it in a text
// split at its lines: where it would end a sentence and, in the user's own
// lines, where it ends the line (before a line that starts in lower case).
bool ClosesWordOnLines(std::string_view text, std::size_t position, SentenceBreaks breaks,
                       WordCharFinder& finder) {
  return IsSentenceEnd(text, position, finder) || (breaks == SentenceBreaks::kUserLines && LastOnLine(text, position));
}

std::string StripPunctuation(std::string_view word) {
  std::string stripped;
  stripped.reserve(word.size());
  for (char c : word) {
    if (!IsPunctuation(static_cast<unsigned char>(c))) stripped += c;
  }
  return stripped;
}

// The id of each distinct spelling met in a text.  The spellings lie back
// to back in one pool, and each slot of the index holds a spelling's hash,
// length, first eight bytes, place in the pool and id: 24 bytes, so that the
// index of a long text stays small enough for the processor's caches, a
// word of up to eight bytes is compared without reading the pool, and a new
// spelling costs no allocation of its own.  A word is hashed once, for the
// look-up and for the insertion after a miss, eight bytes at a time by a
// hash written inline here: most words are short, and a call into a general
// string hash per word costs more than the hashing itself.
class SpellingIds {
 public:
  // Where a spelling was looked for: its hash, and the free slot it would go
  // to.
  struct Probe {
    std::uint32_t hash;
    std::size_t slot;
  };

  SpellingIds() : slots_(kInitialSlots) {}

  // The id of `word`, or null with `probe` set for Insert.
  // REQUIRES: word is not empty.
  const WordId* Find(std::string_view word, Probe& probe) const {
    const std::uint64_t head = HeadOf(word);
    probe.hash = HashOf(word, head);
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = probe.hash & mask;; i = (i + 1) & mask) {
      const Slot& slot = slots_[i];
      if (slot.length == 0) {
        probe.slot = i;
        return nullptr;
      }
      if (slot.hash == probe.hash && slot.length == word.size() && slot.head == head &&
          (word.size() <= kHeadBytes || std::memcmp(pool_.data() + slot.offset + kHeadBytes, word.data() + kHeadBytes,
                                                    word.size() - kHeadBytes) == 0)) {
        return &slot.id;
      }
    }
  }

  // Adds `word` with `id` where the Find that missed it said.
  // REQUIRES: `probe` comes from Find(word) with no Insert since.
  void Insert(std::string_view word, Probe probe, WordId id) {
    slots_[probe.slot] = Slot{HeadOf(word), probe.hash, static_cast<std::uint32_t>(word.size()),
                              static_cast<std::uint32_t>(pool_.size()), id};
    pool_.append(word);
    // Kept at most three quarters full, so that probes stay short.
    if (++used_ * 4 > slots_.size() * 3) Grow();
  }

 private:
  static constexpr std::size_t kHeadBytes = 8;

  struct Slot {
    std::uint64_t head = 0;  // the first bytes, zeros after a shorter word
    std::uint32_t hash = 0;
    std::uint32_t length = 0;  // 0: a free slot (no spelling is empty)
    std::uint32_t offset = 0;
    WordId id = 0;
  };

  static constexpr std::size_t kInitialSlots = 1 << 12;

  // The bytes of `word` from `at`, at most eight, zeros after its end.
  static std::uint64_t ChunkAt(std::string_view word, std::size_t at) {
    std::uint64_t chunk = 0;
    std::memcpy(&chunk, word.data() + at, std::min(word.size() - at, kHeadBytes));
    return chunk;
  }

  static std::uint64_t HeadOf(std::string_view word) { return ChunkAt(word, 0); }

  // Folds the full product of two words into one: every bit of either
  // reaches the low bits, which pick the slot.
  static std::uint64_t Mix(std::uint64_t a, std::uint64_t b) {
    const unsigned __int128 product = static_cast<unsigned __int128>(a) * b;
    return static_cast<std::uint64_t>(product) ^ static_cast<std::uint64_t>(product >> 64);
  }

  static std::uint32_t HashOf(std::string_view word, std::uint64_t head) {
    constexpr std::uint64_t kOdd1 = 0x9E3779B97F4A7C15u;
    constexpr std::uint64_t kOdd2 = 0xC2B2AE3D27D4EB4Fu;
    std::uint64_t hash = Mix(head ^ kOdd1, word.size() ^ kOdd2);
    for (std::size_t at = kHeadBytes; at < word.size(); at += kHeadBytes) {
      hash = Mix(hash ^ ChunkAt(word, at), kOdd1);
    }
    return static_cast<std::uint32_t>(hash);
  }

  void Grow() {
    std::vector<Slot> old(slots_.size() * 2);
    old.swap(slots_);
    const std::size_t mask = slots_.size() - 1;
    for (const Slot& slot : old) {
      if (slot.length == 0) continue;
      std::size_t i = slot.hash & mask;
      while (slots_[i].length != 0) i = (i + 1) & mask;
      slots_[i] = slot;
    }
  }

  std::vector<Slot> slots_;
  std::size_t used_ = 0;
  std::string pool_;
};

// Builds the sentences and counts the words of one text.
//
// A word is a run of word and punctuation characters and of periods that end
// no sentence, so it stands in the text as one piece and is handled as a
// view of it.  Its key's id goes straight to the run's array of word ids; a
// sentence records where its ids start and how many there are.
class Segmenter {
 public:
  Segmenter(Run& run, std::string_view text, SentenceBreaks breaks)
      : run_(run), text_(text), finder_(text), breaks_(breaks) {}

  void SegmentAll() {
    run_.progress.Begin(RunStage::kSegment, text_.size());
    Reserve();
    std::size_t i = 0;
    while (i < text_.size()) {
      run_.progress.Advance(i);
      i = Examine(i);
    }
    EndText();
    AddRepeats();
    run_.progress.End();
  }

 private:
  // Reserves the sentences and their word ids, so that neither list is
  // copied as it grows: no more sentences than terminator candidates, and no
  // more words than places where a character that may begin one follows a
  // separator or a terminator (or starts the text).  The bounds are close,
  // so that even the address space reserved stays near what is used.
  void Reserve() {
    std::size_t candidates = 1;
    std::size_t word_starts = 0;
    bool after_break = true;
    for (char c : text_) {
      const ByteClass byte_class = ClassOf(static_cast<unsigned char>(c));
      candidates += byte_class == ByteClass::kTerminator || (c == kLF && breaks_ != SentenceBreaks::kTerminators);
      word_starts += after_break && byte_class != ByteClass::kSeparator;
      after_break = byte_class == ByteClass::kSeparator || byte_class == ByteClass::kTerminator;
    }
    run_.sentence_list.reserve(candidates);
    run_.sentence_words.reserve(word_starts);
  }

  // Counts the repeats into the word table's weights.  The weights are
  // whole numbers, so adding a key's repeats at once gives the same double as
  // adding 1.0 for each.
  void AddRepeats() {
    for (WordId id = 0; id < repeats_.size(); ++id) run_.word_table[id].Weight += repeats_[id];
  }

  // Handles the character at `i` and returns the position to go on from.
  std::size_t Examine(std::size_t i) {
    const ByteClass byte_class = ClassOf(static_cast<unsigned char>(text_[i]));
    line_has_text_ = line_has_text_ || byte_class != ByteClass::kSeparator;
    switch (byte_class) {
      case ByteClass::kWord:
      case ByteClass::kPunctuation:
        return ExtendWord(i);
      case ByteClass::kTerminator:
        if (breaks_ == SentenceBreaks::kLines || breaks_ == SentenceBreaks::kUserLines) {
          if (!ClosesWordOnLines(text_, i, breaks_, finder_)) return ExtendWord(i);
          SeparateWord(i);
          return i + 1;
        }
        if (IsSentenceEnd(text_, i, finder_)) {
          EndSentence(i);
          return i + 1;
        }
        return ExtendWord(i);
      case ByteClass::kSeparator:
        SeparateWord(i);
        if (breaks_ == SentenceBreaks::kLines && text_[i] == kLF) EndLine(i);
        if (breaks_ == SentenceBreaks::kUserLines && text_[i] == kLF) EndUserLine(i);
        return i + 1;
    }
    return i + 1;
  }

  // Takes the character at `i` and every word or punctuation character after
  // it into the current word.
  std::size_t ExtendWord(std::size_t i) {
    if (!InWord()) word_start_ = i;
    ++i;
    while (i < text_.size()) {
      ByteClass c = ClassOf(static_cast<unsigned char>(text_[i]));
      if (c != ByteClass::kWord && c != ByteClass::kPunctuation) break;
      ++i;
    }
    return i;
  }

  bool InWord() const { return word_start_ != std::string_view::npos; }

  // Closes the word before the separator at `i`, if any.
  void SeparateWord(std::size_t i) {
    if (InWord()) CloseWord(i);
  }

  // Closes the word that runs up to `end`, counting its key.
  void CloseWord(std::size_t end) {
    run_.sentence_words.push_back(IdOf(text_.substr(word_start_, end - word_start_)));
    word_start_ = std::string_view::npos;
  }

  // Counts one occurrence of `word` and returns the id of its key.  A word
  // seen before costs one hash look-up; only a new spelling is stripped,
  // lower-cased and, when its lower-cased form is new too, looked up in the
  // lexicon.
  WordId IdOf(std::string_view word) {
    SpellingIds::Probe probe;
    if (const WordId* known = ids_by_spelling_.Find(word, probe)) {
      ++repeats_[*known];
      return *known;
    }
    std::string normalized = LowerCaseForm(word);
    WordId id;
    if (auto known = ids_by_form_.find(normalized); known != ids_by_form_.end()) {
      id = known->second;
      ++repeats_[id];
    } else {
      id = run_.word_table.Count(run_.tables.Canonicalize(normalized));
      if (id == repeats_.size()) repeats_.push_back(0);
      ids_by_form_.emplace(std::move(normalized), id);
    }
    ids_by_spelling_.Insert(word, probe, id);
    return id;
  }

  // Ends the sentence at the terminator at `i`.
  void EndSentence(std::size_t i) {
    if (InWord()) CloseWord(i);
    AddSentence(i + 1, EndsParagraphAfter(text_, i));
    span_start_ = i + 1;
  }

  // Ends the line at the LF at `i`, its span stopping before its CR LF.
  void EndLine(std::size_t i) {
    AddSentence(i > span_start_ && text_[i - 1] == kCR ? i - 1 : i, false);
    span_start_ = i + 1;
  }

  // Ends the user's line at the LF at `i`: a line with more than blanks is
  // a sentence, a blank one ends the paragraph of the sentence before it.
  void EndUserLine(std::size_t i) {
    if (line_has_text_) {
      AddSentence(i > span_start_ && text_[i - 1] == kCR ? i - 1 : i, false);
    } else {
      EndParagraph();
    }
    line_has_text_ = false;
    span_start_ = i + 1;
  }

  void EndParagraph() {
    if (!run_.sentence_list.empty()) run_.sentence_list.back().EndsParagraph = true;
  }

  // Ends the last sentence at the end of the text, if `breaks_` asks for one
  // there and it would not be empty.
  void EndText() {
    if (breaks_ == SentenceBreaks::kUserLines) {
      SeparateWord(text_.size());
      if (line_has_text_) EndUserLine(text_.size());
      EndParagraph();
      return;
    }
    if (breaks_ == SentenceBreaks::kTerminators || span_start_ == text_.size()) return;
    if (breaks_ == SentenceBreaks::kTerminatorsAndEnd && !InWord() && WordsSoFar() == 0) return;
    if (InWord()) CloseWord(text_.size());
    AddSentence(text_.size(), false);
  }

  // The words of the sentence being read.
  std::size_t WordsSoFar() const { return run_.sentence_words.size() - first_word_; }

  void AddSentence(std::size_t span_end, bool ends_paragraph) {
    frase& sentence = run_.sentence_list.emplace_back();
    sentence.FirstWord = static_cast<std::uint32_t>(first_word_);
    sentence.WordCount = static_cast<std::int32_t>(WordsSoFar());
    sentence.EndsParagraph = ends_paragraph;
    sentence.SpanStart = static_cast<std::uint32_t>(span_start_);
    sentence.SpanEnd = static_cast<std::uint32_t>(span_end);
    first_word_ = run_.sentence_words.size();
  }

  Run& run_;
  std::string_view text_;
  WordCharFinder finder_;
  SentenceBreaks breaks_;
  std::size_t word_start_ = std::string_view::npos;
  std::size_t span_start_ = 0;  // where the sentence being read starts
  bool line_has_text_ = false;  // whether the line being read holds more than blanks
  std::size_t first_word_ = 0;  // where its word ids start
  // Each spelling met in the text and each lower-cased form, with the id of
  // its key, so that each distinct form is looked up in the lexicon once per
  // run.  The spellings are copied rather than viewed in the text, so that
  // comparing one reads no far-away part of the text.
  SpellingIds ids_by_spelling_;
  StringMap<WordId> ids_by_form_;
  // Indexed by WordId: the key's occurrences besides the one that put it in
  // the word table.  Counted here rather than in the table's weights, whose
  // entries are ten times as wide, so that counting stays in the caches.
  std::vector<std::uint32_t> repeats_;
};

}  // namespace

std::string LowerCaseForm(std::string_view word) { return NormalizeWord(StripPunctuation(word)); }

std::string SentenceText(std::string_view text, const frase& sentence, SentenceBreaks breaks) {
  // A line's words run to its line break, which closes the last of them.
  std::size_t end = sentence.SpanEnd;
  if (breaks == SentenceBreaks::kLines) end = std::min(text.find(kLF, end), text.size() - 1) + 1;
  WordCharFinder finder(text);
  std::string stored;
  std::size_t word_start = std::string_view::npos;
  std::size_t i = sentence.SpanStart;
  for (; i < end; ++i) {
    const ByteClass c = ClassOf(static_cast<unsigned char>(text[i]));
    bool separator = c == ByteClass::kSeparator;
    if (c == ByteClass::kTerminator && (breaks == SentenceBreaks::kLines || breaks == SentenceBreaks::kUserLines)) {
      separator = ClosesWordOnLines(text, i, breaks, finder);
    } else if (c == ByteClass::kTerminator && i + 1 == sentence.SpanEnd) {
      // The sentence's own terminator, the only one in its span that ends a
      // sentence: it closes the last word with no separator after it.
      break;
    }
    if (!separator) {
      if (word_start == std::string_view::npos) word_start = i;
    } else if (word_start != std::string_view::npos) {
      stored.append(text.substr(word_start, i - word_start)) += kWordSeparator;
      word_start = std::string_view::npos;
    }
  }
  if (word_start != std::string_view::npos) stored.append(text.substr(word_start, i - word_start));
  // The last word of a user's line has no "#", as if the line's end were
  // its terminator.
  if (breaks == SentenceBreaks::kUserLines && !stored.empty() && stored.back() == kWordSeparator) stored.pop_back();
  return stored;
}

bool IsSentenceEnd(std::string_view text, std::size_t position) {
  WordCharFinder finder(text);
  return IsSentenceEnd(text, position, finder);
}

bool EndsParagraphAfter(std::string_view text, std::size_t position) {
  std::size_t j = position + 1;
  while (j < text.size() && text[j] == ' ') ++j;
  if (j + 1 >= text.size()) return false;
  return (text[j] == kCR && text[j + 1] == kLF) || (text[j] == kLF && text[j + 1] == kCR);
}

void SegmentText(Run& run, std::string_view text, SentenceBreaks breaks) {
  Segmenter(run, text, breaks).SegmentAll();
}

}  // namespace casewright
