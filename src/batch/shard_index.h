// The index written beside the combined file of one shard of a manifest
// (FILE.index for FILE), which lets JoinShards put the shards' combined
// files back in manifest order.  A UTF-8 TSV:
//
//   casewright-shard-index  1
//   shard     1/4
//   entries   1000           entries of the whole manifest
//   format    arff
//   features  11100001       ticked or not, in feature order
//   relation  corpus
//   header    211            bytes of the combined file's header
//   ids       1              only when the cases begin with their ids
//   class-values  0,1        only when the batch declared its class values
//   then one line per entry of the shard, in manifest order:
//   5  151  1 0              entry index, cases, class values in order of
//                            first occurrence (separated by blanks)
#ifndef CASEWRIGHT_BATCH_SHARD_INDEX_H_
#define CASEWRIGHT_BATCH_SHARD_INDEX_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "batch/manifest.h"
#include "core/features.h"
#include "output/case_layout.h"

namespace casewright {

struct ShardIndex {
  struct Entry {
    std::size_t index = 0;
    std::size_t cases = 0;
    std::vector<std::string> class_values;
  };

  Shard shard;
  std::size_t manifest_entries = 0;
  CaseFormat format = CaseFormat::kPlain;
  FeatureSet features = FeatureSet::None();
  std::string relation;
  std::size_t header_bytes = 0;
  std::vector<Entry> entries;
  bool ids = false;
  std::vector<std::string> class_values;  // the declared ones, if any
};

// The index file of a combined file.
std::string IndexPathOf(const std::string& combined_path);

std::string ShardIndexText(const ShardIndex& index);

// Throws RunError naming `path` and the line when `text` is not an index.
ShardIndex ParseShardIndex(std::string_view text, const std::string& path);

}  // namespace casewright

#endif  // CASEWRIGHT_BATCH_SHARD_INDEX_H_
