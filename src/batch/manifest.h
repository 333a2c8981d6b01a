// The manifest of a batch: one run per line, as a UTF-8 TSV of
//
//   text<TAB>classes<TAB>output
//
// Relative paths are relative to the manifest's folder (to the working
// folder for a manifest read from standard input).  A classes field
// "extract:FILE" names a reference extract instead, from which the run makes
// the text's classes (extract_classes.h); an empty classes field leaves the
// text unlabelled.  A line whose first
// character is "#" is a comment; blank lines (and lines of blanks) are
// skipped.  The whole manifest is checked before anything runs: a
// malformed line (a control character in a field included), or an output
// file that another line also writes or reads or that is the manifest
// itself, is an error that names the line.
#ifndef CASEWRIGHT_BATCH_MANIFEST_H_
#define CASEWRIGHT_BATCH_MANIFEST_H_

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace casewright {

struct ManifestEntry {
  std::size_t index = 0;  // position among the manifest's entries, from 0
  std::size_t line = 0;   // line number in the manifest, from 1
  std::string text_path;
  std::string classes_path;  // empty when the classes come from an extract
  std::string extract_path;  // both empty for an unlabelled text
  std::string output_path;
  std::string text_name;  // the text field as the line gives it, for ids
};

// The largest manifest read: some 400 000 lines of long paths.
inline constexpr std::size_t kMaxManifestBytes = std::size_t{64} << 20;

class PathNormalizer;

struct ManifestOptions {
  // A line may leave its output empty: with a combined file, its cases go
  // only there.
  bool outputs_optional = false;
  // When not null, gets the manifest's bytes (what identifies a batch).
  std::string* bytes = nullptr;
  std::size_t max_bytes = kMaxManifestBytes;
  // When not null, examines the manifest's files, so that a batch given it
  // (BatchSettings::files) need not examine them again.
  PathNormalizer* files = nullptr;
};

// Reads and checks the manifest at `path` (`-`: standard input).  Throws
// RunError; a line's error carries "<manifest>:<line>" as its path.
std::vector<ManifestEntry> ReadManifest(const std::string& path, const ManifestOptions& options = {});

// Checks the manifest `bytes` read from `path`, as ReadManifest does.
std::vector<ManifestEntry> ParseManifest(std::string_view bytes, const std::string& path,
                                         const ManifestOptions& options = {});

// What tells one file from another, as a run tells them (file_path.h), at
// about one system call per distinct path: the device and inode of a file
// that exists (whatever names it, a hard link included), else its path
// made absolute and normal with its folder's links followed.  A last name
// that is a symbolic link is followed to its end, also when its target does
// not exist yet, as a run follows it.  It remembers the folders it has
// resolved and the paths it has examined: the files of a manifest share a
// few folders (and often one classes file), and resolving every folder of
// every path anew would cost a manifest of thousands of lines tens of
// thousands of system calls before anything runs.  The batch's own checks
// use the manifest's normalizer again, and so cost none for its files.
// Throws RunError for a link loop.
class PathNormalizer {
 public:
  struct Facts {
    std::string key;
    std::uint64_t size = 0;  // of a regular file; 0 for anything else
  };
  // `path` as first examined.
  const Facts& Examine(const std::string& path);
  std::string KeyOf(const std::string& path) { return Examine(path).key; }

 private:
  Facts Find(const std::string& path);

  std::filesystem::path working_folder_;
  std::unordered_map<std::string, std::filesystem::path> folders_;
  std::unordered_map<std::string, Facts> paths_;
};

// Which entries one of several machines runs: those whose index is `k`
// modulo `n`.
struct Shard {
  std::size_t k = 0;
  std::size_t n = 1;
};

// Parses "K/N" with 0 <= K < N.  Throws std::invalid_argument.
Shard ParseShard(const std::string& text);

std::vector<ManifestEntry> EntriesOfShard(const std::vector<ManifestEntry>& entries, Shard shard);

}  // namespace casewright

#endif  // CASEWRIGHT_BATCH_MANIFEST_H_
