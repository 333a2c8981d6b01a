// An output file that appears whole or not at all.
//
// A regular file (existing or new) is written to a temporary file in the same
// folder (temporary_file.h) and renamed over the target by Commit, so a
// failed run leaves an existing file untouched and nothing behind; the new
// file keeps an existing file's permissions, and symbolic links are followed
// (the file they lead to is replaced, or created when it does not exist yet).
// An existing file that may not be written is refused, not replaced.
//
// A name that leads to an open descriptor ("-", /dev/stdout, /dev/fd/N) is
// written through that descriptor, at its place and in its mode (a file
// opened for appending is appended to); a character device, a FIFO or a
// socket is written directly.  None of these goes through a temporary file.
//
// Writing happens in two steps so that several files can be put in place
// together (output_files.h): Finish writes everything out, Commit renames.
#ifndef CASEWRIGHT_OUTPUT_OUTPUT_FILE_H_
#define CASEWRIGHT_OUTPUT_OUTPUT_FILE_H_

#include <optional>
#include <string>
#include <string_view>

#include "core/temporary_file.h"

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

  // Writes out the buffer and closes the file: after it the file is
  // complete but not yet in place.  Throws RunError.
  void Finish();

  // Finishes the file unless Finish was called, then puts it in place.
  // Throws RunError.
  void Commit();

 private:
  void Flush();
  int fd() const { return temporary_ ? temporary_->fd() : direct_fd_; }

  std::string path_;                        // as given, for messages
  std::optional<TemporaryFile> temporary_;  // unset when written directly
  std::string target_name_;                 // replaced in the temporary's folder
  int direct_fd_ = -1;
  std::string buffer_;
  bool finished_ = false;
};

}  // namespace casewright

#endif  // CASEWRIGHT_OUTPUT_OUTPUT_FILE_H_
