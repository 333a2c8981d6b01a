// Where a file name that a user gives leads: to an open descriptor of the
// program (standard output and the like), through symbolic links to a file,
// and whether two names lead to one file.
#ifndef CASEWRIGHT_CORE_FILE_PATH_H_
#define CASEWRIGHT_CORE_FILE_PATH_H_

#include <sys/types.h>

#include <optional>
#include <string>
#include <string_view>

namespace casewright {

// The descriptor of this program that `path` names: "-" (standard output
// when `for_writing`, else standard input), /dev/stdin, /dev/stdout,
// /dev/stderr, /dev/fd/N, and /proc/PID/fd/N when PID is this program's
// (or "self", "thread-self", or PID/task/TID).  Another process's
// /proc/PID/fd/N names this program's standard output or error (standard
// input when reading) when it leads to the file that one has open: what
// the path leads to counts, not its spelling.  nullopt for every other path.
std::optional<int> NamedDescriptor(std::string_view path, bool for_writing);

// Whether `path` has the form of a descriptor link: /dev/fd/N or
// /proc/PID/fd/N of any process.  Such a link leads to an open file, not to
// the name its text shows, so it is never followed as a symbolic link.
bool IsDescriptorLink(std::string_view path);

// `path` with its symbolic links followed, also a last link whose target
// does not exist yet (that target is the file to create).  Stops at a path
// that names a descriptor or is a descriptor link.  Throws RunError
// "Symbolic link loop" naming `path` when the links never end.
std::string FollowLinks(const std::string& path);

// What tells one file from another.
struct FileIdentity {
  std::string path;  // absolute and normalised, links followed; empty for a descriptor
  int descriptor = -1;  // of this program, when the path names one
  bool exists = false;
  bool is_character_device = false;
  dev_t device = 0;
  ino_t inode = 0;
};

// The identity of `path`, read (or written, by `for_writing`) by a run.
// Throws RunError as FollowLinks does.
FileIdentity IdentifyFile(const std::string& path, bool for_writing);

// Whether the two are one file: the same descriptor of this program (so
// "-", /dev/stdin and /proc/self/fd/0 are one), the same path, or the same
// device and inode.  A character device (a terminal, /dev/null) named by
// path holds nothing to lose and is never the same file as another name.
bool SameFile(const FileIdentity& a, const FileIdentity& b);

}  // namespace casewright

#endif  // CASEWRIGHT_CORE_FILE_PATH_H_
