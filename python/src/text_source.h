// A text as Python gives it: a file, or its content, which is held in an
// anonymous file in memory so that the core, which reads texts from paths,
// reads it as it reads any file (the same decoding, limits and messages)
// and nothing is written to disk.
#ifndef CASEWRIGHT_PYTHON_TEXT_SOURCE_H_
#define CASEWRIGHT_PYTHON_TEXT_SOURCE_H_

#include <string>
#include <string_view>

#include "core/run_error.h"

namespace casewright::python {

class TextSource {
 public:
  // The file at `path`, named so in messages and in the cases' text column.
  explicit TextSource(std::string path);
  // `content`, called `name`.  Throws RunError when the system gives no
  // file in memory.
  TextSource(std::string_view content, std::string name);
  ~TextSource();
  TextSource(const TextSource&) = delete;
  TextSource& operator=(const TextSource&) = delete;

  // What the core opens.
  const std::string& path() const { return path_; }
  const std::string& name() const { return name_; }

  // Runs `work`, whose failures then name name() rather than the file in
  // memory.
  template <typename Work>
  auto Run(Work&& work) const {
    try {
      return work();
    } catch (const RunError& error) {
      throw Renamed(error);
    }
  }

 private:
  RunError Renamed(const RunError& error) const;

  std::string path_;
  std::string name_;
  int fd_ = -1;
};

}  // namespace casewright::python

#endif  // CASEWRIGHT_PYTHON_TEXT_SOURCE_H_
