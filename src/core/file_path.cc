#include "core/file_path.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <span>
#include <charconv>
#include <filesystem>

#include "core/file_error.h"

namespace casewright {
namespace fs = std::filesystem;
namespace {

// As the system: a chain of more links than this is taken for a loop.
constexpr int kMaxLinks = 40;

std::optional<long> Number(std::string_view digits) {
  long number = -1;
  auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
  if (error != std::errc() || end != digits.data() + digits.size() || digits.empty()) return std::nullopt;
  return number;
}

// A descriptor link as its parts: whose descriptor ("self", "thread-self"
// or a process number) and which.
struct LinkParts {
  std::string_view owner;
  int fd;
};

// The parts of /dev/fd/N, /proc/OWNER/fd/N or /proc/OWNER/task/TID/fd/N
// once `normal` is normalised.
std::optional<LinkParts> DescriptorLinkParts(std::string_view normal) {
  std::string_view rest;
  std::string_view owner = "self";
  if (normal.starts_with("/dev/fd/")) {
    rest = normal.substr(8);
  } else if (normal.starts_with("/proc/")) {
    rest = normal.substr(6);
    owner = rest.substr(0, rest.find('/'));
    rest.remove_prefix(owner.size());
    if (rest.starts_with("/task/")) {
      rest.remove_prefix(6);
      rest.remove_prefix(std::min(rest.size(), rest.find('/')));
    }
    if (!rest.starts_with("/fd/")) return std::nullopt;
    rest.remove_prefix(4);
  } else {
    return std::nullopt;
  }
  std::optional<long> fd = Number(rest);
  if (!fd || *fd > INT_MAX) return std::nullopt;
  return LinkParts{owner, static_cast<int>(*fd)};
}

bool IsThisProcess(std::string_view owner) {
  return owner == "self" || owner == "thread-self" || Number(owner) == static_cast<long>(::getpid());
}

bool SameInode(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

}  // namespace

std::optional<int> NamedDescriptor(std::string_view path, bool for_writing) {
  if (path == "-") return for_writing ? STDOUT_FILENO : STDIN_FILENO;
  const std::string normal = fs::path(path).lexically_normal().string();
  if (normal == "/dev/stdin") return STDIN_FILENO;
  if (normal == "/dev/stdout") return STDOUT_FILENO;
  if (normal == "/dev/stderr") return STDERR_FILENO;
  std::optional<LinkParts> link = DescriptorLinkParts(normal);
  if (!link) return std::nullopt;
  if (IsThisProcess(link->owner)) return link->fd;
  // Another process's descriptor: this program's own standard streams when
  // it leads to the file one of them has open.
  struct stat target;
  if (::stat(normal.c_str(), &target) != 0) return std::nullopt;
  static constexpr int kWritten[] = {STDOUT_FILENO, STDERR_FILENO};
  static constexpr int kRead[] = {STDIN_FILENO};
  for (int own : for_writing ? std::span<const int>(kWritten) : std::span<const int>(kRead)) {
    struct stat info;
    if (::fstat(own, &info) == 0 && SameInode(info, target)) return own;
  }
  return std::nullopt;
}

bool IsDescriptorLink(std::string_view path) {
  return DescriptorLinkParts(fs::path(path).lexically_normal().string()).has_value();
}

std::string FollowLinks(const std::string& path) {
  fs::path current(path);
  for (int links = 0; links <= kMaxLinks; ++links) {
    if (NamedDescriptor(current.string(), true) || IsDescriptorLink(current.string())) return current.string();
    struct stat info;
    if (::lstat(current.c_str(), &info) != 0) {
      if (errno == ELOOP) throw FileError(ELOOP, path);
      return current.string();  // missing: the file to create, or a failure its opening reports
    }
    if (!S_ISLNK(info.st_mode)) return current.string();
    std::error_code error;
    fs::path target = fs::read_symlink(current, error);
    if (error) throw FileError(error.value(), path);
    current = target.is_absolute() ? target : current.parent_path() / target;
  }
  throw FileError(ELOOP, path);
}

FileIdentity IdentifyFile(const std::string& path, bool for_writing) {
  FileIdentity identity;
  struct stat info;
  std::optional<int> fd = NamedDescriptor(path, for_writing);
  std::error_code error;
  const fs::path followed = fd ? fs::path() : fs::absolute(FollowLinks(path), error);
  if (!fd) fd = NamedDescriptor(followed.string(), for_writing);
  if (fd) {
    identity.descriptor = *fd;
    identity.exists = ::fstat(*fd, &info) == 0;
  } else if (IsDescriptorLink(followed.string())) {
    // Another process's descriptor: what it leads to, whatever its spelling.
    identity.exists = ::stat(followed.c_str(), &info) == 0;
  } else {
    fs::path normal = fs::weakly_canonical(followed, error);
    identity.path = (error ? followed.lexically_normal() : normal).string();
    identity.exists = ::stat(identity.path.c_str(), &info) == 0;
  }
  if (identity.exists) {
    identity.is_character_device = S_ISCHR(info.st_mode);
    identity.device = info.st_dev;
    identity.inode = info.st_ino;
  }
  return identity;
}

bool SameFile(const FileIdentity& a, const FileIdentity& b) {
  if (a.descriptor >= 0 && a.descriptor == b.descriptor) return true;
  if (a.is_character_device || b.is_character_device) return false;
  if (!a.path.empty() && a.path == b.path) return true;
  return a.exists && b.exists && a.device == b.device && a.inode == b.inode;
}

}  // namespace casewright
