// The `tables build` source reader on arbitrary lexicon, stoplist and cue
// word files.  Properties: the build either fails with a RunError that names
// a file, or every entry of the sources reads back from the built tables: a
// form gives its canonical form, a stopword is one, the cue words come back
// in file order.
#include <fuzzer/FuzzedDataProvider.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/cp1252.h"
#include "core/run_error.h"
#include "fuzz_check.h"
#include "lexicon/sqlite_tables.h"
#include "lexicon/table_builder.h"
#include "testing/temp_dir.h"

namespace {

// The entries of a source as the format defines them: lines without a
// leading byte-order mark, a CR before the line end, blank lines and lines
// starting with "#".
std::vector<std::string> Entries(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  std::vector<std::string> entries;
  while (!bytes.empty()) {
    std::string_view line = bytes.substr(0, bytes.find('\n'));
    bytes.remove_prefix(std::min(bytes.size(), line.size() + 1));
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (!line.empty() && line.front() != '#') entries.emplace_back(line);
  }
  return entries;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace casewright;
  static const testing::TempDir dir;
  FuzzedDataProvider provider(data, size);
  const std::string lexicon = provider.ConsumeRandomLengthString(512);
  const std::string stoplist = provider.ConsumeRandomLengthString(512);
  const std::string cues = provider.ConsumeRemainingBytesAsString();
  const TableSources sources = {dir.Path("lexicon.tsv"), dir.Path("stoplist.txt"), dir.Path("cues.txt")};
  testing::WriteFile(sources.lexicon, lexicon);
  testing::WriteFile(sources.stoplist, stoplist);
  testing::WriteFile(sources.cue_words, cues);
  try {
    BuildTables(sources, dir.Path("tables"));
  } catch (const RunError& e) {
    FUZZ_CHECK(!e.path().empty());
    return 0;
  }

  SqliteTables tables(dir.Path("tables"));
  for (const std::string& entry : Entries(lexicon)) {
    const std::size_t tab = entry.find('\t');
    std::optional<std::string> form = Utf8ToCp1252(entry.substr(0, tab));
    std::optional<std::string> canonical = Utf8ToCp1252(entry.substr(tab + 1));
    if (!form) continue;  // no Windows-1252 word can ask for it
    // A missing canonical form, or one with no Windows-1252 spelling, fails.
    const bool answerable = entry.substr(tab + 1) != "\\N" && canonical;
    try {
      const std::string found = tables.Canonicalize(*form);
      FUZZ_CHECK(answerable && found == *canonical);
    } catch (const RunError&) {
      FUZZ_CHECK(!answerable);
    }
  }
  for (const std::string& entry : Entries(stoplist)) {
    if (std::optional<std::string> word = Utf8ToCp1252(entry)) FUZZ_CHECK(tables.IsStopword(*word));
  }
  std::vector<std::optional<std::string>> expected;
  for (const std::string& entry : Entries(cues)) expected.push_back(Utf8ToCp1252(entry));
  FUZZ_CHECK(tables.ReadCueWords() == expected);
  return 0;
}
