#include "core/control_characters.h"

#include <algorithm>
#include <cstdio>

namespace casewright {

std::optional<std::string> ControlCharacterProblem(std::string_view line,
                                                   const std::function<std::string(std::size_t)>& field_name) {
  for (std::size_t i = 0; i < line.size(); ++i) {
    const unsigned char c = line[i];
    if (c == '\t' || (c >= 0x20 && c != 0x7F)) continue;
    if (c == '\r') return "The manifest uses CR line ends; save it with LF or CR LF line ends";
    const auto field = static_cast<std::size_t>(std::count(line.begin(), line.begin() + i, '\t'));
    char code[8];
    std::snprintf(code, sizeof code, "0x%02X", c);
    return "The " + field_name(field) + " field holds a control character (" + code + ")";
  }
  return std::nullopt;
}

}  // namespace casewright
