#include "text/load_text.h"

#include <algorithm>
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
  std::size_t i = 0;
  while (i < raw.size()) {
    // Copies the run up to the next line break in one piece.
    std::size_t end = i;
    while (end < raw.size() && raw[end] != '\r' && raw[end] != '\n') ++end;
    text.append(raw.data() + i, end - i);
    if (end == raw.size()) break;
    text += "\r\n";
    bool pair = raw[end] == '\r' && end + 1 < raw.size() && raw[end + 1] == '\n';
    i = end + (pair ? 2 : 1);
  }
  return text;
}

namespace {

// The bytes of the text file at `path`, up to the first NUL.
std::string ReadTextFile(const std::string& path, std::size_t capacity) {
  if (path.empty()) throw RunError("No text file named");
  // Converting line breaks can at most double a text, so a file beyond twice
  // the capacity is refused before it is read whole.
  std::optional<std::string> raw;
  try {
    raw = ReadWholeFile(path, 2 * capacity + 1);
  } catch (const RunError& error) {
    // The text's own message, with the reason the file could not be read.
    throw RunError("Cannot open file " + path + " (" + error.what() + ")", path);
  }
  if (!raw) throw RunError("Text exceeds memo capacity", path);
  raw->resize(std::min(raw->size(), raw->find('\0')));
  return std::move(*raw);
}

DecodedText Decode(std::string_view raw, TextEncoding encoding, const std::string& path, std::size_t capacity) {
  DecodedText decoded = DecodeText(raw, encoding, path);
  decoded.bytes = ConvertLineBreaks(decoded.utf8 ? std::string_view(decoded.bytes) : raw);
  if (decoded.bytes.size() > capacity) throw RunError("Text exceeds memo capacity", path);
  return decoded;
}

}  // namespace

DecodedText LoadTextAs(const std::string& path, TextEncoding encoding, std::size_t capacity) {
  return Decode(ReadTextFile(path, capacity), encoding, path, capacity);
}

SourceText LoadTextWithOriginal(const std::string& path, TextEncoding encoding, std::size_t capacity) {
  SourceText source;
  source.original = ReadTextFile(path, capacity);
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
