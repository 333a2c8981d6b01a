// A whole run on arbitrary text bytes and a short arbitrary classes file,
// with all eight features, in both layouts and with the raw values, over
// small tables in memory.  Properties: one CR LF line per sentence the run
// reports, every code in its range, classes of digits only, the same codes
// and classes in both layouts, one raw row of twelve fields per sentence,
// and the same bytes on a second run.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "core/run_error.h"
#include "fuzz_check.h"
#include "pipeline/pipeline.h"
#include "testing/memory_tables.h"
#include "testing/temp_dir.h"

namespace casewright {
namespace {

using testing::ReadFile;

std::vector<std::string_view> Lines(std::string_view bytes, std::string_view ending) {
  std::vector<std::string_view> lines;
  while (!bytes.empty()) {
    std::size_t end = bytes.find(ending);
    FUZZ_CHECK(end != std::string_view::npos);  // every line is ended
    lines.push_back(bytes.substr(0, end));
    bytes.remove_prefix(end + ending.size());
  }
  return lines;
}

bool AllDigits(std::string_view text) { return text.find_first_not_of("0123456789") == std::string_view::npos; }

// The codes and the class of one case line, checked against the layout.
std::string CheckedCase(std::string_view line, CaseFormat format) {
  // The highest code of each feature, in output order.
  static constexpr char kMaxCode[] = {'4', '3', '3', '1', '1', '4', '4', '1'};
  const std::string_view separator = format == CaseFormat::kQuinlan ? ", " : " ";
  std::string codes;
  for (char max : kMaxCode) {
    FUZZ_CHECK(line.size() >= 1 + separator.size());
    const char code = line[0];
    FUZZ_CHECK(code >= (max == '1' ? '0' : '1') && code <= max);
    FUZZ_CHECK(line.substr(1, separator.size()) == separator);
    codes += code;
    line.remove_prefix(1 + separator.size());
  }
  if (format == CaseFormat::kQuinlan) {
    FUZZ_CHECK(line.ends_with("."));
    line.remove_suffix(1);
  }
  FUZZ_CHECK(AllDigits(line));
  return codes + "|" + std::string(line);
}

void CheckRaw(std::string_view raw, std::size_t sentences) {
  std::vector<std::string_view> rows = Lines(raw, "\n");
  FUZZ_CHECK(rows.size() == sentences + 1);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    std::size_t tabs = 0;
    for (char c : rows[i]) tabs += c == '\t' ? 1 : 0;
    FUZZ_CHECK(tabs == 11);
    if (i > 0) FUZZ_CHECK(rows[i].starts_with(std::to_string(i) + "\t"));
  }
}

const MemoryTables& Tables() {
  static const MemoryTables tables({{"gatos", "gato"}, {"os", "o"}, {"foi", "ser"}, {"\xE9", "ser"}},
                                   {"o", "a", "de", "ser"}, {"portanto", std::nullopt, "resumo", "conclus\xE3o"});
  return tables;
}

}  // namespace
}  // namespace casewright

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace casewright;
  static const testing::TempDir dir;
  FuzzedDataProvider provider(data, size);
  testing::WriteFile(dir.Path("classes"), provider.ConsumeRandomLengthString(256));
  testing::WriteFile(dir.Path("text"), provider.ConsumeRemainingBytesAsString());

  RunSettings settings;
  settings.text_path = dir.Path("text");
  settings.classes_path = dir.Path("classes");
  settings.output_path = dir.Path("cases");
  settings.raw_path = dir.Path("raw");
  std::vector<std::string> cases_of_layout;
  for (CaseFormat format : {CaseFormat::kPlain, CaseFormat::kQuinlan}) {
    settings.format = format;
    std::size_t sentences = 0;
    try {
      sentences = RunCases(settings, Tables()).sentences;
    } catch (const RunError& e) {
      // These tables have every canonical form, so no text may fail a run.
      std::fprintf(stderr, "the run failed: %s\n", e.Describe().c_str());
      std::abort();
    }
    const std::string cases = ReadFile(settings.output_path);
    const std::string raw = ReadFile(settings.raw_path);
    std::string checked;
    for (std::string_view line : Lines(cases, "\r\n")) checked += CheckedCase(line, format) + "\n";
    FUZZ_CHECK(std::count(checked.begin(), checked.end(), '\n') == static_cast<long>(sentences));
    CheckRaw(raw, sentences);
    cases_of_layout.push_back(checked);

    RunCases(settings, Tables());
    FUZZ_CHECK(ReadFile(settings.output_path) == cases);
    FUZZ_CHECK(ReadFile(settings.raw_path) == raw);
  }
  FUZZ_CHECK(cases_of_layout[0] == cases_of_layout[1]);
  return 0;
}
