#include "core/read_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "core/file_error.h"

namespace casewright {
namespace {

// Closes the descriptor however the read ends; standard input stays open.
class Descriptor {
 public:
  Descriptor(int fd, bool owned) : fd_(fd), owned_(owned) {}
  ~Descriptor() {
    if (owned_ && fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
  bool owned_;
};

constexpr std::size_t kChunk = std::size_t{1} << 16;

// Reads into `bytes` from its current end until `bytes` is `size` long or
// the file ends.  Returns false at the end of the file.
bool ReadUpTo(int fd, std::string& bytes, std::size_t size, const std::string& path) {
  std::size_t used = bytes.size();
  bytes.resize(size);
  while (used < size) {
    ssize_t n = ::read(fd, bytes.data() + used, size - used);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) throw FileError(errno, path);
    if (n == 0) break;
    used += static_cast<std::size_t>(n);
  }
  bytes.resize(used);
  return used == size;
}

}  // namespace

std::optional<std::string> ReadWholeFile(const std::string& path, std::size_t max_bytes) {
  const bool standard_input = path == kStandardInput;
  Descriptor file(standard_input ? STDIN_FILENO : ::open(path.c_str(), O_RDONLY | O_CLOEXEC), !standard_input);
  if (file.get() < 0) throw FileError(errno, path);
  struct stat info;
  if (::fstat(file.get(), &info) != 0) throw FileError(errno, path);
  if (S_ISDIR(info.st_mode)) throw FileError(EISDIR, path);
  std::string bytes;
  // A regular file is read into one allocation of its size; a pipe or a
  // device, or a file that grows meanwhile, chunk by chunk.
  if (S_ISREG(info.st_mode)) {
    auto size = static_cast<std::size_t>(info.st_size);
    if (size > max_bytes) return std::nullopt;
    if (!ReadUpTo(file.get(), bytes, size, path)) return bytes;
  }
  while (ReadUpTo(file.get(), bytes, bytes.size() + kChunk, path)) {
    if (bytes.size() > max_bytes) return std::nullopt;
  }
  if (bytes.size() > max_bytes) return std::nullopt;
  return bytes;
}

}  // namespace casewright
