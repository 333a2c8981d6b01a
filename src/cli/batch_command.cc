// casewright-cli batch MANIFEST [run options] [--jobs N] [--shard K/N] [--combined FILE]
#include <unistd.h>

#include <algorithm>
#include <iostream>
#include <memory>

#include "batch/batch.h"
#include "batch/manifest.h"
#include "cli/batch_progress.h"
#include "cli/commands.h"
#include "core/file_path.h"
#include "lexicon/sqlite_tables.h"

namespace casewright::cli {
namespace {

// More threads than this would only share the same cores.
struct BatchOptions {
  std::string manifest;
  RunOptions run;
  ExtractOptions extract;
  std::string jobs;  // empty: one per core
  std::string shard;
  std::string combined;
};

// Whether the summary would land in cases: a file the batch writes is
// standard output.
bool BatchWritesStandardOutput(const std::vector<ManifestEntry>& entries, const BatchSettings& settings) {
  if (WritesStandardOutput({settings.combined_path, settings.names_path})) return true;
  return std::any_of(entries.begin(), entries.end(),
                     [](const ManifestEntry& entry) { return WritesStandardOutput({entry.output_path}); });
}

int Batch(const BatchOptions& options) {
  const unsigned jobs = JobsAsked(options.jobs);
  const Choices choices = Choose(options.run);
  BatchSettings settings;
  settings.features = choices.features;
  settings.format = choices.format;
  settings.values = choices.values;
  settings.segmented = options.run.segmented;
  settings.encoding = choices.encoding;
  settings.jobs = jobs;
  settings.manifest_path = options.manifest;
  settings.combined_path = options.combined;
  settings.relation = RelationOf(options.manifest);
  settings.names_path = options.run.names;
  settings.strict_classes = options.run.strict_classes;
  settings.extract = ChooseExtract(options.extract, "");
  settings.ids = options.run.ids;
  settings.class_values = choices.class_values;
  if (!options.shard.empty()) {
    try {
      settings.shard = ParseShard(options.shard);
    } catch (const std::invalid_argument& e) {
      throw UsageError(std::string("--shard: ") + e.what());
    }
    // The index that lets the shards be joined goes beside the combined file.
    if (NamedDescriptor(settings.combined_path, true)) {
      throw UsageError("--combined: a shard's combined file must be a file, for its index beside it");
    }
  }

  std::string manifest_bytes;
  PathNormalizer files;
  settings.files = &files;
  const std::vector<ManifestEntry> manifest = ReadManifest(
      options.manifest,
      {.outputs_optional = !settings.combined_path.empty(), .bytes = &manifest_bytes, .files = &files});
  settings.manifest_entries = manifest.size();
  settings.identity = BatchIdentity(manifest_bytes, settings);
  const std::vector<ManifestEntry> entries = settings.shard ? EntriesOfShard(manifest, *settings.shard) : manifest;
  SqliteTables tables(ResolveTablesFolder(options.run.tables));
  BatchProgress progress(options.manifest == "-" ? "stdin" : options.manifest, std::cerr,
                         ::isatty(STDERR_FILENO) == 1, !Quiet());
  const BatchReport report = RunBatch(entries, settings, tables, progress);
  progress.Finish();
  if (report.threads_started) {
    std::cerr << "casewright-cli: the system would not start " << jobs << " worker threads; the batch ran on "
              << (*report.threads_started == 0 ? std::string("the main thread alone")
                                               : std::to_string(*report.threads_started))
              << "\n";
  }

  const BatchCounts& counts = report.counts;
  const bool to_stderr = BatchWritesStandardOutput(entries, settings);
  const std::string batch = settings.shard ? "Shard " + std::to_string(settings.shard->k) + "/" +
                                                 std::to_string(settings.shard->n) + " of batch: "
                                           : std::string("Batch: ");
  int status = Report(batch + std::to_string(counts.done - counts.failed) + " succeeded, " +
                          std::to_string(counts.failed) + " failed, of " + std::to_string(counts.entries) +
                          (counts.entries == 1 ? " text; " : " texts; ") + std::to_string(counts.sentences) +
                          " cases",
                      to_stderr);
  // Sentences without a class (unlabelled texts) are no class 0.
  std::string balance = "Classes: " + ClassBalance(counts.ones, counts.labelled);
  if (counts.labelled < counts.sentences) {
    balance += "; " + std::to_string(counts.sentences - counts.labelled) + " sentences without a class";
  }
  status |= Report(balance, to_stderr);
  if (report.combined_written) {
    if (!settings.combined_path.empty()) status |= Report("Wrote every case to " + settings.combined_path, to_stderr);
    if (!settings.names_path.empty()) {
      status |= Report("Wrote their C4.5 names file to " + settings.names_path, to_stderr);
    }
  } else if (!settings.combined_path.empty() || !settings.names_path.empty()) {
    std::cerr << "casewright-cli: the combined and names files were not written, since a text failed\n";
  }
  return counts.failed == 0 ? status : kFailed;
}

}  // namespace

Command AddBatchCommand(CLI::App& app) {
  auto options = std::make_shared<BatchOptions>();
  CLI::App* batch = app.add_subcommand(
      "batch", "Run every line of a manifest: a UTF-8 TSV of text<TAB>classes<TAB>output lines");
  batch->add_option("manifest", options->manifest,
                    "The manifest (-: standard input); relative paths in it are relative to its folder, and a "
                    "line starting with # is a comment")
      ->required()
      ->type_name("MANIFEST");
  AddRunOptions(*batch, options->run);
  AddExtractOptions(*batch, options->extract);
  batch->add_option("--jobs", options->jobs,
                    "Worker threads, 1 to " + std::to_string(kMaxJobs) + " (default: one per core)")
      ->type_name("N");
  batch->add_option("--shard", options->shard,
                    "Run only the lines whose index (from 0) is K modulo N, so that N machines share the "
                    "manifest; with --combined, an index FILE.index is written for casewright-cli join")
      ->type_name("K/N");
  batch->add_option("--combined", options->combined,
                    "Also write every case of every line, in manifest order, to this one file")
      ->type_name("FILE");
  batch->footer(
      "Example:\n  casewright-cli batch corpus.tsv --jobs 4 --format arff --combined corpus.arff\n"
      "A line that fails is reported with its line number and does not stop the others; the exit status is\n"
      "then 1, and the combined and names files are not written. A classes field extract:FILE makes that\n"
      "text's classes from the reference extract FILE, as casewright-cli classes does (--extract-encoding,\n"
      "--extract-lines, --min-overlap, --allow-unmatched); name a classes file that begins so ./extract:FILE.\n"
      "An empty classes field leaves the text unlabelled. With --combined, a line may leave its output empty:\n"
      "its cases then go to the combined file only. A last line gives the class balance over the texts that\n"
      "succeeded.");
  return {batch, [options] { return Batch(*options); }};
}

}  // namespace casewright::cli
