// The C4.5 names file that describes a set of cases, so that C4.5 can read
// the Quinlan layout: the class values, then one discrete attribute per
// ticked feature, named after it, with the codes it can take.
//
//   1, 0.
//
//   size: 1, 2, 3, 4.
//   text_location: 1, 2, 3.
//   ...
//
// With raw values, every feature is "size: continuous.".
#ifndef CASEWRIGHT_OUTPUT_NAMES_FILE_H_
#define CASEWRIGHT_OUTPUT_NAMES_FILE_H_

#include <string>

#include "output/case_layout.h"

namespace casewright {

std::string NamesFileText(const CaseSchema& schema);

}  // namespace casewright

#endif  // CASEWRIGHT_OUTPUT_NAMES_FILE_H_
