// Helpers for tests: a temporary folder removed at the end of the test, and
// whole-file reading and writing.
#ifndef CASEWRIGHT_TESTING_TEMP_DIR_H_
#define CASEWRIGHT_TESTING_TEMP_DIR_H_

#include <filesystem>
#include <string>
#include <string_view>

namespace casewright::testing {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The path of `name` inside the folder.
  std::string Path(std::string_view name) const;
  const std::filesystem::path& root() const { return root_; }

 private:
  std::filesystem::path root_;
};

void WriteFile(const std::string& path, std::string_view bytes);
std::string ReadFile(const std::string& path);

}  // namespace casewright::testing

#endif  // CASEWRIGHT_TESTING_TEMP_DIR_H_
