#include "output/names_file.h"

namespace casewright {
namespace {

// Values separated by a comma and a blank, ended by a period and LF.
template <typename Values>
std::string ValueList(const Values& values) {
  std::string list;
  for (const auto& value : values) {
    if (!list.empty()) list += ", ";
    list += value;
  }
  return list + ".\n";
}

}  // namespace

std::string NamesFileText(const CaseSchema& schema) {
  std::string text = ValueList(schema.class_values) + "\n";
  for (const FeatureInfo& info : TickedFeatures(schema.features)) {
    text += std::string(info.short_name) + ": " +
            (schema.values == CaseValues::kRaw ? std::string("continuous.\n") : ValueList(info.codes));
  }
  return text;
}

}  // namespace casewright
