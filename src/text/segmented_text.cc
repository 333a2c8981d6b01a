#include "text/segmented_text.h"

#include "core/cp1252.h"

namespace casewright {

SegmentedText::SegmentedText(const std::string& path, TextEncoding encoding, const LexicalTables& tables,
                             SentenceBreaks breaks)
    : source_(LoadTextWithOriginal(path, encoding)),
      breaks_(breaks),
      run_(tables, {}),
      original_(source_.original, source_.text.utf8) {
  SegmentText(run_, source_.text.bytes, breaks);
}

std::string SegmentedText::Text(std::size_t index) const {
  return SentenceText(source_.text.bytes, run_.sentence_list[index], breaks_);
}

std::string SegmentedText::Original(std::size_t index) {
  const frase& sentence = run_.sentence_list[index];
  return original_.Utf8Of(sentence.SpanStart, sentence.SpanEnd);
}

std::string SegmentedText::Tail() {
  const std::size_t end = run_.sentence_list.empty() ? 0 : run_.sentence_list.back().SpanEnd;
  return original_.Utf8Of(end, source_.text.bytes.size());
}

std::string SegmentedText::TailNote() {
  const std::string tail = Tail();
  if (tail.empty()) return {};
  return "The text after the last sentence ends no sentence, so it is in none: " + QuotedExcerpt(tail);
}

bool SegmentedText::BeginsParagraph(std::size_t index) const {
  return index == 0 || run_.sentence_list[index - 1].EndsParagraph;
}

bool SegmentedText::EndsParagraph(std::size_t index) const {
  return run_.sentence_list[index].EndsParagraph || index + 1 == run_.sentence_list.size();
}

std::string SegmentedText::Keys(std::size_t index) const {
  const std::span<const WordId> words = run_.Words(run_.sentence_list[index]);
  std::string keys;
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (i > 0) keys += ' ';
    keys += Cp1252ToUtf8(run_.word_table[words[i]].Word);
  }
  return keys;
}

std::string QuotedExcerpt(const std::string& utf8) {
  constexpr std::size_t kMostBytes = 120;
  if (utf8.size() <= kMostBytes) return "\"" + utf8 + "\"";
  std::size_t cut = kMostBytes;
  while (cut > 0 && (static_cast<unsigned char>(utf8[cut]) & 0xC0) == 0x80) --cut;
  return "\"" + utf8.substr(0, cut) + "...\"";
}

}  // namespace casewright
