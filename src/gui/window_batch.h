// A batch run from the window (File > Run batch...): the same RunBatch as
// `casewright-cli batch`, watched by an observer that the window's progress
// timer reads from the GUI thread, and the summary shown at the end.
#ifndef CASEWRIGHT_GUI_WINDOW_BATCH_H_
#define CASEWRIGHT_GUI_WINDOW_BATCH_H_

#include <QString>
#include <atomic>
#include <cstddef>
#include <mutex>
#include <string>
#include <vector>

#include "batch/batch.h"

namespace casewright {

class WindowBatchObserver : public BatchObserver {
 public:
  // `manifest` names the manifest in the failed lines, as the command line
  // names it: "<manifest>:<line>: <message>".
  explicit WindowBatchObserver(std::string manifest, std::size_t entries)
      : manifest_(std::move(manifest)), entries_(entries) {}

  void EntryFinished(const ManifestEntry& entry, const RunOutcome* outcome, const std::string& error) override;

  std::size_t entries() const { return entries_; }
  // May be read from any thread while the batch runs.
  std::size_t done() const { return done_.load(std::memory_order_relaxed); }
  std::size_t failed() const { return failed_.load(std::memory_order_relaxed); }
  // The failed lines, in manifest order.
  // REQUIRES: the batch has ended.
  std::vector<std::string> Failures() const;

 private:
  std::string manifest_;
  std::size_t entries_;
  std::atomic<std::size_t> done_{0};
  std::atomic<std::size_t> failed_{0};
  mutable std::mutex mutex_;
  std::vector<std::pair<std::size_t, std::string>> failures_;  // by line number
};

// "Batch: 9 succeeded, 1 failed, of 10 texts; 1234 cases" ("Batch
// cancelled: 5 succeeded, 0 failed, 5 not run, ..." when it was cancelled),
// then what became of the combined and names files, then the failed lines.
QString BatchSummary(const BatchSettings& settings, const BatchReport& report,
                     const std::vector<std::string>& failures);

}  // namespace casewright

#endif  // CASEWRIGHT_GUI_WINDOW_BATCH_H_
