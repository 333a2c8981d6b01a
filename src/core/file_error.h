// The messages a failed file operation is reported with, by the operating
// system's error code:
//   file not found                          "File not found"
//   a folder of the path does not exist     "Folder not found: <the first missing>"
//   a folder of the path is a file          "Invalid filename"
//   too many open files                     "Too many open files"
//   access denied                           "File access denied"
//   symbolic links that never end           "Symbolic link loop"
//   anything else (a full disk included)    "I/O error <code>"
#ifndef CASEWRIGHT_CORE_FILE_ERROR_H_
#define CASEWRIGHT_CORE_FILE_ERROR_H_

#include <string>

#include "core/run_error.h"

namespace casewright {

// The failure of an operation on the file at `path` with errno `error_code`.
RunError FileError(int error_code, const std::string& path);

}  // namespace casewright

#endif  // CASEWRIGHT_CORE_FILE_ERROR_H_
