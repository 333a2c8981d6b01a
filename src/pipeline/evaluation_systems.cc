#include "pipeline/evaluation_systems.h"

#include <algorithm>

namespace casewright {

std::vector<std::string> SystemNames(const EvaluationManifest& manifest) {
  if (!manifest.system_names.empty()) return manifest.system_names;
  std::size_t most = 0;
  for (const EvaluationLine& line : manifest.lines) most = std::max(most, line.systems.size());
  std::vector<std::string> names;
  for (std::size_t i = 1; i <= most; ++i) names.push_back("system" + std::to_string(i));
  return names;
}

}  // namespace casewright
