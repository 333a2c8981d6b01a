// The one kind of failure of a run.  Every failure (a file that cannot be
// read or written, a table that cannot be read) ends the run with a
// RunError that carries the message the user is shown and, where there is
// one, the file concerned.  Messages are UTF-8.
#ifndef CASEWRIGHT_CORE_RUN_ERROR_H_
#define CASEWRIGHT_CORE_RUN_ERROR_H_

#include <exception>
#include <stdexcept>
#include <string>

namespace casewright {

class RunError : public std::runtime_error {
 public:
  explicit RunError(const std::string& message, std::string path = {})
      : std::runtime_error(message), path_(std::move(path)) {}

  // The file the failure concerns; empty when there is none.
  const std::string& path() const { return path_; }

  // "path: message", or the message alone when there is no path.
  std::string Describe() const { return path_.empty() ? what() : path_ + ": " + what(); }

 private:
  std::string path_;
};

// What a front end shows for any failure: Describe() for a RunError, the
// exception's own text for anything else (out of memory, say).
std::string DescribeError(const std::exception& error);

}  // namespace casewright

#endif  // CASEWRIGHT_CORE_RUN_ERROR_H_
