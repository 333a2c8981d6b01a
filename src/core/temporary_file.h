// A file written under a temporary name beside the file it is to become, and
// the removal of such files when the program is interrupted.
//
// The name is ".casewright-" and six random letters or digits: short, so that
// every name that is valid for the final file also works beside it, and fixed
// in form, so that a user can recognise and remove what a program killed
// outright (SIGKILL, a power cut) left behind.
//
// Every temporary file that exists is listed in a chain of slots that a
// signal handler can walk without allocating or locking; the chain grows
// with the number of files open at once, without a fixed limit.  Once
// RemoveTemporaryFilesOnSignals has run, SIGINT, SIGTERM and SIGHUP remove
// every listed file and then end the program with the signal's own status.
#ifndef CASEWRIGHT_CORE_TEMPORARY_FILE_H_
#define CASEWRIGHT_CORE_TEMPORARY_FILE_H_

#include <sys/stat.h>

#include <string>
#include <string_view>

namespace casewright {

inline constexpr std::string_view kTemporaryPrefix = ".casewright-";

// Where the signal handler finds one temporary file (temporary_file.cc).
struct ListedFile;

class TemporaryFile {
 public:
  // Creates a new empty file in `folder`, open for writing, with mode 0666
  // less the umask.  Throws RunError (file_error.h) naming `for_messages`.
  TemporaryFile(const std::string& folder, const std::string& for_messages);
  // Removes the file unless MoveTo succeeded.
  ~TemporaryFile();
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  // The open descriptor; -1 after Close.
  int fd() const { return fd_; }
  // The file's path: the folder and the temporary name.
  const std::string& path() const { return path_; }

  // Closes the descriptor.  Throws RunError.
  void Close();
  // Gives the file the owner, group and permissions in `of` (a stat of the
  // file it is to replace), as far as the process may: an owner or group it
  // may not give is left as it is.
  void TakeOwnerAndMode(const struct stat& of);
  // Renames the file to `name` in its folder, replacing a file of that name.
  // Throws RunError.
  void MoveTo(const std::string& name);

 private:
  std::string for_messages_;
  std::string path_;
  int folder_fd_ = -1;
  int fd_ = -1;
  ListedFile* slot_ = nullptr;  // listing the file for the signal handler; null once moved
};

// Makes SIGINT, SIGTERM and SIGHUP remove the temporary files, then end the
// program as the signal would have.  A signal that is ignored (a program
// started with nohup) stays ignored.
void RemoveTemporaryFilesOnSignals();

}  // namespace casewright

#endif  // CASEWRIGHT_CORE_TEMPORARY_FILE_H_
