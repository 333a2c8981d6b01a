// What casewright-cli batch tells the user while and after it runs: each
// failed entry with its manifest line, each entry's warnings, and, when
// standard error is a terminal, one progress line redrawn in place (texts
// done, sentences, MB/s, time left).
#ifndef CASEWRIGHT_CLI_BATCH_PROGRESS_H_
#define CASEWRIGHT_CLI_BATCH_PROGRESS_H_

#include <chrono>
#include <map>
#include <ostream>
#include <string>

#include "batch/batch.h"

namespace casewright {

class BatchProgress : public BatchObserver {
 public:
  // `manifest` names the manifest in messages; the progress line is drawn
  // only when `terminal`, the notes only when `notes`.
  BatchProgress(std::string manifest, std::ostream& err, bool terminal, bool notes = true);

  void EntryFinished(const ManifestEntry& entry, const RunOutcome* outcome, const std::string& error) override;
  void Progress(const BatchCounts& counts) override;

  // Clears the progress line and says how many entries gave each note
  // ("note: 12 texts: The text was read as UTF-8.").
  void Finish();

  // The progress line for `counts` after `elapsed`.
  static std::string ProgressLine(const BatchCounts& counts, std::chrono::duration<double> elapsed);

 private:
  void ClearLine();

  std::string manifest_;
  std::ostream& err_;
  bool terminal_;
  bool notes_wanted_;
  bool line_drawn_ = false;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
  std::map<std::string, std::size_t> notes_;
};

}  // namespace casewright

#endif  // CASEWRIGHT_CLI_BATCH_PROGRESS_H_
