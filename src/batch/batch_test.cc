#include "batch/batch.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

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
    shard.combined_path = dir_.Path("shard" + std::to_string(k));
    shard.names_path.clear();
    Run(EntriesOfShard(entries, *shard.shard), shard, recorder);
    shards.push_back(shard.combined_path);
  }
  const JoinReport report = JoinShards(shards, dir_.Path("joined.arff"), dir_.Path("joined.names"));
  EXPECT_EQ(report.entries, 7u);
  EXPECT_EQ(ReadFile(dir_.Path("joined.arff")), ReadFile(settings.combined_path));
  EXPECT_EQ(ReadFile(dir_.Path("joined.names")), ReadFile(settings.names_path));

  // A shard missing, given twice, or not matching its index.
  EXPECT_THROW(JoinShards({shards[0], shards[1]}, dir_.Path("j"), ""), RunError);
  EXPECT_THROW(JoinShards({shards[0], shards[1], shards[1]}, dir_.Path("j"), ""), RunError);
  WriteFile(shards[0], ReadFile(shards[0]) + "1,1,1\n");
  EXPECT_THROW(JoinShards(shards, dir_.Path("j"), ""), RunError);
  EXPECT_FALSE(std::filesystem::exists(dir_.Path("j")));
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
    Run(EntriesOfShard(entries, *shard.shard), shard, recorder);
    shards.push_back(shard.combined_path);
  }
  EXPECT_THROW(JoinShards(shards, dir_.Path("joined.arff"), ""), RunError);  // declared values differ
  settings.shard = Shard{0, 2};
  settings.manifest_entries = entries.size();
  settings.combined_path = shards[0];
  Run(EntriesOfShard(entries, *settings.shard), settings, recorder);
  JoinShards(shards, dir_.Path("joined.arff"), "");
  EXPECT_EQ(ReadFile(dir_.Path("joined.arff")), ReadFile(dir_.Path("all.arff")));
  EXPECT_TRUE(recorder.failures.empty());
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
}

}  // namespace
}  // namespace casewright
