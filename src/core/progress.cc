#include "core/progress.h"

namespace casewright {

void ProgressMeter::Begin(RunStage stage, std::uint64_t total) {
  stage_ = stage;
  total_ = total;
  Report(0);
}

void ProgressMeter::Report(std::uint64_t done) {
  std::uint64_t step = total_ / kStepsPerStage + 1;
  next_report_ = done + step;
  if (callback_) callback_(ProgressTick{stage_, done, total_});
}

}  // namespace casewright
