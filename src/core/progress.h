// Progress of a run, reported to the front end through a callback.
//
// A run is a fixed sequence of stages; within a stage the work is counted in
// units (characters, sentences, words).  Stages report every unit to the
// ProgressMeter, which calls the front end back only when the stage has
// advanced by a noticeable step, so a front end never sees one call per
// character.
//
// The progress reports are also where a run can be stopped from another
// thread: CancellableProgress throws RunCancelled at the first report after
// the flag is set.  Every report comes before the output files are put in
// place, so a cancelled run, like any failed one, changes no file.
#ifndef CASEWRIGHT_CORE_PROGRESS_H_
#define CASEWRIGHT_CORE_PROGRESS_H_

#include <atomic>
#include <cstdint>
#include <functional>

#include "core/run_error.h"

namespace casewright {

// The stages in the order a run goes through them.  Stages that a run skips
// are simply not reported.
enum class RunStage {
  kSegment,
  kStopwords,
  kDistribution,
  kTfIsf,
  kGist,
  kKeywords,
  kLocations,
  kCues,
  kWrite,
};
inline constexpr int kRunStageCount = 9;

struct ProgressTick {
  RunStage stage;
  std::uint64_t done;   // units of the stage finished
  std::uint64_t total;  // units of the stage; 0 for a stage with no work

  // How far the whole run has got, from 0 to 1.
  double Fraction() const {
    double within = total == 0 ? 1.0 : static_cast<double>(done) / static_cast<double>(total);
    return (static_cast<int>(stage) + within) / kRunStageCount;
  }
};

using ProgressCallback = std::function<void(const ProgressTick&)>;

class ProgressMeter {
 public:
  // Reports this many times per stage at most, besides its start and end.
  static constexpr std::uint64_t kStepsPerStage = 100;

  explicit ProgressMeter(ProgressCallback callback) : callback_(std::move(callback)) {}

  // Starts `stage` with `total` units of work and reports it.
  void Begin(RunStage stage, std::uint64_t total);

  // Records that `done` units of the current stage are finished.
  void Advance(std::uint64_t done) {
    if (done >= next_report_) Report(done);
  }

  // Reports the current stage as finished.
  void End() { Report(total_); }

 private:
  void Report(std::uint64_t done);

  ProgressCallback callback_;
  RunStage stage_ = RunStage::kSegment;
  std::uint64_t total_ = 0;
  std::uint64_t next_report_ = 0;
};

// The failure of a run stopped by the user.
class RunCancelled : public RunError {
 public:
  RunCancelled() : RunError("Cancelled; no file was changed") {}
};

// A callback that passes each tick on to `inner` (when it is set), then
// throws RunCancelled if `cancel` is set.
// REQUIRES: `cancel` outlives the callback.
ProgressCallback CancellableProgress(const std::atomic<bool>& cancel, ProgressCallback inner);

}  // namespace casewright

#endif  // CASEWRIGHT_CORE_PROGRESS_H_
