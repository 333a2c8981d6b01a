// Joining the combined files of a manifest's shards into the combined file
// one batch over the whole manifest writes: the same header, then every
// entry's cases in manifest order.
//
// Shard K of N holds the entries K, K+N, K+2N ...; each shard's combined
// file comes with the index that its batch wrote beside it
// (shard_index.h), which says how many cases each entry has.
#ifndef CASEWRIGHT_BATCH_SHARD_JOIN_H_
#define CASEWRIGHT_BATCH_SHARD_JOIN_H_

#include <cstddef>
#include <string>
#include <vector>

namespace casewright {

struct JoinReport {
  std::size_t entries = 0;
  std::size_t cases = 0;
};

// Writes the joined cases to `combined_path` and, when `names_path` is not
// empty, their C4.5 names file.  The shards may come in any order.  Throws
// RunError, writing nothing, when a shard is missing or comes twice, when
// the shards disagree (another manifest, format or feature list), or when
// a file does not match its index.
JoinReport JoinShards(const std::vector<std::string>& shard_paths, const std::string& combined_path,
                      const std::string& names_path);

}  // namespace casewright

#endif  // CASEWRIGHT_BATCH_SHARD_JOIN_H_
