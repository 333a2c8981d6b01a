// What a case holds for each ticked feature: its code (a digit, the
// default) or its raw value (the number the code is made from).  A file of
// cases, a batch and a trained model each hold one kind only.
#ifndef CASEWRIGHT_CORE_CASE_VALUES_H_
#define CASEWRIGHT_CORE_CASE_VALUES_H_

#include <optional>
#include <string>
#include <string_view>

#include "core/features.h"

namespace casewright {

enum class CaseValues { kCodes, kRaw };

// "codes" or "raw", as the command line and the model spell them.
constexpr std::string_view CaseValuesName(CaseValues values) {
  return values == CaseValues::kRaw ? "raw" : "codes";
}

constexpr std::optional<CaseValues> CaseValuesNamed(std::string_view name) {
  if (name == "codes") return CaseValues::kCodes;
  if (name == "raw") return CaseValues::kRaw;
  return std::nullopt;
}

// What headers and models call a feature's column: its short name, with
// "_raw" after it for raw values ("size_raw").
inline std::string ColumnName(const FeatureInfo& info, CaseValues values) {
  return std::string(info.short_name) + (values == CaseValues::kRaw ? "_raw" : "");
}

}  // namespace casewright

#endif  // CASEWRIGHT_CORE_CASE_VALUES_H_
