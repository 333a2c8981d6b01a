#include "batch/shard_join.h"

#include <optional>
#include <string_view>

#include "batch/manifest.h"
#include "batch/shard_index.h"
#include "core/read_file.h"
#include "core/run_error.h"
#include "output/case_writer.h"
#include "output/names_file.h"
#include "output/output_files.h"
#include "pipeline/run_files.h"

namespace casewright {
namespace {

// One shard's combined file, read whole, handed out entry by entry.
class ShardCases {
 public:
  explicit ShardCases(const std::string& path)
      : path_(path),
        index_(ParseShardIndex(*ReadWholeFile(IndexPathOf(path)), IndexPathOf(path))),
        bytes_(*ReadWholeFile(path)) {
    if (index_.header_bytes > bytes_.size()) Mismatch();
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
      if (end == std::string::npos) Mismatch();
      position_ = end + 1;
    }
    cases = std::string_view(bytes_).substr(start, position_ - start);
    return listed;
  }

  // Whether every entry and every byte has been handed out.
  bool Finished() const { return next_ == index_.entries.size() && position_ == bytes_.size(); }

  [[noreturn]] void Mismatch() const {
    throw RunError("The file does not hold the cases its index " + IndexPathOf(path_) + " lists", path_);
  }

 private:
  std::string path_;
  ShardIndex index_;
  std::string bytes_;
  std::size_t position_ = 0;
  std::size_t next_ = 0;
};

bool SameBatch(const ShardIndex& a, const ShardIndex& b) {
  return a.shard.n == b.shard.n && a.manifest_entries == b.manifest_entries && a.format == b.format &&
         a.features == b.features && a.relation == b.relation && a.ids == b.ids && a.class_values == b.class_values;
}

// The shards in order of K, checked to be the N shards of one batch.
std::vector<ShardCases> ReadShards(const std::vector<std::string>& paths) {
  if (paths.empty()) throw RunError("No shard to join");
  std::vector<ShardCases> read;
  for (const std::string& path : paths) read.emplace_back(path);
  const ShardIndex reference = read.front().index();
  const std::string reference_path = read.front().path();
  const std::size_t n = reference.shard.n;
  std::vector<std::optional<ShardCases>> by_k(n);
  for (ShardCases& shard : read) {
    if (!SameBatch(shard.index(), reference)) {
      throw RunError("The shard comes from another batch than " + reference_path +
                         " (the manifest, the shard count, the format, the features, the ids or the declared "
                         "class values differ)",
                     shard.path());
    }
    const std::size_t k = shard.index().shard.k;
    if (by_k[k]) throw RunError("Shard " + std::to_string(k) + " is also " + by_k[k]->path(), shard.path());
    by_k[k].emplace(std::move(shard));
  }
  std::vector<ShardCases> shards;
  for (std::size_t k = 0; k < n; ++k) {
    if (!by_k[k]) throw RunError("Shard " + std::to_string(k) + "/" + std::to_string(n) + " is missing");
    shards.push_back(std::move(*by_k[k]));
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
  for (const ShardCases& shard : shards) {
    if (!shard.Finished()) shard.Mismatch();
  }
  report.entries = first.manifest_entries;

  const CaseSchema schema{first.features, DeclaredClassValues(first.class_values, all_values), first.relation,
                          first.ids};
  OutputFiles files;
  OutputFile& combined = files.Open(combined_path);
  combined.Write(MakeCaseLayout(first.format)->Header(schema));
  for (std::string_view block : blocks) combined.Write(block);
  if (!names_path.empty()) files.Open(names_path).Write(NamesFileText(schema));
  files.CommitAll();
  return report;
}

}  // namespace casewright
