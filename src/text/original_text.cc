#include "text/original_text.h"

#include "core/cp1252.h"

namespace casewright {

OriginalText::OriginalText(std::string_view original, bool utf8) : original_(original), utf8_(utf8) {}

std::size_t OriginalText::OffsetOf(std::size_t loaded) {
  if (loaded < loaded_) loaded_ = offset_ = 0;
  while (loaded_ < loaded && offset_ < original_.size()) {
    const char c = original_[offset_];
    if (c == '\r' || c == '\n') {
      // Every line break was loaded as CR LF.
      const bool pair = c == '\r' && offset_ + 1 < original_.size() && original_[offset_ + 1] == '\n';
      offset_ += pair ? 2 : 1;
      loaded_ += 2;
    } else {
      offset_ += utf8_ ? Utf8SequenceLength(static_cast<unsigned char>(c)) : 1;
      loaded_ += 1;
    }
  }
  return offset_;
}

std::string OriginalText::Utf8Of(std::size_t start, std::size_t end) {
  const std::size_t from = OffsetOf(start);
  const std::string_view bytes = original_.substr(from, OffsetOf(end) - from);
  std::string shown = utf8_ ? std::string(bytes) : Cp1252ToUtf8(bytes);
  std::string blanked;
  blanked.reserve(shown.size());
  for (std::size_t i = 0; i < shown.size(); ++i) {
    const char c = shown[i];
    if (c == '\r' && i + 1 < shown.size() && shown[i + 1] == '\n') continue;  // the LF stands for the pair
    blanked += c == '\r' || c == '\n' || c == '\t' ? ' ' : c;
  }
  const std::size_t first = blanked.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return blanked.substr(first, blanked.find_last_not_of(' ') + 1 - first);
}

}  // namespace casewright
