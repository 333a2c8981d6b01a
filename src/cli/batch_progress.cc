#include "cli/batch_progress.h"

#include <cmath>
#include <cstdio>

namespace casewright {
namespace {

// "1:05" or "1:02:05".
std::string Clock(double seconds) {
  const long total = std::lround(seconds);
  char text[32];
  if (total >= 3600) {
    std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", total / 3600, total / 60 % 60, total % 60);
  } else {
    std::snprintf(text, sizeof text, "%ld:%02ld", total / 60, total % 60);
  }
  return text;
}

}  // namespace

BatchProgress::BatchProgress(std::string manifest, std::ostream& err, bool terminal, bool notes)
    : manifest_(std::move(manifest)), err_(err), terminal_(terminal), notes_wanted_(notes) {}

void BatchProgress::EntryFinished(const ManifestEntry& entry, const RunOutcome* outcome, const std::string& error) {
  ClearLine();
  const std::string where = manifest_ + ":" + std::to_string(entry.line) + ": ";
  if (!outcome) {
    err_ << where << error << "\n";
    return;
  }
  for (const std::string& warning : outcome->warnings) err_ << where << "warning: " << warning << "\n";
  for (const std::string& note : outcome->notes) ++notes_[note];
}

void BatchProgress::Progress(const BatchCounts& counts) {
  if (!terminal_) return;
  err_ << "\r" << ProgressLine(counts, std::chrono::steady_clock::now() - start_) << "\x1b[K" << std::flush;
  line_drawn_ = true;
}

std::string BatchProgress::ProgressLine(const BatchCounts& counts, std::chrono::duration<double> elapsed) {
  const double seconds = elapsed.count();
  char speed[32];
  std::snprintf(speed, sizeof speed, "%.1f", seconds > 0 ? counts.bytes_done / 1e6 / seconds : 0.0);
  std::string line = std::to_string(counts.done) + "/" + std::to_string(counts.entries) + " texts, " +
                     std::to_string(counts.sentences) + " sentences, " + speed + " MB/s, ";
  if (counts.bytes_done == 0 || counts.bytes_done > counts.bytes_total) return line + "time left unknown";
  const double left = seconds * static_cast<double>(counts.bytes_total - counts.bytes_done) / counts.bytes_done;
  return line + Clock(left) + " left";
}

void BatchProgress::Finish() {
  ClearLine();
  if (!notes_wanted_) return;
  for (const auto& [note, count] : notes_) {
    err_ << "note: " << count << (count == 1 ? " text: " : " texts: ") << note << "\n";
  }
}

void BatchProgress::ClearLine() {
  if (!line_drawn_) return;
  err_ << "\r\x1b[K";
  line_drawn_ = false;
}

}  // namespace casewright
