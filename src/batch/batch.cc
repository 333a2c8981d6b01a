#include "batch/batch.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <filesystem>
#include <mutex>
#include <thread>
#include <unordered_map>

#include "batch/shard_index.h"
#include "core/run_error.h"
#include "output/case_writer.h"
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

void RefuseEntryFiles(const std::vector<ManifestEntry>& entries, const BatchSettings& settings) {
  const std::vector<NamedFile> files = BatchFiles(settings);
  if (files.empty()) return;
  PathNormalizer normalizer;
  std::unordered_map<std::string, std::string> used;  // each file, with who uses it
  for (const ManifestEntry& entry : entries) {
    for (const std::string* path : {&entry.text_path, &entry.classes_path, &entry.extract_path, &entry.output_path}) {
      if (path->empty()) continue;
      used.try_emplace(normalizer.Normalize(*path), "a file of manifest line " + std::to_string(entry.line));
    }
  }
  for (const NamedFile& file : files) {
    auto [it, added] = used.try_emplace(normalizer.Normalize(file.path), std::string("the ") + file.what);
    if (!added) {
      throw RunError(std::string("The ") + file.what + " is " + it->second + "; nothing was run", file.path);
    }
  }
}

std::uint64_t SizeOf(const std::string& path) {
  std::error_code error;
  std::uintmax_t size = std::filesystem::file_size(path, error);
  return error ? 0 : size;
}

RunSettings RunSettingsOf(const ManifestEntry& entry, const BatchSettings& settings) {
  RunSettings run;
  run.text_path = entry.text_path;
  run.classes_path = entry.classes_path;
  run.output_path = entry.output_path;
  run.features = settings.features;
  run.format = settings.format;
  run.encoding = settings.encoding;
  run.strict_classes = settings.strict_classes;
  run.extract = settings.extract;
  run.extract.path = entry.extract_path;
  run.keep_cases = !settings.combined_path.empty();
  run.ids = settings.ids;
  run.text_name = entry.text_name;
  run.class_values = settings.class_values;
  return run;
}

// Writes the combined file (with its index for a shard) and the names file,
// putting them in place only when all are written.
void WriteBatchFiles(const std::vector<ManifestEntry>& entries, std::vector<EntryResult>& results,
                     const BatchSettings& settings) {
  std::vector<std::string> all_values;
  for (const EntryResult& result : results) {
    all_values.insert(all_values.end(), result.class_values.begin(), result.class_values.end());
  }
  const CaseSchema schema{settings.features, DeclaredClassValues(settings.class_values, all_values),
                          settings.relation, settings.ids};
  OutputFiles files;
  if (!settings.combined_path.empty()) {
    OutputFile& combined = files.Open(settings.combined_path);
    const std::string header = MakeCaseLayout(settings.format)->Header(schema);
    combined.Write(header);
    for (EntryResult& result : results) {
      combined.Write(result.body);
      std::string().swap(result.body);
    }
    if (settings.shard) {
      ShardIndex index{*settings.shard, settings.manifest_entries, settings.format, settings.features,
                       settings.relation, header.size(), {}, settings.ids, settings.class_values};
      for (std::size_t i = 0; i < entries.size(); ++i) {
        index.entries.push_back({entries[i].index, results[i].cases, results[i].class_values});
      }
      files.Open(IndexPathOf(settings.combined_path)).Write(ShardIndexText(index));
    }
  }
  if (!settings.names_path.empty()) files.Open(settings.names_path).Write(NamesFileText(schema));
  files.CommitAll();
}

}  // namespace

BatchReport RunBatch(const std::vector<ManifestEntry>& entries, const BatchSettings& settings,
                     const LexicalTables& tables, BatchObserver& observer) {
  RefuseEntryFiles(entries, settings);
  BatchReport report;
  BatchCounts& counts = report.counts;
  counts.entries = entries.size();
  std::vector<std::uint64_t> sizes;
  for (const ManifestEntry& entry : entries) counts.bytes_total += sizes.emplace_back(SizeOf(entry.text_path));
  std::vector<EntryResult> results(entries.size());

  std::mutex mutex;  // guards counts, results and the observer
  std::condition_variable finished;
  std::atomic<std::size_t> next{0};
  auto work = [&] {
    for (std::size_t i; (i = next.fetch_add(1)) < entries.size();) {
      std::optional<RunOutcome> outcome;
      std::string error;
      try {
        outcome = RunCases(RunSettingsOf(entries[i], settings), tables);
      } catch (const std::exception& e) {
        error = DescribeError(e);
      }
      std::lock_guard lock(mutex);
      observer.EntryFinished(entries[i], outcome ? &*outcome : nullptr, error);
      ++counts.done;
      counts.bytes_done += sizes[i];
      if (outcome) {
        counts.sentences += outcome->sentences;
        results[i] = {outcome->sentences, std::move(outcome->cases), std::move(outcome->class_values)};
      } else {
        ++counts.failed;
      }
      // The waiting thread needs waking for the last entry only; it looks at
      // the counts on its own every kProgressInterval.
      if (counts.done == entries.size()) finished.notify_one();
    }
  };
  {
    std::vector<std::jthread> workers;
    const std::size_t jobs = std::min<std::size_t>(settings.jobs, entries.size());
    for (std::size_t j = 0; j < jobs; ++j) workers.emplace_back(work);
    std::unique_lock lock(mutex);
    while (counts.done < entries.size()) {
      finished.wait_for(lock, kProgressInterval, [&] { return counts.done == entries.size(); });
      observer.Progress(counts);
    }
  }
  if (counts.failed == 0 && !BatchFiles(settings).empty()) {
    WriteBatchFiles(entries, results, settings);
    report.combined_written = true;
  }
  return report;
}

}  // namespace casewright
