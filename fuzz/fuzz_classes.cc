// The classes-file reader on arbitrary bytes, paired with 0 to 64 sentences.
// Properties: one class per sentence, each of digits only; the classes read
// are, digit for digit, the start of the file's digits before any Ctrl-Z;
// the warnings tell of empty classes, a shift, digits run together across
// skipped bytes and classes left unread exactly when there are such.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <string>

#include "fuzz_check.h"
#include "testing/temp_dir.h"
#include "text/classes_file.h"

namespace {

bool Warns(const casewright::SentenceClasses& read, const std::string& words) {
  for (const std::string& warning : read.warnings) {
    if (warning.find(words) != std::string::npos) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace casewright;
  static const testing::TempDir dir;
  FuzzedDataProvider provider(data, size);
  const auto sentences = provider.ConsumeIntegralInRange<std::size_t>(0, 64);
  const std::string bytes = provider.ConsumeRemainingBytesAsString();
  testing::WriteFile(dir.Path("classes"), bytes);

  ClassesFile file(dir.Path("classes"));
  const SentenceClasses read = ReadSentenceClasses(file, sentences);
  FUZZ_CHECK(read.classes.size() == sentences);

  std::string file_digits;
  for (char c : bytes.substr(0, bytes.find('\x1A'))) {
    if (c >= '0' && c <= '9') file_digits += c;
  }
  std::string read_digits;
  bool empty = false;
  bool shifted = false;
  for (const std::string& sentence_class : read.classes) {
    FUZZ_CHECK(sentence_class.find_first_not_of("0123456789") == std::string::npos);
    read_digits += sentence_class;
    shifted = shifted || (empty && !sentence_class.empty());
    empty = empty || sentence_class.empty();
  }
  FUZZ_CHECK(file_digits.starts_with(read_digits));
  // Digits run together when, within the bytes the sentences' classes were
  // read from, a digit follows a skipped byte that follows a digit of the
  // same class.
  const std::size_t file_end = std::min(bytes.find('\x1A'), bytes.size());
  std::size_t read_to = 0;
  for (std::size_t taken = 0; taken < read.classes.size() && read_to < file_end; ++taken) {
    const std::size_t space = bytes.find(' ', read_to);
    read_to = space < file_end ? space + 1 : file_end;
  }
  bool merged = false;
  bool digit_seen = false;
  bool gap = false;
  for (std::size_t i = 0; i < read_to; ++i) {
    if (bytes[i] == ' ') {
      digit_seen = gap = false;
    } else if (bytes[i] >= '0' && bytes[i] <= '9') {
      merged = merged || (digit_seen && gap);
      digit_seen = true;
      gap = false;
    } else {
      gap = digit_seen;
    }
  }
  FUZZ_CHECK(Warns(read, "runs digits together") == merged);
  FUZZ_CHECK(Warns(read, "got an empty class") == empty);
  FUZZ_CHECK(Warns(read, "classes shifted from sentence") == shifted);
  FUZZ_CHECK(Warns(read, "left unread") == (file_digits.size() > read_digits.size()));
  return 0;
}
