#include "core/file_error.h"

#include <cerrno>
#include <filesystem>

namespace casewright {
namespace {

// Linux reports a missing folder of the path as a missing file; tell the two
// apart by looking at the folders.  The first folder of the path that does
// not exist, or empty when every folder does.
std::string MissingFolder(const std::string& path) {
  namespace fs = std::filesystem;
  std::string missing;
  std::error_code ignored;
  for (fs::path folder = fs::path(path).parent_path(); !folder.empty() && !fs::exists(folder, ignored);
       folder = folder.parent_path()) {
    missing = folder.string();
    if (folder == folder.parent_path()) break;
  }
  return missing;
}

std::string Message(int error_code, const std::string& path) {
  switch (error_code) {
    case ENOENT: {
      const std::string folder = MissingFolder(path);
      return folder.empty() ? "File not found" : "Folder not found: " + folder;
    }
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
