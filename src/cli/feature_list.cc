#include "cli/feature_list.h"

#include <stdexcept>
#include <string_view>

namespace casewright {
namespace {

const FeatureInfo& ParseFeatureNumber(std::string_view text, std::string_view item) {
  for (const FeatureInfo& info : kFeatures) {
    if (text == std::to_string(info.number)) return info;
  }
  throw std::invalid_argument("\"" + std::string(item) + "\" is not a feature number from 1 to " +
                              std::to_string(kFeatureCount) + " or a range of them");
}

}  // namespace

FeatureSet ParseFeatureList(const std::string& list) {
  FeatureSet features = FeatureSet::None();
  if (list == "none") return features;
  std::string_view rest(list);
  while (true) {
    std::size_t comma = rest.find(',');
    std::string_view item = rest.substr(0, comma);
    std::size_t dash = item.find('-');
    int first = ParseFeatureNumber(item.substr(0, dash), item).number;
    int last = dash == std::string_view::npos ? first : ParseFeatureNumber(item.substr(dash + 1), item).number;
    if (last < first) throw std::invalid_argument("\"" + std::string(item) + "\" is a range that runs backwards");
    for (int number = first; number <= last; ++number) features.Set(kFeatures[number - 1].feature);
    if (comma == std::string_view::npos) break;
    rest.remove_prefix(comma + 1);
  }
  return features;
}

std::string FeatureListHelp() {
  std::string help =
      "Features to extract, by number: a comma-separated list, ranges allowed (1-3,8), or none.  9 to 16 are "
      "off unless named (1-16).\n";
  for (const FeatureInfo& info : kFeatures) {
    const std::string number = std::to_string(info.number);
    help += std::string(4 - number.size(), ' ') + number + "  " + std::string(info.caption) + "\n";
  }
  return help;
}

}  // namespace casewright
