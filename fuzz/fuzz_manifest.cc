// The manifest reader on arbitrary bytes (the first byte says whether a
// line may leave its output empty).  Properties: it fails only with an
// error naming the manifest; what it accepts is one entry per line that is
// neither blank nor a comment, in order, with every field it needs (the
// classes field may be empty: an unlabelled text), no
// control character in a path, and outputs that are neither another
// line's output nor an input.
#include <fuzzer/FuzzedDataProvider.h>

#include <set>
#include <string>
#include <string_view>

#include "batch/manifest.h"
#include "core/run_error.h"
#include "fuzz_check.h"
#include "testing/temp_dir.h"

namespace {

bool HasControlCharacter(std::string_view path) {
  for (unsigned char c : path) {
    if (c < 0x20 || c == 0x7F) return true;
  }
  return false;
}

// The lines of `bytes` that hold an entry.
std::size_t EntryLines(std::string_view bytes) {
  std::size_t lines = 0;
  while (!bytes.empty()) {
    const std::size_t end = bytes.find('\n');
    std::string_view line = bytes.substr(0, end);
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (line.find_first_not_of(" \t") != std::string_view::npos && !line.starts_with('#')) ++lines;
    bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
  }
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace casewright;
  static const testing::TempDir dir;
  FuzzedDataProvider provider(data, size);
  const bool outputs_optional = provider.ConsumeBool();
  std::string bytes = provider.ConsumeRemainingBytesAsString();
  const std::string manifest = dir.Path("m.tsv");
  std::vector<ManifestEntry> entries;
  try {
    entries = ParseManifest(bytes, manifest, {.outputs_optional = outputs_optional});
  } catch (const RunError& e) {
    FUZZ_CHECK(e.Describe().starts_with(manifest));
    return 0;
  }
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.erase(0, 3);
  FUZZ_CHECK(entries.size() == EntryLines(bytes));
  std::set<std::string> outputs;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const ManifestEntry& entry = entries[i];
    FUZZ_CHECK(entry.index == i);
    FUZZ_CHECK(i == 0 || entry.line > entries[i - 1].line);
    FUZZ_CHECK(!entry.text_path.empty());
    FUZZ_CHECK(entry.classes_path.empty() || entry.extract_path.empty());  // both empty: unlabelled
    FUZZ_CHECK(outputs_optional || !entry.output_path.empty());
    for (const std::string* path : {&entry.text_path, &entry.classes_path, &entry.extract_path, &entry.output_path}) {
      FUZZ_CHECK(!HasControlCharacter(*path));
    }
    FUZZ_CHECK(entry.output_path != manifest);
    if (!entry.output_path.empty()) FUZZ_CHECK(outputs.insert(entry.output_path).second);
  }
  for (const ManifestEntry& entry : entries) {
    for (const std::string* path : {&entry.text_path, &entry.classes_path, &entry.extract_path}) {
      FUZZ_CHECK(path->empty() || !outputs.contains(*path));
    }
  }
  return 0;
}
