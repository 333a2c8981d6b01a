#include "batch/manifest.h"

#include <sys/stat.h>

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <map>
#include <optional>
#include <stdexcept>
#include <string_view>

#include "core/control_characters.h"
#include "core/cp1252.h"
#include "core/file_path.h"
#include "core/read_file.h"
#include "core/run_error.h"

namespace casewright {
namespace fs = std::filesystem;
namespace {

constexpr std::string_view kExtractPrefix = "extract:";

[[noreturn]] void FailAt(const std::string& manifest, std::size_t line, const std::string& why) {
  throw RunError(why, manifest + ":" + std::to_string(line));
}

// `entry` as the runs see it: relative to the manifest's folder.  A bare
// "-" names a file, never standard input.
std::string Resolve(const fs::path& folder, const std::string& entry) {
  fs::path path(entry);
  if (path.is_absolute()) return entry;
  if (folder.empty()) return entry == kStandardInput ? "./-" : entry;
  return (folder / path).string();
}

// Splits one line into its three fields, or fails naming what is wrong.
ManifestEntry ParseLine(std::string_view text, std::size_t line, const std::string& manifest,
                        const fs::path& folder, bool outputs_optional) {
  if (!IsValidUtf8(text)) FailAt(manifest, line, "The line is not valid UTF-8");
  const auto field_name = [](std::size_t field) -> std::string {
    static constexpr const char* kFields[] = {"text", "classes", "output"};
    return field < 3 ? kFields[field] : "last";
  };
  if (auto problem = ControlCharacterProblem(text, field_name)) FailAt(manifest, line, *problem);
  std::vector<std::string> fields;
  std::size_t start = 0;
  while (true) {
    std::size_t tab = text.find('\t', start);
    fields.emplace_back(text.substr(start, tab - start));
    if (tab == std::string_view::npos) break;
    start = tab + 1;
  }
  if (fields.size() != 3) {
    FailAt(manifest, line,
           "The line has " + std::to_string(fields.size()) +
               (fields.size() == 1 ? " field" : " fields") + "; a line is text<TAB>classes<TAB>output");
  }
  const bool extract = std::string_view(fields[1]).starts_with(kExtractPrefix);
  if (extract) fields[1].erase(0, kExtractPrefix.size());
  const char* names[] = {"text", extract ? "extract" : "classes", "output"};
  for (int i = 0; i < (outputs_optional ? 2 : 3); ++i) {
    if (fields[i].empty() && (i != 1 || extract)) {
      FailAt(manifest, line, std::string("The line has no ") + names[i] + (extract && i == 1 ? "" : " file"));
    }
  }
  ManifestEntry entry{0, line, Resolve(folder, fields[0]), {}, {},
                      fields[2].empty() ? std::string() : Resolve(folder, fields[2]), fields[0]};
  if (!fields[1].empty()) (extract ? entry.extract_path : entry.classes_path) = Resolve(folder, fields[1]);
  return entry;
}

// Two lines writing one file, or a line writing what another reads, would
// give results that depend on which runs first; a line writing the
// manifest would destroy it.
void CheckOutputsAreDistinct(const std::vector<ManifestEntry>& entries, const std::string& manifest,
                             bool from_standard_input, PathNormalizer& normalizer) {
  std::map<std::string, const ManifestEntry*> outputs;
  for (const ManifestEntry& entry : entries) {
    if (entry.output_path.empty()) continue;
    auto [it, added] = outputs.emplace(normalizer.KeyOf(entry.output_path), &entry);
    if (!added) {
      FailAt(manifest, entry.line, "The output file is also the output file of line " + std::to_string(it->second->line));
    }
  }
  if (!from_standard_input) {
    auto it = outputs.find(normalizer.KeyOf(manifest));
    if (it != outputs.end()) FailAt(manifest, it->second->line, "The output file is the manifest");
  }
  for (const ManifestEntry& entry : entries) {
    for (const auto& [input, what] : {std::pair{&entry.text_path, "text file"},
                                      std::pair{&entry.classes_path, "classes file"},
                                      std::pair{&entry.extract_path, "extract"}}) {
      if (input->empty()) continue;
      auto it = outputs.find(normalizer.KeyOf(*input));
      if (it != outputs.end()) {
        FailAt(manifest, it->second->line,
               std::string("The output file is the ") + what + " of line " + std::to_string(entry.line));
      }
    }
  }
}

}  // namespace

const PathNormalizer::Facts& PathNormalizer::Examine(const std::string& path) {
  auto [it, added] = paths_.try_emplace(path);
  if (added) {
    try {
      it->second = Find(path);
    } catch (...) {
      paths_.erase(it);
      throw;
    }
  }
  return it->second;
}

PathNormalizer::Facts PathNormalizer::Find(const std::string& path) {
  std::error_code error;
  if (working_folder_.empty()) working_folder_ = fs::current_path(error);
  fs::path absolute = working_folder_ / path;
  struct stat info;
  bool exists = ::lstat(absolute.c_str(), &info) == 0;
  // A last name that is a symbolic link stands for where it leads, also
  // when that does not exist yet: writing through it creates the target.
  if (exists && S_ISLNK(info.st_mode)) {
    absolute = working_folder_ / FollowLinks(absolute);
    exists = ::stat(absolute.c_str(), &info) == 0;
  }
  // A file that exists is known by its device and inode, whatever names it
  // (a hard link included); a terminal or /dev/null by its name, so that
  // two lines writing one are still refused.
  if (exists && !S_ISCHR(info.st_mode)) {
    return {"file " + std::to_string(info.st_dev) + ":" + std::to_string(info.st_ino),
            S_ISREG(info.st_mode) ? static_cast<std::uint64_t>(info.st_size) : 0};
  }
  const fs::path name = absolute.filename();
  if (name.empty() || name == "." || name == "..") {
    fs::path canonical = fs::weakly_canonical(absolute, error);
    return {(error ? absolute.lexically_normal() : canonical).string()};
  }
  auto [folder, added] = folders_.try_emplace(absolute.parent_path().string());
  if (added) {
    folder->second = fs::weakly_canonical(absolute.parent_path(), error);
    if (error) folder->second = absolute.parent_path().lexically_normal();
  }
  return {(folder->second / name).string()};
}

std::vector<ManifestEntry> ReadManifest(const std::string& path, const ManifestOptions& options) {
  std::optional<std::string> bytes = ReadWholeFile(path, options.max_bytes);
  if (!bytes) {
    const std::size_t mib = options.max_bytes >> 20;
    throw RunError("The manifest is larger than " +
                       (mib << 20 == options.max_bytes && mib > 0 ? std::to_string(mib) + " MiB"
                                                                  : std::to_string(options.max_bytes) + " bytes"),
                   path == kStandardInput ? "stdin" : path);
  }
  std::vector<ManifestEntry> entries = ParseManifest(*bytes, path, options);
  if (options.bytes != nullptr) *options.bytes = std::move(*bytes);
  return entries;
}

std::vector<ManifestEntry> ParseManifest(std::string_view bytes, const std::string& path,
                                         const ManifestOptions& options) {
  std::string_view rest(bytes);
  if (rest.starts_with(kUtf8ByteOrderMark)) rest.remove_prefix(kUtf8ByteOrderMark.size());
  const bool standard_input = path == kStandardInput;
  const fs::path folder = standard_input ? fs::path() : fs::path(path).parent_path();
  const std::string name = standard_input ? "stdin" : path;  // as messages name it
  std::vector<ManifestEntry> entries;
  for (std::size_t line = 1; !rest.empty(); ++line) {
    std::size_t end = rest.find('\n');
    std::string_view text = rest.substr(0, end);
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    if (text.ends_with('\r')) text.remove_suffix(1);
    if (text.find_first_not_of(" \t") == std::string_view::npos || text.starts_with('#')) continue;
    entries.push_back(ParseLine(text, line, name, folder, options.outputs_optional));
    entries.back().index = entries.size() - 1;
  }
  PathNormalizer own;
  CheckOutputsAreDistinct(entries, name, standard_input, options.files != nullptr ? *options.files : own);
  return entries;
}

Shard ParseShard(const std::string& text) {
  Shard shard;
  const char* end = text.data() + text.size();
  auto [slash, error] = std::from_chars(text.data(), end, shard.k);
  if (error == std::errc() && slash != end && *slash == '/') {
    auto [stop, n_error] = std::from_chars(slash + 1, end, shard.n);
    if (n_error == std::errc() && stop == end && shard.n > 0 && shard.k < shard.n) return shard;
  }
  throw std::invalid_argument("\"" + text + "\" is not K/N with 0 <= K < N (say 0/4 for the first of four shards)");
}

std::vector<ManifestEntry> EntriesOfShard(const std::vector<ManifestEntry>& entries, Shard shard) {
  std::vector<ManifestEntry> chosen;
  for (const ManifestEntry& entry : entries) {
    if (entry.index % shard.n == shard.k) chosen.push_back(entry);
  }
  return chosen;
}

}  // namespace casewright
