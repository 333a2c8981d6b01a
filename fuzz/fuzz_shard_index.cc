// The shard index reader and join, on arbitrary bytes as the index of the
// first of two shards whose files are good.  Properties: join fails only
// with an error naming a file; when it accepts the index it writes, byte
// for byte, what it writes from the index the batch wrote; an index the
// reader accepts reads back the same from the text it writes.
#include <string>
#include <vector>

#include "batch/shard_index.h"
#include "batch/shard_join.h"
#include "core/read_file.h"
#include "core/run_error.h"
#include "fuzz_check.h"
#include "output/case_writer.h"
#include "testing/temp_dir.h"

namespace {

using namespace casewright;

// Two shards of a five-entry manifest, as a batch writes them, and what
// their join writes.
struct Shards {
  explicit Shards(const testing::TempDir& dir) {
    const std::vector<std::vector<std::string>> classes = {{"1", "0"}, {"0"}, {"2", "1"}, {}, {"0", "1", "1"}};
    for (std::size_t k = 0; k < 2; ++k) {
      ShardIndex index{"0123456789abcdef", {k, 2}, classes.size(), CaseFormat::kArff, FeatureSet::None(),
                       "corpus", 0, {}};
      index.features.Set(Feature::kSentenceSize, true);
      std::vector<std::string> all_values;
      std::vector<std::string> blocks;
      for (std::size_t entry = k; entry < classes.size(); entry += 2) {
        std::string block;
        for (const std::string& value : classes[entry]) block += std::to_string(entry % 4 + 1) + "," + value + "\n";
        const std::vector<std::string> values = ClassValues(classes[entry]);
        all_values.insert(all_values.end(), values.begin(), values.end());
        index.entries.push_back({entry, classes[entry].size(), values, EntryDigest(index, values, block)});
        blocks.push_back(block);
      }
      std::string file =
          MakeCaseLayout(index.format)->Header({index.features, ClassValues(all_values), index.relation});
      index.header_bytes = file.size();
      for (const std::string& block : blocks) file += block;
      paths.push_back(dir.Path("shard" + std::to_string(k)));
      testing::WriteFile(paths.back(), file);
      testing::WriteFile(IndexPathOf(paths.back()), ShardIndexText(index));
    }
    JoinShards(paths, dir.Path("reference"), dir.Path("reference.names"));
    joined = *ReadWholeFile(dir.Path("reference"));
    names = *ReadWholeFile(dir.Path("reference.names"));
  }

  std::vector<std::string> paths;
  std::string joined;
  std::string names;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const testing::TempDir dir;
  static const Shards shards(dir);
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::string index_path = IndexPathOf(shards.paths[0]);
  try {
    const ShardIndex index = ParseShardIndex(text, index_path);
    const ShardIndex again = ParseShardIndex(ShardIndexText(index), index_path);
    FUZZ_CHECK(ShardIndexText(again) == ShardIndexText(index));
    FUZZ_CHECK(again.relation == index.relation);
  } catch (const RunError& e) {
    FUZZ_CHECK(e.Describe().starts_with(index_path + ": Not a shard index (line "));
  }
  testing::WriteFile(index_path, text);
  try {
    JoinShards(shards.paths, dir.Path("joined"), dir.Path("joined.names"));
  } catch (const RunError& e) {
    FUZZ_CHECK(!e.Describe().empty());
    return 0;
  }
  FUZZ_CHECK(*ReadWholeFile(dir.Path("joined")) == shards.joined);
  FUZZ_CHECK(*ReadWholeFile(dir.Path("joined.names")) == shards.names);
  return 0;
}
