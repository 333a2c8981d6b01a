#include "text/load_text.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string_view>

#include "core/cp1252.h"
#include "core/read_file.h"
#include "core/run_error.h"

namespace casewright {

std::string ConvertLineBreaks(std::string_view raw) {
  raw = raw.substr(0, raw.find('\0'));
  std::string text;
  text.reserve(raw.size() + raw.size() / 32);
  // The next CR and LF at or after `i`, each found by a fast search of the
  // bytes and searched again only once passed.
  std::size_t next_cr = raw.find('\r');
  std::size_t next_lf = raw.find('\n');
  std::size_t i = 0;
  while (i < raw.size()) {
    if (next_cr < i) next_cr = raw.find('\r', i);
    if (next_lf < i) next_lf = raw.find('\n', i);
    // Copies the run up to the next line break in one piece.
    const std::size_t end = std::min({next_cr, next_lf, raw.size()});
    text.append(raw.data() + i, end - i);
    if (end == raw.size()) break;
    text += "\r\n";
    bool pair = raw[end] == '\r' && end + 1 < raw.size() && raw[end + 1] == '\n';
    i = end + (pair ? 2 : 1);
  }
  return text;
}

namespace {

RunError TooLong(const std::string& path, std::size_t capacity) {
  return RunError("Text exceeds memo capacity (" + SizeText(capacity) + " once its line breaks are CR LF)", path);
}

// A lower bound of the length of a text once decoded and its line breaks
// converted, so that a text too long fails before it is read whole.  Every
// character decodes to one byte; Windows-1252 has a character a byte, UTF-8
// one a byte that is not a continuation byte, and under `auto` the text is
// the shorter of the two.  A line break of one byte becomes two; CR LF
// stays two.
class TextLength {
 public:
  explicit TextLength(TextEncoding encoding) : utf8_(encoding != TextEncoding::kWindows1252) {}

  // Counts `text` from where the last call stopped.
  std::size_t Of(std::string_view text) {
    const auto* b = reinterpret_cast<const unsigned char*>(text.data());
    if (counted_ == 0 && !text.empty()) {
      Count(b[0], 0);
      counted_ = 1;
    }
    // In blocks with narrow sums: a loop the compiler vectorises.
    for (std::size_t block = counted_; block < text.size(); block += kBlock) {
      const std::size_t end = text.size() - block < kBlock ? text.size() : block + kBlock;
      std::uint32_t breaks = 0;
      std::uint32_t continuations = 0;
      for (std::size_t i = block; i < end; ++i) {
        breaks += (b[i] == '\r') + ((b[i] == '\n') & (b[i - 1] != '\r'));
        continuations += (b[i] & 0xC0) == 0x80;
      }
      extra_ += breaks;
      continuations_ += continuations;
    }
    counted_ = text.size();
    const bool mark = utf8_ && text.starts_with(kUtf8ByteOrderMark);  // decoding drops it
    return text.size() + extra_ - (utf8_ ? continuations_ : 0) - (mark ? 1 : 0);
  }

 private:
  static constexpr std::size_t kBlock = std::size_t{1} << 16;

  void Count(unsigned char byte, unsigned char before) {
    extra_ += (byte == '\r') + ((byte == '\n') & (before != '\r'));
    continuations_ += (byte & 0xC0) == 0x80;
  }

  bool utf8_;
  std::size_t counted_ = 0;
  std::size_t extra_ = 0;          // bytes the line breaks add
  std::size_t continuations_ = 0;  // UTF-8 continuation bytes
};

// The bytes of the text file at `path`, up to the first NUL.  The text
// fails as soon as it is sure to exceed `capacity`; the file past a NUL is
// read without being kept, and fails past twice the capacity.
std::string ReadTextFile(const std::string& path, TextEncoding encoding, std::size_t capacity) {
  if (path.empty()) throw RunError("No text file named");
  std::string raw;
  std::uint64_t file_size = 0;
  bool cut = false;
  TextLength length(encoding);
  std::optional<RunError> limit;
  try {
    ReadInChunks(path, capacity, raw, [&](std::string& bytes, std::size_t from) {
      file_size += bytes.size() - from;
      if (file_size > 2 * std::uint64_t{capacity}) {
        limit = RunError("Text exceeds memo capacity (the file goes on past " + SizeText(2 * capacity) + ")", path);
        return false;
      }
      if (cut) {
        bytes.resize(from);
        return true;
      }
      if (const std::size_t nul = bytes.find('\0', from); nul != std::string::npos) {
        bytes.resize(nul);
        cut = true;
      }
      // A text of up to half the capacity fits however it converts: only a
      // longer one is counted, from its start.
      if (bytes.size() > capacity / 2 && length.Of(bytes) > capacity) limit = TooLong(path, capacity);
      return !limit;
    });
  } catch (const RunError& error) {
    // The text's own message, with the reason the file could not be read.
    throw RunError("Cannot open file " + path + " (" + error.what() + ")", path);
  }
  if (limit) throw *limit;
  return raw;
}

DecodedText Decode(std::string_view raw, TextEncoding encoding, const std::string& path, std::size_t capacity) {
  DecodedText decoded = DecodeText(raw, encoding, path);
  decoded.bytes = ConvertLineBreaks(decoded.utf8 ? std::string_view(decoded.bytes) : raw);
  if (decoded.bytes.size() > capacity) throw TooLong(path, capacity);
  return decoded;
}

}  // namespace

DecodedText LoadTextAs(const std::string& path, TextEncoding encoding, std::size_t capacity) {
  return Decode(ReadTextFile(path, encoding, capacity), encoding, path, capacity);
}

SourceText LoadTextWithOriginal(const std::string& path, TextEncoding encoding, std::size_t capacity) {
  SourceText source;
  source.original = ReadTextFile(path, encoding, capacity);
  source.text = Decode(source.original, encoding, path, capacity);
  if (source.text.utf8 && std::string_view(source.original).starts_with(kUtf8ByteOrderMark)) {
    source.original.erase(0, kUtf8ByteOrderMark.size());
  }
  return source;
}

std::string LoadText(const std::string& path, std::size_t capacity) {
  return LoadTextAs(path, TextEncoding::kWindows1252, capacity).bytes;
}

}  // namespace casewright
