#include "core/run_error.h"

namespace casewright {

std::string DescribeError(const std::exception& error) {
  if (const auto* run_error = dynamic_cast<const RunError*>(&error)) return run_error->Describe();
  return error.what();
}

}  // namespace casewright
