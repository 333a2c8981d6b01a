#include "batch/batch.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <system_error>
#include <thread>
#include <unordered_map>

#include "batch/shard_index.h"
#include "core/progress.h"
#include "core/read_file.h"
#include "core/run_error.h"
#include "output/case_writer.h"
#include "output/class_values.h"
#include "output/names_file.h"
#include "output/output_files.h"

namespace casewright {
namespace {

constexpr std::chrono::milliseconds kProgressInterval(200);

// What the end of the batch needs of one entry.
struct EntryResult {
  std::size_t cases = 0;
  std::string body;  // the cases without a header, for the combined file
  std::vector<std::string> class_values;
};

struct NamedFile {
  std::string path;
  const char* what;
};

// The files the batch itself writes.
std::vector<NamedFile> BatchFiles(const BatchSettings& settings) {
  std::vector<NamedFile> files;
  if (!settings.combined_path.empty()) {
    files.push_back({settings.combined_path, "combined file"});
    if (settings.shard) files.push_back({IndexPathOf(settings.combined_path), "shard index"});
  }
  if (!settings.names_path.empty()) files.push_back({settings.names_path, "names file"});
  return files;
}

// Refuses a batch that would write a lexical table, its manifest or a file
// that one of its lines uses.
void RefuseEntryFiles(const std::vector<ManifestEntry>& entries, const BatchSettings& settings,
                      const LexicalTables& tables, PathNormalizer& normalizer) {
  std::unordered_map<std::string, std::string> inputs;  // the tables, with what each is
  for (const std::string& table : tables.StoredFiles()) {
    inputs.emplace(normalizer.KeyOf(table), "the lexical table " + table);
  }
  for (const ManifestEntry& entry : entries) {
    if (entry.output_path.empty()) continue;
    if (auto it = inputs.find(normalizer.KeyOf(entry.output_path)); it != inputs.end()) {
      throw RunError("The output file of manifest line " + std::to_string(entry.line) + " is " + it->second +
                         "; nothing was run",
                     entry.output_path);
    }
  }
  const std::vector<NamedFile> files = BatchFiles(settings);
  if (files.empty()) return;
  std::unordered_map<std::string, std::string> used = std::move(inputs);  // each file, with who uses it
  if (!settings.manifest_path.empty() && settings.manifest_path != kStandardInput) {
    used.emplace(normalizer.KeyOf(settings.manifest_path), "the manifest");
  }
  for (const ManifestEntry& entry : entries) {
    for (const std::string* path : {&entry.text_path, &entry.classes_path, &entry.extract_path, &entry.output_path}) {
      if (path->empty()) continue;
      used.try_emplace(normalizer.KeyOf(*path), "a file of manifest line " + std::to_string(entry.line));
    }
  }
  for (const NamedFile& file : files) {
    auto [it, added] = used.try_emplace(normalizer.KeyOf(file.path), std::string("the ") + file.what);
    if (!added) {
      throw RunError(std::string("The ") + file.what + " is " + it->second + "; nothing was run", file.path);
    }
  }
}

RunSettings RunSettingsOf(const ManifestEntry& entry, const BatchSettings& settings) {
  RunSettings run;
  run.text_path = entry.text_path;
  run.classes_path = entry.classes_path;
  // Cases that go to the combined file only.
  run.output_path = entry.output_path.empty() ? "/dev/null" : entry.output_path;
  run.features = settings.features;
  run.format = settings.format;
  run.values = settings.values;
  run.encoding = settings.encoding;
  run.segmented = settings.segmented;
  run.strict_classes = settings.strict_classes;
  run.extract = settings.extract;
  run.extract.path = entry.extract_path;
  run.keep_cases = !settings.combined_path.empty();
  run.ids = settings.ids;
  run.text_name = entry.text_name;
  run.class_values = settings.class_values;
  run.files_checked = true;  // ReadManifest compared every line's files
  return run;
}

// The batch's own files, opened before any entry runs so that one that
// cannot be written stops the batch before it has cost anything.
class BatchFileSet {
 public:
  explicit BatchFileSet(const BatchSettings& settings) : settings_(settings) {
    if (!settings.combined_path.empty()) {
      combined_ = &files_.Open(settings.combined_path);
      if (settings.shard) index_ = &files_.Open(IndexPathOf(settings.combined_path));
    }
    if (!settings.names_path.empty()) names_ = &files_.Open(settings.names_path);
  }

  // Writes the combined file (with its index for a shard) and the names
  // file, putting them in place only when all are written.
  void Write(const std::vector<ManifestEntry>& entries, std::vector<EntryResult>& results) {
    std::vector<std::string> all_values;
    for (const EntryResult& result : results) {
      all_values.insert(all_values.end(), result.class_values.begin(), result.class_values.end());
    }
    const CaseSchema schema{settings_.features, DeclaredClassValues(settings_.class_values, all_values),
                            settings_.relation, settings_.ids, settings_.values};
    if (combined_ != nullptr) {
      const std::string header = MakeCaseLayout(settings_.format)->Header(schema);
      combined_->Write(header);
      ShardIndex index{settings_.identity, settings_.shard.value_or(Shard{}), settings_.manifest_entries,
                       settings_.format,   settings_.features,               settings_.relation,
                       header.size(),      {},                               settings_.ids,
                       settings_.class_values, settings_.values};
      for (std::size_t i = 0; i < entries.size(); ++i) {
        EntryResult& result = results[i];
        combined_->Write(result.body);
        if (index_ != nullptr) {
          index.entries.push_back({entries[i].index, result.cases, result.class_values,
                                   EntryDigest(index, result.class_values, result.body)});
        }
        std::string().swap(result.body);
      }
      if (index_ != nullptr) index_->Write(ShardIndexText(index));
    }
    if (names_ != nullptr) names_->Write(NamesFileText(schema));
    files_.CommitAll();
  }

 private:
  const BatchSettings& settings_;
  OutputFiles files_;
  OutputFile* combined_ = nullptr;
  OutputFile* index_ = nullptr;
  OutputFile* names_ = nullptr;
};

// Holds the file that a line's output replaces, if any, from before the run
// until after it.  A run puts its output in place by renaming it over the
// old file, under the folder's lock; when the rename drops the old file's
// last reference, the file system frees its blocks there and then (on a
// disk mounted with online discard, waiting for the device), while every
// other worker that creates a file in the folder waits for the lock.  Held
// here, the old file is freed when this closes it, outside the lock.
class ReplacedFile {
 public:
  explicit ReplacedFile(const std::string& path)
      : descriptor_(path.empty() ? -1 : ::open(path.c_str(), O_PATH | O_CLOEXEC)) {}
  ReplacedFile(const ReplacedFile&) = delete;
  ReplacedFile& operator=(const ReplacedFile&) = delete;
  ~ReplacedFile() {
    if (descriptor_ >= 0) ::close(descriptor_);
  }

 private:
  int descriptor_;  // reads nothing; -1 when there is no file
};

// Hands the finished entries to the observer one at a time, in the order
// they finish, and keeps the counts and results.  A worker never waits for
// another to report: it queues its entry, and reports the queue only when
// the observer is free, leaving its entry otherwise to whoever reports next
// (another worker, or the calling thread's next progress report).  Workers
// that waited on one another for each entry (the observer may write to an
// unbuffered stderr) would spend their time switching rather than running.
class Reporter {
 public:
  Reporter(const std::vector<ManifestEntry>& entries, const std::vector<std::uint64_t>& sizes,
           BatchObserver& observer, BatchCounts& counts)
      : entries_(entries), sizes_(sizes), observer_(observer), counts_(counts), results_(entries.size()) {}

  // Called by a worker: entry `i` has finished, with `outcome`, or without
  // when it failed with `error`, or did not run (`ran` false) since the
  // batch was stopped.
  void Finished(std::size_t i, std::optional<RunOutcome> outcome, std::string error, bool ran = true) {
    {
      std::lock_guard lock(queue_mutex_);
      queue_.push_back({i, std::move(outcome), std::move(error), ran});
    }
    if (std::unique_lock observing(observer_mutex_, std::try_to_lock); observing) Report();
    if (finished_.fetch_add(1) + 1 == entries_.size()) {
      std::lock_guard lock(wait_mutex_);
      all_finished_.notify_one();
    }
  }

  // Called by the calling thread: reports progress every kProgressInterval
  // until every entry has finished and been reported.
  void ReportUntilDone() {
    for (bool done = false; !done;) {
      {
        std::unique_lock lock(wait_mutex_);
        done = all_finished_.wait_for(lock, kProgressInterval, [&] { return finished_ == entries_.size(); });
      }
      std::lock_guard observing(observer_mutex_);
      Report();
      observer_.Progress(counts_);
    }
  }

  std::vector<EntryResult>& results() { return results_; }

 private:
  struct Finish {
    std::size_t i;
    std::optional<RunOutcome> outcome;
    std::string error;
    bool ran;
  };

  // REQUIRES: observer_mutex_ held.
  void Report() {
    std::vector<Finish> finished;
    while (true) {
      {
        std::lock_guard lock(queue_mutex_);
        finished.swap(queue_);
        queue_.clear();
      }
      if (finished.empty()) return;
      for (Finish& finish : finished) Count(finish);
    }
  }

  void Count(Finish& finish) {
    if (!finish.ran) {
      ++counts_.not_run;
      return;
    }
    std::optional<RunOutcome>& outcome = finish.outcome;
    observer_.EntryFinished(entries_[finish.i], outcome ? &*outcome : nullptr, finish.error);
    ++counts_.done;
    counts_.bytes_done += sizes_[finish.i];
    if (outcome) {
      counts_.sentences += outcome->sentences;
      counts_.ones += outcome->ones;
      counts_.labelled += outcome->labelled;
      results_[finish.i] = {outcome->sentences, std::move(outcome->cases), std::move(outcome->class_values)};
    } else {
      ++counts_.failed;
    }
  }

  const std::vector<ManifestEntry>& entries_;
  const std::vector<std::uint64_t>& sizes_;
  BatchObserver& observer_;
  BatchCounts& counts_;  // guarded by observer_mutex_, as are the results
  std::vector<EntryResult> results_;
  std::mutex observer_mutex_;
  std::mutex queue_mutex_;
  std::vector<Finish> queue_;
  std::atomic<std::size_t> finished_{0};
  std::mutex wait_mutex_;
  std::condition_variable all_finished_;
};

// Starts `work` on up to `jobs` threads, as many as the system allows;
// nullopt when it started them all.
std::optional<unsigned> StartWorkers(std::size_t jobs, const std::function<void()>& work,
                                     std::vector<std::jthread>& workers) {
  for (std::size_t j = 0; j < jobs; ++j) {
    try {
      workers.emplace_back(work);
    } catch (const std::system_error&) {
      return static_cast<unsigned>(workers.size());
    }
  }
  return std::nullopt;
}

}  // namespace

std::string BatchIdentity(std::string_view manifest_bytes, const BatchSettings& settings) {
  std::string options = FeatureBits(settings.features);
  const ExtractSettings& extract = settings.extract;
  options += "\t" + std::string(FormatName(settings.format)) + "\t" +
             std::to_string(static_cast<int>(settings.encoding)) + "\t" + (settings.strict_classes ? "1" : "0") +
             "\t" + std::to_string(static_cast<int>(extract.encoding)) + "\t" + std::to_string(extract.min_overlap) +
             "\t" + (extract.allow_unmatched ? "1" : "0") + "\t" + (extract.lines ? "1" : "0") + "\t" +
             settings.relation + "\t" +
             std::to_string(settings.shard ? settings.shard->n : 1) + "\t" + (settings.ids ? "1" : "0") + "\t" +
             ClassValueList(settings.class_values);
  // Said only when not the default, so that a default batch keeps the
  // identity it always had.
  if (settings.values == CaseValues::kRaw) options += "\traw";
  if (settings.segmented) options += "\tsegmented";
  options += "\n";
  return DigestText(Fnv1a(manifest_bytes, Fnv1a(options)));
}

BatchReport RunBatch(const std::vector<ManifestEntry>& entries, const BatchSettings& settings,
                     const LexicalTables& tables, BatchObserver& observer) {
  PathNormalizer own;
  PathNormalizer& files = settings.files != nullptr ? *settings.files : own;
  RefuseEntryFiles(entries, settings, tables, files);
  std::optional<BatchFileSet> batch_files;
  if (!BatchFiles(settings).empty()) batch_files.emplace(settings);
  BatchReport report;
  BatchCounts& counts = report.counts;
  counts.entries = entries.size();
  std::vector<std::uint64_t> sizes;
  for (const ManifestEntry& entry : entries) counts.bytes_total += sizes.emplace_back(files.Examine(entry.text_path).size);

  Reporter reporter(entries, sizes, observer, counts);
  std::atomic<std::size_t> next{0};
  const ProgressCallback progress = settings.stop ? CancellableProgress(*settings.stop, {}) : ProgressCallback{};
  auto work = [&] {
    for (std::size_t i; (i = next.fetch_add(1)) < entries.size();) {
      if (settings.stop && settings.stop->load(std::memory_order_relaxed)) {
        reporter.Finished(i, std::nullopt, {}, /*ran=*/false);
        continue;
      }
      std::optional<RunOutcome> outcome;
      std::string error;
      bool ran = true;
      {
        const ReplacedFile replaced(entries[i].output_path);
        try {
          outcome = RunCases(RunSettingsOf(entries[i], settings), tables, progress);
        } catch (const RunCancelled&) {
          ran = false;
        } catch (const std::exception& e) {
          error = DescribeError(e);
        }
      }
      reporter.Finished(i, std::move(outcome), std::move(error), ran);
    }
  };
  {
    std::vector<std::jthread> workers;
    const std::size_t jobs = std::min<std::size_t>(settings.jobs, entries.size());
    report.threads_started = StartWorkers(jobs, work, workers);
    if (workers.empty()) work();
    reporter.ReportUntilDone();
  }
  if (counts.failed == 0 && counts.not_run == 0 && batch_files) {
    batch_files->Write(entries, reporter.results());
    report.combined_written = true;
  }
  return report;
}

}  // namespace casewright
