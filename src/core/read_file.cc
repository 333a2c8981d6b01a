#include "core/read_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>

#include "core/file_error.h"
#include "core/run_error.h"

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

// Thrown through ReadInChunks by ReadWholeFile's check.
struct TooLong {};

}  // namespace

std::string SizeText(std::uint64_t bytes) {
  for (auto [shift, unit] : {std::pair{30, " GiB"}, std::pair{20, " MiB"}, std::pair{10, " KiB"}}) {
    const std::uint64_t one = std::uint64_t{1} << shift;
    if (bytes >= one && bytes % one == 0) return std::to_string(bytes / one) + unit;
  }
  return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
}

void ReadInChunks(const std::string& path, std::size_t reserve, std::string& bytes, const ChunkCheck& check) {
  const bool standard_input = path == kStandardInput;
  Descriptor file(standard_input ? STDIN_FILENO : ::open(path.c_str(), O_RDONLY | O_CLOEXEC), !standard_input);
  if (file.get() < 0) throw FileError(errno, path);
  struct stat info;
  if (::fstat(file.get(), &info) != 0) throw FileError(errno, path);
  if (S_ISDIR(info.st_mode)) throw FileError(EISDIR, path);
  // A regular file is read in one piece of its size and one byte more (to
  // see its end) when that is within what the caller would keep; a pipe, a
  // device or the rest of a larger file a chunk at a time.
  std::size_t piece = kChunk;
  if (S_ISREG(info.st_mode)) {
    piece = std::min(static_cast<std::size_t>(info.st_size), reserve) + 1;
    bytes.reserve(bytes.size() + piece);
  }
  for (bool more = true; more; piece = kChunk) {
    const std::size_t from = bytes.size();
    more = ReadUpTo(file.get(), bytes, from + piece, path);
    more = check(bytes, from) && more;
  }
}

std::optional<std::string> ReadWholeFile(const std::string& path, std::size_t max_bytes) {
  std::string bytes;
  try {
    ReadInChunks(path, max_bytes, bytes, [max_bytes](std::string& read, std::size_t) {
      if (read.size() > max_bytes) throw TooLong();
      return true;
    });
  } catch (const TooLong&) {
    return std::nullopt;
  }
  return bytes;
}

std::string ReadFileWithin(const std::string& path, std::size_t max_bytes) {
  std::optional<std::string> bytes = ReadWholeFile(path, max_bytes);
  if (!bytes) throw RunError("The file goes on past " + SizeText(max_bytes) + "; reading stopped there", path);
  return std::move(*bytes);
}

}  // namespace casewright
