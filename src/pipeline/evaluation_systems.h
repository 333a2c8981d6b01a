// The systems of an evaluation manifest by name, for the comparisons of
// each system with its baselines and with the others.
#ifndef CASEWRIGHT_PIPELINE_EVALUATION_SYSTEMS_H_
#define CASEWRIGHT_PIPELINE_EVALUATION_SYSTEMS_H_

#include <string>
#include <vector>

#include "pipeline/evaluation.h"

namespace casewright {

// The names the header line gives, else system1, system2... up to the
// most systems a line gives.
std::vector<std::string> SystemNames(const EvaluationManifest& manifest);

}  // namespace casewright

#endif  // CASEWRIGHT_PIPELINE_EVALUATION_SYSTEMS_H_
