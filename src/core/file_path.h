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

// The descriptor that `path` names: "-" (standard output when
// `for_writing`, else standard input), /dev/stdin, /dev/stdout, /dev/stderr,
// /dev/fd/N and /proc/self/fd/N.  nullopt for every other path.
std::optional<int> NamedDescriptor(std::string_view path, bool for_writing);

// `path` with its symbolic links followed, also a last link whose target
// does not exist yet (that target is the file to create).  Stops at a path
// that names a descriptor.  Throws RunError "Symbolic link loop" naming
// `path` when the links never end.
std::string FollowLinks(const std::string& path);

// What tells one file from another.
struct FileIdentity {
  std::string path;  // absolute and normalised, links followed; empty for a descriptor
  bool exists = false;
  bool is_character_device = false;
  dev_t device = 0;
  ino_t inode = 0;
};

// The identity of `path`, read (or written, by `for_writing`) by a run.
// Throws RunError as FollowLinks does.
FileIdentity IdentifyFile(const std::string& path, bool for_writing);

// Whether writing one of the two would change the other: the same path, or
// the same device and inode.  A character device (a terminal, /dev/null)
// holds nothing to lose and is never the same file as another name.
bool SameFile(const FileIdentity& a, const FileIdentity& b);

}  // namespace casewright

#endif  // CASEWRIGHT_CORE_FILE_PATH_H_
