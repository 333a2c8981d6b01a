// The index written beside the combined file of one shard of a manifest
// (FILE.index for FILE), which lets JoinShards put the shards' combined
// files back in manifest order.  A UTF-8 TSV:
//
//   casewright-shard-index  2
//   batch     5c1e0f7a93b2d4e6   identity of the batch (BatchIdentity)
//   shard     1/4
//   entries   1000           entries of the whole manifest
//   format    arff
//   features  11100001       ticked or not, in feature order
//   relation  corpus         a backslash, a control character and a byte
//                            that is not UTF-8 written as \xHH
//   header    211            bytes of the combined file's header
//   ids       1              only when the cases begin with their ids
//   class-values  0,1        only when the batch declared its class values
//   values    raw            only when the cases hold raw values
//   then one line per entry of the shard, in manifest order:
//   5  151  1 0  9a0c33d2e1f04b77
//                            entry index, cases, class values in order of
//                            first occurrence (separated by blanks), and
//                            the digest of the entry (EntryDigest)
//
// The digests let a join find an index edited by hand or a shard file that
// is not the one the index describes, before it writes a wrong training set.
#ifndef CASEWRIGHT_BATCH_SHARD_INDEX_H_
#define CASEWRIGHT_BATCH_SHARD_INDEX_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "batch/manifest.h"
#include "core/features.h"
#include "output/case_layout.h"

namespace casewright {

// The largest index read: a shard of several million entries.
inline constexpr std::size_t kMaxShardIndexBytes = std::size_t{1} << 30;

struct ShardIndex {
  struct Entry {
    std::size_t index = 0;
    std::size_t cases = 0;
    std::vector<std::string> class_values;
    std::uint64_t digest = 0;
    std::size_t line = 0;  // in the index file, from 1; 0 for an entry not read from one
  };

  std::string batch;  // 16 hexadecimal digits
  Shard shard;
  std::size_t manifest_entries = 0;
  CaseFormat format = CaseFormat::kPlain;
  FeatureSet features = FeatureSet::None();
  std::string relation;
  std::size_t header_bytes = 0;
  std::vector<Entry> entries;
  bool ids = false;
  std::vector<std::string> class_values;  // the declared ones, if any
  CaseValues values = CaseValues::kCodes;
};

// The line of the index that holds the header's length.
inline constexpr std::size_t kHeaderLine = 8;

// 64-bit FNV-1a of `bytes`, going on from `hash`: a digest that stays the
// same from one build and machine to another.
std::uint64_t Fnv1a(std::string_view bytes, std::uint64_t hash = 0xcbf29ce484222325);
// `digest` as the index writes it: 16 hexadecimal digits.
std::string DigestText(std::uint64_t digest);

// The digest of one entry: of the index's format, features and relation,
// the entry's class values and `cases`, the bytes of its cases.
std::uint64_t EntryDigest(const ShardIndex& index, const std::vector<std::string>& class_values,
                          std::string_view cases);

// The index file of a combined file.
std::string IndexPathOf(const std::string& combined_path);

std::string ShardIndexText(const ShardIndex& index);

// Throws RunError naming `path` and the line when `text` is not an index.
ShardIndex ParseShardIndex(std::string_view text, const std::string& path);

}  // namespace casewright

#endif  // CASEWRIGHT_BATCH_SHARD_INDEX_H_
