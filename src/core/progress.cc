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

ProgressCallback CancellableProgress(const std::atomic<bool>& cancel, ProgressCallback inner) {
  return [&cancel, inner = std::move(inner)](const ProgressTick& tick) {
    if (inner) inner(tick);
    if (cancel.load(std::memory_order_relaxed)) throw RunCancelled();
  };
}

}  // namespace casewright
