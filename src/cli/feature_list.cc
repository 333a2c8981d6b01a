#include "cli/feature_list.h"

#include <stdexcept>
#include <string_view>

namespace casewright {
namespace {

int ParseFeatureNumber(std::string_view text, std::string_view item) {
  if (text.size() != 1 || text[0] < '1' || text[0] > '8') {
    throw std::invalid_argument("\"" + std::string(item) + "\" is not a feature number from 1 to 8 or a range of them");
  }
  return text[0] - '0';
}

}  // namespace

std::array<bool, 8> ParseFeatureList(const std::string& list) {
  std::array<bool, 8> features{};
  if (list == "none") return features;
  std::string_view rest(list);
  while (true) {
    std::size_t comma = rest.find(',');
    std::string_view item = rest.substr(0, comma);
    std::size_t dash = item.find('-');
    int first = ParseFeatureNumber(item.substr(0, dash), item);
    int last = dash == std::string_view::npos ? first : ParseFeatureNumber(item.substr(dash + 1), item);
    if (last < first) throw std::invalid_argument("\"" + std::string(item) + "\" is a range that runs backwards");
    for (int k = first; k <= last; ++k) features[k - 1] = true;
    if (comma == std::string_view::npos) break;
    rest.remove_prefix(comma + 1);
  }
  return features;
}

}  // namespace casewright
