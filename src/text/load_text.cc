#include "text/load_text.h"

#include <algorithm>
#include <optional>

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

DecodedText LoadTextAs(const std::string& path, TextEncoding encoding, std::size_t capacity) {
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
  DecodedText decoded = DecodeText(std::move(*raw), encoding, path);
  decoded.bytes = ConvertLineBreaks(decoded.bytes);
  if (decoded.bytes.size() > capacity) throw RunError("Text exceeds memo capacity", path);
  return decoded;
}

std::string LoadText(const std::string& path, std::size_t capacity) {
  return LoadTextAs(path, TextEncoding::kWindows1252, capacity).bytes;
}

}  // namespace casewright
