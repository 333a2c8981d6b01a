// The command line's feature list: numbers 1 to 8 separated by commas,
// ranges allowed ("1-3,8"), or "none".
#ifndef CASEWRIGHT_CLI_FEATURE_LIST_H_
#define CASEWRIGHT_CLI_FEATURE_LIST_H_

#include <array>
#include <string>

namespace casewright {

// Element k is true when feature k + 1 is listed.  Throws
// std::invalid_argument with a message naming the bad item.
std::array<bool, 8> ParseFeatureList(const std::string& list);

}  // namespace casewright

#endif  // CASEWRIGHT_CLI_FEATURE_LIST_H_
