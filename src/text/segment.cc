#include "text/segment.h"

#include <string>
#include <unordered_map>

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

bool IsWordMaterial(unsigned char c) { return IsWordChar(c) || IsPunctuation(c); }

std::string StripPunctuation(std::string_view word) {
  std::string stripped;
  stripped.reserve(word.size());
  for (char c : word) {
    if (!IsPunctuation(static_cast<unsigned char>(c))) stripped += c;
  }
  return stripped;
}

// Builds the sentences and counts the words of one text.
class Segmenter {
 public:
  Segmenter(Run& run, std::string_view text) : run_(run), text_(text), finder_(text) {}

  void SegmentAll() {
    run_.progress.Begin(RunStage::kSegment, text_.size());
    for (std::size_t i = 0; i < text_.size(); ++i) {
      run_.progress.Advance(i);
      Examine(i);
    }
    run_.progress.End();
  }

 private:
  void Examine(std::size_t i) {
    auto c = static_cast<unsigned char>(text_[i]);
    if (IsWordMaterial(c)) {
      Append(c);
    } else if (c == '.' || c == '!' || c == '?') {
      if (IsSentenceEnd(text_, i, finder_)) {
        EndSentence(i);
      } else {
        Append(c);
      }
    } else if (!word_.empty()) {
      CloseWord();
      sentence_ += kWordSeparator;
    }
  }

  void Append(unsigned char c) {
    sentence_ += static_cast<char>(c);
    word_ += static_cast<char>(c);
  }

  void CloseWord() {
    std::string normalized = NormalizeWord(StripPunctuation(word_));
    WordId id;
    auto known = ids_by_form_.find(normalized);
    if (known != ids_by_form_.end()) {
      id = known->second;
      run_.word_table[id].Weight += 1.0;
    } else {
      id = run_.word_table.Count(run_.tables.Canonicalize(normalized));
      ids_by_form_.emplace(std::move(normalized), id);
    }
    words_.push_back(id);
    word_.clear();
  }

  void EndSentence(std::size_t i) {
    if (!word_.empty()) CloseWord();
    frase sentence;
    sentence.Text = std::move(sentence_);
    sentence.WordCount = static_cast<std::int32_t>(words_.size());
    sentence.Words = std::move(words_);
    sentence.EndsParagraph = EndsParagraphAfter(text_, i);
    run_.sentence_list.push_back(std::move(sentence));
    sentence_.clear();
    words_.clear();
  }

  Run& run_;
  std::string_view text_;
  WordCharFinder finder_;
  std::string sentence_;
  std::string word_;
  std::vector<WordId> words_;
  // Normalised word -> id of its key, so each distinct word is looked up in
  // the lexicon once per run.
  std::unordered_map<std::string, WordId> ids_by_form_;
};

}  // namespace

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

void SegmentText(Run& run, std::string_view text) { Segmenter(run, text).SegmentAll(); }

}  // namespace casewright
