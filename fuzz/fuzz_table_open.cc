// The table opener on arbitrary bytes as one of the three database files,
// the other two being sound.  Properties: opening either succeeds or fails
// with a RunError that names the file; on opened tables every look-up
// either answers or fails so, and the cue words read twice are the same.
#include <fuzzer/FuzzedDataProvider.h>

#include <filesystem>
#include <string>

#include "core/run_error.h"
#include "fuzz_check.h"
#include "lexicon/sqlite_tables.h"
#include "lexicon/table_builder.h"
#include "lexicon/table_schema.h"
#include "testing/temp_dir.h"

namespace {

// Fails with the message unless `error` names a file.
void CheckNamesAFile(const casewright::RunError& error) { FUZZ_CHECK(!error.path().empty() && *error.what()); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace casewright;
  namespace fs = std::filesystem;
  static const testing::TempDir dir;
  static const bool built = [] {
    testing::WriteFile(dir.Path("lexicon.tsv"), "casas\tcasa\nfoi\tser\nnada\t\\N\n");
    testing::WriteFile(dir.Path("stoplist.txt"), "de\no\n");
    testing::WriteFile(dir.Path("cues.txt"), "resumo\nportanto\n");
    BuildTables({dir.Path("lexicon.tsv"), dir.Path("stoplist.txt"), dir.Path("cues.txt")}, dir.Path("sound"));
    return true;
  }();
  FUZZ_CHECK(built);
  const TableSchema* schemas[] = {&kLexiconSchema, &kStoplistSchema, &kCuePhrasesSchema};
  FuzzedDataProvider provider(data, size);
  const TableSchema& broken = *schemas[provider.ConsumeIntegralInRange<int>(0, 2)];
  const std::string folder = dir.Path("tables");
  fs::remove_all(folder);
  fs::copy(dir.Path("sound"), folder);
  testing::WriteFile(folder + "/" + std::string(broken.file), provider.ConsumeRemainingBytesAsString());

  try {
    SqliteTables tables(folder);
    for (const char* word : {"casas", "foi", "nada", "de", "", "\xE9"}) {
      try {
        tables.Canonicalize(word);
        tables.IsStopword(word);
      } catch (const RunError& e) {
        CheckNamesAFile(e);
      }
    }
    try {
      FUZZ_CHECK(tables.ReadCueWords() == tables.ReadCueWords());
    } catch (const RunError& e) {
      CheckNamesAFile(e);
    }
  } catch (const RunError& e) {
    CheckNamesAFile(e);
  }
  return 0;
}
