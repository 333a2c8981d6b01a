#include "output/output_file.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "core/file_error.h"
#include "core/file_path.h"

namespace casewright {
namespace fs = std::filesystem;
namespace {

constexpr std::size_t kBufferSize = 1 << 16;

// A connection to the listening socket at `path`, or -1 with errno set.
int ConnectSocket(const std::string& path) {
  sockaddr_un address = {};
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) {
    errno = ENAMETOOLONG;
    return -1;
  }
  std::memcpy(address.sun_path, path.data(), path.size());
  int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd >= 0 && ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    int error = errno;
    ::close(fd);
    errno = error;
    return -1;
  }
  return fd;
}

// A device, a FIFO, a socket or another process's open file, opened for
// writing; -1 with errno set.  A regular file reached that way is appended
// to: what the other process wrote is kept.
int OpenDirectly(const std::string& path, const struct stat& info) {
  if (S_ISSOCK(info.st_mode)) return ConnectSocket(path);
  return ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC | (S_ISREG(info.st_mode) ? O_APPEND : 0));
}

}  // namespace

OutputFile::OutputFile(const std::string& path) : path_(path) {
  std::optional<int> descriptor = NamedDescriptor(path, true);
  const std::string target = descriptor ? path : FollowLinks(path);
  if (!descriptor) descriptor = NamedDescriptor(target, true);
  if (descriptor) {
    direct_fd_ = ::fcntl(*descriptor, F_DUPFD_CLOEXEC, 0);
    if (direct_fd_ < 0) throw FileError(errno, path_);
    return;
  }
  struct stat existing;
  const bool exists = ::stat(target.c_str(), &existing) == 0;
  if (exists && S_ISDIR(existing.st_mode)) throw FileError(EISDIR, path_);
  if (exists && (!S_ISREG(existing.st_mode) || IsDescriptorLink(target))) {
    direct_fd_ = OpenDirectly(target, existing);
    if (direct_fd_ < 0) throw FileError(errno, path_);
    return;
  }
  if (exists && ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) throw FileError(errno, path_);
  const fs::path target_path(target);
  target_name_ = target_path.filename().string();
  if (target_name_.empty()) throw FileError(EISDIR, path_);  // "folder/"
  temporary_.emplace(target_path.has_parent_path() ? target_path.parent_path().string() : ".", path_);
  if (exists) temporary_->TakeOwnerAndMode(existing);
  buffer_.reserve(kBufferSize);
}

OutputFile::~OutputFile() {
  if (direct_fd_ >= 0) ::close(direct_fd_);
}

void OutputFile::Write(std::string_view bytes) {
  buffer_.append(bytes);
  if (buffer_.size() >= kBufferSize) Flush();
}

void OutputFile::Flush() {
  std::size_t written = 0;
  while (written < buffer_.size()) {
    ssize_t n = ::write(fd(), buffer_.data() + written, buffer_.size() - written);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw FileError(errno, path_);
    }
    written += static_cast<std::size_t>(n);
  }
  buffer_.clear();
}

void OutputFile::Finish() {
  Flush();
  // No fdatasync: the rename makes the file appear whole to every reader,
  // and syncing each file would cost a batch of short texts most of its time.
  if (temporary_) {
    temporary_->Close();
  } else {
    int fd = direct_fd_;
    direct_fd_ = -1;
    if (::close(fd) != 0) throw FileError(errno, path_);
  }
  finished_ = true;
}

void OutputFile::Commit() {
  if (!finished_) Finish();
  if (temporary_) temporary_->MoveTo(target_name_);
}

}  // namespace casewright
