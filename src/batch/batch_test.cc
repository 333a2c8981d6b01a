#include "batch/batch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <numeric>
#include <random>
#include <sstream>
#include <thread>

#include "batch/shard_index.h"
#include "batch/shard_join.h"
#include "core/run_error.h"
#include "testing/memory_tables.h"
#include "testing/temp_dir.h"

namespace casewright {
namespace {

using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

// Records what a batch reports.
class Recorder : public BatchObserver {
 public:
  void EntryFinished(const ManifestEntry& entry, const RunOutcome* outcome, const std::string& error) override {
    if (!outcome) failures.push_back(std::to_string(entry.line) + ": " + error);
  }
  std::vector<std::string> failures;
};

class BatchTest : public ::testing::Test {
 protected:
  BatchTest()
      : tables_({{"sistemas", "sistema"}, {"arquivos", "arquivo"}}, {"o", "a", "de", "que", "e", "um"},
                {"portanto", "finalmente"}) {}

  // A manifest of `count` lines, each a bundled text picked at random, and
  // the names of its outputs in a folder of their own.
  std::string RandomManifest(std::size_t count, const std::string& folder) {
    const char* texts[] = {"example", "faq-debian", "foca-seguranca"};
    std::mt19937 random(9);
    std::filesystem::create_directory(dir_.Path(folder));
    std::string manifest;
    for (std::size_t i = 0; i < count; ++i) {
      const std::string text = std::string(CASEWRIGHT_EXAMPLES "/") + texts[random() % 3];
      manifest += text + ".txt\t" + text + ".classes\t" + folder + "/" + std::to_string(i) + ".out\n";
    }
    WriteFile(dir_.Path(folder + ".tsv"), manifest);
    return dir_.Path(folder + ".tsv");
  }

  BatchReport Run(const std::vector<ManifestEntry>& entries, BatchSettings settings, Recorder& recorder) {
    settings.relation = "corpus";
    return RunBatch(entries, settings, tables_, recorder);
  }

  // What a single run writes for `entry`.
  std::string SingleRun(const ManifestEntry& entry, CaseFormat format) {
    RunSettings settings;
    settings.text_path = entry.text_path;
    settings.classes_path = entry.classes_path;
    settings.output_path = dir_.Path("single");
    settings.format = format;
    RunCases(settings, tables_);
    return ReadFile(settings.output_path);
  }

  TempDir dir_;
  MemoryTables tables_;
};

TEST_F(BatchTest, EveryLineAsASingleRunAndTheCombinedFileWhateverTheJobs) {
  for (CaseFormat format : {CaseFormat::kPlain, CaseFormat::kArff}) {
    std::string combined[2];
    for (unsigned jobs : {1u, 4u}) {
      const std::string folder = "out" + std::to_string(jobs) + std::string(FormatName(format));
      const std::vector<ManifestEntry> entries = ReadManifest(RandomManifest(12, folder));
      BatchSettings settings;
      settings.format = format;
      settings.jobs = jobs;
      settings.combined_path = dir_.Path(folder + ".all");
      Recorder recorder;
      const BatchReport report = Run(entries, settings, recorder);
      EXPECT_TRUE(recorder.failures.empty());
      EXPECT_EQ(report.counts.done, 12u);
      EXPECT_TRUE(report.combined_written);
      std::string concatenated;
      for (const ManifestEntry& entry : entries) {
        const std::string single = SingleRun(entry, format);
        EXPECT_EQ(ReadFile(entry.output_path), single) << entry.line;
        concatenated += single;
      }
      combined[jobs == 1 ? 0 : 1] = ReadFile(settings.combined_path);
      if (format == CaseFormat::kPlain) {
        EXPECT_EQ(combined[0], concatenated);
      }
    }
    EXPECT_EQ(combined[0], combined[1]) << FormatName(format);
    if (format == CaseFormat::kArff) {
      EXPECT_NE(combined[0].find("@relation corpus\n"), std::string::npos);
      EXPECT_NE(combined[0].find("@attribute class {0,1}\n"), std::string::npos);
    }
  }
}

TEST_F(BatchTest, JoinedShardsGiveTheWholeBatchsFiles) {
  const std::vector<ManifestEntry> entries = ReadManifest(RandomManifest(7, "out"));
  BatchSettings settings;
  settings.format = CaseFormat::kArff;
  settings.jobs = 2;
  settings.combined_path = dir_.Path("all.arff");
  settings.names_path = dir_.Path("all.names");
  Recorder recorder;
  Run(entries, settings, recorder);

  std::vector<std::string> shards;
  for (std::size_t k : {2, 0, 1}) {  // any order
    BatchSettings shard = settings;
    shard.shard = Shard{k, 3};
    shard.manifest_entries = entries.size();
    shard.identity = BatchIdentity("manifest", shard);
    shard.combined_path = dir_.Path("shard" + std::to_string(k));
    shard.names_path.clear();
    Run(EntriesOfShard(entries, *shard.shard), shard, recorder);
    shards.push_back(shard.combined_path);
  }
  const JoinReport report = JoinShards(shards, dir_.Path("joined.arff"), dir_.Path("joined.names"));
  EXPECT_EQ(report.entries, 7u);
  EXPECT_EQ(ReadFile(dir_.Path("joined.arff")), ReadFile(settings.combined_path));
  EXPECT_EQ(ReadFile(dir_.Path("joined.names")), ReadFile(settings.names_path));

  // A shard missing, given twice, of another batch, or not matching its index.
  auto join_error = [&](const std::vector<std::string>& paths) {
    try {
      JoinShards(paths, dir_.Path("j"), "");
    } catch (const RunError& e) {
      return e.Describe();
    }
    return std::string("joined");
  };
  EXPECT_EQ(join_error({shards[0], shards[1]}), "Shard 1/3 is missing");  // shards 2 and 0
  EXPECT_EQ(join_error({shards[0], shards[1], shards[2], shards[1]}), shards[1] + ": Shard 0 is also " + shards[1]);
  const std::string shard_cases = ReadFile(shards[0]);
  WriteFile(shards[0], shard_cases + "1,1,1\n");
  EXPECT_EQ(join_error(shards), IndexPathOf(shards[0]) + ": Line 10 does not match the shard " + shards[0] +
                                    ": the file holds more cases than the index lists");
  WriteFile(shards[0], shard_cases);
  // Shard 1 again with other features but the batch's identity: its index
  // fits its file, and the features still tell it from the other shards.
  BatchSettings other = settings;
  other.shard = Shard{1, 3};
  other.manifest_entries = entries.size();
  other.identity = BatchIdentity("manifest", other);
  other.features = FeatureSet::None();
  other.combined_path = shards[2];
  other.names_path.clear();
  Run(EntriesOfShard(entries, *other.shard), other, recorder);
  EXPECT_EQ(join_error(shards), shards[2] + ": The shard comes from another batch than " + shards[0] +
                                    " (another manifest, or other options)");
  EXPECT_FALSE(std::filesystem::exists(dir_.Path("j")));

  // A shard's index may not overwrite a file of the manifest.
  BatchSettings shard = settings;
  shard.shard = Shard{0, 1};
  shard.combined_path = dir_.Path("c");
  std::vector<ManifestEntry> clashing = {entries[1]};
  clashing[0].output_path = dir_.Path("c.index");
  try {
    Run(clashing, shard, recorder);
    FAIL();
  } catch (const RunError& e) {
    EXPECT_EQ(e.Describe(),
              dir_.Path("c.index") + ": The shard index is a file of manifest line 2; nothing was run");
  }
}

TEST_F(BatchTest, IdsAndUnlabelledLinesInTheCombinedFileAndItsShards) {
  WriteFile(dir_.Path("a.txt"), "Um dois. Tr\xEAs quatro!");
  WriteFile(dir_.Path("a.classes"), "1 0");
  WriteFile(dir_.Path("m.tsv"), "a.txt\ta.classes\ta.out\n./a.txt\t\tb.out\n");
  const std::vector<ManifestEntry> entries = ReadManifest(dir_.Path("m.tsv"));
  BatchSettings settings;
  settings.features = FeatureSet::None();
  settings.format = CaseFormat::kCsv;
  settings.ids = true;
  settings.combined_path = dir_.Path("all.csv");
  Recorder recorder;
  Run(entries, settings, recorder);
  EXPECT_EQ(ReadFile(settings.combined_path),
            "text,sentence,class\na.txt,1,1\na.txt,2,0\n./a.txt,1,\n./a.txt,2,\n");

  settings.format = CaseFormat::kArff;
  settings.class_values = {"1", "0"};
  settings.combined_path = dir_.Path("all.arff");
  Run(entries, settings, recorder);
  EXPECT_EQ(ReadFile(settings.combined_path),
            "@relation corpus\n\n@attribute text string\n@attribute sentence numeric\n@attribute class {1,0}\n\n"
            "@data\na.txt,1,1\na.txt,2,0\n'./a.txt',1,?\n'./a.txt',2,?\n");
  std::vector<std::string> shards;
  for (std::size_t k : {0, 1}) {
    BatchSettings shard = settings;
    shard.shard = Shard{k, 2};
    shard.manifest_entries = entries.size();
    shard.combined_path = dir_.Path("shard" + std::to_string(k));
    if (k == 0) shard.class_values.clear();  // as if from another batch
    shard.identity = BatchIdentity("manifest", shard);
    Run(EntriesOfShard(entries, *shard.shard), shard, recorder);
    shards.push_back(shard.combined_path);
  }
  EXPECT_THROW(JoinShards(shards, dir_.Path("joined.arff"), ""), RunError);  // declared values differ
  settings.shard = Shard{0, 2};
  settings.manifest_entries = entries.size();
  settings.identity = BatchIdentity("manifest", settings);
  settings.combined_path = shards[0];
  Run(EntriesOfShard(entries, *settings.shard), settings, recorder);
  JoinShards(shards, dir_.Path("joined.arff"), "");
  EXPECT_EQ(ReadFile(dir_.Path("joined.arff")), ReadFile(dir_.Path("all.arff")));
  EXPECT_TRUE(recorder.failures.empty());
}

// Index lines: 1 version, 2 batch, 3 shard, 4 entries, 5 format, 6 features,
// 7 relation, 8 header, then one line per entry.
TEST_F(BatchTest, JoinChecksEveryFigureOfTheIndexAgainstItsShard) {
  const std::vector<ManifestEntry> entries = ReadManifest(RandomManifest(5, "out"));
  BatchSettings settings;
  settings.format = CaseFormat::kArff;
  settings.manifest_entries = entries.size();
  std::vector<std::string> shards;
  for (std::size_t k : {0, 1}) {
    settings.shard = Shard{k, 2};
    settings.identity = BatchIdentity("manifest", settings);
    settings.combined_path = dir_.Path("shard" + std::to_string(k));
    Recorder recorder;
    Run(EntriesOfShard(entries, *settings.shard), settings, recorder);
    shards.push_back(settings.combined_path);
  }
  const std::string index = IndexPathOf(shards[0]);
  const std::string good = ReadFile(index);
  // The good index with line `n` (from 1) given to `edit`.
  auto edited = [&](std::size_t n, const std::function<void(std::string&)>& edit) {
    std::vector<std::string> lines;
    std::istringstream in(good);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    edit(lines[n - 1]);
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
  };
  auto add_to_cases = [](int more) {
    return [more](std::string& line) {
      const std::size_t tab = line.find('\t'), end = line.find('\t', tab + 1);
      line.replace(tab + 1, end - tab - 1, std::to_string(std::stoi(line.substr(tab + 1)) + more));
    };
  };
  const std::string mismatch = index + ": Line ";
  const std::string of_shard = " does not match the shard " + shards[0] + ": ";
  struct Case {
    std::string index;
    std::vector<std::string> shards;
    std::string message;
  };
  const Case cases[] = {
      {edited(8, [](std::string& l) { l = "header\t" + std::to_string(std::stoi(l.substr(7)) + 1); }), shards,
       mismatch + "8" + of_shard + "the file's header is not the one the index describes"},
      {edited(7, [](std::string& l) { l += "x"; }), shards,
       mismatch + "8" + of_shard + "the file's header is not the one the index describes"},
      {edited(10, add_to_cases(-1)), shards,
       mismatch + "10" + of_shard + "the entry's cases, class values or digest differ from the file's"},
      {edited(11, [](std::string& l) { l.replace(l.find("\t0 1\t"), 5, "\t1 0\t"); }), shards,
       mismatch + "11" + of_shard + "the entry's cases, class values or digest differ from the file's"},
      {edited(11, add_to_cases(1000000)), shards,
       mismatch + "11" + of_shard + "the file ends before the entry's cases"},
      {edited(11, [](std::string& l) { l += "\n6\t0\t0 1\t0000000000000000"; }), shards,
       mismatch + "12" + of_shard + "the index lists an entry past the manifest's end"},
      {edited(3, [](std::string& l) { l = "shard\t0/1000000000"; }), {shards[0]},
       "Shard 1/1000000000 is missing"},
      {edited(2, [](std::string& l) { l.back() = l.back() == '0' ? '1' : '0'; }), shards,
       shards[1] + ": The shard comes from another batch than " + shards[0] + " (another manifest, or other options)"},
      {edited(1, [](std::string& l) { l.back() = '1'; }), shards,
       index + ": Not a shard index (line 1: written by an older casewright-cli, whose shards cannot be checked; run "
               "the shard's batch again)"},
  };
  EXPECT_EQ(JoinShards(shards, dir_.Path("joined"), "").entries, 5u);
  for (const Case& c : cases) {
    WriteFile(index, c.index);
    try {
      JoinShards(c.shards, dir_.Path("j"), "");
      ADD_FAILURE() << c.message;
    } catch (const RunError& e) {
      EXPECT_EQ(e.Describe(), c.message);
    }
    EXPECT_FALSE(std::filesystem::exists(dir_.Path("j")));
  }
  // A shard whose header differs from its index's at the same length.
  WriteFile(index, good);
  std::string shard = ReadFile(shards[0]);
  shard[shard.find("@relation ") + 10] ^= 1;
  WriteFile(shards[0], shard);
  try {
    JoinShards(shards, dir_.Path("j"), "");
    ADD_FAILURE() << "a shard of another header joined";
  } catch (const RunError& e) {
    EXPECT_EQ(e.Describe(), mismatch + "8" + of_shard + "the file's header is not the one the index describes");
  }

  // A relation that is no plain UTF-8 name reads back as it was.
  ShardIndex named;
  named.batch = "0123456789abcdef";
  named.relation = "a\nb\\c\xE9";
  EXPECT_EQ(ParseShardIndex(ShardIndexText(named), "i").relation, named.relation);
  // Raw values are said in the index, so that a join rebuilds their header.
  named.values = CaseValues::kRaw;
  EXPECT_EQ(ParseShardIndex(ShardIndexText(named), "i").values, CaseValues::kRaw);
}

TEST(BatchIdentityTest, EverySettingThatChangesTheCasesChangesIt) {
  const BatchSettings base;
  const std::function<void(BatchSettings&)> changes[] = {
      [](BatchSettings& s) { s.features = FeatureSet::None(); },
      [](BatchSettings& s) { s.format = CaseFormat::kArff; },
      [](BatchSettings& s) { s.encoding = TextEncoding::kUtf8; },
      [](BatchSettings& s) { s.strict_classes = true; },
      [](BatchSettings& s) { s.extract.encoding = TextEncoding::kUtf8; },
      [](BatchSettings& s) { s.extract.min_overlap = 0.5; },
      [](BatchSettings& s) { s.extract.allow_unmatched = true; },
      [](BatchSettings& s) { s.relation = "other"; },
      [](BatchSettings& s) { s.shard = Shard{0, 2}; },
      [](BatchSettings& s) { s.values = CaseValues::kRaw; },
      [](BatchSettings& s) { s.segmented = true; },
  };
  for (const auto& change : changes) {
    BatchSettings changed = base;
    change(changed);
    EXPECT_NE(BatchIdentity("m", changed), BatchIdentity("m", base));
  }
  EXPECT_NE(BatchIdentity("m2", base), BatchIdentity("m", base));
  BatchSettings run_only = base;  // what changes no case
  run_only.jobs = 8;
  run_only.combined_path = "x";
  EXPECT_EQ(BatchIdentity("m", run_only), BatchIdentity("m", base));
}

TEST_F(BatchTest, AFailedLineIsReportedAndStopsNoOther) {
  WriteFile(dir_.Path("m.tsv"), std::string(CASEWRIGHT_EXAMPLES "/example.txt\t") +
                                    CASEWRIGHT_EXAMPLES "/example.classes\ta.out\n"
                                    "missing.txt\tnone.classes\tb.out\n" +
                                    CASEWRIGHT_EXAMPLES "/faq-debian.txt\t" CASEWRIGHT_EXAMPLES
                                    "/faq-debian.classes\tc.out\n");
  BatchSettings settings;
  settings.jobs = 2;
  settings.combined_path = dir_.Path("all");
  Recorder recorder;
  const BatchReport report = Run(ReadManifest(dir_.Path("m.tsv")), settings, recorder);
  EXPECT_EQ(report.counts.failed, 1u);
  ASSERT_EQ(recorder.failures.size(), 1u);
  EXPECT_EQ(recorder.failures[0], "2: " + dir_.Path("missing.txt") + ": Cannot open file " +
                                      dir_.Path("missing.txt") + " (File not found)");
  EXPECT_TRUE(std::filesystem::exists(dir_.Path("a.out")));
  EXPECT_TRUE(std::filesystem::exists(dir_.Path("c.out")));
  // No combined file that silently lacks a text.
  EXPECT_FALSE(report.combined_written);
  EXPECT_FALSE(std::filesystem::exists(settings.combined_path));

  // A combined file that is a line's output is refused before anything runs.
  std::filesystem::remove(dir_.Path("a.out"));
  settings.combined_path = dir_.Path("c.out");
  EXPECT_THROW(Run(ReadManifest(dir_.Path("m.tsv")), settings, recorder), RunError);
  EXPECT_FALSE(std::filesystem::exists(dir_.Path("a.out")));
}

// The window's Cancel: no text starts after the stop, a text running stops
// without changing its output (it is not a failure), and the combined file
// is not written.
TEST_F(BatchTest, AStoppedBatchRunsNoMoreLinesAndWritesNoCombinedFile) {
  class Stopper : public Recorder {
   public:
    void EntryFinished(const ManifestEntry& entry, const RunOutcome* outcome, const std::string& error) override {
      Recorder::EntryFinished(entry, outcome, error);
      stop = true;
    }
    std::atomic<bool> stop{false};
  };
  const std::vector<ManifestEntry> entries = ReadManifest(RandomManifest(6, "out"));
  for (unsigned jobs : {1u, 2u}) {
    Stopper stopper;
    BatchSettings settings;
    settings.jobs = jobs;
    settings.combined_path = dir_.Path("all");
    settings.stop = &stopper.stop;
    const BatchReport report = Run(entries, settings, stopper);
    EXPECT_TRUE(stopper.failures.empty()) << stopper.failures[0];
    EXPECT_EQ(report.counts.done + report.counts.not_run, entries.size());
    EXPECT_GE(report.counts.not_run, entries.size() - jobs);
    EXPECT_FALSE(report.combined_written);
    EXPECT_FALSE(std::filesystem::exists(settings.combined_path));
    EXPECT_FALSE(std::filesystem::exists(dir_.Path("out/5.out")));
  }
}

TEST_F(BatchTest, TheBatchsOwnFilesAreCheckedBeforeAnyLineRuns) {
  const std::string example = CASEWRIGHT_EXAMPLES "/example";
  WriteFile(dir_.Path("m.tsv"), example + ".txt\t" + example + ".classes\tdl\n");
  std::filesystem::create_symlink("tgt", dir_.Path("dl"));  // dangling until the line writes it
  const std::string m = dir_.Path("m.tsv");
  struct Case {
    std::string combined, names, message;
  };
  const Case cases[] = {
      {m, "", m + ": The combined file is the manifest; nothing was run"},
      {"", m, m + ": The names file is the manifest; nothing was run"},
      {dir_.Path("tgt"), "", dir_.Path("tgt") + ": The combined file is a file of manifest line 1; nothing was run"},
      {dir_.Path("none/all"), "", dir_.Path("none/all") + ": "},
      {dir_.Path("all"), dir_.Path("none/names"), dir_.Path("none/names") + ": "},
  };
  // Each alone, and with what the manifest's check found of the files.
  for (bool shared : {false, true}) {
    for (const Case& c : cases) {
      PathNormalizer files;
      BatchSettings settings;
      settings.manifest_path = m;
      settings.combined_path = c.combined;
      settings.names_path = c.names;
      settings.files = shared ? &files : nullptr;
      Recorder recorder;
      try {
        Run(ReadManifest(m, {.files = settings.files}), settings, recorder);
        ADD_FAILURE() << c.message;
      } catch (const RunError& e) {
        EXPECT_TRUE(e.Describe().starts_with(c.message)) << e.Describe();
      }
      EXPECT_FALSE(std::filesystem::exists(dir_.Path("tgt"))) << c.message;
      EXPECT_EQ(ReadFile(m), example + ".txt\t" + example + ".classes\tdl\n");
    }
  }
}

// However many workers finish at once, the observer hears of every line
// once and one call at a time (it may write to a stream), and the counts
// add up.
TEST_F(BatchTest, TheObserverHearsOfEveryLineOnceAndOneCallAtATime) {
  class Watcher : public BatchObserver {
   public:
    void EntryFinished(const ManifestEntry& entry, const RunOutcome*, const std::string&) override {
      Enter();
      lines.push_back(entry.line);
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
      busy = false;
    }
    void Progress(const BatchCounts& counts) override {
      Enter();
      last = counts;
      busy = false;
    }
    void Enter() { overlapped = overlapped || busy.exchange(true); }
    std::atomic<bool> busy{false}, overlapped{false};
    std::vector<std::size_t> lines;
    BatchCounts last;
  };
  const std::vector<ManifestEntry> entries = ReadManifest(RandomManifest(24, "out"));
  BatchSettings settings;
  settings.jobs = 4;
  Watcher watcher;
  RunBatch(entries, settings, tables_, watcher);
  EXPECT_FALSE(watcher.overlapped);
  std::sort(watcher.lines.begin(), watcher.lines.end());
  std::vector<std::size_t> every(entries.size());
  std::iota(every.begin(), every.end(), 1);
  EXPECT_EQ(watcher.lines, every);
  std::uint64_t bytes = 0;
  for (const ManifestEntry& entry : entries) bytes += std::filesystem::file_size(entry.text_path);
  EXPECT_EQ(watcher.last.done, entries.size());
  EXPECT_EQ(watcher.last.bytes_total, bytes);
  EXPECT_EQ(watcher.last.bytes_done, bytes);
}

TEST_F(BatchTest, ALineWithoutOutputGoesToTheCombinedFileOnly) {
  const std::string example = CASEWRIGHT_EXAMPLES "/example";
  WriteFile(dir_.Path("m.tsv"), example + ".txt\t" + example + ".classes\t\n");
  BatchSettings settings;
  settings.combined_path = dir_.Path("all");
  Recorder recorder;
  Run(ReadManifest(dir_.Path("m.tsv"), {.outputs_optional = true}), settings, recorder);
  EXPECT_TRUE(recorder.failures.empty());
  ManifestEntry entry{0, 1, example + ".txt", example + ".classes", "", "", example + ".txt"};
  EXPECT_EQ(ReadFile(settings.combined_path), SingleRun(entry, CaseFormat::kPlain));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.root()), {}), 3);  // m.tsv, all, single
}

TEST_F(BatchTest, TheRelationIsOneLineOfUtf8) {
  EXPECT_EQ(RelationOf("/c/corpus.tsv"), "corpus");
  EXPECT_EQ(RelationOf("/c/a\nb\x01.txt"), "a?b?");
  EXPECT_EQ(RelationOf("/c/ver\xE3o.txt"), "ver\xC3\xA3o");
  EXPECT_EQ(RelationOf("/c/ver\xC3\xA3o.txt"), "ver\xC3\xA3o");
}

TEST_F(BatchTest, ExtractLinesMakeTheirClassesFromTheExtract) {
  WriteFile(dir_.Path("a.txt"), "Um dois. Tr\xEAs quatro! Cinco seis?");
  WriteFile(dir_.Path("a.summary"), "CINCO, seis? Um dois.");
  WriteFile(dir_.Path("b.summary"), "Sete oito.");
  WriteFile(dir_.Path("m.tsv"), "a.txt\textract:a.summary\ta.out\na.txt\textract:b.summary\tb.out\n");
  BatchSettings settings;
  settings.features = FeatureSet::None();
  Recorder recorder;
  EXPECT_EQ(Run(ReadManifest(dir_.Path("m.tsv")), settings, recorder).counts.failed, 1u);
  EXPECT_EQ(ReadFile(dir_.Path("a.out")), "1\r\n0\r\n1\r\n");
  ASSERT_EQ(recorder.failures.size(), 1u);
  EXPECT_EQ(recorder.failures[0], "2: " + dir_.Path("b.summary") +
                                      ": Extract sentence 1 matches no sentence of the text: \"Sete oito.\"");

  settings.extract.allow_unmatched = true;
  recorder.failures.clear();
  EXPECT_EQ(Run(ReadManifest(dir_.Path("m.tsv")), settings, recorder).counts.failed, 0u);
  EXPECT_EQ(ReadFile(dir_.Path("b.out")), "0\r\n0\r\n0\r\n");

  // One sentence a line: the messages number the lines.  The counts give the
  // class balance of the lines that succeeded.
  WriteFile(dir_.Path("b.summary"), "\nSete oito\n");
  settings.extract = {"", TextEncoding::kAuto, 0, false, true};
  const BatchReport report = Run(ReadManifest(dir_.Path("m.tsv")), settings, recorder);
  EXPECT_EQ(report.counts.ones, 2u);
  EXPECT_EQ(report.counts.sentences, 3u);
  ASSERT_EQ(recorder.failures.size(), 1u);
  EXPECT_EQ(recorder.failures[0], "2: " + dir_.Path("b.summary") +
                                      ": Extract line 2 matches no sentence of the text: \"Sete oito\"");
}

}  // namespace
}  // namespace casewright
