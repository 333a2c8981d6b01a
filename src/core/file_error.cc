#include "core/file_error.h"

#include <cerrno>
#include <filesystem>

namespace casewright {
namespace {

// Linux reports a missing folder of the path as a missing file; tell the two
// apart by looking at the folder.
bool FolderExists(const std::string& path) {
  std::filesystem::path parent = std::filesystem::path(path).parent_path();
  std::error_code ignored;
  return parent.empty() || std::filesystem::is_directory(parent, ignored);
}

std::string Message(int error_code, const std::string& path) {
  switch (error_code) {
    case ENOENT:
      return FolderExists(path) ? "File not found" : "Invalid filename";
    case ENOTDIR:
    case ENAMETOOLONG:
      return "Invalid filename";
    case EMFILE:
    case ENFILE:
      return "Too many open files";
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
      return "File access denied";
    case ELOOP:
      return "Symbolic link loop";
    default:
      return "I/O error " + std::to_string(error_code);
  }
}

}  // namespace

RunError FileError(int error_code, const std::string& path) { return RunError(Message(error_code, path), path); }

}  // namespace casewright
