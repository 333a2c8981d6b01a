#include "text/load_text.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/run_error.h"

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

namespace {

// The message names the file itself, so it carries no separate path.
RunError CannotOpen(const std::string& path) { return RunError("Cannot open file " + path); }

}  // namespace

std::string LoadText(const std::string& path, std::size_t capacity) {
  if (path.empty()) throw RunError("No text file named");
  std::error_code ignored;
  std::ifstream in(path, std::ios::binary);
  if (!in || std::filesystem::is_directory(path, ignored)) throw CannotOpen(path);
  in.seekg(0, std::ios::end);
  auto size = in.tellg();
  in.seekg(0, std::ios::beg);
  // Converting line breaks can only lengthen a text up to twice its size, so
  // a file beyond twice the capacity is refused before it is read.
  if (!in || size < 0) throw CannotOpen(path);
  if (static_cast<std::size_t>(size) / 2 > capacity) throw RunError("Text exceeds memo capacity", path);
  std::string raw(static_cast<std::size_t>(size), '\0');
  in.read(raw.data(), size);
  if (!in) throw CannotOpen(path);
  std::string text = ConvertLineBreaks(raw);
  if (text.size() > capacity) throw RunError("Text exceeds memo capacity", path);
  return text;
}

}  // namespace casewright
