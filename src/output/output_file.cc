#include "output/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <random>

#include "core/run_error.h"
#include "core/file_error.h"

namespace casewright {
namespace fs = std::filesystem;
namespace {

constexpr std::size_t kBufferSize = 1 << 16;

// Creates a new file next to `target` with a name no other file has.  The
// mode 0666 goes through the umask, as for any new file.
int CreateTemporary(const std::string& target, std::string& name) {
  fs::path path(target);
  std::random_device seed;
  std::mt19937 random(seed());
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = (path.parent_path() / ("." + path.filename().string() + ".tmp" + std::to_string(random() % 1000000)))
               .string();
    int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

}  // namespace

OutputFile::OutputFile(const std::string& path) : path_(path), target_(path) {
  struct stat existing;
  if (::stat(path.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode) && !S_ISDIR(existing.st_mode)) {
    fd_ = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd_ < 0) throw FileError(errno, path_);
    return;
  }
  bool exists = ::stat(path.c_str(), &existing) == 0;
  if (exists && S_ISDIR(existing.st_mode)) throw FileError(EISDIR, path_);
  // Follow a symbolic link, so that the file it points to is replaced.
  std::error_code error;
  fs::path resolved = fs::weakly_canonical(path, error);
  if (!error) target_ = resolved.string();
  fd_ = CreateTemporary(target_, temporary_);
  if (fd_ < 0) {
    int code = errno;
    temporary_.clear();
    throw FileError(code, path_);
  }
  if (exists) ::fchmod(fd_, existing.st_mode & 07777);
  buffer_.reserve(kBufferSize);
}

OutputFile::~OutputFile() {
  if (!committed_) Discard();
}

void OutputFile::Write(std::string_view bytes) {
  buffer_.append(bytes);
  if (buffer_.size() >= kBufferSize) Flush();
}

void OutputFile::Flush() {
  std::size_t written = 0;
  while (written < buffer_.size()) {
    ssize_t n = ::write(fd_, buffer_.data() + written, buffer_.size() - written);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw FileError(errno, path_);
    }
    written += static_cast<std::size_t>(n);
  }
  buffer_.clear();
}

void OutputFile::Commit() {
  Flush();
  // No fdatasync: the rename makes the file appear whole to every reader,
  // and syncing each file would cost a batch of short texts most of its time.
  int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) throw FileError(errno, path_);
  if (!temporary_.empty() && ::rename(temporary_.c_str(), target_.c_str()) != 0) throw FileError(errno, path_);
  committed_ = true;
}

void OutputFile::Discard() noexcept {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
}

}  // namespace casewright
