#include "batch/shard_join.h"

#include <map>
#include <optional>
#include <string_view>

#include "batch/manifest.h"
#include "batch/shard_index.h"
#include "core/read_file.h"
#include "core/run_error.h"
#include "output/case_writer.h"
#include "output/class_values.h"
#include "output/names_file.h"
#include "output/output_files.h"
#include "pipeline/run_files.h"

namespace casewright {
namespace {

// The index of the shard at `path`, read with a limit.
ShardIndex ReadShardIndex(const std::string& path) {
  const std::string index_path = IndexPathOf(path);
  std::optional<std::string> text = ReadWholeFile(index_path, kMaxShardIndexBytes);
  if (!text) throw RunError("The index is larger than " + std::to_string(kMaxShardIndexBytes >> 20) + " MiB", index_path);
  return ParseShardIndex(*text, index_path);
}

// The header a combined file with the cases `index` lists has.
std::string HeaderOf(const ShardIndex& index) {
  std::vector<std::string> all_values;
  for (const ShardIndex::Entry& entry : index.entries) {
    all_values.insert(all_values.end(), entry.class_values.begin(), entry.class_values.end());
  }
  return MakeCaseLayout(index.format)
      ->Header({index.features, DeclaredClassValues(index.class_values, all_values), index.relation, index.ids,
                index.values});
}

// One shard's combined file, read whole, handed out entry by entry, each
// checked against what its index says of it.
class ShardCases {
 public:
  explicit ShardCases(const std::string& path)
      : path_(path), index_(ReadShardIndex(path)), bytes_(*ReadWholeFile(path)) {
    const std::string header = HeaderOf(index_);
    if (index_.header_bytes != header.size() || !bytes_.starts_with(header)) {
      Mismatch(kHeaderLine, "the file's header is not the one the index describes");
    }
    position_ = index_.header_bytes;
  }

  const std::string& path() const { return path_; }
  const ShardIndex& index() const { return index_; }

  // The next entry, which must be entry `entry` of the manifest, and its
  // cases.
  const ShardIndex::Entry& Next(std::size_t entry, std::string_view& cases) {
    if (next_ >= index_.entries.size() || index_.entries[next_].index != entry) {
      throw RunError("The shard's index does not list manifest entry " + std::to_string(entry) +
                         ", which belongs to it",
                     IndexPathOf(path_));
    }
    const ShardIndex::Entry& listed = index_.entries[next_++];
    const std::size_t start = position_;
    for (std::size_t n = listed.cases; n > 0; --n) {
      std::size_t end = bytes_.find('\n', position_);
      if (end == std::string::npos) Mismatch(listed.line, "the file ends before the entry's cases");
      position_ = end + 1;
    }
    cases = std::string_view(bytes_).substr(start, position_ - start);
    if (EntryDigest(index_, listed.class_values, cases) != listed.digest) {
      Mismatch(listed.line, "the entry's cases, class values or digest differ from the file's");
    }
    return listed;
  }

  // Fails unless every entry and every byte has been handed out.
  void CheckFinished() const {
    if (next_ != index_.entries.size()) {
      Mismatch(index_.entries[next_].line, "the index lists an entry past the manifest's end");
    }
    if (position_ != bytes_.size()) {
      Mismatch(index_.entries.empty() ? kHeaderLine : index_.entries.back().line,
               "the file holds more cases than the index lists");
    }
  }

  [[noreturn]] void Mismatch(std::size_t line, const std::string& why) const {
    throw RunError("Line " + std::to_string(line) + " does not match the shard " + path_ + ": " + why,
                   IndexPathOf(path_));
  }

 private:
  std::string path_;
  ShardIndex index_;
  std::string bytes_;
  std::size_t position_ = 0;
  std::size_t next_ = 0;
};

bool SameBatch(const ShardIndex& a, const ShardIndex& b) {
  return a.batch == b.batch && a.shard.n == b.shard.n && a.manifest_entries == b.manifest_entries &&
         a.format == b.format && a.features == b.features && a.relation == b.relation && a.ids == b.ids &&
         a.class_values == b.class_values;
}

// The shards in order of K, checked to be the N shards of one batch.
std::vector<ShardCases> ReadShards(const std::vector<std::string>& paths) {
  if (paths.empty()) throw RunError("No shard to join");
  std::vector<ShardCases> read;
  for (const std::string& path : paths) read.emplace_back(path);
  const ShardIndex reference = read.front().index();
  const std::string reference_path = read.front().path();
  const std::size_t n = reference.shard.n;
  // By K; never N places, since N comes from a file and may be anything.
  std::map<std::size_t, ShardCases> by_k;
  for (ShardCases& shard : read) {
    if (!SameBatch(shard.index(), reference)) {
      throw RunError("The shard comes from another batch than " + reference_path +
                         " (another manifest, or other options)",
                     shard.path());
    }
    const std::size_t k = shard.index().shard.k;
    auto [it, added] = by_k.try_emplace(k, std::move(shard));
    if (!added) throw RunError("Shard " + std::to_string(k) + " is also " + it->second.path(), shard.path());
  }
  std::vector<ShardCases> shards;
  for (auto& [k, shard] : by_k) {
    if (k != shards.size()) break;
    shards.push_back(std::move(shard));
  }
  if (shards.size() != n) {
    throw RunError("Shard " + std::to_string(shards.size()) + "/" + std::to_string(n) + " is missing");
  }
  return shards;
}

// Writing over a shard's file would lose it before the join is done.
void RefuseShardFiles(const std::vector<ShardCases>& shards, const std::string& combined_path,
                      const std::string& names_path) {
  std::vector<std::string> index_paths;
  index_paths.reserve(shards.size());
  for (const ShardCases& shard : shards) index_paths.push_back(IndexPathOf(shard.path()));
  std::vector<RunFile> files;
  for (std::size_t i = 0; i < shards.size(); ++i) {
    files.push_back({shards[i].path(), "shard", false});
    files.push_back({index_paths[i], "shard's index", false});
  }
  for (const auto& [path, what] : {std::pair{&combined_path, "combined file"}, std::pair{&names_path, "names file"}}) {
    if (!path->empty()) files.push_back({*path, what, true});
  }
  RefuseSharedFiles(files);
}

}  // namespace

JoinReport JoinShards(const std::vector<std::string>& shard_paths, const std::string& combined_path,
                      const std::string& names_path) {
  std::vector<ShardCases> shards = ReadShards(shard_paths);
  RefuseShardFiles(shards, combined_path, names_path);
  const ShardIndex& first = shards.front().index();

  JoinReport report;
  std::vector<std::string_view> blocks;
  std::vector<std::string> all_values;
  for (std::size_t entry = 0; entry < first.manifest_entries; ++entry) {
    ShardCases& shard = shards[entry % shards.size()];
    std::string_view cases;
    const ShardIndex::Entry& listed = shard.Next(entry, cases);
    blocks.push_back(cases);
    all_values.insert(all_values.end(), listed.class_values.begin(), listed.class_values.end());
    report.cases += listed.cases;
  }
  for (const ShardCases& shard : shards) shard.CheckFinished();
  report.entries = first.manifest_entries;

  const CaseSchema schema{first.features, DeclaredClassValues(first.class_values, all_values), first.relation,
                          first.ids, first.values};
  OutputFiles files;
  OutputFile& combined = files.Open(combined_path);
  combined.Write(MakeCaseLayout(first.format)->Header(schema));
  for (std::string_view block : blocks) combined.Write(block);
  if (!names_path.empty()) files.Open(names_path).Write(NamesFileText(schema));
  files.CommitAll();
  return report;
}

}  // namespace casewright
