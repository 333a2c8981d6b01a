// casewright-cli batch MANIFEST [run options] [--jobs N] [--shard K/N] [--combined FILE]
#include <unistd.h>

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

struct BatchOptions {
  std::string manifest;
  RunOptions run;
  ExtractOptions extract;
  unsigned jobs = 0;  // 0: one per core
  std::string shard;
  std::string combined;
};

int Batch(const BatchOptions& options) {
  const Choices choices = Choose(options.run);
  BatchSettings settings;
  settings.features = choices.features;
  settings.format = choices.format;
  settings.encoding = choices.encoding;
  settings.jobs = JobsOf(options.jobs);
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

  const std::vector<ManifestEntry> manifest = ReadManifest(options.manifest);
  settings.manifest_entries = manifest.size();
  const std::vector<ManifestEntry> entries = settings.shard ? EntriesOfShard(manifest, *settings.shard) : manifest;
  SqliteTables tables(ResolveTablesFolder(options.run.tables));
  BatchProgress progress(options.manifest == "-" ? "stdin" : options.manifest, std::cerr,
                         ::isatty(STDERR_FILENO) == 1);
  const BatchReport report = RunBatch(entries, settings, tables, progress);
  progress.Finish();

  const BatchCounts& counts = report.counts;
  const bool to_stderr = WritesStandardOutput({settings.combined_path, settings.names_path});
  const std::string batch = settings.shard ? "Shard " + std::to_string(settings.shard->k) + "/" +
                                                 std::to_string(settings.shard->n) + " of batch: "
                                           : std::string("Batch: ");
  int status = Report(batch + std::to_string(counts.done - counts.failed) + " succeeded, " +
                          std::to_string(counts.failed) + " failed, of " + std::to_string(counts.entries) +
                          (counts.entries == 1 ? " text; " : " texts; ") + std::to_string(counts.sentences) +
                          " cases",
                      to_stderr);
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
  batch->add_option("--jobs", options->jobs, "Worker threads (default: one per core)")
      ->type_name("N")
      ->check(CLI::PositiveNumber);
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
      "--min-overlap, --allow-unmatched); name a classes file that begins so ./extract:FILE. An empty classes\n"
      "field leaves the text unlabelled.");
  return {batch, [options] { return Batch(*options); }};
}

}  // namespace casewright::cli
