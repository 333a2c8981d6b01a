#include "core/file_path.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <filesystem>

#include "core/file_error.h"

namespace casewright {
namespace fs = std::filesystem;
namespace {

// As the system: a chain of more links than this is taken for a loop.
constexpr int kMaxLinks = 40;

std::optional<int> DescriptorNumber(std::string_view digits) {
  int number = -1;
  auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
  if (error != std::errc() || end != digits.data() + digits.size() || digits.empty()) return std::nullopt;
  return number;
}

}  // namespace

std::optional<int> NamedDescriptor(std::string_view path, bool for_writing) {
  if (path == "-") return for_writing ? STDOUT_FILENO : STDIN_FILENO;
  const std::string normal = fs::path(path).lexically_normal().string();
  if (normal == "/dev/stdin") return STDIN_FILENO;
  if (normal == "/dev/stdout") return STDOUT_FILENO;
  if (normal == "/dev/stderr") return STDERR_FILENO;
  for (std::string_view folder : {"/dev/fd/", "/proc/self/fd/"}) {
    if (normal.starts_with(folder)) return DescriptorNumber(std::string_view(normal).substr(folder.size()));
  }
  return std::nullopt;
}

std::string FollowLinks(const std::string& path) {
  fs::path current(path);
  for (int links = 0; links <= kMaxLinks; ++links) {
    if (NamedDescriptor(current.string(), true)) return current.string();
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
  if (std::optional<int> fd = NamedDescriptor(path, for_writing)) {
    identity.exists = ::fstat(*fd, &info) == 0;
  } else {
    std::error_code error;
    fs::path followed = fs::absolute(FollowLinks(path), error);
    if (std::optional<int> target_fd = NamedDescriptor(followed.string(), for_writing)) {
      identity.exists = ::fstat(*target_fd, &info) == 0;
    } else {
      fs::path normal = fs::weakly_canonical(followed, error);
      identity.path = (error ? followed.lexically_normal() : normal).string();
      identity.exists = ::stat(identity.path.c_str(), &info) == 0;
    }
  }
  if (identity.exists) {
    identity.is_character_device = S_ISCHR(info.st_mode);
    identity.device = info.st_dev;
    identity.inode = info.st_ino;
  }
  return identity;
}

bool SameFile(const FileIdentity& a, const FileIdentity& b) {
  if (a.is_character_device || b.is_character_device) return false;
  if (!a.path.empty() && a.path == b.path) return true;
  return a.exists && b.exists && a.device == b.device && a.inode == b.inode;
}

}  // namespace casewright
