// Reading a whole file through the system calls, whose failures have
// defined error codes, so that every failure carries the message of
// file_error.h and the file's name.
#ifndef CASEWRIGHT_CORE_READ_FILE_H_
#define CASEWRIGHT_CORE_READ_FILE_H_

#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <string>

namespace casewright {

// The path that names standard input, as command lines spell it.  A file
// of that name is reached as "./-".
inline constexpr const char* kStandardInput = "-";

// The bytes of the file at `path` (kStandardInput: standard input), or
// nullopt as soon as it holds more than `max_bytes` (the rest is not read).
// Throws RunError when it cannot be opened or read (a folder included).
// Works on pipes and devices as on regular files.
std::optional<std::string> ReadWholeFile(const std::string& path,
                                         std::size_t max_bytes = std::numeric_limits<std::size_t>::max());

// The same, throwing RunError "The file goes on past <max_bytes>; reading
// stopped there" naming `path` when it holds more.
std::string ReadFileWithin(const std::string& path, std::size_t max_bytes);

// `bytes` as messages give a size: "4 GiB", "64 KiB", "11 bytes".
std::string SizeText(std::uint64_t bytes);

// Looks at what one read added to `bytes` (from `from` on): it may cut
// `bytes`, throw, or return false to stop reading.
using ChunkCheck = std::function<bool(std::string& bytes, std::size_t from)>;

// Reads the file at `path` (kStandardInput: standard input) onto the end of
// `bytes` a piece at a time, calling `check` after each piece, until the end
// of the file or until `check` says to stop, so that a caller can keep only
// what it needs and fail at a limit without reading on.  A regular file
// gets `bytes` reserved to its size, up to `reserve`.  Throws RunError as
// ReadWholeFile.
void ReadInChunks(const std::string& path, std::size_t reserve, std::string& bytes, const ChunkCheck& check);

}  // namespace casewright

#endif  // CASEWRIGHT_CORE_READ_FILE_H_
