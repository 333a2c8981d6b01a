#include "cli/batch_progress.h"

#include <gtest/gtest.h>

#include <sstream>

namespace casewright {
namespace {

TEST(BatchProgressTest, ProgressLineEstimatesTheTimeLeftFromTheBytes) {
  BatchCounts counts{10, 3, 0, 120, 2'000'000, 8'000'000};
  EXPECT_EQ(BatchProgress::ProgressLine(counts, std::chrono::seconds(1)),
            "3/10 texts, 120 sentences, 2.0 MB/s, 0:03 left");
  EXPECT_TRUE(BatchProgress::ProgressLine(counts, std::chrono::seconds(1300)).ends_with(", 1:05:00 left"));
  EXPECT_TRUE(BatchProgress::ProgressLine(counts, std::chrono::seconds(1200)).ends_with(", 1:00:00 left"));
  counts.bytes_done = counts.bytes_total;  // every byte done, the last entry not yet counted
  EXPECT_EQ(BatchProgress::ProgressLine(counts, std::chrono::seconds(4)),
            "3/10 texts, 120 sentences, 2.0 MB/s, 0:00 left");
  counts.bytes_done = 0;
  EXPECT_EQ(BatchProgress::ProgressLine(counts, std::chrono::seconds(1)),
            "3/10 texts, 120 sentences, 0.0 MB/s, time left unknown");
}

TEST(BatchProgressTest, NotesAreCountedOverTheTexts) {
  std::ostringstream err;
  BatchProgress progress("m.tsv", err, false);
  RunOutcome outcome;
  outcome.notes = {"The text was read as UTF-8."};
  ManifestEntry entry;
  for (std::size_t line : {1, 2}) {
    entry.line = line;
    progress.EntryFinished(entry, &outcome, "");
  }
  progress.EntryFinished(entry, nullptr, "Cannot open file x");
  progress.Finish();
  EXPECT_EQ(err.str(), "m.tsv:2: Cannot open file x\nnote: 2 texts: The text was read as UTF-8.\n");
}

}  // namespace
}  // namespace casewright
