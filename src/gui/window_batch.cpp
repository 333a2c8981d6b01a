#include "gui/window_batch.h"

#include <algorithm>

namespace casewright {

void WindowBatchObserver::EntryFinished(const ManifestEntry& entry, const RunOutcome* outcome,
                                        const std::string& error) {
  if (!outcome) {
    std::lock_guard lock(mutex_);
    failures_.emplace_back(entry.line, manifest_ + ":" + std::to_string(entry.line) + ": " + error);
    failed_.fetch_add(1, std::memory_order_relaxed);
  }
  done_.fetch_add(1, std::memory_order_relaxed);
}

std::vector<std::string> WindowBatchObserver::Failures() const {
  std::lock_guard lock(mutex_);
  auto sorted = failures_;
  std::sort(sorted.begin(), sorted.end());
  std::vector<std::string> lines;
  for (auto& [line, message] : sorted) lines.push_back(std::move(message));
  return lines;
}

QString BatchSummary(const BatchSettings& settings, const BatchReport& report,
                     const std::vector<std::string>& failures) {
  const BatchCounts& counts = report.counts;
  QString summary = QStringLiteral("%1: %2 succeeded, %3 failed, ")
                        .arg(counts.not_run > 0 ? "Batch cancelled" : "Batch")
                        .arg(counts.done - counts.failed)
                        .arg(counts.failed);
  if (counts.not_run > 0) summary += QStringLiteral("%1 not run, ").arg(counts.not_run);
  summary += QStringLiteral("of %1 %2; %3 cases")
                 .arg(counts.entries)
                 .arg(counts.entries == 1 ? "text" : "texts")
                 .arg(counts.sentences);
  if (report.combined_written) {
    summary += QStringLiteral("\nEvery case written to ") + QString::fromStdString(settings.combined_path);
    if (!settings.names_path.empty()) {
      summary += QStringLiteral("\nTheir C4.5 names file written to ") + QString::fromStdString(settings.names_path);
    }
  } else if (!settings.combined_path.empty()) {
    summary += counts.not_run > 0 ? QStringLiteral("\nThe combined file was not written, since the batch was cancelled.")
                                  : QStringLiteral("\nThe combined file was not written, since a text failed.");
  }
  if (!failures.empty()) summary += QStringLiteral("\n\nFailed:");
  for (const std::string& line : failures) summary += QLatin1Char('\n') + QString::fromStdString(line);
  return summary;
}

}  // namespace casewright
