#include "output/class_values.h"

#include <algorithm>
#include <stdexcept>
#include <tuple>
#include <unordered_set>

namespace casewright {
namespace {

// Numeric order of digit strings without converting them (a class may have
// more digits than any integer type holds): fewer significant digits first,
// then the digits, then the spelling.
bool NumericallyBefore(std::string_view a, std::string_view b) {
  auto significant = [](std::string_view value) {
    const std::size_t first = value.find_first_not_of('0');
    return first == std::string_view::npos ? std::string_view() : value.substr(first);
  };
  const std::string_view sa = significant(a);
  const std::string_view sb = significant(b);
  return std::tuple(sa.size(), sa, a) < std::tuple(sb.size(), sb, b);
}

}  // namespace

std::vector<std::string> ClassValues(const std::vector<std::string>& classes) {
  std::vector<std::string> values;
  std::unordered_set<std::string_view> seen;
  for (const std::string& c : classes) {
    if (!c.empty() && seen.insert(c).second) values.push_back(c);
  }
  std::sort(values.begin(), values.end(), NumericallyBefore);
  return values;
}

std::vector<std::string> DeclaredClassValues(const std::vector<std::string>& declared,
                                             const std::vector<std::string>& classes) {
  return declared.empty() ? ClassValues(classes) : declared;
}

std::vector<std::string> ParseClassValues(std::string_view list) {
  std::vector<std::string> values;
  std::unordered_set<std::string_view> seen;
  while (true) {
    const std::size_t comma = list.find(',');
    const std::string_view value = list.substr(0, comma);
    if (value.empty() || value.find_first_not_of("0123456789") != std::string_view::npos) {
      throw std::invalid_argument("\"" + std::string(value) +
                                  "\" is not a class value (a run of digits); give the values separated by "
                                  "commas, say 0,1");
    }
    if (!seen.insert(value).second) {
      throw std::invalid_argument("the class value " + std::string(value) + " comes twice");
    }
    values.emplace_back(value);
    if (comma == std::string_view::npos) return values;
    list.remove_prefix(comma + 1);
  }
}

std::string ClassValueList(const std::vector<std::string>& values) {
  std::string list;
  for (const std::string& value : values) list += (list.empty() ? "" : ",") + value;
  return list;
}

std::optional<std::size_t> FirstUndeclaredClass(const std::vector<std::string>& classes,
                                                const std::vector<std::string>& declared) {
  if (declared.empty()) return std::nullopt;
  const std::unordered_set<std::string_view> known(declared.begin(), declared.end());
  for (std::size_t i = 0; i < classes.size(); ++i) {
    if (!classes[i].empty() && !known.contains(classes[i])) return i;
  }
  return std::nullopt;
}

}  // namespace casewright
