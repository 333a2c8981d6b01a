#include "text_source.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>

#include "core/file_error.h"

namespace casewright::python {
namespace {

// Every occurrence of `from` in `text` replaced by `to`.
std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

}  // namespace

TextSource::TextSource(std::string path) : path_(path), name_(std::move(path)) {}

TextSource::TextSource(std::string_view content, std::string name) : name_(std::move(name)) {
  fd_ = ::memfd_create("casewright-text", MFD_CLOEXEC);
  if (fd_ < 0) throw FileError(errno, name_);
  path_ = "/proc/self/fd/" + std::to_string(fd_);
  while (!content.empty()) {
    const ssize_t written = ::write(fd_, content.data(), content.size());
    if (written < 0 && errno == EINTR) continue;
    if (written < 0) {
      const int error_code = errno;
      ::close(fd_);
      throw FileError(error_code, name_);
    }
    content.remove_prefix(static_cast<std::size_t>(written));
  }
}

TextSource::~TextSource() {
  if (fd_ >= 0) ::close(fd_);
}

RunError TextSource::Renamed(const RunError& error) const {
  if (fd_ < 0) return error;
  return RunError(Replaced(error.what(), path_, name_), Replaced(error.path(), path_, name_));
}

}  // namespace casewright::python
