#include "text/load_text.h"

#include <optional>

#include "core/read_file.h"
#include "core/run_error.h"

namespace casewright {

std::string ConvertLineBreaks(std::string_view raw) {
  raw = raw.substr(0, raw.find('\0'));
  std::string text;
  text.reserve(raw.size() + raw.size() / 32);
  for (std::size_t i = 0; i < raw.size(); ++i) {
    char c = raw[i];
    if (c == '\r') {
      text += "\r\n";
      if (i + 1 < raw.size() && raw[i + 1] == '\n') ++i;
    } else if (c == '\n') {
      text += "\r\n";
    } else {
      text += c;
    }
  }
  return text;
}

std::string LoadText(const std::string& path, std::size_t capacity) {
  if (path.empty()) throw RunError("No text file named");
  // Converting line breaks can at most double a text, so a file beyond twice
  // the capacity is refused before it is read whole.
  std::optional<std::string> raw;
  try {
    raw = ReadWholeFile(path, 2 * capacity + 1);
  } catch (const RunError&) {
    // The message names the file itself, so it carries no separate path.
    throw RunError("Cannot open file " + path);
  }
  if (!raw) throw RunError("Text exceeds memo capacity", path);
  std::string text = ConvertLineBreaks(*raw);
  if (text.size() > capacity) throw RunError("Text exceeds memo capacity", path);
  return text;
}

}  // namespace casewright
