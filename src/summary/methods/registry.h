// The one table of summarisers: every command and help text that offers a
// method reads it, so a method added here is offered everywhere.
#ifndef CASEWRIGHT_SUMMARY_METHODS_REGISTRY_H_
#define CASEWRIGHT_SUMMARY_METHODS_REGISTRY_H_

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "summary/methods/method.h"

namespace casewright {

struct MethodInfo {
  std::string_view name;  // `feature:N` stands for feature:1 to feature:16
  std::string_view description;
};

// Every method, in the order help texts list them.
const std::vector<MethodInfo>& Methods();

// The method called `name`, or null when there is none.
std::unique_ptr<SummaryMethod> MakeMethod(std::string_view name);

// N of a method named `feature:N` with N from 1 to kFeatureCount, else 0.
int FeatureMethodNumber(std::string_view name);

// "textrank, lexrank, ..., oracle": the names for a help text or a message.
std::string MethodNames();

}  // namespace casewright

#endif  // CASEWRIGHT_SUMMARY_METHODS_REGISTRY_H_
