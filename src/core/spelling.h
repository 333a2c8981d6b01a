// Values of an enumeration with the names that command lines and files
// spell them with, and the look-ups both ways.
#ifndef CASEWRIGHT_CORE_SPELLING_H_
#define CASEWRIGHT_CORE_SPELLING_H_

#include <optional>
#include <span>
#include <string_view>

namespace casewright {

template <typename T>
struct Spelling {
  T value;
  std::string_view name;
};

// The name of `value` in `spellings`, empty when it has none.
template <typename T>
std::string_view NameIn(std::span<const Spelling<T>> spellings, T value) {
  for (const Spelling<T>& spelling : spellings) {
    if (spelling.value == value) return spelling.name;
  }
  return {};
}

template <typename T>
std::optional<T> ValueIn(std::span<const Spelling<T>> spellings, std::string_view name) {
  for (const Spelling<T>& spelling : spellings) {
    if (spelling.name == name) return spelling.value;
  }
  return std::nullopt;
}

}  // namespace casewright

#endif  // CASEWRIGHT_CORE_SPELLING_H_
