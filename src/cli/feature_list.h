// The command line's feature list: feature numbers separated by commas,
// ranges allowed ("1-3,8"), or "none".
#ifndef CASEWRIGHT_CLI_FEATURE_LIST_H_
#define CASEWRIGHT_CLI_FEATURE_LIST_H_

#include <string>

#include "core/features.h"

namespace casewright {

// The features listed.  Throws std::invalid_argument with a message naming
// the bad item.
FeatureSet ParseFeatureList(const std::string& list);

// The help text of the list: its syntax, then every feature's number and
// caption.
std::string FeatureListHelp();

}  // namespace casewright

#endif  // CASEWRIGHT_CLI_FEATURE_LIST_H_
