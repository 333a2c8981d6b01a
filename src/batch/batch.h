// A batch: the runs of a manifest's entries on several worker threads that
// share the lexical tables, each entry giving, byte for byte, what a single
// run with its three files gives.
//
// An entry that fails is reported and does not stop the others.  When the
// system refuses a worker thread, the batch runs on those it has started
// (on the calling thread when none).  The combined file (every case of every entry, in manifest order whatever the
// number of threads, under one header) and the names file are written at
// the end, and only when every entry succeeded: a training set with texts
// silently missing is worse than none.
#ifndef CASEWRIGHT_BATCH_BATCH_H_
#define CASEWRIGHT_BATCH_BATCH_H_

#include <cstddef>
#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "batch/manifest.h"
#include "core/features.h"
#include "core/lexical_tables.h"
#include "output/case_layout.h"
#include "pipeline/pipeline.h"
#include "text/extract_classes.h"
#include "text/text_encoding.h"

namespace casewright {

struct BatchSettings {
  FeatureSet features = FeatureSet::Default();
  CaseFormat format = CaseFormat::kPlain;
  CaseValues values = CaseValues::kCodes;
  TextEncoding encoding = TextEncoding::kWindows1252;
  bool segmented = false;
  // As RunSettings has them, for every entry; the extract's path is each
  // entry's own.
  bool strict_classes = false;
  ExtractSettings extract;
  bool ids = false;
  std::vector<std::string> class_values;
  unsigned jobs = 1;
  // When not empty: every case of every entry, in manifest order, under one
  // header that calls them `relation`.
  std::string combined_path;
  std::string relation;
  // When not empty: the C4.5 names file of every entry's cases.
  std::string names_path;
  // The shard the entries are, if any: its combined file then gets an index
  // (shard_index.h) so that the shards' files can be joined.
  std::optional<Shard> shard;
  std::size_t manifest_entries = 0;  // the whole manifest's, for the index
  std::string identity;              // BatchIdentity, for the index
  // The manifest, which the batch's own files must not be; empty or "-"
  // for standard input.
  std::string manifest_path;
  // When not null, what the manifest's check found of its files
  // (ManifestOptions::files), used again instead of examining them anew.
  PathNormalizer* files = nullptr;
  // When not null and set (from any thread), the batch stops: it starts no
  // more entries, and those running stop at their next progress step,
  // changing no file.  The entries stopped or never started are counted as
  // not run, and the combined and names files are not written.
  const std::atomic<bool>* stop = nullptr;
};

// What tells one batch from another in a shard's index: a digest of the
// manifest's bytes and of every setting that changes the cases (features,
// format, values, encoding, segmentation, strict classes, the extract
// settings, the relation and the shard count).
std::string BatchIdentity(std::string_view manifest_bytes, const BatchSettings& settings);

// How far a batch has got.
struct BatchCounts {
  std::size_t entries = 0;
  std::size_t done = 0;
  std::size_t failed = 0;
  std::uint64_t sentences = 0;
  std::uint64_t bytes_done = 0;   // of the texts finished
  std::uint64_t bytes_total = 0;  // of every text, as their files' sizes say
  std::uint64_t ones = 0;         // sentences of class 1, of the texts that succeeded
  std::uint64_t labelled = 0;     // sentences with a class, of the texts that succeeded
  std::size_t not_run = 0;        // stopped by BatchSettings::stop (not in `done`)
};

class BatchObserver {
 public:
  virtual ~BatchObserver() = default;
  // An entry has finished: `outcome` is null when it failed with `error`.
  // Called for one entry at a time, in the order the entries finish.
  virtual void EntryFinished(const ManifestEntry& entry, const RunOutcome* outcome, const std::string& error) = 0;
  // Called a few times a second while the batch runs, on the thread that
  // called RunBatch.
  virtual void Progress(const BatchCounts& /*counts*/) {}
};

struct BatchReport {
  BatchCounts counts;
  // Whether the combined and names files were written (every entry ran
  // and succeeded).
  bool combined_written = false;
  // The worker threads the system started, when fewer than asked; 0 when
  // the batch ran on the calling thread alone.
  std::optional<unsigned> threads_started;
};

// Runs every entry.  Throws RunError, before any entry runs, when the
// combined or names file is a file of an entry or the manifest, and when
// the combined, names or index file cannot be written.  An entry with no
// output file writes its cases to the combined file only.
// REQUIRES: settings.jobs >= 1; the entries are ReadManifest's, whose
// checks stand for those of each run.
BatchReport RunBatch(const std::vector<ManifestEntry>& entries, const BatchSettings& settings,
                     const LexicalTables& tables, BatchObserver& observer);

}  // namespace casewright

#endif  // CASEWRIGHT_BATCH_BATCH_H_
