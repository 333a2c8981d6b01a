// Reading a whole file through the system calls, whose failures have
// defined error codes, so that every failure carries the message of
// file_error.h and the file's name.
#ifndef CASEWRIGHT_CORE_READ_FILE_H_
#define CASEWRIGHT_CORE_READ_FILE_H_

#include <cstddef>
#include <limits>
#include <optional>
#include <string>

namespace casewright {

// The path that names standard input, as command lines spell it.  A file
// of that name is reached as "./-".
inline constexpr const char* kStandardInput = "-";

// The bytes of the file at `path` (kStandardInput: standard input), or
// nullopt when it holds more than `max_bytes`.  Throws RunError when it
// cannot be opened or read (a folder included).  Works on pipes and devices
// as on regular files.
std::optional<std::string> ReadWholeFile(const std::string& path,
                                         std::size_t max_bytes = std::numeric_limits<std::size_t>::max());

}  // namespace casewright

#endif  // CASEWRIGHT_CORE_READ_FILE_H_
