// A flat hash map keyed by strings and searched with a std::string_view, so
// that a look-up builds no string.  (The Abseil of Debian 12 keeps a
// string_view type of its own, which std::string_view does not convert to.)
#ifndef CASEWRIGHT_CORE_STRING_MAP_H_
#define CASEWRIGHT_CORE_STRING_MAP_H_

#include <cstddef>
#include <string>
#include <string_view>

#include "absl/container/flat_hash_map.h"
#include "absl/hash/hash.h"
#include "absl/strings/string_view.h"

namespace casewright {

// Hashes the bytes with Abseil's own string hash: absl::Hash of a
// std::string_view would fall back to std::hash, which is slower.
struct StringViewHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view s) const {
    return absl::Hash<absl::string_view>{}(absl::string_view(s.data(), s.size()));
  }
};

struct StringViewEq {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const { return a == b; }
};

template <typename Value>
using StringMap = absl::flat_hash_map<std::string, Value, StringViewHash, StringViewEq>;

}  // namespace casewright

#endif  // CASEWRIGHT_CORE_STRING_MAP_H_
