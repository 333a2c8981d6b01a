// An output file that appears whole or not at all.
//
// A regular file (existing or new) is written to a temporary file in the same
// folder and renamed over the target by Commit, so a failed run leaves an
// existing file untouched and nothing behind; the new file keeps an existing
// file's permissions, and a symbolic link is followed (the file it points to
// is replaced).  A path that names something other than a regular file (a
// terminal, /dev/null, a pipe) is written directly.
#ifndef CASEWRIGHT_OUTPUT_OUTPUT_FILE_H_
#define CASEWRIGHT_OUTPUT_OUTPUT_FILE_H_

#include <string>
#include <string_view>

namespace casewright {

class OutputFile {
 public:
  // Opens the file for writing.  Throws RunError (with the messages of
  // file_error.h) when it cannot be created.
  explicit OutputFile(const std::string& path);
  // Discards everything written unless Commit succeeded.
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Buffers `bytes`; writes through when the buffer is full.
  void Write(std::string_view bytes);

  // Flushes, closes and puts the file in place.  Throws RunError.
  void Commit();

  const std::string& path() const { return path_; }

 private:
  void Flush();
  void Discard() noexcept;

  std::string path_;         // as given, for messages
  std::string target_;       // the file that will be replaced
  std::string temporary_;    // empty when writing directly
  int fd_ = -1;
  std::string buffer_;
  bool committed_ = false;
};

}  // namespace casewright

#endif  // CASEWRIGHT_OUTPUT_OUTPUT_FILE_H_
